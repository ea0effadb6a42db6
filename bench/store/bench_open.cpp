// Measures the checks a base goes through at open on a large base: the whole open, the quick
// check of the b-trees alone and the full integrity check (which also compares every index
// with its table). Usage: bench_open [megabytes of Note text, default 200] [folder].
// Figures are printed, nothing is asserted.

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
    sqlite3_exec(db, "PRAGMA cipher_page_size = 4096; PRAGMA cache_size = -262144", nullptr,
                 nullptr, nullptr);
    registerCollation(db);
    return db;
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
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 200;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bo-XXXXXX")
                               : QDir::tempPath() + QStringLiteral("/bo-XXXXXX"));
    const QString path = tmp.filePath(QStringLiteral("big.vlm"));
    // Notes of about 2.5 KB of text each, three keyword links per Note.
    const int notes = int(qint64(megabytes) * 1000000 / 2600);
    const double made = seconds([&] {
        Database::create(path, kConnect, Encrypt, [](Database& db) {
            createSchema(db);
            writeSeedTypes(db);
        });
        sqlite3* db = rawOpen(path);
        const std::string fill =
            "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(notes) +
            ") INSERT INTO NOTE(CIT, AUTEUR, TITRE1, JOUR, TEXTE, NoteCount) SELECT "
            "printf('LI%07d.TXT', i), 'Author ' || (i % 997), 'Title ' || i, 40000 + i % 9000, "
            "substr(replace(hex(randomblob(1300)), 'A', ' '), 1, 2500), i FROM n;"
            "INSERT INTO GRNOTE(GROUPE, NDX, GrNoteCount) SELECT 'Keyword ' || ((NoteCount * k) % "
            "20000), CIT, NoteCount * 3 + k FROM NOTE, (SELECT 0 AS k UNION ALL SELECT 1 UNION ALL "
            "SELECT 2); COMMIT;";
        if (sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::printf("fill failed: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
    });
    std::printf("base of %d Notes, %.0f MB, made in %.1f s\n", notes,
                double(QFileInfo(path).size()) / 1e6, made);
    for (int round = 0; round < 2; ++round) {
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
        std::printf(
            "round %d, wall (processor) ms: open %.0f (%.0f)   quick_check %.0f (%.0f) %s   "
            "integrity_check %.0f (%.0f) %s\n",
            round + 1, open * 1e3, openCpu * 1e3, q * 1e3, qc * 1e3, quick.c_str(), f * 1e3,
            fc * 1e3, full.c_str());
    }
    return 0;
}
