// Every user action on the reference base, offscreen, each against the raw SQLCipher (or grep)
// work that reads or writes the same rows from the same file in the same run, printed as one
// table: time (wall and processor), the baseline, their ratio, and the longest stall of the event
// loop while no progress window was shown (a watchdog timer ticks every 2 ms; an action that
// never lets the loop run stalls for its whole length). Then the program's peak memory.
//
//   bench_actions [divisor]     (default 1: the reference base; 10 gives a tenth of it)
//
// The reference base is generated once (bench/common) and copied for the run, which changes
// it. Read-only actions are timed best of three on both sides, the others once.

#include "benchtools.h"
#include "core/cards/cardstore.h"
#include "core/retrieval/grids.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "gui/cards/notewindow.h"
#include "gui/keywords/centralbrowser.h"
#include "gui/keywords/keywordlistpanel.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/keywords/levelbrowser.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/shell/frame.h"
#include "gui/shell/mainwindow.h"
#include "gui/words/wordwindow.h"
#include "referencebase.h"
#include "silentprompter.h"

#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

using namespace vlm;
using namespace vlm::bench;
using namespace Qt::StringLiterals;

namespace {

// Ticks every 2 ms while the event loop runs and keeps the longest stretch of time in which the
// loop did not run and no progress window was shown (that window tells the user the program is
// at work, and repaints while the loop is held).
class Watchdog : public QObject {
public:
    Watchdog() {
        clock_.start();
        timer_.setInterval(2);
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start();
        qApp->installEventFilter(this);
    }
    void reset() {
        since_ = clock_.nsecsElapsed();
        longest_ = 0;
    }
    // The longest stall since reset, the one going on now included.
    double longest() {
        tick();
        return double(longest_) / 1e9;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && o->isWidgetType() &&
            (o->objectName() == "Working"_L1 || o->objectName() == "frmMots"_L1)) {
            if (e->type() == QEvent::Show) {
                if (shown_++ == 0) close();
            } else if (shown_ > 0 && --shown_ == 0) {
                since_ = clock_.nsecsElapsed();
            }
        }
        return false;
    }

private:
    // The stretch without a sign of life ends here.
    void close() { longest_ = std::max(longest_, clock_.nsecsElapsed() - since_); }
    void tick() {
        if (shown_ == 0) close();
        since_ = clock_.nsecsElapsed();
    }
    QElapsedTimer clock_;
    QTimer timer_;
    qint64 since_ = 0, longest_ = 0;
    int shown_ = 0;
};

struct Outcome {
    Time time{0, 0};
    double stall = 0;
};

// Runs `action` from the event loop, as a click would, with the pending events after it.
Outcome measure(Watchdog& dog, const std::function<void()>& action) {
    Outcome o;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        dog.reset();
        const double c0 = cpuNow();
        QElapsedTimer t;
        t.start();
        action();
        QCoreApplication::processEvents();
        o.time = {double(t.nsecsElapsed()) / 1e9, cpuNow() - c0};
        o.stall = dog.longest();
        loop.quit();
    });
    loop.exec();
    return o;
}

Outcome bestOf(int runs, Watchdog& dog, const std::function<void()>& action) {
    Outcome best;
    for (int r = 0; r < runs; ++r) {
        const Outcome o = measure(dog, action);
        if (r == 0 || o.time.wall < best.time.wall) best.time = o.time;
        best.stall = std::max(best.stall, o.stall);
    }
    return best;
}

void header() {
    std::printf("%-40s %8s %19s  %-26s %19s %13s %9s\n", "action", "rows", "Velmora ms (cpu)",
                "baseline", "ms (cpu)", "ratio (cpu)", "stall ms");
}

void row(const char* what, long rows, const Outcome& v, const char* base, const Time& b) {
    std::printf("%-40s %8ld %9.1f (%7.1f)  %-26s %9.1f (%7.1f) %5.2f (%5.2f) %9.1f\n", what, rows,
                v.time.wall * 1e3, v.time.cpu * 1e3, base, b.wall * 1e3, b.cpu * 1e3,
                v.time.wall / b.wall, v.time.cpu / std::max(b.cpu, 1e-6), v.stall * 1e3);
    std::fflush(stdout);
}

QString scalar(sqlite3* db, const char* sql, const QStringList& binds = {}) {
    std::vector<QStringList> rows;
    query(db, sql, binds, &rows);
    return rows.empty() || rows[0].isEmpty() ? QString() : rows[0][0];
}

// The words of a text counted and sorted the plain way: letters make words, a hash counts.
long countWords(const QString& text) {
    std::unordered_map<std::u16string, int> counts;
    std::u16string w;
    for (const QChar c : text) {
        if (c.isLetter()) {
            w += char16_t(c.toLower().unicode());
        } else if (!w.empty()) {
            ++counts[w];
            w.clear();
        }
    }
    if (!w.empty()) ++counts[w];
    std::vector<std::pair<int, std::u16string>> sorted;
    for (auto& [word, n] : counts)
        sorted.emplace_back(-n, word);
    std::sort(sorted.begin(), sorted.end());
    return long(sorted.size());
}

long peakMemoryKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// The bench answers Yes to questions, No to "a window for each card" (the list instead),
// and the file dialogs with the files it set.
class BenchPrompter : public bench::SilentPrompter {
public:
    QString nextFile;
    Answer message(const QString& text, Buttons buttons, Icon icon, const QString& t) override {
        if (buttons == Buttons::Ok || buttons == Buttons::OkCancel)
            return bench::SilentPrompter::message(text, buttons, icon, t);
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return text.contains("a window for each"_L1) ? Answer::No : Answer::Yes;
    }
    QString openFile(const FileRequest&) override { return nextFile; }
    QString saveFile(const FileRequest&) override { return nextFile; }
};

template <typename T> T* visible(QMdiArea* area) {
    T* found = nullptr;
    for (T* w : area->findChildren<T*>())
        if (w->isVisible()) found = w;
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int divisor = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;

    QElapsedTimer clock;
    clock.start();
    auto log = [&](const QString& what) {
        std::printf("%7.1f s  %s\n", double(clock.elapsed()) / 1e3, qPrintable(what));
        std::fflush(stdout);
    };
    const bench::ReferenceBase ref = bench::referenceBase(bench::referenceSizes(divisor), {}, log);
    const bench::ReferenceBase small =
        bench::referenceBase(bench::referenceSizes(divisor * 3), {}, log);
    QTemporaryDir work(QFileInfo(ref.path).absolutePath() + "/run-XXXXXX"_L1);
    const QString path = work.filePath(u"base.vlm"_s);
    // The raw side writes into a copy of its own: the program's connection keeps the base's
    // shared lock between its reads, so another writer would find it busy.
    const QString rawTarget = work.filePath(u"raw.vlm"_s);
    QFile::copy(ref.path, path);
    QFile::copy(ref.path, rawTarget);
    log(QStringLiteral("copied %1 (%2 MB)").arg(ref.path).arg(QFileInfo(path).size() >> 20));
    {
        // Both sides start with the file in the system's cache.
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        while (!f.read(1 << 24).isEmpty()) {
        }
    }

    const auto& z = ref.sizes;
    std::printf("\nReference base: %d Notes, %d References, %d Quotes, %d keywords, %d Subset "
                "links, %d card links; %lld MB\n\n",
                z.notes, z.references, z.references * z.quotesPerReference, z.keywords,
                z.keywordLinks, z.cardLinks, static_cast<long long>(QFileInfo(path).size() >> 20));
    header();

    Watchdog dog;
    BenchPrompter prompter;
    Session ctx(prompter);
    Frame frame(ctx, work.path());
    frame.setQuitHandler([] {});
    frame.setStartFile(path);
    frame.start(false);
    sqlite3* raw = rawOpen(path);

    // Open the base to the filled main window.
    const char* keywordList = "SELECT GROUPE FROM CGROUP1 ORDER BY GROUPE";
    const char* roots = "SELECT GROUPE FROM CGROUP1 WHERE GROUPE NOT IN (SELECT GROUPE FROM "
                        "GROUP2) ORDER BY GROUPE";
    const Outcome open = measure(dog, [&] { frame.startBase(); });
    MainWindow* w = frame.mainWindow();
    if (!w || !ctx.base.isOpen()) {
        std::printf("the base did not open\n");
        return 1;
    }
    w->resize(1280, 800);
    const long openMemory = peakMemoryKiB();
    const Time openRaw = best([&] {
        sqlite3* db = rawOpen(path);
        query(db, "PRAGMA quick_check");
        query(db, keywordList);
        query(db, roots);
        sqlite3_close(db);
    });
    row("open the base (main window filled)", z.keywords, open, "open, quick check, lists",
        openRaw);

    keywords::KeywordPanels* panels = w->keywordPanels();
    long rows = 0;
    const Outcome fill = bestOf(3, dog, [&] { panels->list()->reload(); });
    const Time fillRaw = best([&] { rows = query(raw, keywordList); });
    row("fill the keyword list", rows, fill, "SELECT ordered", fillRaw);

    // The graph browsers on the busiest keyword.
    const char* below = "SELECT GROUPE FROM GROUP2 WHERE GROUPE2 = ?1 ORDER BY GROUPE";
    const char* above = "SELECT GROUPE2 FROM GROUP2 WHERE GROUPE = ?1 ORDER BY GROUPE2";
    w->keywordsSwitch()->click();
    const Outcome central = bestOf(3, dog, [&] {
        panels->central()->clear();
        panels->central()->makeCentral(ref.busiestKeyword);
    });
    const Time centralRaw = best([&] {
        rows = query(raw, below, {ref.busiestKeyword}) + query(raw, above, {ref.busiestKeyword});
    });
    row("central-Set browser, busiest keyword", rows, central, "Subsets + Supersets", centralRaw);

    keywords::LevelBrowser* down = panels->down();
    down->showRoots();
    const QString root = scalar(raw, above, {ref.busiestKeyword});
    const Outcome level = bestOf(3, dog, [&] {
        down->clickLevel(0, int(down->names(0).indexOf(root)));
        down->clickLevel(1, int(down->names(1).indexOf(ref.busiestKeyword)));
    });
    const Time levelRaw =
        best([&] { rows = query(raw, below, {root}) + query(raw, below, {ref.busiestKeyword}); });
    row("level browser: a Root, then busiest", rows, level, "two levels of Subsets", levelRaw);
    const Outcome levelUp = bestOf(3, dog, [&] { panels->buildUp(); });
    const Time levelUpRaw = best([&] { rows = query(raw, above, {ref.busiestKeyword}); });
    row("up-level browser from it", rows, levelUp, "Supersets", levelUpRaw);
    w->keywordsSwitch()->click();

    // Card lists.
    const char* byKeyword = bench::kNotesOfKeywordSql;
    const char* byAuthor = bench::kNotesOfKeywordByAuthorSql;
    const Outcome list =
        bestOf(3, dog, [&] { retrieval::notesByKeyword(ctx, ref.popularKeyword); });
    const long listRows = long(ctx.Result.ResultGrid.size());
    const Time listRaw = best([&] { rows = query(raw, byKeyword, {ref.popularKeyword}); });
    const QString notesOfKeyword =
        scalar(raw, "SELECT count(*) FROM GRNOTE WHERE GROUPE = ?1", {ref.popularKeyword});
    row(qPrintable(u"Notes of a keyword (%1 Notes)"_s.arg(notesOfKeyword)), listRows, list,
        "SELECT joined", listRaw);
    retrieval::ResultWindow* grid = visible<retrieval::ResultWindow>(w->mdiArea());
    int flip = 0;
    const Outcome sort = bestOf(3, dog, [&] {
        if (grid) grid->clickCell(1, flip++ % 2 == 0 ? 3 : 1);
    });
    if (grid) grid->clickCell(1, 3);
    const Time sortRaw = best([&] { rows = query(raw, byAuthor, {ref.popularKeyword}); });
    row("that list sorted again by author", listRows, sort, "SELECT joined, by author", sortRaw);

    const QString author = scalar(raw, "SELECT AUTEUR FROM CIT GROUP BY AUTEUR ORDER BY count(*) "
                                       "DESC, AUTEUR LIMIT 1");
    const QString firstAuthor = author.section(QLatin1Char(' '), 0, 1);
    const Outcome quotesOf = bestOf(3, dog, [&] { retrieval::AuthorCit(ctx, firstAuthor); });
    const Time quotesOfRaw = best([&] {
        rows = query(raw,
                     "SELECT c.CIT, c.AUTEUR, c.TITRE1, c.NDX FROM AUTNDX a JOIN CIT c ON "
                     "c.NDX = a.NDX WHERE a.AUTEUR = ?1 ORDER BY c.CIT",
                     {firstAuthor});
    });
    row("Quotes of an author", rows, quotesOf, "SELECT joined", quotesOfRaw);

    const char* byDate = "SELECT JOUR, CIT FROM NOTE ORDER BY JOUR DESC, rowid DESC";
    const Outcome dates = bestOf(3, dog, [&] { retrieval::notesByDate(ctx); });
    const Time datesRaw = best([&] { rows = query(raw, byDate); });
    row("every Note by date", rows, dates, "SELECT by JOUR", datesRaw);

    // The card windows.
    auto openCard = [&](CardKind kind, const QString& number) {
        if (retrieval::seekCardNumber(ctx, kind, number) && ctx.openCard) ctx.openCard(ctx, kind);
    };
    auto closeCards = [&] { w->closeChildWindows(); };
    const char* noteRead = "SELECT * FROM NOTE WHERE CIT = ?1";
    const char* noteKeywords = "SELECT GROUPE FROM GRNOTE WHERE NDX = ?1 ORDER BY GROUPE";
    struct CardCase {
        const char* what;
        CardKind kind;
        QString number;
        const char* read;
        const char* keywords;
    };
    const CardCase cardCases[] = {
        {"open a Note", CardKind::Note, ref.someNote, noteRead, noteKeywords},
        {"open a Quote", CardKind::Quote, ref.someQuote, "SELECT * FROM CIT WHERE CIT = ?1",
         "SELECT GROUPE FROM GRCIT WHERE NDX = ?1 ORDER BY GROUPE"},
        {"open a Reference", CardKind::Reference, ref.someReference,
         "SELECT * FROM BIBLIO WHERE NDX = ?1",
         "SELECT GROUPE FROM GRBIB WHERE NDX = ?1 ORDER BY GROUPE"},
        {"open the longest Note", CardKind::Note, ref.longestNote, noteRead, noteKeywords},
    };
    for (const CardCase& c : cardCases) {
        const Outcome o = bestOf(3, dog, [&] {
            closeCards();
            openCard(c.kind, c.number);
        });
        const Time r = best([&] {
            rows = query(raw, c.read, {c.number});
            query(raw, c.keywords, {c.number});
        });
        row(c.what, rows, o, "SELECT card and keywords", r);
    }

    // Text Compare on the longest Note, open now.
    auto* note = visible<cards::NoteWindow>(w->mdiArea());
    const QString longText =
        scalar(raw, "SELECT TEXTE FROM NOTE WHERE CIT = ?1", {ref.longestNote});
    const Outcome analysis = measure(dog, [&] {
        if (note) note->compareWords();
    });
    const Time analysisRaw = best([&] { rows = countWords(longText); }, 1);
    row(qPrintable(u"word analysis, longest Note (%1 k chars)"_s.arg(longText.size() / 1000)), rows,
        analysis, "hash count and sort", analysisRaw);

    // Store a Note: one more sentence at the end.
    closeCards();
    openCard(CardKind::Note, ref.someNote);
    note = visible<cards::NoteWindow>(w->mdiArea());
    const QString noteText = scalar(raw, "SELECT TEXTE FROM NOTE WHERE CIT = ?1", {ref.someNote});
    const QString noteRtf = scalar(raw, "SELECT TEXTRTF FROM NOTE WHERE CIT = ?1", {ref.someNote});
    const Outcome store = measure(dog, [&] {
        if (!note) return;
        note->textBox()->append(u"Une phrase de plus."_s);
        note->store();
    });
    sqlite3* rawWriter = rawOpen(rawTarget, true);
    const Time storeRaw = best(
        [&] {
            sqlite3_exec(rawWriter, "BEGIN", nullptr, nullptr, nullptr);
            query(rawWriter, "UPDATE NOTE SET TEXTE = ?1, TEXTRTF = ?2 WHERE CIT = ?3",
                  {noteText + u" Une phrase."_s, noteRtf, ref.someNote});
            sqlite3_exec(rawWriter, "COMMIT", nullptr, nullptr, nullptr);
        },
        1);
    sqlite3_close(rawWriter);
    row("store a Note", 1, store, "UPDATE in a transaction", storeRaw);
    closeCards();

    // The text search, from the search panel.
    QString grepCount;
    const QString texts = work.filePath(u"texts.txt"_s);
    {
        QFile f(texts);
        f.open(QIODevice::WriteOnly);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT TEXTE FROM NOTE", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            QByteArray t(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                         sqlite3_column_bytes(st, 0));
            f.write(t.replace('\n', ' ') + '\n');
        }
        sqlite3_finalize(st);
    }
    w->searchSwitch()->click();
    w->notesOption()->setChecked(true);
    w->textSearchBox()->setText(ref.searchedWord);
    const Outcome search = bestOf(3, dog, [&] { w->textSearchButton()->click(); });
    const long found = long(ctx.Result.ResultGrid.size());
    const Time grep = best([&] {
        QProcess p;
        p.start(u"grep"_s, {u"-cF"_s, ref.searchedWord, texts});
        p.waitForFinished(-1);
        grepCount = QString::fromLatin1(p.readAllStandardOutput()).trimmed();
    });
    row(qPrintable(u"text search \"%1\" (grep: %2)"_s.arg(ref.searchedWord, grepCount)), found,
        search, "grep -cF over the texts", grep);
    // The same scan in SQL: every text read from the base and searched as stored.
    long scanned = 0;
    const QByteArray needle = ref.searchedWord.toUtf8();
    const Time scan = best([&] {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT CIT, TEXTE FROM NOTE WHERE TEXTE IS NOT NULL", -1, &st,
                           nullptr);
        scanned = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = static_cast<const char*>(sqlite3_column_blob(st, 1));
            if (t && memmem(t, size_t(sqlite3_column_bytes(st, 1)), needle.constData(),
                            size_t(needle.size())))
                scanned += !textOf(st, 0).isEmpty();
        }
        sqlite3_finalize(st);
    });
    row(qPrintable(u"the same (%1 Notes hold it)"_s.arg(scanned)), found, search,
        "SELECT every text, memmem", scan);
    w->searchSwitch()->click();
    closeCards();

    // Index All > Notes, then All Keywords > Notes.
    const Outcome index = measure(dog, [&] { w->action(u"mIndexAllNotes"_s)->trigger(); });
    const long indexRows = scalar(raw, "SELECT count(*) FROM WordsNoteIndex").toLong();
    const QString scratch = work.filePath(u"scratch.vlm"_s);
    {
        bench::SilentPrompter quiet;
        Session other(quiet);
        other.base.createStartBase(scratch);
    }
    sqlite3* scratchDb = rawOpen(scratch, true);
    // The raw side reads every text and counts its words, then copies the program's index rows
    // into an empty base, row by row in one transaction, as they are read.
    const Time indexRaw = best(
        [&] {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(raw, "SELECT CIT, TEXTE FROM NOTE", -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                countWords(textOf(st, 1));
            sqlite3_finalize(st);
            sqlite3_stmt* in = nullptr;
            sqlite3_exec(scratchDb, "BEGIN", nullptr, nullptr, nullptr);
            sqlite3_prepare_v2(scratchDb,
                               "INSERT INTO WordsNoteIndex (Mot, \"Index\", NboccurIndex) "
                               "VALUES (?1, ?2, ?3)",
                               -1, &in, nullptr);
            sqlite3_prepare_v2(raw, "SELECT Mot, \"Index\", NboccurIndex FROM WordsNoteIndex", -1,
                               &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
                const QByteArray a = textOf(st, 0).toUtf8(), b = textOf(st, 1).toUtf8();
                sqlite3_bind_text(in, 1, a.constData(), int(a.size()), SQLITE_STATIC);
                sqlite3_bind_text(in, 2, b.constData(), int(b.size()), SQLITE_STATIC);
                sqlite3_bind_int64(in, 3, sqlite3_column_int64(st, 2));
                sqlite3_step(in);
                sqlite3_reset(in);
            }
            sqlite3_finalize(st);
            sqlite3_finalize(in);
            sqlite3_exec(scratchDb, "COMMIT", nullptr, nullptr, nullptr);
        },
        1);
    row("Index All > Notes", indexRows, index, "read, count words, insert", indexRaw);
    closeCards();
    const Outcome totals = measure(dog, [&] { w->action(u"mnuAllKeywordsNotes"_s)->trigger(); });
    const Time totalsRaw = best(
        [&] {
            rows =
                query(raw, "SELECT Mot, SUM(NboccurIndex) FROM WordsNoteIndex GROUP BY Mot COLLATE "
                           "VLMTEXT");
        },
        1);
    row("All Keywords > Notes (totals)", rows, totals, "GROUP BY", totalsRaw);
    closeCards();
    sqlite3_close(scratchDb);

    // Import a base of a third of the size.
    const QString other = work.filePath(u"other.vlm"_s);
    QFile::copy(small.path, other);
    prompter.nextFile = other;
    const Outcome import = measure(dog, [&] { frame.importBase(); });
    const Time importRaw = best(
        [&] {
            sqlite3* db = rawOpen(rawTarget, true);
            const std::string sql =
                "PRAGMA cipher_default_page_size = 4096; ATTACH DATABASE '" + other.toStdString() +
                "' AS src KEY 'Rt48Kw27'; BEGIN; "
                "INSERT OR IGNORE INTO main.CGROUP1 (GROUPE) SELECT GROUPE FROM "
                "src.CGROUP1; "
                "INSERT OR IGNORE INTO main.GROUP2 (GROUPE, GROUPE2) SELECT "
                "GROUPE, GROUPE2 FROM src.GROUP2; "
                "INSERT OR IGNORE INTO main.NOTE (CIT, AUTEUR, TITRE1, TEXTE, "
                "TEXTRTF, JOUR) SELECT CIT || 'x', AUTEUR, TITRE1, TEXTE, "
                "TEXTRTF, JOUR FROM src.NOTE; "
                "INSERT INTO main.GRNOTE (GROUPE, NDX) SELECT GROUPE, NDX || 'x' "
                "FROM src.GRNOTE; "
                "INSERT OR IGNORE INTO main.BIBLIO (NDX, AUTEUR, TITRE1, Type) "
                "SELECT NDX || 'x', AUTEUR, TITRE1, Type FROM src.BIBLIO; "
                "INSERT INTO main.AUTNDX (NDX, AUTEUR) SELECT NDX || 'x', AUTEUR "
                "FROM src.AUTNDX; "
                "INSERT INTO main.GRBIB (GROUPE, NDX) SELECT GROUPE, NDX || 'x' "
                "FROM src.GRBIB; "
                "INSERT OR IGNORE INTO main.CIT (CIT, NDX, AUTEUR, TITRE1, TEXTE, "
                "TEXTRTF, JOUR) SELECT CIT || 'x', NDX || 'x', AUTEUR, TITRE1, "
                "TEXTE, TEXTRTF, JOUR FROM src.CIT; "
                "INSERT INTO main.GRCIT (GROUPE, NDX) SELECT GROUPE, NDX || 'x' "
                "FROM src.GRCIT; COMMIT; DETACH DATABASE src;";
            char* error = nullptr;
            if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK)
                std::fprintf(stderr, "raw import failed: %s\n", error);
            sqlite3_free(error);
            sqlite3_close(db);
        },
        1);
    const QString imported = scalar(raw, "SELECT count(*) FROM NOTE");
    row(qPrintable(u"import a third (%1 Notes after)"_s.arg(imported)), z.notes / 3, import,
        "ATTACH, INSERT ... SELECT", importRaw);
    closeCards();
    sqlite3_close(raw);

    // Save As, into the same folder (a move).
    const QString moved = work.filePath(u"saved.vlm"_s);
    prompter.nextFile = moved;
    const Outcome saveAs = measure(dog, [&] { frame.saveBaseAs(); });
    const QString back = work.filePath(u"back.vlm"_s);
    const Time saveAsRaw = best([&] { QFile::rename(rawTarget, back); }, 1);
    row(qPrintable(u"Save As (%1)"_s.arg(QFile::exists(moved) ? u"moved"_s : u"NOT moved"_s)), 1,
        saveAs, "rename", saveAsRaw);

    std::printf("\npeak memory: %ld MB once the base was open, %ld MB after every action\n",
                openMemory / 1024, peakMemoryKiB() / 1024);
    return 0;
}
