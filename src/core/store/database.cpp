#include "core/store/database.h"

#include "core/store/basecheck.h"
#include "core/store/collation.h"
#include "core/store/dbcore.h"
#include "core/store/recordset.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace vlm::store {

// ---------------------------------------------------------------- helpers shared with recordsets

std::string sqlLiteral(const QString& text) {
    std::string s = "'";
    for (char c : text.toStdString()) {
        if (c == '\'') s += '\'';
        s += c;
    }
    return s + "'";
}

std::string quoteIdent(const QString& name) {
    std::string s = "\"";
    for (char c : name.toStdString()) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + "\"";
}

static std::string columnType(const FieldDef& f) {
    std::string coll = std::string(" COLLATE ") + kCollationName;
    switch (f.type) {
    case FieldType::Text:
        return "VARCHAR(" + std::to_string(f.size) + ")" + coll;
    case FieldType::Memo:
        return "LONGTEXT" + coll;
    case FieldType::Long:
        return "INTEGER";
    case FieldType::Integer:
        return "SMALLINT";
    case FieldType::DateTime:
        return "DATETIME";
    case FieldType::Boolean:
        return "BOOLEAN";
    }
    return "BLOB";
}

std::string tableSql(const TableDef& t) {
    std::string sql = "CREATE TABLE " + quoteIdent(t.name) + " (";
    for (size_t i = 0; i < t.fields.size(); ++i) {
        if (i) sql += ", ";
        sql += quoteIdent(t.fields[i].name) + " " + columnType(t.fields[i]);
    }
    return sql + ")";
}

std::string sqlIndexName(const TableDef& t, const IndexDef& ix) {
    return quoteIdent(t.name + u'.' + ix.name);
}

std::vector<std::string> indexSql(const TableDef& t) {
    std::vector<std::string> out;
    for (const IndexDef& ix : t.indexes) {
        std::string sql = ix.isUnique() ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
        sql += sqlIndexName(t, ix) + " ON " + quoteIdent(t.name) + " (";
        std::string nulls;
        for (int i = 0; i < ix.fields.size(); ++i) {
            if (i) {
                sql += ", ";
                nulls += " OR ";
            }
            sql += quoteIdent(t.fields[size_t(t.fieldPos(ix.fields[i]))].name);
            nulls += quoteIdent(t.fields[size_t(t.fieldPos(ix.fields[i]))].name) + " IS NOT NULL";
        }
        sql += ")";
        if (ix.ignoreNulls) sql += " WHERE " + nulls;
        out.push_back(sql);
    }
    return out;
}

void buildTableInfo(TableInfo& info, const TableDef& def) {
    info.def = def;
    info.quoted = quoteIdent(def.name);
    info.columns = "rowid";
    info.quotedFields.clear();
    info.counterField = -1;
    for (size_t i = 0; i < def.fields.size(); ++i) {
        info.quotedFields.push_back(quoteIdent(def.fields[i].name));
        info.columns += ", " + info.quotedFields.back();
        if (def.fields[i].isCounter() && info.counterField < 0) info.counterField = int(i);
    }
    info.sqlIndexNames.clear();
    info.indexFields.clear();
    info.requiredFields.clear();
    for (const IndexDef& ix : def.indexes) {
        info.sqlIndexNames.push_back(sqlIndexName(def, ix));
        std::vector<int> positions;
        for (const QString& f : ix.fields) {
            positions.push_back(def.fieldPos(f));
            if (ix.refusesNulls() &&
                std::find(info.requiredFields.begin(), info.requiredFields.end(),
                          positions.back()) == info.requiredFields.end())
                info.requiredFields.push_back(positions.back());
        }
        info.indexFields.push_back(std::move(positions));
    }
    std::string cols, vals, sets;
    for (size_t i = 0; i < info.quotedFields.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        cols += (i ? ", " : "") + info.quotedFields[i];
        vals += (i ? ", ?" : "?") + n;
        sets += (i ? ", " : "") + info.quotedFields[i] + " = ?" + n;
    }
    info.insertSql = "INSERT INTO " + info.quoted + " (" + cols + ") VALUES (" + vals + ")";
    info.updateSql = "UPDATE " + info.quoted + " SET " + sets + " WHERE rowid = ?" +
                     std::to_string(info.quotedFields.size() + 1);
}

int sqliteToStoreError(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_NOMEM:
        return err::OutOfMemory;
    case SQLITE_READONLY:
        return err::ReadOnly;
    case SQLITE_CONSTRAINT:
        return err::DuplicateKey;
    case SQLITE_FULL:
        return err::DiskFull;
    case SQLITE_IOERR:
        return err::DiskError;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return err::FileLocked;
    case SQLITE_CANTOPEN:
        return err::CannotOpen;
    case SQLITE_NOTADB: // the password was checked at open: a page that fails its check is damage
    case SQLITE_CORRUPT:
        return err::CannotOpen;
    default:
        return kCallFailed;
    }
}

// OLE automation dates: days since 1899-12-30, the time of day as the fraction.
static constexpr qint64 kOleEpochJulianDay = 2415019;

double toOleDate(const QDateTime& dt) {
    const double days = double(dt.date().toJulianDay() - kOleEpochJulianDay);
    return days + double(dt.time().msecsSinceStartOfDay()) / 86400000.0;
}

std::optional<std::pair<QDate, QTime>> splitStoredDate(double d) {
    if (!std::isfinite(d) || std::fabs(d) > 3.0e6) return std::nullopt;
    double dayPart = std::floor(d);
    qint64 ms = qint64(std::llround((d - dayPart) * 86400000.0));
    if (ms >= 86400000) {
        dayPart += 1;
        ms -= 86400000;
    }
    const QDate date = QDate::fromJulianDay(qint64(dayPart) + kOleEpochJulianDay);
    // Stored times are whole seconds; round away binary fractions.
    ms = (ms + 500) / 1000 * 1000;
    if (ms >= 86400000) ms = 86399000;
    return std::pair(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDateTime fromOleDate(double d) {
    const auto parts = splitStoredDate(d);
    return parts ? QDateTime(parts->first, parts->second) : QDateTime();
}

QVariant readColumn(sqlite3_stmt* st, int col, FieldType type) {
    const int t = sqlite3_column_type(st, col);
    if (t == SQLITE_NULL) return {};
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, col));
    }
    case FieldType::Long:
    case FieldType::Integer:
        return int(sqlite3_column_int64(st, col));
    case FieldType::Boolean:
        return sqlite3_column_int64(st, col) != 0;
    case FieldType::DateTime:
        return fromOleDate(sqlite3_column_double(st, col));
    }
    return {};
}

void bindValue(sqlite3_stmt* st, int param, const QVariant& v, FieldType type) {
    if (v.isNull()) {
        sqlite3_bind_null(st, param);
        return;
    }
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(st, param, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return;
    }
    case FieldType::Long:
    case FieldType::Integer:
        sqlite3_bind_int64(st, param, v.toLongLong());
        return;
    case FieldType::Boolean:
        sqlite3_bind_int(st, param, v.toBool() ? 1 : 0);
        return;
    case FieldType::DateTime:
        sqlite3_bind_double(st, param, toOleDate(v.toDateTime()));
        return;
    }
}

// ---------------------------------------------------------------- DbCore

DbCore::~DbCore() {
    if (db) sqlite3_close_v2(db);
}

TableInfo* DbCore::find(const QString& name) {
    for (TableInfo& t : tables)
        if (sameName(t.def.name, name)) return &t;
    return nullptr;
}

TableInfo& DbCore::require(const QString& name) {
    if (!alive()) raise(err::ObjectInvalid);
    TableInfo* t = find(name);
    if (!t) raise(err::NoSuchTable, name);
    return *t;
}

void DbCore::fail(int rc, const QString& item) const {
    const int number = sqliteToStoreError(rc);
    if (number == err::DuplicateKey || number == err::FileNotFound || number == err::CannotOpen ||
        number == err::FileLocked)
        raise(number, item.isEmpty() ? path : item);
    if (number == kCallFailed)
        throw StoreError(number,
                         QStringLiteral("Record store call failed: %1")
                             .arg(QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc))));
    raise(number, item);
}

void DbCore::exec(const std::string& sql) {
    char* msg = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK) fail(rc);
}

void DbCore::requireWritable() const {
    if (!db) raise(err::ObjectInvalid);
    if (readOnly) raise(err::ReadOnly);
}

void DbCore::flushCounters() {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "UPDATE vlm_counter SET next = ?1 WHERE name = ?2", -1, &st,
                           nullptr) != SQLITE_OK)
        fail(sqlite3_errcode(db));
    for (TableInfo& t : tables) {
        if (!t.counterDirty) continue;
        sqlite3_bind_int64(st, 1, t.nextCounter);
        const QByteArray n = t.def.name.toUtf8();
        sqlite3_bind_text(st, 2, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(st);
            fail(rc);
        }
        t.counterDirty = false;
    }
    sqlite3_finalize(st);
}

void DbCore::reloadCounters() {
    for (TableInfo& t : tables) {
        t.counterDirty = false;
        if (t.counterField < 0) continue;
        const std::string f = t.quotedFields[size_t(t.counterField)];
        const std::string sql =
            "SELECT max(coalesce((SELECT next FROM vlm_counter WHERE name = ?1), 1), "
            "coalesce((SELECT max(" +
            f + ") FROM " + t.quoted + "), 0) + 1)";
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            fail(sqlite3_errcode(db));
        const QByteArray n = t.def.name.toUtf8();
        sqlite3_bind_text(st, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) t.nextCounter = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        if (rc != SQLITE_ROW) fail(rc);
    }
}

void DbCore::touchAll() {
    for (TableInfo& t : tables)
        ++t.generation;
}

// ---------------------------------------------------------------- Database

namespace {

constexpr const char* kCounterTableSql =
    "CREATE TABLE vlm_counter (name TEXT PRIMARY KEY NOT NULL, next INTEGER NOT NULL)";

// The size of base from which the check at open may share its reads with a second connection.
constexpr qint64 kSecondReaderBytes = qint64(32) << 20;

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() {
        if (db) sqlite3_close_v2(db);
    }
    sqlite3* release() {
        sqlite3* d = db;
        db = nullptr;
        return d;
    }
};

void keyConnection(sqlite3* db, const QString& password) {
    const QByteArray key = password.toUtf8();
    sqlite3_key(db, key.constData(), int(key.size()));
    const std::string pageSize = "PRAGMA cipher_page_size = " + std::to_string(Database::kPageSize);
    sqlite3_exec(db, pageSize.c_str(), nullptr, nullptr, nullptr);
}

// Sets the connection's options once its catalogue is read (the first read of a file plays
// back a crash journal and checks the password; these settings must not be what meets a
// failure there). Returns the SQLite result code.
int tuneConnection(sqlite3* db) {
    const std::string pragmas = "PRAGMA cell_size_check = ON; PRAGMA mmap_size = 0; "
                                "PRAGMA temp_store = MEMORY; PRAGMA cache_size = -" +
                                std::to_string(Database::kCacheKiB) + ";";
    return sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
}

using MasterRows = std::vector<std::array<std::string, 4>>;

// Reads the catalogue of a connection; returns the SQLite result code.
int readMaster(sqlite3* db, MasterRows& rows) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "SELECT type, name, tbl_name, coalesce(sql, '') FROM sqlite_master ORDER BY name", -1,
        &st, nullptr);
    if (rc != SQLITE_OK) return rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        std::array<std::string, 4> r;
        for (int i = 0; i < 4; ++i) {
            const unsigned char* p = sqlite3_column_text(st, i);
            r[size_t(i)] = p ? reinterpret_cast<const char*>(p) : "";
        }
        rows.push_back(std::move(r));
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The catalogue a base of this schema has, built in a scratch in-memory database.
MasterRows expectedMaster(const Schema& schema) {
    Handle mem;
    sqlite3_open_v2(":memory:", &mem.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    registerCollation(mem.db);
    std::string ddl = std::string(kCounterTableSql) + ";";
    for (const TableDef& t : schema) {
        ddl += tableSql(t) + ";";
        for (const std::string& s : indexSql(t))
            ddl += s + ";";
    }
    MasterRows rows;
    if (sqlite3_exec(mem.db, ddl.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        readMaster(mem.db, rows) != SQLITE_OK)
        raise(err::InvalidArgument);
    return rows;
}

// Whether the base may be opened for writing. The file's mode counts by itself: root passes
// every access() check, yet a file without a write bit was meant to be left alone.
bool canWrite(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat st {};
    return ::stat(file.constData(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) &&
           ::access(file.constData(), W_OK) == 0 && ::access(dir.constData(), W_OK) == 0;
}

// Whether the first page of a file could be one of an encrypted base: such a page is
// indistinguishable from random bytes, so its byte counts pass a chi-square test that zeros,
// text or any structured data fail by far (a random page fails it with odds below 1e-25).
bool looksEncrypted(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray page = f.read(Database::kPageSize);
    if (page.size() < Database::kPageSize) return false;
    std::array<int, 256> counts{};
    for (char c : page)
        ++counts[size_t(uchar(c))];
    const double expected = Database::kPageSize / 256.0;
    double chi2 = 0;
    for (int n : counts)
        chi2 += (n - expected) * (n - expected) / expected;
    return chi2 < 600; // 255 degrees of freedom: mean 255, deviation 23
}

// The store error for a base whose first read failed with the SQLite result code rc.
int openingError(int rc, const QString& path, bool journal) {
    switch (rc & 0xFF) {
    case SQLITE_NOTADB: // a wrong key, or a file that was never a base: only the bytes tell
        return QFileInfo(path).size() % Database::kPageSize == 0 && looksEncrypted(path)
                   ? err::WrongPassword
                   : err::CannotOpen;
    case SQLITE_NOMEM:
        return err::OutOfMemory;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return err::FileLocked;
    case SQLITE_READONLY: // a crash journal this connection may not play back
        return err::NeedsRecovery;
    case SQLITE_CANTOPEN: // the journal, when there is one, could not be opened for writing
        return journal ? err::NeedsRecovery : err::CannotRead;
    case SQLITE_IOERR:
        return err::CannotRead;
    default:
        return err::CannotOpen;
    }
}

// Whether a processor is likely to be free for a while: the load of the last minute is below
// the number of processors. On a busy machine two threads only share the one processor they
// get, and the work the second connection repeats makes the whole longer (on two processors,
// two connections took 20% less time than one at a load of 1.5, and 40% more at 5).
bool processorFree() {
    const unsigned processors = std::thread::hardware_concurrency();
    double load = 0;
    return processors > 1 && (::getloadavg(&load, 1) != 1 || load < processors);
}

// Bytes this process has read from files so far, as the kernel counts them (0 when it cannot).
qint64 bytesRead() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:")) return line.mid(6).trimmed().toLongLong();
    return 0;
}

// Runs `check` on a thread of its own while this one tells `progress`, at once and then every
// 30 ms, the share of the file read so far; without a progress, or without a thread to be had,
// runs it here. The check reads the whole file once, and a large file takes a second or more.
bool checkReporting(const std::function<bool()>& check, Progress* progress, qint64 fileSize) {
    if (!progress) return check();
    const qint64 start = bytesRead();
    const auto tell = [&] {
        const qint64 share = (bytesRead() - start) * 100 / std::max<qint64>(fileSize, 1);
        progress->step(-1, int(std::clamp<qint64>(share, 0, 99)));
    };
    tell();
    std::future<bool> done;
    try {
        done = std::async(std::launch::async, check);
    } catch (const std::system_error&) {
        return check();
    }
    while (done.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready)
        tell();
    return done.get();
}

// Creates an empty file of a free name next to `path`, for a base in the making.
QString reserveName(const QString& path) {
    for (int attempt = 0;; ++attempt) {
        const QString temp =
            path + QStringLiteral(".%1.new").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                 QLatin1Char('0'));
        const int fd =
            ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            ::close(fd);
            return temp;
        }
        if (errno != EEXIST || attempt == 10) raise(err::DiskError);
    }
}

// Gives a finished base its name, unless a file took that name in the meantime, and makes the
// new name last.
void giveName(const QString& temp, const QString& path) {
    const QByteArray from = QFile::encodeName(temp), to = QFile::encodeName(path);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) raise(err::DatabaseExists, path);
        if (errno != EINVAL && errno != ENOSYS) raise(err::DiskError);
        // A file system that cannot refuse to replace: look first.
        if (QFileInfo::exists(path)) raise(err::DatabaseExists, path);
        if (std::rename(from.constData(), to.constData()) != 0) raise(err::DiskError);
    }
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

Database::Database(std::shared_ptr<DbCore> core) : core_(std::move(core)) {}

Database::~Database() {
    close();
}

QString Database::passwordOf(const QString& connect) {
    const int at = connect.indexOf(QLatin1String(";pwd="), 0, Qt::CaseInsensitive);
    if (at < 0) {
        if (connect.startsWith(QLatin1String("pwd="), Qt::CaseInsensitive)) return connect.mid(4);
        return {};
    }
    return connect.mid(at + 5);
}

std::unique_ptr<Database> Database::create(const QString& path, const QString& localeAndConnect,
                                           int options,
                                           const std::function<void(Database&)>& fill) {
    QFileInfo fi(path);
    if (fi.exists() || fi.isSymLink()) raise(err::DatabaseExists, path);
    if (path.isEmpty() || !fi.absoluteDir().exists()) raise(err::FileNotFound, path);
    const QString password = (options & Encrypt) ? passwordOf(localeAndConnect) : QString();
    // The base is made and filled under a name of its own in the same folder, and takes its
    // name only once it is whole: a creation cut short leaves no half-made base behind.
    const QString temp = reserveName(path);
    Schema tables;
    try {
        Handle h;
        const int rc = sqlite3_open_v2(
            QFile::encodeName(temp).constData(), &h.db,
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
        if (rc != SQLITE_OK) raise(rc == SQLITE_NOMEM ? err::OutOfMemory : err::DiskError);
        registerCollation(h.db);
        if (!password.isEmpty()) keyConnection(h.db, password);
        tuneConnection(h.db);
        auto core = std::make_shared<DbCore>();
        core->path = temp;
        core->db = h.release();
        Database db(core);
        core->exec(std::string("BEGIN; ") + kCounterTableSql + "; COMMIT;");
        if (fill) fill(db);
        tables = db.tableDefs();
        db.close();
        giveName(temp, path);
    } catch (...) {
        QFile::remove(temp);
        QFile::remove(temp + u"-journal");
        throw;
    }
    return open(path, false, false, QStringLiteral(";pwd=") + password, tables);
}

std::unique_ptr<Database> Database::open(const QString& path, bool /*exclusive*/, bool readOnly,
                                         const QString& connect, const Schema& schema, Check check,
                                         Progress* progress) {
    QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists()) raise(err::FileNotFound, path);
    if (!fi.isFile()) raise(err::CannotOpen, path);
    // A crash journal is played back by the first read of the base, and gives the file its
    // size again: until then the size says nothing.
    const bool journal = QFileInfo(path + u"-journal").size() > 0;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) raise(err::CannotRead, path);
        const QByteArray head = f.read(16);
        if (f.size() == 0 || head.startsWith(QByteArrayLiteral("SQLite format 3")))
            raise(err::UnrecognizedFormat, path);
        if (!journal && f.size() % kPageSize != 0) raise(err::CannotOpen, path);
    }
    auto core = std::make_shared<DbCore>();
    core->path = path;
    core->readOnly = readOnly || !canWrite(path);
    Handle h;
    const QByteArray name = QFile::encodeName(path);
    int rc =
        sqlite3_open_v2(name.constData(), &h.db,
                        core->readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) raise(rc == SQLITE_NOMEM ? err::OutOfMemory : err::CannotRead, path);
    registerCollation(h.db);
    keyConnection(h.db, passwordOf(connect));

    // A base is untrusted input: its catalogue must be exactly the one this program makes
    // before any other statement touches it.
    MasterRows found;
    rc = readMaster(h.db, found);
    if (rc != SQLITE_OK) {
        const int e = openingError(rc, path, journal);
        raise(e, e == err::WrongPassword ? QString() : path);
    }
    if (QFileInfo(path).size() % kPageSize != 0) raise(err::CannotOpen, path);
    if (found != expectedMaster(schema)) raise(err::UnrecognizedFormat, path);
    if ((rc = tuneConnection(h.db)) != SQLITE_OK) raise(openingError(rc, path, journal), path);
    // On a large base the check shares its reads with a second connection, read-only, while
    // this one runs the quick check; on a small one, or without a free processor, that would
    // cost more than it saves (the key is derived again, and the Notes are read twice).
    std::function<sqlite3*()> second;
    if (QFileInfo(path).size() >= kSecondReaderBytes && processorFree())
        second = [&name, &connect]() -> sqlite3* {
            Handle other;
            if (sqlite3_open_v2(name.constData(), &other.db, SQLITE_OPEN_READONLY, nullptr) !=
                SQLITE_OK)
                return nullptr;
            registerCollation(other.db);
            keyConnection(other.db, passwordOf(connect));
            return other.release();
        };
    if (check == Check::Full &&
        !checkReporting([&] { return baseIntact(h.db, second); }, progress, QFileInfo(path).size()))
        raise(err::CannotOpen, path);
    core->db = h.release();
    for (const TableDef& t : schema) {
        core->tables.emplace_back();
        buildTableInfo(core->tables.back(), t);
    }
    core->reloadCounters();
    return std::unique_ptr<Database>(new Database(std::move(core)));
}

void Database::close() {
    if (!core_ || !core_->db) return;
    if (core_->transDepth > 0) {
        sqlite3_exec(core_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        core_->transDepth = 0;
    }
    sqlite3_close_v2(core_->db); // completes once the recordsets have let go of their statements
    core_->db = nullptr;
}

bool Database::isOpen() const {
    return core_ && core_->db;
}
bool Database::isReadOnly() const {
    return core_->readOnly;
}
QString Database::path() const {
    return core_->path;
}

Schema Database::tableDefs() const {
    Schema defs;
    for (const TableInfo& t : core_->tables)
        defs.push_back(t.def);
    return defs;
}

const TableDef& Database::tableDef(const QString& name) const {
    return core_->require(name).def;
}

void Database::appendTable(const TableDef& table) {
    core_->requireWritable();
    if (table.name.isEmpty() || table.fields.empty()) raise(err::InvalidArgument);
    if (core_->find(table.name)) raise(err::TableExists, table.name);
    for (size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDef& f = table.fields[i];
        if (f.name.isEmpty() || table.fieldPos(f.name) != int(i)) raise(err::InvalidArgument);
        if (f.type == FieldType::Text && (f.size < 1 || f.size > 255)) raise(err::InvalidArgument);
    }
    for (const IndexDef& ix : table.indexes) {
        if (ix.fields.isEmpty()) raise(err::InvalidArgument);
        for (const QString& fn : ix.fields)
            if (table.fieldPos(fn) < 0) raise(err::ItemNotFound, fn);
    }
    std::string ddl = tableSql(table) + ";";
    for (const std::string& s : indexSql(table))
        ddl += s + ";";
    bool counter = false;
    for (const FieldDef& f : table.fields)
        counter = counter || f.isCounter();
    if (counter)
        ddl += "INSERT INTO vlm_counter(name, next) VALUES (" + sqlLiteral(table.name) + ", 1);";
    const bool own = core_->transDepth == 0;
    if (own) core_->exec("BEGIN");
    try {
        core_->exec(ddl);
        if (own) core_->exec("COMMIT");
    } catch (...) {
        if (own) sqlite3_exec(core_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    core_->tables.emplace_back();
    buildTableInfo(core_->tables.back(), table);
    core_->tables.back().nextCounter = 1;
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& table) {
    return std::make_unique<Recordset>(core_, &core_->require(table));
}

void Database::beginTrans() {
    if (!core_->db) raise(err::ObjectInvalid);
    core_->parkAll();
    if (core_->transDepth == 0)
        core_->exec("BEGIN");
    else
        core_->exec("SAVEPOINT t" + std::to_string(core_->transDepth));
    ++core_->transDepth;
    core_->tableMarks.push_back(core_->tables.size());
}

void Database::commitTrans() {
    if (!core_->db) raise(err::ObjectInvalid);
    if (core_->transDepth == 0) raise(err::InvalidArgument);
    core_->parkAll();
    if (core_->transDepth == 1) {
        core_->flushCounters();
        core_->exec("COMMIT");
    } else {
        core_->exec("RELEASE t" + std::to_string(core_->transDepth - 1));
    }
    --core_->transDepth;
    core_->tableMarks.pop_back();
}

void Database::rollback() {
    if (!core_->db) raise(err::ObjectInvalid);
    if (core_->transDepth == 0) raise(err::InvalidArgument);
    core_->parkAll();
    if (core_->transDepth == 1) {
        core_->exec("ROLLBACK");
    } else {
        const std::string sp = "t" + std::to_string(core_->transDepth - 1);
        core_->exec("ROLLBACK TO " + sp + "; RELEASE " + sp);
    }
    --core_->transDepth;
    // Tables appended inside the transaction are gone with it.
    core_->tables.resize(core_->tableMarks.back());
    core_->tableMarks.pop_back();
    core_->touchAll();
    core_->reloadCounters();
}

int Database::transactionDepth() const {
    return core_->transDepth;
}

namespace {

void bindAll(const DbCore& core, sqlite3_stmt* st, const QVariantList& binds) {
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant& v = binds[i];
        const int type = v.typeId();
        if (v.isNull())
            bindValue(st, i + 1, v, FieldType::Text);
        else if (type == QMetaType::QString)
            bindValue(st, i + 1, v, FieldType::Text);
        else if (type == QMetaType::Bool || type == QMetaType::Int || type == QMetaType::LongLong ||
                 type == QMetaType::UInt || type == QMetaType::ULongLong)
            bindValue(st, i + 1, v, FieldType::Long);
        else
            core.fail(SQLITE_MISMATCH);
    }
}

// Runs `sql` and hands each row to `row`; returns the rows changed.
template <class F> int runSql(DbCore& core, const QString& sql, const QVariantList& binds, F row) {
    if (!core.alive()) raise(err::ObjectInvalid);
    core.parkAll();
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(core.db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        core.fail(sqlite3_errcode(core.db));
    struct Finalize {
        sqlite3_stmt* st;
        ~Finalize() { sqlite3_finalize(st); }
    } finalize{st};
    bindAll(core, st, binds);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        row(st);
    if (rc != SQLITE_DONE) core.fail(rc);
    return sqlite3_changes(core.db);
}

} // namespace

int Database::execute(const QString& sql, const QVariantList& binds) {
    core_->requireWritable();
    return runSql(*core_, sql, binds, [](sqlite3_stmt*) {});
}

int Database::executeEach(const QString& sql, const std::vector<QVariantList>& binds) {
    core_->requireWritable();
    core_->parkAll();
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(core_->db, text.constData(), int(text.size()), &st, nullptr) !=
        SQLITE_OK)
        core_->fail(sqlite3_errcode(core_->db));
    struct Finalize {
        sqlite3_stmt* st;
        ~Finalize() { sqlite3_finalize(st); }
    } finalize{st};
    int changed = 0;
    for (const QVariantList& b : binds) {
        bindAll(*core_, st, b);
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) core_->fail(rc);
        changed += sqlite3_changes(core_->db);
    }
    return changed;
}

std::vector<QVariantList> Database::query(const QString& sql, const QVariantList& binds) {
    std::vector<QVariantList> rows;
    runSql(*core_, sql, binds, [&rows](sqlite3_stmt* st) {
        QVariantList r;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            r << readColumn(st, c,
                            sqlite3_column_type(st, c) == SQLITE_INTEGER ? FieldType::Long
                                                                         : FieldType::Text);
        rows.push_back(std::move(r));
    });
    return rows;
}

void Database::each(const QString& sql, const QVariantList& binds,
                    const std::function<void(const SqlRow&)>& row) {
    runSql(*core_, sql, binds, [&row](sqlite3_stmt* st) { row(SqlRow(st)); });
}

bool SqlRow::isNull(int column) const {
    return sqlite3_column_type(st_, column) == SQLITE_NULL;
}

QString SqlRow::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st_, column)) : QString();
}

double SqlRow::real(int column) const {
    return sqlite3_column_double(st_, column);
}

qint64 SqlRow::integer(int column) const {
    return sqlite3_column_int64(st_, column);
}

void Database::tablesChanged() {
    if (!core_->alive()) raise(err::ObjectInvalid);
    core_->touchAll();
    core_->reloadCounters();
}

void Database::attach(const QString& path, const QString& connect, const QString& alias) {
    if (core_->transDepth > 0) raise(err::InvalidArgument);
    // The attached file is read at once, with the default page size of the cipher: ours for
    // that moment.
    int previous = 0;
    runSql(*core_, QStringLiteral("PRAGMA cipher_default_page_size"), {},
           [&previous](sqlite3_stmt* st) { previous = sqlite3_column_int(st, 0); });
    const auto pageSize = [this](int size) {
        runSql(*core_, QStringLiteral("PRAGMA cipher_default_page_size = ") + QString::number(size),
               {}, [](sqlite3_stmt*) {});
    };
    pageSize(kPageSize);
    try {
        runSql(*core_,
               QStringLiteral("ATTACH DATABASE ?1 AS ") +
                   QString::fromStdString(quoteIdent(alias)) + QStringLiteral(" KEY ?2"),
               {path, passwordOf(connect)}, [](sqlite3_stmt*) {});
    } catch (...) {
        pageSize(previous);
        throw;
    }
    pageSize(previous);
}

void Database::detach(const QString& alias) {
    if (core_->transDepth > 0) raise(err::InvalidArgument);
    runSql(*core_, QStringLiteral("DETACH DATABASE ") + QString::fromStdString(quoteIdent(alias)),
           {}, [](sqlite3_stmt*) {});
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.beginTrans();
}

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.rollback();
    } catch (const StoreError&) {
    } catch (const std::bad_alloc&) {
    }
}

void Transaction::commit() {
    db_.commitTrans();
    done_ = true;
}

} // namespace vlm::store
