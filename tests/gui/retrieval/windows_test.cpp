#include "gui/cards/cardopen.h"
#include "gui/common/texttableview.h"
#include "gui/common/workingwindow.h"
#include "gui/retrieval/alertwindow.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/datelistwindow.h"
#include "gui/retrieval/resultwindow.h"
#include "gui/shell/mainwindow.h"
#include "support/mainwindowbase.h"
#include "support/retrievalbase.h"
#include "support/viewcells.h"

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <utility>

using namespace vlm;
using namespace vlm::retrieval;

namespace {

// Records the cards the windows ask to open.
struct OpenLog {
    QStringList opened;
    CardOpener opener(Session& ctx) {
        return [this, &ctx](Session&, CardKind kind) {
            QString n;
            if (kind == CardKind::Note) n = ctx.rs().NOTE.CIT.text();
            if (kind == CardKind::Quote) n = ctx.rs().CIT.CIT.text();
            if (kind == CardKind::Reference) n = ctx.rs().BIBLIO.NDX.text();
            opened << kindText(kind) + ":" + n;
            return true;
        };
    }
};

using test::rowsOf;

} // namespace

class RetrievalWindowsTest : public QObject, test::MainWindowBase {
    Q_OBJECT

    static QWidget* findChildWindow(const QString& name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) return w;
        return nullptr;
    }

    void fourNotes() {
        b->note("SMIT0001.TXT", "Smith", "On trees", b->day(1));
        b->note("JONE0001.TXT", "Jones", "On roots", b->day(3));
        b->note("ADAM0001.TXT", "Adam", "On leaves", b->day(2));
        b->note("BAKE0001.TXT", "Baker", "Other", b->day(4));
        for (const char* k : {"Gamma", "Beta", "Alpha"})
            b->linkNote("SMIT0001.TXT", k);
        for (const char* k : {"Beta", "Zeta"})
            b->linkNote("JONE0001.TXT", k);
        b->linkNote("ADAM0001.TXT", "Beta");
        b->linkNote("BAKE0001.TXT", "Other");
    }

private slots:
    void init() { setUp(); }
    void cleanup() {
        tearDown();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Alert") delete w;
    }

    void resultWindowShowsTheSortedTable() {
        fourNotes();
        notesByKeyword(ctx(), "Beta");
        const auto grids = windowsOf<ResultWindow>();
        QCOMPARE(grids.size(), 1);
        ResultWindow* w = grids.front();
        QCOMPARE(w->windowTitle(), QString("Notes - Keyword : Beta"));
        QCOMPARE(w->property("tag").toString(), QString("Note"));
        TextTableView* g = test::child<TextTableView>(w, "Grid1");
        QCOMPARE(g->columnCount(), 5);

        QCOMPARE(rowsOf(g, 0), (QStringList{"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(rowsOf(g, 1), (QStringList{"Alpha", "Beta", "", "", "Gamma", "Zeta"}));
        // The order and the emptied repeats are the table's; the view shows its columns.
        QCOMPARE((QStringList{test::cellText(g, 5, 2), test::cellText(g, 5, 3),
                              test::cellText(g, 5, 4)}),
                 (QStringList{"JONE0001.TXT", "Jones", "On roots"}));

        // The cursor on the first row of the keyword asked for, columns 1 to 4 selected.
        QCOMPARE(std::pair(ctx().Result.ResultRow, g->currentRow()), std::pair(2, 1));
        QCOMPARE(g->selectionModel()->selectedIndexes().size(), 4);
        for (int col = 0; col < 5; ++col)
            QCOMPARE(test::cellSelected(g, 1, col), col > 0);

        // A second list replaces the first window.
        quotesByKeyword(ctx(), "Beta");
        QCoreApplication::processEvents();
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        QCOMPARE(windowsOf<ResultWindow>().front()->property("tag").toString(), QString("Cit"));
        QCOMPARE(rowsOf(windowsOf<ResultWindow>().front()->grid(), 1), QStringList{"No Match"});
        // No match for Notes sets the Notes option all the same.
        main->quotesOption()->setChecked(true);
        notesByKeyword(ctx(), "Nothing");
        QVERIFY(main->notesOption()->isChecked());
    }

    void clicksSortInRowOneAndHighlight() {
        fourNotes();
        notesByKeyword(ctx(), "Beta");
        ResultWindow* w = windowsOf<ResultWindow>().front();
        TextTableView* g = w->grid();
        const QBrush highlight = w->palette().highlight();

        // Row 1, author column: sorted by author, then by keyword.
        test::clickCell(g, 0, 3);
        QCOMPARE(ctx().Result.ResultSortCol, 3);
        QCOMPARE(ctx().Result.ResultKeyword, QString("Smith"));
        QCOMPARE(rowsOf(g, 3), (QStringList{"Adam", "Jones", "", "Smith", "", ""}));
        QCOMPARE(std::pair(ctx().Result.ResultRow, g->currentRow()), std::pair(4, 3));
        QCOMPARE(w->highlightedRow(), 1);
        QCOMPARE(g->model()->index(0, 2).data(Qt::BackgroundRole).value<QBrush>(), highlight);

        // Another row: highlighted, the sort column remembered, nothing sorted.
        test::clickCell(g, 2, 2);
        QCOMPARE(ctx().Result.ResultSortCol, 2);
        QCOMPARE(rowsOf(g, 3), (QStringList{"Adam", "Jones", "", "Smith", "", ""}));
        QCOMPARE(w->highlightedRow(), 3);
        QCOMPARE(g->model()->index(2, 4).data(Qt::BackgroundRole).value<QBrush>(), highlight);
        QVERIFY(g->model()->index(0, 2).data(Qt::BackgroundRole).value<QBrush>() != highlight);

        // A click on a column header sorts as a click in row 1 of that column.
        QTest::mouseClick(g->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(g->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
        QCOMPARE(ctx().Result.ResultSortCol, 2);
        QCOMPARE(rowsOf(g, 2),
                 (QStringList{"ADAM0001.TXT", "JONE0001.TXT", "", "SMIT0001.TXT", "", ""}));
    }

    void doubleClickOpensTheCardOrSaysItIsGone() {
        fourNotes();
        notesByKeyword(ctx(), "Beta");
        ResultWindow* w = windowsOf<ResultWindow>().front();
        TextTableView* g = w->grid();

        // The Note opens in a Note window of its own.
        test::doubleClickCell(g, 2, 1);
        QCOMPARE(main->mdiArea()->findChildren<QWidget*>("fNoteMulti").size(), 1);

        OpenLog log;
        w->setOpener(log.opener(ctx()));
        test::doubleClickCell(g, 2, 1);
        QCOMPARE(log.opened, QStringList{"Note:JONE0001.TXT"});
        QVERIFY(b->prompter.messages().isEmpty());

        // Enter opens the current row's card too.
        g->setCurrentCell(0, 1);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(log.opened.last(), QString("Note:SMIT0001.TXT"));

        b->removeNote("ADAM0001.TXT");
        test::doubleClickCell(g, 1, 3);
        QCOMPARE(log.opened.size(), 2);
        QVERIFY(b->prompter.said({"This record does not exists"}, Icon::Information));
        QCOMPARE(w->highlightedRow(), 2);
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
    }

    // A result of 100,000 rows lives once in the model: the view answers each cell on demand,
    // holds no item per cell, and a sort rewrites the list in one reset.
    void aHundredThousandRowsStayInTheModel() {
        ResultTable& t = ctx().Result;
        t.clear();
        const int n = 100000;
        for (int i = 0; i < n; ++i) {
            const QString number = QStringLiteral("N%1").arg(n - 1 - i, 6, 10, QLatin1Char('0'));
            t.add(QStringLiteral("K%1").arg(i / 2, 6, 10, QLatin1Char('0')), number,
                  QStringLiteral("Smith"), QStringLiteral("On trees"), number);
        }
        ResultWindow w(ctx(), CardKind::Note);
        TextTableView* g = w.grid();
        QVERIFY(w.findChildren<QTableWidget*>().isEmpty());
        QCOMPARE(g->model()->rowCount(), n);
        QCOMPARE(rowsOf(g, 1).mid(0, 3),
                 (QStringList{QStringLiteral("K000000"), QString(), QStringLiteral("K000001")}));
        QCOMPARE(test::cellText(g, n - 1, 2), QStringLiteral("N000001"));

        QSignalSpy resets(g->model(), &QAbstractItemModel::modelReset);
        QSignalSpy changes(g->model(), &QAbstractItemModel::dataChanged);
        w.clickCell(1, 2);
        QCOMPARE(resets.count(), 1);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(g->model()->rowCount(), n);
        QCOMPARE(test::cellText(g, 0, 2), QStringLiteral("N000000"));
        QCOMPARE(test::cellText(g, n - 1, 0), QString::number(n));
    }

    // A list that takes long shows the progress window, without Cancel; a quick one, or one
    // nearly done, does not.
    void aLongListShowsTheProgressWindow() {
        qint64 now = 0;
        LateWorkingWindow working(listingText(), [&now] { return now; });
        now = LateWorkingWindow::kDelayMs - 1;
        QVERIFY(working.step(4096, 0) && !working.window());
        now = LateWorkingWindow::kDelayMs;
        QVERIFY(working.step(8192, 90) && !working.window());
        QVERIFY(working.step(8192, 40) && working.window() && working.window()->isVisible());
        QCOMPARE(working.window()->objectName(), QString("Working"));
        QCOMPARE(test::child<QLabel>(working.window(), "Label1")->text(), listingText());
        QVERIFY(!working.window()->cancelButton());
    }

    void dateListNewestFirstAndReused() {
        fourNotes();
        b->reference("Smith__001", {"Smith"});
        b->quote("SMITH001.TXT", "Smith__001", "", b->day(7));
        b->quote("SMITH002.TXT", "Smith__001", "", b->day(8));
        notesByDate(ctx());
        QCOMPARE(ctx().DateListKind, QString("Note"));
        QCOMPARE(windowsOf<DateListWindow>().size(), 1);
        DateListWindow* w = windowsOf<DateListWindow>().front();
        TextTableView* g = test::child<TextTableView>(w, "Grid1");
        QCOMPARE(rowsOf(g, 1),
                 (QStringList{"BAKE0001.TXT", "JONE0001.TXT", "ADAM0001.TXT", "SMIT0001.TXT"}));
        QCOMPARE(rowsOf(g, 0).first(), QString("2024-01-04 09:00:00"));

        OpenLog log;
        w->setOpener(log.opener(ctx()));
        test::clickCell(g, 2, 0);
        QCOMPARE(log.opened, QStringList{"Note:ADAM0001.TXT"});

        b->removeNote("JONE0001.TXT");
        test::clickCell(g, 1, 1);
        QCOMPARE(log.opened.size(), 1);
        QCOMPARE(b->prompter.messages(), QStringList{"This record does not exists"});

        // The same window, rewritten with the Quotes.
        runMenu(ctx(), RetrievalMenu::CitOpenDate, {});
        QCOMPARE(windowsOf<DateListWindow>(), QList<DateListWindow*>{w});
        QCOMPARE(ctx().DateListKind, QString("Cit"));
        QCOMPARE(rowsOf(g, 1), (QStringList{"SMITH002.TXT", "SMITH001.TXT"}));
        test::clickCell(g, 1, 1);
        QCOMPARE(log.opened.last(), QString("Cit:SMITH001.TXT"));
    }

    void kindOptionsAndOtherSearch() {
        QList<SelectionRequest> asked;
        const SelectionOpener opener = [&](const SelectionRequest& r) { asked << r; };
        b->keyword("Trees");
        b->reference("Smith__001", {"Smith"});
        b->quote("SMITH001.TXT", "Smith__001");
        b->linkQuote("SMITH001.TXT", "Trees");

        // References by keyword with Quotes linked and no Reference: "No Records"; an open
        // selection dialog is closed first.
        auto* dialog = new QWidget;
        dialog->setObjectName("fMultSel");
        QPointer<QWidget> watch = dialog;
        dialog->show();
        main->otherSwitch()->setChecked(true);
        main->byKeywordOption()->setChecked(true);
        main->referencesOption()->setChecked(true);
        runOtherSearch(ctx(), *main, opener);
        QVERIFY(watch.isNull());
        QCOMPARE(b->prompter.messages(), QStringList{"No Records"});
        QVERIFY(asked.isEmpty());

        main->byAuthorOption()->setChecked(true);
        runOtherSearch(ctx(), *main, opener);
        QCOMPARE(asked.last(), (SelectionRequest{"AUTEURS", "NOM", "Select Author", "AuthorSel"}));

        // In Search mode a kind option lists the cards of the keyword shown in KWSel.
        main->searchSwitch()->setChecked(true);
        main->selectedKeywordLabel()->setText("Trees");
        kindOptionClicked(ctx(), *main, CardKind::Quote, opener);
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        QCOMPARE(windowsOf<ResultWindow>().front()->windowTitle(),
                 QString("Quote + Keyword : Trees"));
        QCOMPARE(rowsOf(windowsOf<ResultWindow>().front()->grid(), 2), QStringList{"SMITH001.TXT"});
    }

    void keywordClicksAndSelectButtons() {
        fourNotes();
        b->reference("Smith__001", {"Smith"}, "Forests");
        b->linkReference("Smith__001", "Beta");

        // In keyword mode a click lists nothing.
        main->keywordsSwitch()->setChecked(true);
        main->referencesOption()->setChecked(true);
        keywordClickedOutsideKeywordMode(ctx(), *main, "Beta");
        QCOMPARE(windowsOf<ResultWindow>().size(), 0);
        main->otherSwitch()->setChecked(true);
        keywordClickedOutsideKeywordMode(ctx(), *main, "Beta");
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        QCOMPARE(windowsOf<ResultWindow>().front()->kind(), CardKind::Reference);

        QVERIFY(selectButtonPressed(ctx(), "AuthorSel", "Nobody"));
        QVERIFY(b->prompter.said({"No Match"}, Icon::Exclamation));
        QVERIFY(!selectButtonPressed(ctx(), "KWNoteSelect", "Alpha"));
    }

    void everyCardOfAKeywordBehindTheMemoryGuard() {
        fourNotes();
        b->linkNote("GONE0001.TXT", "Beta");
        OpenLog log;
        const MemoryStatus plenty{8000000, 4000000, 9000000, 5000000};
        QCOMPARE(openKeywordCards(ctx(), CardKind::Note, "Beta", plenty, log.opener(ctx())), 3);
        QCOMPARE(log.opened,
                 (QStringList{"Note:SMIT0001.TXT", "Note:JONE0001.TXT", "Note:ADAM0001.TXT"}));

        const MemoryStatus low{8000000, 40, 9000000, 1500};
        QCOMPARE(openKeywordCards(ctx(), CardKind::Note, "Beta", low, log.opener(ctx())), 0);
        QCOMPARE(log.opened.size(), 3);
        QWidget* alert = findChildWindow("Alert");
        QVERIFY(alert);
        QStringList texts;
        for (auto* l : alert->findChildren<QLabel*>())
            texts << l->text();
        QVERIFY(texts.contains("Physical memory free : 0 %") &&
                texts.contains("Virtual memory free : 0 %"));

        QCOMPARE(openKeywordCards(ctx(), CardKind::Note, "Nothing", plenty, log.opener(ctx())), 0);
        QVERIFY(b->prompter.said({"No Match"}, Icon::Exclamation));

        // A failure stops at once and is shown: running out of memory with its message, any
        // other failure of the store with the store's description, never dropped.
        const std::pair<std::function<void()>, QString> failures[] = {
            {[] { throw std::bad_alloc(); }, "Not enough memory ! Please close some windows !"},
            {[] { store::raise(store::err::DiskError); }, "Disk or network error."},
        };
        for (const auto& [fail, text] : failures) {
            int calls = 0;
            const CardOpener failing = [&](Session&, CardKind) -> bool {
                if (++calls == 2) fail();
                return true;
            };
            b->prompter.clear();
            QCOMPARE(openKeywordCards(ctx(), CardKind::Note, "Beta", plenty, failing), 1);
            QCOMPARE(calls, 2);
            QCOMPARE(b->prompter.messages(), QStringList{text});
        }

        // A window that does not open ends the operation too.
        int calls = 0;
        const CardOpener refusing = [&](Session&, CardKind) { return ++calls < 2; };
        QCOMPARE(openKeywordCards(ctx(), CardKind::Note, "Beta", plenty, refusing), 1);
        QCOMPARE(calls, 2);
    }

    void mainWindowControlsAreLive() {
        MainWindow* w = main.get();
        connectRetrieval(ctx(), w->retrievalControls());
        auto trigger = [&](const char* name) {
            QAction* a = w->action(QString::fromLatin1(name));
            QVERIFY2(a && a->isEnabled(), name);
            a->trigger();
        };

        trigger("mNotebyDate");
        QVERIFY(b->prompter.said({"No Records"}, Icon::Information));
        b->note("ADAM0001.TXT", "Adam", "First", b->day(2));
        trigger("mNotebyDate");
        QCOMPARE(windowsOf<DateListWindow>().size(), 1);

        // Quotes by keyword: "No Keyword" is there, no Quote is linked yet.
        b->prompter.clear();
        trigger("mCitOpenKW");
        QCOMPARE(b->prompter.messages(), QStringList{"No Records"});
        b->reference("Smith__001", {"Smith"});
        b->quote("SMITH001.TXT", "Smith__001");
        b->linkQuote("SMITH001.TXT", "No Keyword");
        trigger("mBibOpenKW");
        QCOMPARE(w->sideTabs()->currentIndex(), 2);

        // A Note not linked to any keyword: the Notes option says so and offers the keywords
        // of the Quotes instead.
        b->prompter.clear();
        QTest::mouseClick(w->otherSwitch(), Qt::LeftButton);
        QVERIFY(w->otherSearchButton()->isEnabled());
        w->byKeywordOption()->setChecked(true);
        QTest::mouseClick(w->notesOption(), Qt::LeftButton);
        QCOMPARE(b->prompter.messages(), QStringList{"No Records"});
        QVERIFY(w->quotesOption()->isChecked());
        QCOMPARE(ctx().ResultKind, QString("Cit"));
        QWidget* dialog = findChildWindow("fMultSel");
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Select Keywords"));
        QVERIFY(test::child<QAbstractButton>(dialog, "KWCitSel")->isVisible());
        dialog->close();

        // References by date, in the one date list.
        w->byDateOption()->setChecked(true);
        QTest::mouseClick(w->referencesOption(), Qt::LeftButton);
        QTest::mouseClick(w->otherSearchButton(), Qt::LeftButton);
        QCOMPARE(ctx().DateListKind, QString("Bib"));
        QCOMPARE(windowsOf<DateListWindow>().size(), 1);
        QCOMPARE(rowsOf(windowsOf<DateListWindow>().front()->grid(), 1), QStringList{"Smith__001"});
    }

    void selectionDialogListsThePickedName() {
        fourNotes();
        for (const char* k : {"Alpha", "Beta", "Gamma"})
            b->keyword(k);
        b->reference("Smith__001", {"Smith"}, "Forests");
        b->quote("SMITH001.TXT", "Smith__001", "Oaks");
        test::addRow(*b->ctx.rs().AUTEURS, {{"NOM", "Smith"}});
        // The menu's dialog, with its title; `name` picked in it and `button` pressed.
        QPointer<QWidget> dialog;
        auto pickAndSelect = [&](RetrievalMenu menu, const QString& title, const QString& name,
                                 const char* button) {
            runMenu(ctx(), menu, selectionDialog(ctx(), main.get()));
            dialog = findChildWindow("fMultSel");
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), title);
            auto* list = test::child<TextTableView>(dialog, "cgList");
            const int row = int(rowsOf(list).indexOf(name));
            QVERIFY(row >= 0);
            test::clickCell(list, row);
            auto* select = test::child<QAbstractButton>(dialog, button);
            QVERIFY(select->isVisible() && select->isEnabled());
            QTest::mouseClick(select, Qt::LeftButton);
            QCoreApplication::processEvents();
        };

        pickAndSelect(RetrievalMenu::NotebyKeyword, "Select Keyword", "Alpha", "KWnoteSel");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
        QCOMPARE(windowsOf<ResultWindow>().front()->windowTitle(),
                 QString("Notes - Keyword : Alpha"));

        pickAndSelect(RetrievalMenu::CitOpenAuthor, "Select Author", "Smith", "AuthorCit");
        QCOMPARE(windowsOf<ResultWindow>().size(), 1);
        ResultWindow* w = windowsOf<ResultWindow>().front();
        QCOMPARE(w->windowTitle(), QString("Reference Author : Smith"));
        QCOMPARE(w->kind(), CardKind::Quote);
        QCOMPARE(rowsOf(w->grid(), 2) + rowsOf(w->grid(), 4),
                 (QStringList{"SMITH001.TXT", "Oaks"}));
        // The dialog stays, for another author.
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("Authors"));
        dialog->close();
    }

    // Every Note about Animals and its Subsets and about Europe, from the selection dialog;
    // then without the Subsets, and a keyword click with them, from the result window's box.
    void graphListsFromTheDialogAndTheResultWindow() {
        b->keywords({"Animals", "Cats", "Dogs", "Europe"});
        for (const auto& [lo, up] :
             {std::pair{"Cats", "Animals"}, {"Dogs", "Animals"}, {"Animals", "Dogs"}}) // a cycle
            test::addRow(*ctx().rs().GROUP2, {{"GROUPE", lo}, {"GROUPE2", up}});
        for (const char* note : {"N1", "N2", "N3", "N4"})
            b->note(note);
        for (const auto& [note, kw] : {std::pair{"N1", "Cats"},
                                       {"N1", "Europe"},
                                       {"N2", "Dogs"},
                                       {"N3", "Animals"},
                                       {"N3", "Europe"},
                                       {"N4", "Europe"}})
            b->linkNote(note, kw);
        runMenu(ctx(), RetrievalMenu::NotebyKeyword, selectionDialog(ctx(), main.get()));
        QWidget* dialog = findChildWindow("fMultSel");
        QVERIFY(dialog);
        auto* list = test::child<TextTableView>(dialog, "cgList");
        auto* allOf = test::child<QRadioButton>(dialog, "OptionAllOf");
        test::clickCell(list, int(rowsOf(list).indexOf("Animals")));
        QVERIFY(allOf->isVisible() && !allOf->isEnabled()); // one pick: as it always was
        test::clickCell(list, int(rowsOf(list).indexOf("Europe")));
        QTest::mouseClick(allOf, Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QCheckBox*>("CheckSubsets"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QAbstractButton*>("KWnoteSel"), Qt::LeftButton);

        ResultWindow* w = windowsOf<ResultWindow>().front();
        QCOMPARE(w->windowTitle(), QString("Notes - Keywords : Animals (with Subsets) + Europe"));
        QCOMPARE(rowsOf(w->grid(), 1), (QStringList{"Animals", "Cats", "Europe", ""}));
        QCOMPARE(rowsOf(w->grid(), 2), (QStringList{"N3", "N1", "", "N3"}));
        auto* box = w->findChild<QCheckBox*>("CheckSubsets");
        QVERIFY(box->isVisible() && box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(w->windowTitle(), QString("Notes - Keywords : Animals + Europe"));
        QCOMPARE(rowsOf(w->grid(), 2), (QStringList{"N3", ""}));
        QVERIFY(!ctx().listWithSubsets);

        QTest::mouseClick(box, Qt::LeftButton);
        main->otherSwitch()->setChecked(true);
        main->notesOption()->setChecked(true);
        keywordClickedOutsideKeywordMode(ctx(), *main, "Dogs");
        w = windowsOf<ResultWindow>().front();
        QCOMPARE(w->windowTitle(), QString("Notes - Keyword : Dogs (with Subsets)"));
        QCOMPARE(rowsOf(w->grid(), 1), (QStringList{"Animals", "Cats", "Dogs"}));
    }
};

QTEST_MAIN(RetrievalWindowsTest)
#include "windows_test.moc"
