// Times the text search and the word index on a generated base of Notes with realistic texts
// (French-like words, accents, punctuation), each against a baseline measured in the same run:
//   - a grid search for a word held by 1% of the Notes (warm base), against `grep -cF` over
//     the same texts written to one file;
//   - Index All > Notes, against raw SQLCipher inserting the same index rows in one
//     transaction into a fresh base;
//   - the aggregation (All Keywords > Notes), against one GROUP BY over the index.
//
//   search [notes bytesPerNote indexNotes]     (defaults: 100000 2000 10000)
//
// The index is built on a second base of indexNotes Notes (the same generator): indexing
// the whole search base takes long on a small machine.

#include "benchtools.h"
#include "core/retrieval/textsearch.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/words/wordindex.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/retrieval/textsearch.h"
#include "silentprompter.h"

#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace vlm;
using bench::best;
using bench::cpuNow;
using bench::rawOpen;
using bench::Time;

namespace {

void report(const char* what, Time layer, const char* baseline, Time base) {
    std::printf("%-34s Velmora %8.1f ms (cpu %8.1f)  %-10s %8.1f ms (cpu %8.1f)  ratio %5.2f\n",
                what, layer.wall * 1e3, layer.cpu * 1e3, baseline, base.wall * 1e3, base.cpu * 1e3,
                layer.wall / base.wall);
}

// The searched word: none of the generator's syllables holds an x or a y.
const QString kTarget = QStringLiteral("xylophonique");

// Words built from syllables, drawn with a Zipf-like law, as a text in a Western language.
class TextGenerator {
public:
    explicit TextGenerator(unsigned seed) : rng_(seed) {
        const char* syl[] = {"ba", "ré",  "tion", "chan", "mè",   "lo",  "ver", "sa",  "té",
                             "ou", "gne", "pli",  "du",   "cœur", "ma",  "ni",  "è",   "re",
                             "pa", "ti",  "ca",   "fon",  "dé",   "lu",  "mi",  "son", "gra",
                             "to", "vi",  "ê",    "ri",   "que",  "men", "ta",  "bé",  "co"};
        std::vector<QString> syllables;
        for (const char* s : syl)
            syllables.push_back(QString::fromUtf8(s));
        for (int i = 0; i < 20000; ++i) {
            QString w;
            const int n = 1 + int(rng_() % 4);
            for (int k = 0; k < n; ++k)
                w += syllables[rng_() % syllables.size()];
            vocabulary_.push_back(w);
        }
        // Zipf: word i drawn with a weight 1 / (i + 1).
        double sum = 0;
        for (size_t i = 0; i < vocabulary_.size(); ++i)
            cumulative_.push_back(sum += 1.0 / double(i + 1));
    }
    QString text(int bytes, bool withTarget) {
        QString t;
        t.reserve(bytes + 64);
        int words = 0;
        std::uniform_real_distribution<double> pick(0, cumulative_.back());
        while (t.toUtf8().size() < bytes) { // cheap enough: once per 64 words
            for (int k = 0; k < 64; ++k) {
                const auto it =
                    std::lower_bound(cumulative_.begin(), cumulative_.end(), pick(rng_));
                QString w = vocabulary_[size_t(it - cumulative_.begin())];
                if (words % 12 == 0 && !w.isEmpty()) w[0] = w[0].toUpper();
                t += w;
                ++words;
                const unsigned r = rng_() % 40;
                t += r == 0   ? QStringLiteral(". ")
                     : r == 1 ? QStringLiteral(", ")
                     : r == 2 ? QStringLiteral("\n")
                              : QStringLiteral(" ");
                if (withTarget && words == 30) t += kTarget + QLatin1Char(' ');
            }
        }
        return t;
    }

private:
    std::mt19937 rng_;
    std::vector<QString> vocabulary_;
    std::vector<double> cumulative_;
};

QString noteNumber(int i) {
    return QStringLiteral("N%1.TXT").arg(i, 6, 10, QLatin1Char('0'));
}

// Writes `notes` Notes in one transaction; one in 100 holds the target word. The texts go to
// `file` too when it is open.
qint64 generate(Session& ctx, int notes, int bytes, QFile* file) {
    TextGenerator gen(4242);
    qint64 total = 0;
    auto& s = ctx.rs();
    ctx.base.BaseDb->beginTrans();
    for (int i = 0; i < notes; ++i) {
        const QString text = gen.text(bytes, i % 100 == 0);
        s.NOTE->addNew();
        s.NOTE.CIT = noteNumber(i);
        s.NOTE.AUTEUR = QStringLiteral("Author %1").arg(i % 500);
        s.NOTE.TITRE1 = QStringLiteral("Title of note %1").arg(i);
        s.NOTE.TEXTE = text;
        s.NOTE->update();
        const QByteArray utf8 = text.toUtf8();
        total += utf8.size();
        if (file) {
            file->write(utf8);
            file->write("\n");
        }
    }
    ctx.base.BaseDb->commitTrans();
    return total;
}

struct RawRow {
    std::string word, card;
    qint64 count;
};

std::vector<RawRow> readIndexRows(sqlite3* db) {
    std::vector<RawRow> out;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Mot, \"Index\", NboccurIndex FROM WordsNoteIndex", -1, &st,
                       nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
        auto text = [&](int c) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
            return p ? std::string(p, size_t(sqlite3_column_bytes(st, c))) : std::string();
        };
        out.push_back({text(0), text(1), sqlite3_column_int64(st, 2)});
    }
    sqlite3_finalize(st);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int notes = args.size() > 1 ? args[1].toInt() : 100000;
    const int bytes = args.size() > 2 ? args[2].toInt() : 2000;
    const int indexNotes = args.size() > 3 ? args[3].toInt() : 10000;

    QTemporaryDir tmp;
    // "display Cards" with many cards: the list.
    vlm::bench::SilentPrompter prompter(Answer::No);

    // ---- the text search
    {
        Session ctx(prompter);
        const QString path = tmp.filePath(QStringLiteral("search.vlm"));
        ctx.base.createStartBase(path);
        QFile texts(tmp.filePath(QStringLiteral("texts.txt")));
        texts.open(QIODevice::WriteOnly);
        QElapsedTimer gen;
        gen.start();
        const qint64 total = generate(ctx, notes, bytes, &texts);
        texts.close();
        std::printf("Text search on %d Notes, %.1f MB of text (generated in %.1f s)\n", notes,
                    double(total) / 1e6, gen.nsecsElapsed() / 1e9);

        size_t found = 0;
        retrieval::findCardsContaining(ctx, CardKind::Note, kTarget); // warm the base
        const Time scan = best(
            [&] { found = retrieval::findCardsContaining(ctx, CardKind::Note, kTarget).size(); });
        const Time grid = best([&] {
            retrieval::listCardsContaining(ctx, CardKind::Note, kTarget);
            QApplication::processEvents();
        });
        QString grepCount;
        const QStringList grepArgs{QStringLiteral("-cF"), kTarget, texts.fileName()};
        {
            QProcess warm; // reads the file once, so that both sides start warm
            warm.start(QStringLiteral("grep"), grepArgs);
            warm.waitForFinished(-1);
        }
        const Time grep = best([&] {
            QProcess p;
            p.start(QStringLiteral("grep"), grepArgs);
            p.waitForFinished(-1);
            grepCount = QString::fromLatin1(p.readAllStandardOutput()).trimmed();
        });
        std::printf("  %zu Notes hold '%s' (grep counts %s lines)\n", found, qPrintable(kTarget),
                    qPrintable(grepCount));
        report("grid search (fGrid shown)", grid, "grep -cF", grep);
        report("of which: the scan of the texts", scan, "grep -cF", grep);
        std::printf("  throughput: scan %.0f MB/s, grep %.0f MB/s (goal: at least half)\n\n",
                    double(total) / 1e6 / scan.wall, double(total) / 1e6 / grep.wall);
    }

    // ---- the word index
    {
        Session ctx(prompter);
        const QString path = tmp.filePath(QStringLiteral("index.vlm"));
        ctx.base.createStartBase(path);
        const qint64 total = generate(ctx, indexNotes, bytes, nullptr);
        ctx.ResultKind = QStringLiteral("Note");

        QElapsedTimer t;
        const double c0 = cpuNow();
        t.start();
        const auto run = words::indexAllCards(ctx, CardKind::Note);
        const Time index{t.nsecsElapsed() / 1e9, cpuNow() - c0};
        if (!run) {
            std::printf("Index All failed: %s\n", qPrintable(run.status().message()));
            return 1;
        }
        std::printf("Word index of %d Notes, %.1f MB of text: %lld index rows\n", indexNotes,
                    double(total) / 1e6, static_cast<long long>(run->rowsAdded));

        sqlite3* db = rawOpen(path, false);
        const std::vector<RawRow> rows = readIndexRows(db);

        // The same rows inserted raw into a fresh base, in one transaction.
        const QString rawPath = tmp.filePath(QStringLiteral("raw.vlm"));
        {
            Session other(prompter);
            other.base.createStartBase(rawPath);
        }
        sqlite3* rawDb = rawOpen(rawPath, true);
        long refused = 0;
        const Time inserts = best(
            [&] {
                sqlite3_exec(rawDb, "BEGIN", nullptr, nullptr, nullptr);
                sqlite3_stmt* st = nullptr;
                sqlite3_prepare_v2(rawDb,
                                   "INSERT INTO WordsNoteIndex (Mot, \"Index\", NboccurIndex) "
                                   "VALUES (?1, ?2, ?3)",
                                   -1, &st, nullptr);
                for (const RawRow& r : rows) {
                    sqlite3_bind_text(st, 1, r.word.data(), int(r.word.size()), SQLITE_STATIC);
                    sqlite3_bind_text(st, 2, r.card.data(), int(r.card.size()), SQLITE_STATIC);
                    sqlite3_bind_int64(st, 3, r.count);
                    if (sqlite3_step(st) != SQLITE_DONE) ++refused;
                    sqlite3_reset(st);
                }
                sqlite3_finalize(st);
                sqlite3_exec(rawDb, "COMMIT", nullptr, nullptr, nullptr);
            },
            1);
        if (refused) std::printf("  warning: %ld raw inserts refused\n", refused);
        report("Index All > Notes (split + rows)", index, "raw insert", inserts);

        const Time aggregate = best([&] {
            if (!words::aggregateWords(ctx, CardKind::Note)) std::printf("aggregation failed\n");
        });
        long groups = 0;
        const Time groupBy = best([&] {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db,
                               "SELECT Mot, SUM(NboccurIndex) FROM WordsNoteIndex "
                               "GROUP BY Mot COLLATE VLMTEXT",
                               -1, &st, nullptr);
            groups = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                (void)sqlite3_column_text(st, 0);
                (void)sqlite3_column_int64(st, 1);
                ++groups;
            }
            sqlite3_finalize(st);
        });
        std::printf("  %ld words in the totals\n", groups);
        report("All Keywords > Notes (totals)", aggregate, "GROUP BY", groupBy);
        sqlite3_close(rawDb);
        sqlite3_close(db);
    }
    return 0;
}
