// Database > Import on a large base: the merge against a raw SQLCipher ATTACH + INSERT ... SELECT
// of the same tables (which merges nothing: it keeps what the unique indexes let through), in
// the same run, on copies of the same generated bases. Figures are printed, nothing is asserted.
//
//     bench_import [notes]      (default 100000)
//
// For n Notes the other base holds n/5 keywords, 3 keyword links per Note, n/10 References with
// one author and one keyword each, and 3 Quotes per Reference with one keyword each. The open
// base holds a third of the same cards (equal, with the same links), a third of other cards under
// the same numbers, and a third of the keywords.

#include "core/cards/importbase.h"
#include "core/common/prompter.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "silentprompter.h"

#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>
#include <vector>

using namespace vlm;
using namespace Qt::StringLiterals;

namespace {

const QString kConnect = u";pwd=Rt48Kw27"_s;

double seconds(const std::function<void()>& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Writes a base. `part` 0: the other base, every card. 1: the open base, a third of the same
// cards (i % 3 == 0) and other cards under the numbers of a third (i % 3 == 1).
void generate(const QString& path, int notes, int part) {
    auto db = store::Database::create(path, u";LANGID=0x0409;CP=1252;COUNTRY=0"_s + kConnect);
    store::createSchema(*db);
    store::writeSeedTypes(*db);
    const int keywords = notes / 5, references = notes / 10;
    const QString mine = part ? u"i % 3 < 2"_s : u"1"_s;
    const QString text = part ? u"CASE i % 3 WHEN 0 THEN 'Text of card ' || i ELSE 'Other text of "
                                u"card ' || i END"_s
                              : u"'Text of card ' || i"_s;
    const QString numbers = u"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                            u"WHERE i + 1 < ?1) "_s;
    const QString noteNumber = u"printf('A%03d%04d.TXT', i % 500, i / 500 + 1)"_s;
    const QString refNumber = u"printf('R%04d__%03d', i % 100, i / 100 + 1)"_s;
    const QString quoteNumber = u"printf('R%04d%03d.TXT', (i / 3) % 100, (i / 3) / 100 * 3 + "
                                u"i % 3 + 1)"_s;
    const QString keyword =
        u"printf('Keyword %05d', (i * 7 + l * 13) % "_s + QString::number(keywords) + u')';
    const QString links = u", (SELECT 0 AS l UNION ALL SELECT 1 UNION ALL SELECT 2) "_s;
    store::Transaction t(*db);
    db->execute(numbers +
                    u"INSERT INTO CGROUP1 (GROUPE, GrCount) SELECT printf('Keyword %05d', "
                    u"i), i + 1 FROM n WHERE "_s +
                    (part ? u"i % 3 = 0"_s : u"1"_s),
                {keywords});
    db->execute(numbers +
                    u"INSERT INTO NOTE (CIT, AUTEUR, TITRE1, TEXTE, JOUR, NoteCount) SELECT "_s +
                    noteNumber + u", printf('A%03d', i % 500), 'Title ' || i, "_s + text +
                    u", 45000 + i % 1000, i + 1 FROM n WHERE "_s + mine,
                {notes});
    db->execute(numbers + u"INSERT INTO GRNOTE (GROUPE, NDX, GrNoteCount, WordsNb) SELECT "_s +
                    keyword + u", "_s + noteNumber + u", i * 3 + l + 1, 0 FROM n"_s + links +
                    u"WHERE "_s + mine + u" ORDER BY i, l"_s,
                {notes});
    db->execute(numbers +
                    u"INSERT INTO BIBLIO (NDX, AUTEUR, TITRE1, Type, ANNEE, BiblioCount) "
                    u"SELECT "_s +
                    refNumber + u", printf('R%04d__ ', i % 100), "_s + text +
                    u", 'Book', 1900 + i % 120, i + 1 FROM n WHERE "_s + mine,
                {references});
    db->execute(numbers + u"INSERT INTO AUTNDX (NDX, AUTEUR) SELECT "_s + refNumber +
                    u", printf('R%04d__', i % 100) FROM n WHERE "_s + mine,
                {references});
    db->execute(numbers + u"INSERT INTO GRBIB (GROUPE, NDX, GrBibCount) SELECT "_s + keyword +
                    u", "_s + refNumber + u", i + 1 FROM n, (SELECT 0 AS l) WHERE "_s + mine,
                {references});
    db->execute(numbers +
                    u"INSERT INTO CIT (CIT, NDX, AUTEUR, TITRE1, TEXTE, JOUR, CitCount) "
                    u"SELECT "_s +
                    quoteNumber +
                    u", printf('R%04d__%03d', (i / 3) % 100, (i / 3) / 100 + 1), "
                    u"'', 'Quote ' || i, "_s +
                    text + u", 45000 + i % 1000, i + 1 FROM n WHERE "_s + mine,
                {references * 3});
    db->execute(numbers + u"INSERT INTO GRCIT (GROUPE, NDX, GrCitCount) SELECT "_s + keyword +
                    u", "_s + quoteNumber + u", i + 1 FROM n, (SELECT 0 AS l) WHERE "_s + mine,
                {references * 3});
    t.commit();
}

const char* const kTables[][2] = {
    {"CGROUP1", "GROUPE"},
    {"GROUP2", "GROUPE, GROUPE2"},
    {"CIT", "CIT, AUTEUR, NDX, JOUR, CitCount, TITRE1, TEXTE, TEXTRTF"},
    {"GRCIT", "GROUPE, NDX, WordsNb"},
    {"BIBLIO", "NDX, DATE, BiblioCount, AUTEUR, TITRE1, TITRE2, Type, EDITEUR, LIEU, ANNEE, ISBN, "
               "Congress, TITRE_ORI, EDITEUROR, LIEU_ORIG, DATE_ORIG"},
    {"GRBIB", "GROUPE, NDX"},
    {"AUTNDX", "NDX, AUTEUR"},
    {"AUTEURS", "NOM"},
    {"EDITEUR", "NOM, Ville"},
    {"REVUE", "NOM, Ville, ISSN"},
    {"RevueArticle", "NDX, RevueTitre, RevueNumero, RevueEditeur, Lieu, Annee, Mois, Pages"},
    {"NOTE", "CIT, AUTEUR, TITRE1, TEXTE, TEXTRTF, JOUR, NoteCount"},
    {"GRNOTE", "GROUPE, NDX, GrNoteCount, WordsNb"},
    {"AUTNOTE", "NOM"},
    {"words", "Word"},
    {"WordsCitIndex", "\"N°\", Mot, TypeFichier, \"Index\", NboccurIndex, AsKW"},
    {"WordsNoteIndex", "\"N°\", Mot, TypeFichier, \"Index\", NboccurIndex, AsKW"},
    {"WordsCitAll", "Mot, Occurences"},
    {"WordsNoteAll", "Mot, Occurences"},
};

// The raw copy: the other base attached, each table inserted as it is.
void rawCopy(const QString& target, const QString& source) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(target).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(db, "Rt48Kw27", 8);
    store::registerCollation(db);
    std::string sql = "PRAGMA cipher_page_size = 4096; PRAGMA cache_size = -262144; "
                      "PRAGMA cipher_default_page_size = 4096; ATTACH DATABASE '" +
                      source.toStdString() + "' AS src KEY 'Rt48Kw27'; BEGIN;";
    for (const auto& [table, fields] : kTables)
        sql += std::string("INSERT OR IGNORE INTO main.\"") + table + "\" (" + fields +
               ") SELECT " + fields + " FROM src.\"" + table + "\";";
    sql += "COMMIT; DETACH DATABASE src;";
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
        std::printf("raw copy failed: %s\n", error);
    sqlite3_free(error);
    sqlite3_close_v2(db);
}

} // namespace

int main(int argc, char** argv) {
    const int notes = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir tmp;
    const QString source = tmp.filePath(u"other.vlm"_s), open = tmp.filePath(u"open.vlm"_s);
    const QString layer = tmp.filePath(u"layer.vlm"_s), raw = tmp.filePath(u"raw.vlm"_s);
    const double made = seconds([&] {
        generate(source, notes, 0);
        generate(open, notes, 1);
    });
    QFile::copy(open, layer);
    QFile::copy(open, raw);
    const int cards = notes + notes / 10 * 4;
    std::printf("%d Notes, %d keywords, %d links, %d References, %d Quotes (%d cards); bases "
                "made in %.1f s\n",
                notes, notes / 5, notes * 3, notes / 10, notes / 10 * 3, cards, made);

    const std::clock_t c0 = std::clock();
    const double rawTime = seconds([&] { rawCopy(raw, source); });
    const double rawCpu = double(std::clock() - c0) / CLOCKS_PER_SEC;

    vlm::bench::SilentPrompter prompter;
    Result<cards::ImportReport> report = Status::error(ErrorCode::CallFailed, {});
    double openTime = 0;
    std::unique_ptr<store::Database> db;
    struct Phase {
        QString label;
        double wall, processor; // from one label to the next
    };
    std::vector<Phase> phases;
    // Times each label of the import up to the next one.
    struct Timing : vlm::Progress {
        explicit Timing(std::vector<Phase>& into) : phases(into) {}
        void restart() {
            mark = std::chrono::steady_clock::now();
            cpuMark = std::clock();
        }
        void phase(const QString& label, const QString&) override {
            if (label == current) return;
            const auto now = std::chrono::steady_clock::now();
            if (!current.isEmpty())
                phases.push_back({current, std::chrono::duration<double>(now - mark).count(),
                                  double(std::clock() - cpuMark) / CLOCKS_PER_SEC});
            current = label;
            restart();
        }
        bool step(qint64, int, qint64) override { return true; }

        std::vector<Phase>& phases;
        QString current;
        std::chrono::steady_clock::time_point mark;
        std::clock_t cpuMark = 0;
    } timing(phases);
    const std::clock_t c1 = std::clock();
    const double layerTime = seconds([&] {
        openTime = seconds([&] {
            db = store::Database::open(layer, false, false, kConnect, store::velmoraSchema());
        });
        timing.restart();
        report = cards::importBase(*db, source, prompter, &timing);
        phases.emplace_back(
            timing.current + u" and commit"_s,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - timing.mark).count());
    });
    const double layerCpu = double(std::clock() - c1) / CLOCKS_PER_SEC;
    if (!report.ok()) {
        std::printf("import failed: %s\n", qPrintable(report.status().message()));
        return 1;
    }
    for (const cards::ImportedTable& t : report->tables)
        if (t.added || t.skipped)
            std::printf("  %-24s %8d added %8d already there\n", qPrintable(t.what), t.added,
                        t.skipped);
    std::printf("  %zu cards renumbered\n", report->renumbered.size());
    std::printf("%-44s %8.1f ms\n", "open the base", openTime * 1e3);
    for (const Phase& p : phases)
        std::printf("  %-42s %8.1f ms   (processor %.1f ms)\n", qPrintable(p.label), p.wall * 1e3,
                    p.processor * 1e3);
    const double merge = layerTime - openTime;
    std::printf("%-44s %8.1f ms   (processor %.1f ms)\n",
                "raw ATTACH + INSERT OR IGNORE ... SELECT", rawTime * 1e3, rawCpu * 1e3);
    std::printf("%-44s %8.1f ms   (processor %.1f ms)\n", "open the base and import",
                layerTime * 1e3, layerCpu * 1e3);
    std::printf("%-44s %8.1f ms   ratio %5.2f   %8.0f cards/s\n", "import (merge, renumbering)",
                merge * 1e3, merge / rawTime, cards / merge);
    return 0;
}
