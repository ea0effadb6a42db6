#include "core/words/wordindex.h"
#include "gui/cards/notewindow.h"
#include "gui/common/texttableview.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/words/wordindexwindows.h"
#include "support/mainwindowbase.h"
#include "support/viewcells.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vlm;
using namespace vlm::words;

// The word index from the Keywords menu: its progress, its two result windows and their rows.
class WordIndexWindowsTest : public QObject, test::MainWindowBase {
    Q_OBJECT

    WordIndexWindow* window(const char* name) {
        for (WordIndexWindow* w : windowsOf<WordIndexWindow>())
            if (w->objectName() == name) return w;
        return nullptr;
    }

private slots:
    void init() {
        setUp();
        connectWordIndex(ctx(), {main->action("mIndexAllNotes"), main->action("mIndexAllQuotes"),
                                 main->action("mnuAllKeywordsNotes"),
                                 main->action("mnuAllKeywordsQuotes")});
    }
    void cleanup() { tearDown(); }

    void theWindowsListEveryRowAndOpenWhatARowNames() {
        // 1,001 words in one Note, each once, beside 'chat' twice and three times.
        QStringList many;
        for (int i = 0; i < 1001; ++i)
            many << QString("w") + QChar('a' + i / 676) + QChar('a' + i / 26 % 26) +
                        QChar('a' + i % 26);
        b->noteText("A", "chat chat");
        b->noteText("B", "chat chat chat " + many.join(' '));
        main->action("mIndexAllNotes")->trigger();
        WordIndexWindow* rows = window("AfficheKW");
        QVERIFY(rows && rows->windowTitle() == "All KW");
        QCOMPARE(rows->grid()->rowCount(), 1003);
        QCOMPARE(test::rowsOf(rows->grid(), 2).mid(0, 3), (QStringList{"3", "2", "1"}));
        QCOMPARE(rows->grid()->text(1, 1), QString("A"));
        test::doubleClickCell(rows->grid(), 1, 0);
        QCOMPARE(windowsOf<cards::NoteWindow>().size(), 1);

        main->action("mnuAllKeywordsNotes")->trigger();
        WordIndexWindow* totals = window("AfficheKWAll");
        QVERIFY(totals && totals->windowTitle() == "All KeyWords");
        QCOMPARE(totals->grid()->rowCount(), 1002);
        QCOMPARE(test::cellText(totals->grid(), 0, 0) + test::cellText(totals->grid(), 0, 1),
                 QString("chat5"));
        test::doubleClickCell(totals->grid(), 0, 0);
        const auto grids = windowsOf<retrieval::ResultWindow>();
        QCOMPARE(grids.size(), 1);
        QCOMPARE(test::rowsOf(grids.front()->grid(), 2), (QStringList{"A", "B"}));

        // No Quote: both windows open empty.
        main->action("mIndexAllQuotes")->trigger();
        main->action("mnuAllKeywordsQuotes")->trigger();
        QCOMPARE(window("AfficheKW")->grid()->rowCount() +
                     window("AfficheKWAll")->grid()->rowCount(),
                 0);
    }

    void cancelWritesNothing() {
        b->noteText("A", "chat souris");
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "frmMots")
                    QTest::mouseClick(test::child<QPushButton>(w, "cmdCancel"), Qt::LeftButton);
        });
        main->action("mIndexAllNotes")->trigger();
        QVERIFY(!window("AfficheKW") && indexRowsByOccurrence(ctx(), CardKind::Note).empty());
    }
};

QTEST_MAIN(WordIndexWindowsTest)
#include "wordindex_test.moc"
