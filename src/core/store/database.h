#pragma once

// A base file: an SQLCipher database opened, checked and written through the store.

#include "core/common/progress.h"
#include "core/store/tabledef.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3_stmt;

namespace vlm::store {

class Recordset;
struct DbCore;

// The row a statement run by Database::each() stands on: its columns (0 first) read as the
// caller needs them, nothing converted that is not asked for. Valid only during the call.
class SqlRow {
public:
    explicit SqlRow(sqlite3_stmt* st) : st_(st) {}
    bool isNull(int column) const;
    QString text(int column) const;   // a null QString for NULL
    double real(int column) const;    // 0 for NULL
    qint64 integer(int column) const; // 0 for NULL

private:
    sqlite3_stmt* st_;
};

// The calendar date and the time of day (whole seconds) of a stored date, as the record store
// reads it into a local date and time; nothing when the value is out of the dates' range.
std::optional<std::pair<QDate, QTime>> splitStoredDate(double stored);

// Options of Database::create.
enum CreateOption : int { Encrypt = 2 };

// One base file: an SQLCipher database whose key is the password of the connect string.
class Database {
public:
    // Creates a new database, runs `fill` on it (tables, first rows) and returns it open.
    // Everything happens under a temporary name in the same folder; the file takes its name
    // only once `fill` is done, so no half-made base ever exists under `path` (when `fill`
    // throws, nothing is left at all). Fails with 3204 when the file exists (the file is left
    // as it was). `localeAndConnect` carries the password as ";pwd=...".
    static std::unique_ptr<Database> create(const QString& path, const QString& localeAndConnect,
                                            int options = Encrypt,
                                            const std::function<void(Database&)>& fill = {});

    // Opens an existing database whose tables must be exactly `schema` and whose indexes agree
    // with their tables. Fails with 3031 on a wrong password, with 3024 when the file is
    // missing, with 3040 when it cannot be read, with 3343 or 3049 when it is not a base or
    // is damaged, with 3901 when a crash journal waits that only write access can play back.
    // A file that cannot be written (or has no write bit, even for root) opens read-only.
    // `check` None skips the check of the b-trees and indexes, which reads the whole file: only
    // for a base this program closed a moment before (after Save As, after an import).
    // `progress` hears now and then how much of the file the check has read.
    enum class Check { Full, None };
    static std::unique_ptr<Database> open(const QString& path, bool exclusive, bool readOnly,
                                          const QString& connect, const Schema& schema,
                                          Check check = Check::Full, Progress* progress = nullptr);

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

    // Bulk work written in SQL, for what the recordsets would do row by row (the import of
    // another base). `binds` fill ?1, ?2...: null, integer, boolean or text. Each throws
    // StoreError when the store refuses; execute() gives the number of rows it changed, query()
    // every row it read. Call tablesChanged() once the statements have written, so that the
    // recordsets and the counters see the new rows.
    int execute(const QString& sql, const QVariantList& binds = {});
    std::vector<QVariantList> query(const QString& sql, const QVariantList& binds = {});
    // Runs `sql` and hands each row it reads to `row` as it comes, keeping none: the long
    // lists read this way cost what the statement costs.
    void each(const QString& sql, const QVariantList& binds,
              const std::function<void(const SqlRow&)>& row);
    // Runs one statement once for each list of binds; gives the rows changed in all.
    int executeEach(const QString& sql, const std::vector<QVariantList>& binds);
    void tablesChanged();
    // Makes another base file readable by the statements above as `alias` (its password in
    // `connect`), and lets it go. Neither may run inside a transaction.
    void attach(const QString& path, const QString& connect, const QString& alias);
    void detach(const QString& alias);

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
