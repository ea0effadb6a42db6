#pragma once

// The store's errors: numbers, descriptions and the exception that carries them.

#include "core/common/status.h"

#include <QString>
#include <exception>
#include <new>
#include <string>
#include <type_traits>

namespace vlm::store {

// Error numbers of the record store, as plain numbers for the code that compares
// StoreError::number(); the same values as vlm::ErrorCode.
namespace err {
constexpr int OutOfMemory = int(ErrorCode::OutOfMemory);
constexpr int InvalidArgument = int(ErrorCode::InvalidArgument);
constexpr int TableExists = int(ErrorCode::TableExists);
constexpr int NoCurrentIndex = int(ErrorCode::NoCurrentIndex);
constexpr int UpdateWithoutEdit = int(ErrorCode::UpdateWithoutEdit);
constexpr int NoCurrentRecord = int(ErrorCode::NoCurrentRecord);
constexpr int DuplicateKey = int(ErrorCode::DuplicateKey);
constexpr int FileNotFound = int(ErrorCode::FileNotFound);
constexpr int ReadOnly = int(ErrorCode::ReadOnly);
constexpr int WrongPassword = int(ErrorCode::WrongPassword);
constexpr int DiskFull = int(ErrorCode::DiskFull);
constexpr int CannotRead = int(ErrorCode::CannotRead);
constexpr int DiskError = int(ErrorCode::DiskError);
constexpr int CannotOpen = int(ErrorCode::CannotOpen);
constexpr int FileLocked = int(ErrorCode::FileLocked);
constexpr int NullInRequiredIndex = int(ErrorCode::NullInRequiredIndex);
constexpr int NoSuchTable = int(ErrorCode::NoSuchTable);
constexpr int FieldTooSmall = int(ErrorCode::FieldTooSmall);
constexpr int FieldNotUpdatable = int(ErrorCode::FieldNotUpdatable);
constexpr int RecordDeleted = int(ErrorCode::RecordDeleted);
constexpr int NotValidBookmark = int(ErrorCode::NotValidBookmark);
constexpr int DatabaseExists = int(ErrorCode::DatabaseExists);
constexpr int NotSupported = int(ErrorCode::NotSupported);
constexpr int ItemNotFound = int(ErrorCode::ItemNotFound);
constexpr int TypeMismatch = int(ErrorCode::TypeMismatch);
constexpr int ZeroLength = int(ErrorCode::ZeroLength);
constexpr int UnrecognizedFormat = int(ErrorCode::UnrecognizedFormat);
constexpr int NumericOverflow = int(ErrorCode::NumericOverflow);
constexpr int ObjectInvalid = int(ErrorCode::ObjectInvalid);
constexpr int CallFailed = int(ErrorCode::CallFailed);
constexpr int NeedsRecovery = int(ErrorCode::NeedsRecovery);
} // namespace err

// A failure of the record store: a number and a description a user can read.
class StoreError : public std::exception {
public:
    StoreError(int number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toStdString()) {
    }
    int number() const noexcept { return number_; }
    ErrorCode code() const noexcept { return ErrorCode(number_); }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

// The store's own description of an error number (with an optional name inserted).
QString errorDescription(int number, const QString& item = {});
[[noreturn]] void raise(int number, const QString& item = {});

// The Status a StoreError stands for: its number and its description.
Status statusOf(const StoreError& e);
// The Status of an allocation that failed: OutOfMemory with the store's description.
Status outOfMemory();

namespace detail {
template <class R> struct GuardResult { using type = Result<R>; };
template <> struct GuardResult<Status> { using type = Status; };
template <class U> struct GuardResult<Result<U>> { using type = Result<U>; };
} // namespace detail

// Runs store work and keeps its exceptions inside the core: what `work` returns comes back as
// a Result (a Status or a Result it returns comes back as it is); a StoreError it throws
// becomes the error's Status and a failed allocation becomes OutOfMemory. Nothing that `work`
// wrote is undone here: give it a Transaction when it writes more than one row.
template <class F>
auto guard(F&& work) -> typename detail::GuardResult<std::invoke_result_t<F>>::type {
    using R = std::invoke_result_t<F>;
    try {
        if constexpr (std::is_void_v<R>) {
            std::forward<F>(work)();
            return {};
        } else {
            return std::forward<F>(work)();
        }
    } catch (const StoreError& e) {
        return statusOf(e);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

} // namespace vlm::store
