#include "core/store/storeerror.h"

namespace vlm::store {

QString errorDescription(int number, const QString& item) {
    switch (number) {
    case err::OutOfMemory:
        return QStringLiteral("Out of memory");
    case err::InvalidArgument:
        return QStringLiteral("Invalid argument.");
    case err::TableExists:
        return QStringLiteral("Table '%1' already exists.").arg(item);
    case err::NoCurrentIndex:
        return QStringLiteral("Operation invalid without a current index.");
    case err::UpdateWithoutEdit:
        return QStringLiteral("Update or CancelUpdate without AddNew or Edit.");
    case err::NoCurrentRecord:
        return QStringLiteral("No current record.");
    case err::DuplicateKey:
        return QStringLiteral("The changes you requested to the table were not successful because "
                              "they would create duplicate values in the index '%1'.")
            .arg(item);
    case err::FileNotFound:
        return QStringLiteral("Could not find file '%1'.").arg(item);
    case err::ReadOnly:
        return QStringLiteral("Cannot update. Database or object is read-only.");
    case err::WrongPassword:
        return QStringLiteral("Not a valid password.");
    case err::DiskFull:
        return QStringLiteral("The disk is full.");
    case err::CannotRead:
        return QStringLiteral("The file '%1' cannot be read.").arg(item);
    case err::DiskError:
        return QStringLiteral("Disk or network error.");
    case err::CannotOpen:
        return QStringLiteral(
                   "Cannot open the base '%1'. The file is damaged or is not a Velmora base.")
            .arg(item);
    case err::FileLocked:
        return QStringLiteral("The base '%1' is in use by another program.").arg(item);
    case err::NullInRequiredIndex:
        return QStringLiteral("Index or primary key '%1' cannot contain a Null value.").arg(item);
    case err::NoSuchTable:
        return QStringLiteral("Cannot find the table '%1'.").arg(item);
    case err::FieldTooSmall:
        return QStringLiteral("The field '%1' is too small to accept the amount of data you "
                              "attempted to add.")
            .arg(item);
    case err::FieldNotUpdatable:
        return QStringLiteral("Field '%1' cannot be updated.").arg(item);
    case err::RecordDeleted:
        return QStringLiteral("Record is deleted.");
    case err::NotValidBookmark:
        return QStringLiteral("Not a valid bookmark.");
    case err::DatabaseExists:
        return QStringLiteral("Database '%1' already exists.").arg(item);
    case err::NotSupported:
        return QStringLiteral("Operation is not supported for this type of object.");
    case err::ItemNotFound:
        return QStringLiteral("Item '%1' not found in this collection.").arg(item);
    case err::TypeMismatch:
        return QStringLiteral("Data type conversion error in '%1'.").arg(item);
    case err::ZeroLength:
        return QStringLiteral("Field '%1' cannot be a zero-length string.").arg(item);
    case err::UnrecognizedFormat:
        return QStringLiteral("Unrecognized database format '%1'.").arg(item);
    case err::NumericOverflow:
        return QStringLiteral("Numeric field overflow in '%1'.").arg(item);
    case err::ObjectInvalid:
        return QStringLiteral("Object invalid or no longer set.");
    case err::NeedsRecovery:
        return QStringLiteral("The base '%1' was not closed properly and needs to be opened once "
                              "with write access to recover.")
            .arg(item);
    default:
        return item.isEmpty() ? QStringLiteral("Record store error %1.").arg(number) : item;
    }
}

void raise(int number, const QString& item) {
    throw StoreError(number, errorDescription(number, item));
}

Status statusOf(const StoreError& e) {
    // A number the store does not know still fails: it must never read as success.
    const ErrorCode code = e.number() == 0 ? ErrorCode::InvalidArgument : e.code();
    return Status::error(code, e.description());
}

Status outOfMemory() {
    return Status::error(ErrorCode::OutOfMemory, errorDescription(err::OutOfMemory));
}

} // namespace vlm::store
