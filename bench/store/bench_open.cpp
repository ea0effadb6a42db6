// Measures the checks a base goes through at open on a large base: the whole open, SQLite's
// quick check of the b-trees alone and its full integrity check (which looks every row up in
// its indexes: what an open ran before), each on a raw connection with the store's settings,
// then the store's own check (the quick check, and each index compared with its table as a
// whole) with its reads shared by two connections, as an open of a large base runs it, and on
// one connection alone. Usage: bench_open [Notes, default 100000] [folder to keep the base in].
// Figures are printed, nothing is asserted.

#include "core/store/basecheck.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/schema.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

using namespace vlm::store;

namespace {

const QString kConnect = QStringLiteral(";pwd=Rt48Kw27");

double seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
// Processor time of the process (the machine is shared: wall time says less).
double cpu(const std::function<void()>& f) {
    const std::clock_t c0 = std::clock();
    f();
    return double(std::clock() - c0) / CLOCKS_PER_SEC;
}

sqlite3* rawOpen(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(db, "Rt48Kw27", 8);
    const std::string tune = "PRAGMA cipher_page_size = 4096; PRAGMA cache_size = -" +
                             std::to_string(Database::kCacheKiB);
    sqlite3_exec(db, tune.c_str(), nullptr, nullptr, nullptr);
    registerCollation(db);
    return db;
}

// A base like a real one: Notes of 0.7 to 1.7 KB of text (1.2 KB on average) with an RTF of about
// twice that, so that most rows run over their page; 20,000 keywords and three keyword links
// per Note. The same for the same number of Notes.
void makeBase(const QString& path, int notes) {
    Database::create(path, kConnect, Encrypt, [](Database& db) {
        createSchema(db);
        writeSeedTypes(db);
    });
    sqlite3* db = rawOpen(path);
    const std::string fill =
        R"(BEGIN;
        CREATE TEMP TABLE pool AS WITH RECURSIVE w(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM w
          WHERE k < 2400) SELECT group_concat(substr('lorem ipsum dolor sit amet consectetur
          adipiscing elit sed do eiusmod tempor', 1 + k * 7 % 60, 2 + k % 7) || (k * k % 997),
          ' ') AS t FROM w;
        INSERT INTO CGROUP1(GROUPE, GrCount) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL
          SELECT i + 1 FROM n WHERE i < 19999) SELECT printf('Keyword %05d', i), i + 1 FROM n;
        INSERT INTO NOTE(CIT, AUTEUR, TITRE1, JOUR, TEXTE, TEXTRTF, NoteCount)
          WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < )" +
        std::to_string(notes) + R"(), body(i, t) AS (SELECT i, substr((SELECT t FROM pool),
          1 + i * 37 % 9000, 700 + i * 7 % 1000) FROM n)
          SELECT printf('LI%07d.TXT', i), 'Author ' || (i % 997), 'Title of note ' || i,
          40000 + i % 9000, t, '{\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}}\pard\f0\fs20 ' ||
          replace(t, ' ', ' \b0 ') || '\par }', i FROM body;
        INSERT INTO GRNOTE(GROUPE, NDX, GrNoteCount) SELECT printf('Keyword %05d',
          (NoteCount * 7919 + k * 104729) % 20000), CIT, NoteCount * 3 + k FROM NOTE,
          (SELECT 0 AS k UNION ALL SELECT 1 UNION ALL SELECT 2);
        COMMIT;)";
    if (sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::printf("fill failed: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
}

std::string pragma(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    std::string out = "failed";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    const int notes = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir tmp(QDir::tempPath() + QStringLiteral("/bo-XXXXXX"));
    // A folder given keeps the base between runs (made once per number of Notes).
    const QString path =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/open-%1.vlm").arg(notes)
                 : tmp.filePath(QStringLiteral("big.vlm"));
    if (!QFileInfo::exists(path)) {
        const double made = seconds([&] { makeBase(path, notes); });
        std::printf("made in %.1f s\n", made);
    }
    {
        sqlite3* db = rawOpen(path);
        std::printf("base of %d Notes, %.0f MB; text, RTF bytes per Note, keyword links: %s\n",
                    notes, double(QFileInfo(path).size()) / 1e6,
                    pragma(db, "SELECT printf('%d, %d, %d', avg(length(TEXTE)), "
                               "avg(length(TEXTRTF)), (SELECT count(*) FROM GRNOTE)) FROM NOTE")
                        .c_str());
        sqlite3_close(db);
    }
    for (int round = 0; round < 2; ++round) {
        // The open shares its check with a second connection only when this leaves a
        // processor free.
        double load = 0;
        getloadavg(&load, 1);
        double open = 0;
        const double openCpu = cpu([&] {
            open = seconds([&] { Database::open(path, false, false, kConnect, velmoraSchema()); });
        });
        // Each check on a connection of its own, its key derived outside the timing.
        auto check = [&](const char* sql, std::string& result, double& c) {
            sqlite3* db = rawOpen(path);
            pragma(db, "SELECT count(*) FROM sqlite_master");
            double t = 0;
            c = cpu([&] { t = seconds([&] { result = pragma(db, sql); }); });
            sqlite3_close(db);
            return t;
        };
        std::string quick, full;
        double qc = 0, fc = 0;
        const double q = check("PRAGMA quick_check(1)", quick, qc);
        const double f = check("PRAGMA integrity_check(1)", full, fc);
        // The store's check, with the tables read on a second connection (its key derived
        // inside the timing, as at open) and on the one connection alone.
        std::string both, one;
        double bc = 0, oc = 0;
        const auto store = [&](bool second, std::string& result, double& c) {
            sqlite3* db = rawOpen(path);
            pragma(db, "SELECT count(*) FROM sqlite_master");
            double t = 0;
            c = cpu([&] {
                t = seconds([&] {
                    std::function<sqlite3*()> other;
                    if (second) other = [&] { return rawOpen(path); };
                    result = baseIntact(db, other) ? "ok" : "damaged";
                });
            });
            sqlite3_close(db);
            return t;
        };
        const double b = store(true, both, bc);
        const double o = store(false, one, oc);
        std::printf(
            "round %d, load %.1f, wall (processor) ms: open %.0f (%.0f)   quick_check %.0f (%.0f) "
            "%s   "
            "integrity_check %.0f (%.0f) %s   store check %.0f (%.0f) %s, on one connection "
            "%.0f (%.0f) %s\n",
            round + 1, load, open * 1e3, openCpu * 1e3, q * 1e3, qc * 1e3, quick.c_str(), f * 1e3,
            fc * 1e3, full.c_str(), b * 1e3, bc * 1e3, both.c_str(), o * 1e3, oc * 1e3,
            one.c_str());
    }
    return 0;
}
