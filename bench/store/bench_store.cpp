// Measures the record store against raw SQLCipher doing the same work in the same run.
// Data is generated deterministically; figures are printed, nothing is asserted.

#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/schema.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace vlm::store;

namespace {

constexpr int kRows = 100000;
const QString kConnect = QStringLiteral(";pwd=Rt48Kw27");

double seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void report(const char* what, double layer, double raw) {
    std::printf("%-44s layer %8.1f ms   raw %8.1f ms   ratio %5.2f\n", what, layer * 1e3, raw * 1e3,
                raw > 0 ? layer / raw : 0.0);
}

QString number(int i) {
    return QStringLiteral("N%1.TXT").arg(i, 7, 10, QLatin1Char('0'));
}
// A deterministic permutation of 0..kRows-1, so that rows are not added in key order.
int shuffled(int i) {
    return int((qint64(i) * 7919) % kRows);
}
QString title(int i) {
    return QStringLiteral("Title of note %1 about things").arg(i);
}
QString text(int i) {
    return QStringLiteral("Body of note %1. The quick brown fox jumps over the lazy dog; "
                          "notes, quotes and references.")
        .arg(i);
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

void freshBase(const QString& path) {
    auto db = Database::create(path, QStringLiteral(";LANGID=0x0409;CP=1252;COUNTRY=0") + kConnect);
    createSchema(*db);
    writeSeedTypes(*db);
}

} // namespace

int main() {
    QTemporaryDir tmp;
    const QString layerPath = tmp.filePath("layer.vlm"), rawPath = tmp.filePath("raw.vlm");
    const QDateTime day(QDate(2024, 1, 1), QTime(9, 0));

    // Create + schema + seed: the raw side runs the same statements by hand.
    const double createLayer = seconds([&] { freshBase(layerPath); });
    const double createRaw = seconds([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(rawPath).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_key(db, "Rt48Kw27", 8);
        sqlite3_exec(db, "PRAGMA cipher_page_size = 4096", nullptr, nullptr, nullptr);
        registerCollation(db);
        // The same tables as the layer made, copied from its catalogue.
        sqlite3* src = rawOpen(layerPath);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(src, "SELECT sql FROM sqlite_master WHERE sql NOT NULL ORDER BY rowid",
                           -1, &st, nullptr);
        std::string ddl = "BEGIN;";
        while (sqlite3_step(st) == SQLITE_ROW)
            ddl += std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) + ";";
        sqlite3_finalize(st);
        sqlite3_close(src);
        ddl += "COMMIT;";
        sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "INSERT INTO TYPES VALUES('Article');", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    std::printf("Velmora record store against raw SQLCipher, %d Notes\n\n", kRows);
    report("create + schema + seed", createLayer, createRaw);

    // Open an empty base.
    const double openLayer = seconds([&] {
        auto db = Database::open(layerPath, false, false, kConnect, velmoraSchema());
        openSharedRecordsets(*db);
    });
    const double openRaw = seconds([&] {
        sqlite3* db = rawOpen(rawPath);
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    report("open a new base (with its checks)", openLayer, openRaw);

    // Add the Notes in one transaction.
    const double addLayer = seconds([&] {
        auto db = Database::open(layerPath, false, false, kConnect, velmoraSchema());
        auto s = openSharedRecordsets(*db);
        db->beginTrans();
        for (int k = 0; k < kRows; ++k) {
            const int i = shuffled(k);
            s->NOTE->addNew();
            s->NOTE.CIT = number(i);
            s->NOTE.AUTEUR = QStringLiteral("Author");
            s->NOTE.TITRE1 = title(i);
            s->NOTE.TEXTE = text(i);
            s->NOTE.TEXTRTF = QString();
            s->NOTE.JOUR = day.addSecs(i);
            s->NOTE->update();
        }
        db->commitTrans();
    });
    const double addRaw = seconds([&] {
        sqlite3* db = rawOpen(rawPath);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            db,
            "INSERT INTO NOTE (NOTE, AUTEUR, CIT, MATIERE, SOUS_MATI, JOUR, TITRE1, "
            "TEXTE, TEXTRTF, NoteCount) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
            -1, &st, nullptr);
        for (int k = 0; k < kRows; ++k) {
            const int i = shuffled(k);
            const QByteArray n = number(i).toUtf8(), t = title(i).toUtf8(), x = text(i).toUtf8();
            sqlite3_bind_null(st, 1);
            sqlite3_bind_text(st, 2, "Author", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, n.constData(), int(n.size()), SQLITE_TRANSIENT);
            sqlite3_bind_null(st, 4);
            sqlite3_bind_null(st, 5);
            sqlite3_bind_double(st, 6, 45292.375 + i / 86400.0);
            sqlite3_bind_text(st, 7, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 8, x.constData(), int(x.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 9, "", 0, SQLITE_STATIC);
            sqlite3_bind_int64(st, 10, k + 1);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    report("add 100,000 Notes in one transaction", addLayer, addRaw);

    auto db = Database::open(layerPath, false, false, kConnect, velmoraSchema());
    auto s = openSharedRecordsets(*db);
    sqlite3* raw = rawOpen(rawPath);

    // Walk every Note in number order, reading its number and title.
    long walked = 0, walkedRaw = 0;
    const double walkLayer = seconds([&] {
        s->NOTE->setIndex("NoteNDX");
        for (s->NOTE->moveFirst(); !s->NOTE->eof(); s->NOTE->moveNext()) {
            walked += s->NOTE.CIT.text().size() + s->NOTE.TITRE1.text().size();
        }
    });
    const double walkRaw = seconds([&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT * FROM NOTE ORDER BY CIT", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            walkedRaw +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2))).size();
            walkedRaw +=
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 6))).size();
        }
        sqlite3_finalize(st);
    });
    report("walk NoteNDX with MoveNext / ordered SELECT", walkLayer, walkRaw);

    // Seek every Note by number, in shuffled order, reading its title.
    long sought = 0, soughtRaw = 0;
    const double seekLayer = seconds([&] {
        for (int k = 0; k < kRows; ++k) {
            s->NOTE->seek("=", number(shuffled(k)));
            if (!s->NOTE->noMatch()) sought += s->NOTE.TITRE1.text().size();
        }
    });
    const double seekRaw = seconds([&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT * FROM NOTE WHERE CIT = ?1", -1, &st, nullptr);
        for (int k = 0; k < kRows; ++k) {
            const QByteArray n = number(shuffled(k)).toUtf8();
            sqlite3_bind_text(st, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) == SQLITE_ROW)
                soughtRaw +=
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 6)))
                        .size();
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    });
    report("100,000 Seek \"=\" / prepared SELECT", seekLayer, seekRaw);
    sqlite3_close(raw);
    s.reset();
    db->close();

    const double openFull = seconds([&] {
        auto d = Database::open(layerPath, false, false, kConnect, velmoraSchema());
        openSharedRecordsets(*d);
    });
    std::printf("\nopen the filled base (%lld KiB, with its checks): %.1f ms\n",
                QFileInfo(layerPath).size() / 1024, openFull * 1e3);
    if (walked != walkedRaw || sought != soughtRaw)
        std::printf("warning: the two sides read different data (%ld/%ld, %ld/%ld)\n", walked,
                    walkedRaw, sought, soughtRaw);
    return 0;
}
