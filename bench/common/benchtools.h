#pragma once

// What every bench measures with: processor time beside wall time (the machine may be busy with
// other work, which stretches the first and hardly the second), best-of-n timing, and a raw
// SQLCipher connection of the store's own kind for the baselines.

#include "core/store/collation.h"
#include "core/store/database.h"

#include <sqlite3.h>

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace vlm::bench {

// The rows the list of the Notes of keyword ?1 shows, every keyword of each: sorted by keyword
// then card number, and sorted again by author.
inline constexpr const char* kNotesOfKeywordSql =
    "SELECT g2.GROUPE, g2.NDX, n.AUTEUR, n.TITRE1, n.CIT FROM GRNOTE g1 "
    "JOIN NOTE n ON n.CIT = g1.NDX JOIN GRNOTE g2 ON g2.NDX = n.CIT "
    "WHERE g1.GROUPE = ?1 ORDER BY g2.GROUPE COLLATE BINARY, g2.NDX COLLATE BINARY";
inline constexpr const char* kNotesOfKeywordByAuthorSql =
    "SELECT g2.GROUPE, g2.NDX, n.AUTEUR, n.TITRE1, n.CIT FROM GRNOTE g1 "
    "JOIN NOTE n ON n.CIT = g1.NDX JOIN GRNOTE g2 ON g2.NDX = n.CIT "
    "WHERE g1.GROUPE = ?1 ORDER BY n.AUTEUR COLLATE BINARY, g2.GROUPE COLLATE BINARY";

inline double cpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Seconds: elapsed time and this process's processor time.
struct Time {
    double wall = 1e9;
    double cpu = 1e9;
};

// Best of `runs`, each side on its own.
inline Time best(const std::function<void()>& f, int runs = 3) {
    Time b;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        const double c0 = cpuNow();
        t.start();
        f();
        b.wall = std::min(b.wall, double(t.nsecsElapsed()) / 1e9);
        b.cpu = std::min(b.cpu, cpuNow() - c0);
    }
    return b;
}

// A connection with the store's key, page size, page cache and collation.
inline sqlite3* rawOpen(const QString& path, bool write = false) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                    write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    sqlite3_key(db, "Rt48Kw27", 8);
    const std::string pragmas = "PRAGMA cipher_page_size = 4096; PRAGMA cache_size = -" +
                                std::to_string(store::Database::kCacheKiB);
    sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr);
    store::registerCollation(db);
    return db;
}

inline QString textOf(sqlite3_stmt* st, int col) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, col)) : QString();
}

// Runs a statement and reads every column of every row into texts, as the windows would need
// them; returns the number of rows, and the rows into `out` when given.
inline long query(sqlite3* db, const char* sql, const QStringList& binds = {},
                  std::vector<QStringList>* out = nullptr) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "SQL error: %s in %s\n", sqlite3_errmsg(db), sql);
        return -1;
    }
    for (int i = 0; i < binds.size(); ++i) {
        const QByteArray b = binds[i].toUtf8();
        sqlite3_bind_text(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    QStringList r;
    long n = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        r.clear();
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            r << (sqlite3_column_type(st, c) == SQLITE_FLOAT
                      ? QString::number(sqlite3_column_double(st, c))
                      : textOf(st, c));
        if (out) out->push_back(r);
        ++n;
    }
    if (rc != SQLITE_DONE) std::fprintf(stderr, "SQL error: %s in %s\n", sqlite3_errmsg(db), sql);
    sqlite3_finalize(st);
    return n;
}

} // namespace vlm::bench
