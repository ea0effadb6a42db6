#include "core/store/basecheck.h"

#include "core/store/collation.h"
#include "core/store/dbcore.h"

#include <QHashFunctions>
#include <QRandomGenerator>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// SQLite's full integrity check looks every row of a table up in each of its indexes, one seek
// after another, after the walk of every b-tree: on a large base that was most of an open.
// Here the quick check walks the b-trees, and each index is compared with its table as a
// whole: the count and the sum of a keyed hash of its entries (key columns and rowid), read
// once from the index alone and once from the table alone. The key is drawn at each check, so
// a made-up base cannot aim at a sum. The index is also read in its order: an entry out of
// order, which a seek would never find, is a fault as much as a missing one. The reads run on
// a second connection while the first one runs the quick check; on the Notes, whose counter
// comes after their texts, the read of the table follows every overflow chain again, so the
// two connections together do more than the full check did, in less time when a processor is
// free for the second one. Alone, the connection reads them from its cache after the quick
// check, and does less than the full check did.

namespace vlm::store {
namespace {

// The page cache of each connection during a check on two (KiB). Each walks the pages in a
// row and reads most of them once, so a cache of the whole file would only cost the memory it
// takes: about a fifth more time for the quick check. Alone, the connection keeps its own
// cache, and the reads after the quick check find the pages there.
constexpr int kCheckCacheKiB = 8192;

std::string textOf(sqlite3_stmt* st, int col) {
    const unsigned char* p = sqlite3_column_text(st, col);
    return p ? reinterpret_cast<const char*>(p) : "";
}

// Runs `sql` and hands each row to `row`; false when it fails.
template <class F> bool eachRow(sqlite3* db, const std::string& sql, F row) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        return false;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(st, sqlite3_finalize);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        if (!row(st)) return false;
    return rc == SQLITE_DONE;
}

struct IndexPlan {
    std::string name;              // quoted
    std::vector<std::string> keys; // quoted names of the key columns
    std::vector<int> columns;      // positions of the key columns in the table's read
    std::vector<bool> binary, descending;
    bool unique = false;
};

struct TablePlan {
    std::string name;
    std::vector<std::string> read; // what the table's read selects after the rowid
    std::vector<int> notNull;      // positions in the read of columns declared NOT NULL
    std::vector<IndexPlan> indexes;
};

enum class Plan { Made, Failed, Unreadable };

// The tables and indexes of the base, read from its catalogue. Unreadable when an index is one
// this check cannot read as a whole (partial, on an expression, or of another collation than
// the store's own and SQLite's binary one: none of them in a base this program makes).
Plan makePlan(sqlite3* db, std::vector<TablePlan>& plan) {
    bool readable = true;
    if (!eachRow(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid",
                 [&](sqlite3_stmt* st) {
                     plan.push_back({textOf(st, 0), {}, {}, {}});
                     return true;
                 }))
        return Plan::Failed;
    for (TablePlan& t : plan) {
        const std::string table = quoteIdent(QString::fromStdString(t.name));
        std::vector<std::string> names;
        std::vector<int> position; // of each column in the table's read, -1 when not read
        const auto readColumn = [&](int cid) {
            if (position[size_t(cid)] < 0) {
                position[size_t(cid)] = int(t.read.size());
                t.read.push_back(names[size_t(cid)]);
            }
            return position[size_t(cid)];
        };
        std::vector<int> notNull;
        if (!eachRow(db, "PRAGMA table_info(" + table + ")", [&](sqlite3_stmt* st) {
                names.push_back(quoteIdent(QString::fromStdString(textOf(st, 1))));
                position.push_back(-1);
                if (sqlite3_column_int(st, 3)) notNull.push_back(int(names.size()) - 1);
                return true;
            }))
            return Plan::Failed;
        for (int cid : notNull)
            t.notNull.push_back(readColumn(cid));
        if (!eachRow(db, "PRAGMA index_list(" + table + ")", [&](sqlite3_stmt* st) {
                IndexPlan ix;
                ix.name = textOf(st, 1);
                ix.unique = sqlite3_column_int(st, 2) != 0;
                t.indexes.push_back(std::move(ix));
                readable = readable && sqlite3_column_int(st, 4) == 0;
                return true;
            }))
            return Plan::Failed;
        for (IndexPlan& ix : t.indexes) {
            ix.name = quoteIdent(QString::fromStdString(ix.name));
            if (!eachRow(db, "PRAGMA index_xinfo(" + ix.name + ")", [&](sqlite3_stmt* st) {
                    if (!sqlite3_column_int(st, 5)) return true; // the rowid after the key
                    const int cid = sqlite3_column_int(st, 1);
                    const std::string coll = textOf(st, 4);
                    if (cid < 0 || size_t(cid) >= names.size() ||
                        (coll != "BINARY" && coll != kCollationName)) {
                        readable = false;
                        return true;
                    }
                    ix.keys.push_back(names[size_t(cid)]);
                    ix.columns.push_back(readColumn(cid));
                    ix.binary.push_back(coll == "BINARY");
                    ix.descending.push_back(sqlite3_column_int(st, 3) != 0);
                    return true;
                }))
                return Plan::Failed;
        }
    }
    return readable ? Plan::Made : Plan::Unreadable;
}

// Count and sum of the keyed hashes of an index's entries.
struct Digest {
    quint64 count = 0, sum = 0;
    bool operator==(const Digest&) const = default;
};

// One value of an entry, as the hash and the comparison of entries take it.
struct Value {
    int type = SQLITE_NULL;
    sqlite3_int64 i = 0;
    double r = 0;
    std::string s;
    void read(sqlite3_stmt* st, int col) {
        type = sqlite3_column_type(st, col);
        if (type == SQLITE_INTEGER) i = sqlite3_column_int64(st, col);
        if (type == SQLITE_FLOAT) r = sqlite3_column_double(st, col);
        if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
            const void* p =
                type == SQLITE_TEXT ? sqlite3_column_text(st, col) : sqlite3_column_blob(st, col);
            s.assign(static_cast<const char*>(p), size_t(sqlite3_column_bytes(st, col)));
        }
    }
};

// Appends a value to the bytes an entry's hash is taken of. A whole real counts as the
// integer it equals, so that either way of storing it gives the same entry.
void appendValue(std::string& out, sqlite3_stmt* st, int col) {
    const int type = sqlite3_column_type(st, col);
    sqlite3_int64 i = 0;
    char tag = 'n';
    if (type == SQLITE_INTEGER) {
        tag = 'i';
        i = sqlite3_column_int64(st, col);
    } else if (type == SQLITE_FLOAT) {
        const double r = sqlite3_column_double(st, col);
        tag = r >= -9.2e18 && r <= 9.2e18 && double(sqlite3_int64(r)) == r ? 'i' : 'f';
        if (tag == 'i')
            i = sqlite3_int64(r);
        else
            std::memcpy(&i, &r, sizeof i);
    } else if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
        tag = type == SQLITE_TEXT ? 't' : 'b';
        i = sqlite3_column_bytes(st, col);
    }
    out += tag;
    out.append(reinterpret_cast<const char*>(&i), sizeof i);
    if (type == SQLITE_TEXT)
        out.append(reinterpret_cast<const char*>(sqlite3_column_text(st, col)), size_t(i));
    if (type == SQLITE_BLOB)
        out.append(static_cast<const char*>(sqlite3_column_blob(st, col)), size_t(i));
}

void addEntry(Digest& d, std::string& entry, sqlite3_int64 rowid, size_t seed) {
    entry.append(reinterpret_cast<const char*>(&rowid), sizeof rowid);
    ++d.count;
    d.sum += qHashBits(entry.data(), entry.size(), seed);
}

// SQLite's order of two values: nulls, numbers, texts (by the column's collation), blobs.
int compareValues(const Value& a, const Value& b, bool binary) {
    const auto rank = [](int type) {
        return type == SQLITE_NULL ? 0 : type == SQLITE_TEXT ? 2 : type == SQLITE_BLOB ? 3 : 1;
    };
    if (rank(a.type) != rank(b.type)) return rank(a.type) < rank(b.type) ? -1 : 1;
    switch (rank(a.type)) {
    case 0:
        return 0;
    case 1:
        if (a.type == SQLITE_INTEGER && b.type == SQLITE_INTEGER) return (a.i > b.i) - (a.i < b.i);
        {
            const double x = a.type == SQLITE_INTEGER ? double(a.i) : a.r;
            const double y = b.type == SQLITE_INTEGER ? double(b.i) : b.r;
            return (x > y) - (x < y);
        }
    case 2:
        if (!binary) return compareText(a.s, b.s);
        [[fallthrough]];
    default: {
        const int c = std::memcmp(a.s.data(), b.s.data(), std::min(a.s.size(), b.s.size()));
        return c ? c : (a.s.size() > b.s.size()) - (a.s.size() < b.s.size());
    }
    }
}

// Reads an index of a table alone, in its order.
bool readIndex(sqlite3* db, const TablePlan& t, const IndexPlan& ix, size_t seed, Digest& d) {
    std::string sql = "SELECT ";
    for (const std::string& k : ix.keys)
        sql += k + ", ";
    sql += "rowid FROM " + quoteIdent(QString::fromStdString(t.name)) + " INDEXED BY " + ix.name;
    // The order asked for is the index's own, which it gives as it is (an index scan is not
    // offered otherwise when the index is as wide as its table).
    for (size_t k = 0; k < ix.keys.size(); ++k)
        sql += (k ? ", " : " ORDER BY ") + ix.keys[k] + (ix.descending[k] ? " DESC" : "");
    const size_t n = ix.keys.size();
    std::vector<Value> previous(n), current(n);
    sqlite3_int64 previousRowid = 0;
    std::string entry;
    return eachRow(db, sql, [&](sqlite3_stmt* st) {
        bool hasNull = false;
        int order = 0;
        entry.clear();
        for (size_t k = 0; k < n; ++k) {
            current[k].read(st, int(k));
            hasNull = hasNull || current[k].type == SQLITE_NULL;
            appendValue(entry, st, int(k));
            if (order == 0 && d.count > 0)
                order = compareValues(previous[k], current[k], ix.binary[k]) *
                        (ix.descending[k] ? -1 : 1);
        }
        const sqlite3_int64 rowid = sqlite3_column_int64(st, int(n));
        // Each entry after the one before, and a unique key only once.
        if (d.count > 0 && (order > 0 || (order == 0 && ix.unique && !hasNull) ||
                            (order == 0 && rowid <= previousRowid)))
            return false;
        previous.swap(current);
        previousRowid = rowid;
        addEntry(d, entry, rowid, seed);
        return true;
    });
}

// Reads a table alone (never through an index) and gives what each of its indexes should hold.
bool readTable(sqlite3* db, const TablePlan& t, size_t seed, std::vector<Digest>& digests) {
    std::string sql = "SELECT rowid";
    for (const std::string& r : t.read)
        sql += ", " + r;
    sql += " FROM " + quoteIdent(QString::fromStdString(t.name)) + " NOT INDEXED";
    std::string entry;
    if (!eachRow(db, sql, [&](sqlite3_stmt* st) {
            for (int c : t.notNull)
                if (sqlite3_column_type(st, c + 1) == SQLITE_NULL) return false;
            const sqlite3_int64 rowid = sqlite3_column_int64(st, 0);
            for (size_t x = 0; x < t.indexes.size(); ++x) {
                entry.clear();
                for (int c : t.indexes[x].columns)
                    appendValue(entry, st, c + 1);
                addEntry(digests[x], entry, rowid, seed);
            }
            return true;
        }))
        return false;
    return true;
}

int pragmaInt(sqlite3* db, const char* sql) {
    int v = 0;
    eachRow(db, sql, [&v](sqlite3_stmt* st) {
        v = sqlite3_column_int(st, 0);
        return true;
    });
    return v;
}

void setCache(sqlite3* db, int size) {
    const std::string sql = "PRAGMA cache_size = " + std::to_string(size);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

bool sqliteCheck(sqlite3* db, const char* sql) {
    bool ok = false;
    return eachRow(db, sql,
                   [&ok](sqlite3_stmt* st) {
                       ok = textOf(st, 0) == "ok";
                       return true;
                   }) &&
           ok;
}

} // namespace

bool baseIntact(sqlite3* db, const std::function<sqlite3*()>& second) {
    // One read transaction holds the base as it is until both connections are done: the
    // second one begins its read while this one holds its lock, and no writer commits before
    // both let go.
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::vector<TablePlan> plan;
    const size_t seed = size_t(QRandomGenerator::system()->generate64());
    const Plan made = makePlan(db, plan);
    if (made != Plan::Made) {
        // SQLite's own check, row by row, for the indexes this one cannot read.
        const bool ok = made == Plan::Unreadable && sqliteCheck(db, "PRAGMA integrity_check(1)");
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        return ok;
    }

    // The work after the quick check: each table read alone, each index read alone. The
    // second connection begins with it (the tables first: they are the longest) while this
    // one runs the quick check, then both take what is left.
    struct Job {
        size_t table;
        int index; // -1 for the table itself
    };
    std::vector<Job> jobs;
    std::vector<std::vector<Digest>> fromTables(plan.size()), fromIndexes(plan.size());
    for (size_t t = 0; t < plan.size(); ++t) {
        if (!plan[t].read.empty()) jobs.push_back({t, -1});
        fromTables[t].resize(plan[t].indexes.size());
        fromIndexes[t].resize(plan[t].indexes.size());
    }
    for (size_t t = 0; t < plan.size(); ++t)
        for (size_t x = 0; x < plan[t].indexes.size(); ++x)
            jobs.push_back({t, int(x)});
    std::atomic<size_t> next = 0;
    std::atomic<bool> failed = false;
    const auto work = [&](sqlite3* on) {
        for (size_t j; !failed && (j = next++) < jobs.size();) {
            const TablePlan& t = plan[jobs[j].table];
            const int x = jobs[j].index;
            if (!(x < 0 ? readTable(on, t, seed, fromTables[jobs[j].table])
                        : readIndex(on, t, t.indexes[size_t(x)], seed,
                                    fromIndexes[jobs[j].table][size_t(x)])))
                failed = true;
        }
    };
    // The second connection, in a thread of its own. One that cannot begin (a writer of
    // another process waits for the lock) leaves the work to this one.
    const auto help = [&] {
        sqlite3* other = nullptr;
        try {
            if (!(other = second())) return;
            setCache(other, -kCheckCacheKiB);
            const int rc = sqlite3_exec(other, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr,
                                        nullptr, nullptr) &
                           0xFF;
            if (rc == SQLITE_OK)
                work(other);
            else if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
                failed = true;
        } catch (...) {
            failed = true;
        }
        sqlite3_close_v2(other);
    };
    const int cache = pragmaInt(db, "PRAGMA cache_size");
    std::thread helper;
    try {
        if (second) helper = std::thread(help);
    } catch (const std::system_error&) { // no thread to be had: this connection does it all
    }
    if (helper.joinable()) setCache(db, -kCheckCacheKiB);
    if (!sqliteCheck(db, "PRAGMA quick_check(1)")) failed = true;
    work(db);
    if (helper.joinable()) helper.join();
    const bool ok = !failed && fromTables == fromIndexes;
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    setCache(db, cache);
    return ok;
}

} // namespace vlm::store
