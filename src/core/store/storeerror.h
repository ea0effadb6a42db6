#pragma once

#include <QString>
#include <exception>
#include <string>

namespace vlm::store {

// Error numbers of the record store. The callers test some of them by number.
namespace err {
constexpr int OutOfMemory = 7;
constexpr int InvalidArgument = 3001;
constexpr int TableExists = 3010;
constexpr int NoCurrentIndex = 3019;
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int WrongPassword = 3031;
constexpr int DiskFull = 3035;
constexpr int DiskError = 3043;
constexpr int CannotOpen = 3049;
constexpr int FileLocked = 3051;
constexpr int NullInRequiredIndex = 3058;
constexpr int NoSuchTable = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int FieldNotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int NotValidBookmark = 3159;
constexpr int DatabaseExists = 3204;
constexpr int NotSupported = 3251;
constexpr int ItemNotFound = 3265;
constexpr int TypeMismatch = 3421;
constexpr int ZeroLength = 3315;
constexpr int UnrecognizedFormat = 3343;
constexpr int NumericOverflow = 3349;
constexpr int ObjectInvalid = 3420;
} // namespace err

// A failure of the record store: a number and a description a user can read.
class StoreError : public std::exception {
public:
    StoreError(int number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toStdString()) {
    }
    int number() const noexcept { return number_; }
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

} // namespace vlm::store
