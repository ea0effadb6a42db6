#pragma once

// A base file: an SQLCipher database opened, checked and written through the store.

#include "core/store/tabledef.h"

#include <QString>
#include <memory>

namespace vlm::store {

class Recordset;
struct DbCore;

// Options of Database::create.
enum CreateOption : int { Encrypt = 2 };

// One base file: an SQLCipher database whose key is the password of the connect string.
class Database {
public:
    // Creates a new, empty database. Fails with 3204 when the file exists (the file is left
    // as it was). `localeAndConnect` carries the password as ";pwd=...".
    static std::unique_ptr<Database> create(const QString& path, const QString& localeAndConnect,
                                            int options = Encrypt);

    // Opens an existing database whose tables must be exactly `schema`. Fails with 3031 on a
    // wrong password, with 3024 when the file is missing, with 3343 or 3049 when the file is
    // not a base or is damaged. A file that cannot be written opens read-only.
    static std::unique_ptr<Database> open(const QString& path, bool exclusive, bool readOnly,
                                          const QString& connect, const Schema& schema);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void close();
    bool isOpen() const;
    bool isReadOnly() const;
    QString path() const;

    Schema tableDefs() const;
    const TableDef& tableDef(const QString& name) const;
    void appendTable(const TableDef& table);

    // A table-type recordset on the named table (name matched without regard to case).
    std::unique_ptr<Recordset> openRecordset(const QString& table);

    // Transactions nest (the inner ones are savepoints). Each throws StoreError when the base
    // is closed (ObjectInvalid), and commitTrans/rollback when none is open (InvalidArgument).
    // A commit that fails leaves its transaction open: roll it back. Prefer Transaction.
    void beginTrans();
    void commitTrans();
    void rollback();
    int transactionDepth() const;

    // The password part of a connect string (";pwd=..."), empty when there is none.
    static QString passwordOf(const QString& connect);

    // Page size of every base file (bytes) and the page cache given to each connection (KiB).
    static constexpr int kPageSize = 4096;
    static constexpr int kCacheKiB = 524288;

private:
    explicit Database(std::shared_ptr<DbCore> core);
    std::shared_ptr<DbCore> core_;
};

// One transaction, rolled back unless committed: a write that throws halfway leaves the base as
// it was before the guard was made.
//
//     Transaction t(db);
//     ... writes ...
//     t.commit();
class Transaction {
public:
    // Begins a transaction (nested in the one open, if any); throws StoreError when it cannot.
    explicit Transaction(Database& db);
    // Rolls back when commit() was not called or failed; a rollback that fails is dropped,
    // since the error that matters is the one that left the transaction uncommitted.
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes the writes last. Throws StoreError when the store refuses; the transaction then
    // stays open and the destructor rolls it back.
    void commit();
    bool committed() const { return done_; }

private:
    Database& db_;
    bool done_ = false;
};

} // namespace vlm::store
