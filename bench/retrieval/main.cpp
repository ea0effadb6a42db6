// Times the card lists on a generated base of 100,000 Notes and 300,000 keyword links, each
// against the SQL query that reads the same rows from the same file in the same run:
// the Notes of a keyword carried by 10,000 Notes (table filled and ResultWindow shown), that table
// sorted again by author, and every Note by date (DateListWindow shown). Then through the
// keyword graph: a keyword with 2,000 Subsets over three levels (shared Subsets and a cycle
// among them) listed with its Subsets, against one recursive query joined to the links; and
// the Notes of two keywords, all of them, against an INTERSECT query. An action during which
// the progress window showed (it does once a list takes 100 ms) is marked so.
//
//   retrieval [notes links carried]     (defaults: 100000 300000 10000)

#include "benchtools.h"
#include "core/retrieval/datelist.h"
#include "core/retrieval/keywordquery.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/recordset.h"
#include "gui/common/texttableview.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/datelistwindow.h"
#include "gui/retrieval/resultwindow.h"
#include "notebase.h"
#include "silentprompter.h"

#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace vlm;
using bench::best;
using bench::rawOpen;
using bench::Time;

namespace {

const QString kTarget = bench::targetKeyword();

// Counts the progress windows shown, so that the figures tell which actions showed one.
class ProgressWatch : public QObject {
public:
    int shown = 0;
    int seen = 0; // shown by the time of the last report
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("Working"))
            ++shown;
        return false;
    }
};

void report(ProgressWatch& watch, const char* what, Time layer, Time sql, long rows) {
    const bool progress = watch.shown > watch.seen;
    watch.seen = watch.shown;
    std::printf("%-44s %7ld rows  Velmora %7.1f ms (cpu %7.1f)  SQL %7.1f ms (cpu %7.1f)  "
                "ratio %5.2f (cpu %5.2f)%s\n",
                what, rows, layer.wall * 1e3, layer.cpu * 1e3, sql.wall * 1e3, sql.cpu * 1e3,
                layer.wall / sql.wall, layer.cpu / sql.cpu, progress ? "  [progress shown]" : "");
}

void part(const char* what, Time t) {
    std::printf("    %-40s %7.1f ms (cpu %7.1f)\n", what, t.wall * 1e3, t.cpu * 1e3);
}

long query(sqlite3* db, const char* sql, const QString& bind = {}) {
    return bench::query(db, sql, bind.isNull() ? QStringList() : QStringList{bind});
}

const QString kGraphRoot = QStringLiteral("Animals");
const QString kSecond = QStringLiteral("Europe");

// Puts the base's 2,000 keywords below kGraphRoot on three levels (20, 180, 1,800), every
// tenth keyword of the last level below a second parent too, and the root below the last
// keyword, closing a cycle; kSecond is carried by every third Note.
void addGraph(Session& ctx, int notes) {
    auto& s = ctx.rs();
    auto name = [](int k) { return QStringLiteral("Keyword %1").arg(k, 4, 10, QLatin1Char('0')); };
    auto link = [&](const QString& lower, const QString& upper) {
        s.GROUP2->addNew();
        s.GROUP2.GROUPE = lower;
        s.GROUP2.GROUPE2 = upper;
        s.GROUP2->update();
    };
    ctx.base.BaseDb->beginTrans();
    for (const QString& k : {kGraphRoot, kSecond}) {
        s.CGROUP1->addNew();
        s.CGROUP1.GROUPE = k;
        s.CGROUP1->update();
    }
    for (int k = 0; k < 20; ++k)
        link(name(k), kGraphRoot);
    for (int k = 20; k < 200; ++k)
        link(name(k), name(k % 20));
    for (int k = 200; k < 2000; ++k) {
        link(name(k), name(20 + k % 180));
        if (k % 10 == 0) link(name(k), name(20 + (k + 7) % 180));
    }
    link(kGraphRoot, name(1999));
    for (int i = 0; i < notes; i += 3) {
        s.GRNOTE->addNew();
        s.GRNOTE.NDX = QStringLiteral("N%1.TXT").arg(i, 6, 10, QLatin1Char('0'));
        s.GRNOTE.GROUPE = kSecond;
        s.GRNOTE->update();
    }
    ctx.base.BaseDb->commitTrans();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProgressWatch watch;
    app.installEventFilter(&watch);
    const QStringList args = app.arguments();
    const int notes = args.size() > 1 ? args[1].toInt() : 100000;
    const int links = args.size() > 2 ? args[2].toInt() : 300000;
    const int carried = args.size() > 3 ? args[3].toInt() : 10000;

    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("bench.vlm"));
    vlm::bench::SilentPrompter prompter;
    Session ctx(prompter);
    ctx.base.createStartBase(path);

    QElapsedTimer gen;
    gen.start();
    bench::generateNotes(ctx, notes, links, carried);
    std::printf("Card lists on %d Notes and %d links, a keyword carried by %d Notes "
                "(generated in %.1f s)\n\n",
                notes, links, carried, gen.nsecsElapsed() / 1e9);

    sqlite3* raw = rawOpen(path);

    // The Notes of the keyword, every keyword of each, sorted by keyword then card number.
    const char* byKeyword = bench::kNotesOfKeywordSql;
    const char* byAuthor = bench::kNotesOfKeywordByAuthorSql;
    const char* byDate = "SELECT JOUR, CIT FROM NOTE ORDER BY JOUR DESC, rowid DESC";

    long layerRows = 0, sqlRows = 0;
    // Warm both connections' caches the same way: one pass over each table.
    query(raw, "SELECT * FROM NOTE");
    query(raw, "SELECT * FROM GRNOTE");
    retrieval::fillByKeyword(ctx, CardKind::Note, kTarget);
    retrieval::listByDate(ctx, CardKind::Note);

    const Time kwLayer = best([&] {
        retrieval::notesByKeyword(ctx, kTarget);
        QApplication::processEvents();
        layerRows = long(ctx.Result.ResultGrid.size());
    });
    const Time kwSql = best([&] { sqlRows = query(raw, byKeyword, kTarget); });
    report(watch, "Notes of a keyword (filled, fGrid shown)", kwLayer, kwSql, layerRows);
    part("of which: filling the table",
         best([&] { retrieval::fillByKeyword(ctx, CardKind::Note, kTarget); }));
    part("of which: filling and sorting it", best([&] {
             retrieval::fillByKeyword(ctx, CardKind::Note, kTarget);
             retrieval::sortResult(ctx.Result);
         }));
    if (layerRows != sqlRows) std::printf("  warning: the query gave %ld rows\n", sqlRows);

    retrieval::ResultWindow* grid = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* g = qobject_cast<retrieval::ResultWindow*>(w); g && g->isVisible()) grid = g;
    int flip = 0;
    const Time sortLayer = best([&] {
        // Alternately by author and by keyword, so that every run really moves rows.
        grid->clickCell(1, (flip++ % 2 == 0) ? 3 : 1);
        QApplication::processEvents();
    });
    grid->clickCell(1, 3);
    const Time sortSql = best([&] { sqlRows = query(raw, byAuthor, kTarget); });
    report(watch, "the same table sorted again by author", sortLayer, sortSql, layerRows);

    const Time dateLayer = best([&] {
        retrieval::notesByDate(ctx);
        QApplication::processEvents();
    });
    const Time dateSql = best([&] { sqlRows = query(raw, byDate); });
    long dateRows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* l = qobject_cast<retrieval::DateListWindow*>(w); l && l->isVisible())
            dateRows = l->grid()->rowCount();
    report(watch, "every Note by date (FListSel shown)", dateLayer, dateSql, dateRows);
    part("of which: reading the dates", best([&] { retrieval::listByDate(ctx, CardKind::Note); }));
    if (dateRows != sqlRows) std::printf("  warning: the query gave %ld rows\n", sqlRows);

    addGraph(ctx, notes);
    std::printf("\nThrough the keyword graph\n");
    const char* below = "WITH RECURSIVE below(k) AS (SELECT ?1 UNION SELECT g.GROUPE FROM GROUP2 g "
                        "JOIN below b ON g.GROUPE2 = b.k) "
                        "SELECT DISTINCT l.GROUPE, l.NDX, n.AUTEUR, n.TITRE1, n.CIT FROM below b "
                        "JOIN GRNOTE l ON l.GROUPE = b.k JOIN NOTE n ON n.CIT = l.NDX "
                        "ORDER BY l.GROUPE COLLATE BINARY, l.NDX COLLATE BINARY";
    const char* allOf =
        "SELECT DISTINCT l.GROUPE, l.NDX, n.AUTEUR, n.TITRE1, n.CIT FROM GRNOTE l "
        "JOIN NOTE n ON n.CIT = l.NDX WHERE l.GROUPE IN (?1, ?2) AND l.NDX IN "
        "(SELECT NDX FROM GRNOTE WHERE GROUPE = ?1 INTERSECT SELECT NDX FROM GRNOTE WHERE "
        "GROUPE = ?2) ORDER BY l.GROUPE COLLATE BINARY, l.NDX COLLATE BINARY";
    const struct {
        const char* what;
        retrieval::KeywordQuery query;
        const char* sql;
    } graphCases[] = {
        {"a keyword with its 2,000 Subsets (fGrid shown)", {{kGraphRoot}, true, false}, below},
        {"two keywords, all of them (fGrid shown)", {{kTarget, kSecond}, false, true}, allOf},
    };
    for (const auto& c : graphCases) {
        const auto fill = [&] { (void)retrieval::fillByKeywords(ctx, CardKind::Note, c.query); };
        fill();
        const Time layer = best([&] {
            retrieval::listByKeywords(ctx, CardKind::Note, c.query);
            QApplication::processEvents();
            layerRows = long(ctx.Result.ResultGrid.size());
        });
        const Time sql = best([&] { sqlRows = bench::query(raw, c.sql, c.query.keywords); });
        report(watch, c.what, layer, sql, layerRows);
        part("of which: filling the table", best(fill));
        part("of which: filling and sorting it", best([&] {
                 fill();
                 retrieval::sortResult(ctx.Result);
             }));
        if (layerRows != sqlRows) std::printf("  warning: the query gave %ld rows\n", sqlRows);
    }

    sqlite3_close(raw);
    return 0;
}
