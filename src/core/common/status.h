#pragma once

// How the core tells its callers that something failed: a Status (ok, or an error code and
// a message a user can read) or a Result<T> (a value, or the Status saying why there is none).
// The store's exceptions never cross this boundary: store::guard() (core/store/storeerror.h)
// turns them into a Status.

#include <QString>
#include <cassert>
#include <optional>
#include <utility>

namespace vlm {

// The error numbers of the record store; the codes keep them so that a message or a log
// that shows one means the same as before. Name them, never write the number.
enum class ErrorCode : int {
    None = 0,
    OutOfMemory = 7,
    InvalidArgument = 3001,
    TableExists = 3010,
    NoCurrentIndex = 3019,
    UpdateWithoutEdit = 3020,
    NoCurrentRecord = 3021,
    DuplicateKey = 3022,
    FileNotFound = 3024,
    ReadOnly = 3027,
    WrongPassword = 3031,
    DiskFull = 3035,
    CannotRead = 3040, // the file exists but reading it fails
    DiskError = 3043,
    CannotOpen = 3049,
    FileLocked = 3051,
    NullInRequiredIndex = 3058,
    NoSuchTable = 3078,
    CallFailed = 3146, // a call of the database engine failed; the message says how
    NotValidBookmark = 3159,
    FieldTooSmall = 3163,
    FieldNotUpdatable = 3164,
    RecordDeleted = 3167,
    DatabaseExists = 3204,
    NotSupported = 3251,
    ItemNotFound = 3265,
    ZeroLength = 3315,
    UnrecognizedFormat = 3343,
    NumericOverflow = 3349,
    ObjectInvalid = 3420,
    TypeMismatch = 3421,
    // Velmora's own: a crash left a journal that only a connection with write access can play back.
    NeedsRecovery = 3901,
};

class [[nodiscard]] Status {
public:
    // Success.
    Status() = default;
    static Status success() { return {}; }
    // A failure: `code` must not be ErrorCode::None.
    static Status error(ErrorCode code, QString message) {
        assert(code != ErrorCode::None);
        return Status(code, std::move(message));
    }

    bool ok() const { return code_ == ErrorCode::None; }
    explicit operator bool() const { return ok(); }
    ErrorCode code() const { return code_; }
    // The store's number of the error (0 when ok).
    int number() const { return int(code_); }
    // What a user reads; empty when ok.
    const QString& message() const { return message_; }

    bool isOutOfMemory() const { return code_ == ErrorCode::OutOfMemory; }
    bool isReadOnly() const { return code_ == ErrorCode::ReadOnly; }
    bool isDuplicateKey() const { return code_ == ErrorCode::DuplicateKey; }

    friend bool operator==(const Status&, const Status&) = default;

private:
    Status(ErrorCode code, QString message) : code_(code), message_(std::move(message)) {}
    ErrorCode code_ = ErrorCode::None;
    QString message_;
};

// A value, or the Status that says why there is none. value() and operator* may be used only
// when ok().
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    // A failure; `status` must not be ok.
    Result(Status status) : status_(std::move(status)) { assert(!status_.ok()); }

    bool ok() const { return status_.ok(); }
    explicit operator bool() const { return ok(); }
    const Status& status() const { return status_; }

    T& value() & {
        assert(ok());
        return *value_;
    }
    const T& value() const& {
        assert(ok());
        return *value_;
    }
    T&& value() && {
        assert(ok());
        return std::move(*value_);
    }
    // The value, or `fallback` when the call failed.
    T valueOr(T fallback) const& { return ok() ? *value_ : std::move(fallback); }

    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

private:
    std::optional<T> value_;
    Status status_;
};

// The Result of work that gives no value.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Status status) : status_(std::move(status)) {}
    bool ok() const { return status_.ok(); }
    explicit operator bool() const { return ok(); }
    const Status& status() const { return status_; }

private:
    Status status_;
};

} // namespace vlm
