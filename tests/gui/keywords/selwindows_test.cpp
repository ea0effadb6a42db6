// The selection dialog SelectionDialog and the keyword list window KeywordListWindow, driven as a
// user would: controls found by name, clicked and typed into; the boxes shown and the rows in the
// base checked afterwards. The list rules, adds, discards and attaches themselves are checked on
// the logic (tests/core/keywords/listeditor_test); here, that the windows reach them.

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "gui/common/texttableview.h"
#include "gui/keywords/keywordlistwindow.h"
#include "gui/keywords/selectiondialog.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::keywords;
using namespace vlm::test;
using Mode = SelectionDialog::Mode;

namespace {

const QString readOnly = "Fichier en lecture seule !";

// A shown dialog of a base of its own, and its controls.
struct Dialog : SessionBase {
    SelectionDialog w;
    Dialog(const QStringList& names, Mode mode) : w((keywords(names), ctx), mode) { w.show(); }
    TextTableView* list() { return child<TextTableView>(&w, "cgList"); }
    QTableWidget* sel() { return child<QTableWidget>(&w, "cgSel"); }
    QLineEdit* text() { return child<QLineEdit>(&w, "Text1"); }
    void press(const char* name) { child<QPushButton>(&w, name)->click(); }
    void type(const QString& t) {
        text()->clear();
        text()->setFocus();
        QTest::keyClicks(text(), t);
    }
};

struct ListWindow : SessionBase {
    KeywordListWindow w;
    explicit ListWindow(const QStringList& names) : w((keywords(names), ctx)) { w.show(); }
    QListView* list() { return child<QListView>(&w, "List1"); }
    QString current() { return list()->currentIndex().data().toString(); }
    void press(const char* name) { child<QPushButton>(&w, name)->click(); }
};

} // namespace

class SelWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- The selection dialog.

    void eachModeShowsItsOneSelectButton() {
        SessionBase b;
        const QStringList names{"KWNoteSelect", "KWCitAdd",   "KWBibAdd",  "KWnoteSel",
                                "KWCitSel",     "KWBibSel",   "AuthorSel", "AuthorCit",
                                "cBibAutSel",   "cNoteAutSel"};
        for (int m = 0; m < names.size(); ++m) {
            SelectionDialog w(b.ctx, Mode(m));
            w.show();
            QCOMPARE(SelectionDialog::modeNamed(SelectionDialog::buttonName(Mode(m))), Mode(m));
            for (int k = 0; k < names.size(); ++k) {
                auto* sel = child<QPushButton>(&w, qPrintable(names[k]));
                QCOMPARE(sel->isVisible() && sel->isEnabled(), k == m);
            }
            w.close();
            QVERIFY(!w.selectButton()->isVisible() && !w.selectButton()->isEnabled());
        }
        QVERIFY(!SelectionDialog::modeNamed("Select"));

        QPointer<SelectionDialog> w =
            SelectionDialog::open(b.ctx, Mode::KWBibSel, nullptr, "Reference KeyWords", 1500, 3000);
        QCOMPARE(w->windowTitle(), QString("Reference KeyWords"));
        QCOMPARE(w->pos(), QPoint(100, 200));
        w->placeSelectButton(300, 2400);
        QCOMPARE(child<QPushButton>(w, "KWBibSel")->pos(), twipsPoint(300, 2400));
        w->close();
        QTRY_VERIFY(w.isNull()); // deleted once closed
    }

    // Typing finds, a click picks, a click on a pick finds it again, Supp removes it.
    void originListAndPicks() {
        QStringList many{"Peach", "Philosophy", "Physics", "Zoo"};
        for (int i = 0; i < 40; ++i)
            many << QStringLiteral("Keyword %1").arg(i, 2, 10, QChar('0'));
        Dialog d(many, Mode::KWNoteSelect);
        d.type("ph");
        QCOMPARE(d.text()->text(), QString("Ph")); // capitalised as typed
        QVERIFY(d.list()->currentRow() == 41 && cellSelected(d.list(), 41));
        QTest::keyClicks(d.text(), "z");
        QCOMPARE(d.list()->currentRow(), 43); // past Physics: where "Phz" would be

        QCOMPARE(rowsOf(d.sel()), QStringList{""});
        for (int row : {30, 1, 1})
            clickCell(d.list(), row);
        QCOMPARE(rowsOf(d.sel()), (QStringList{"Keyword 30", "Keyword 01", "Keyword 01"}));
        QCOMPARE(d.w.picked(), rowsOf(d.sel()));
        QCOMPARE(d.sel()->currentRow(), 2); // the last pick is the current one
        d.list()->scrollToTop();
        clickCell(d.sel(), 0);
        QCOMPARE(d.list()->currentRow(), 30);
        QCOMPARE(d.list()->rowAt(0), 27); // the fourth visible row
        clickCell(d.sel(), 1);
        QCOMPARE(d.list()->rowAt(0), 0);
        d.press("cSelSupp");
        QCOMPARE(rowsOf(d.sel()), (QStringList{"Keyword 30", "Keyword 01"}));
        for (int i = 0; i < 3; ++i) // the only pick left: its row stays, empty
            d.press("cSelSupp");
        QCOMPARE(rowsOf(d.sel()), QStringList{""});
        QVERIFY(d.w.picked().isEmpty());
        clickCell(d.list(), 0);
        QCOMPARE(rowsOf(d.sel()), QStringList{"Keyword 00"});
        // Without a mouse: the arrows move, Enter and Space pick as a click does.
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Space})
            QTest::keyClick(d.list(), k);
        QCOMPARE(rowsOf(d.sel()), (QStringList{"Keyword 00", "Keyword 01", "Keyword 01"}));
    }

    // Each kind of answer of the list's Add, Supp, and what the list and the base show after.
    void addAndDiscardThroughTheOriginList() {
        Dialog d({"Apple", "Cherry"}, Mode::KWNoteSelect);
        d.cardLink(*d.ctx.rs().GRNOTE, "Cherry", "N1");
        struct Case {
            QString typed;
            std::optional<Answer> answer;
            QString message;
            int current;
        };
        for (const Case& c : QList<Case>{
                 {"", {}, " Fill in the text zone to add an item", -1},
                 {"cherry", {}, " This item exists ", 1},
                 {"banana", Answer::Yes, " Do you want to add Banana as a new item? ", 1}}) {
            d.type(c.typed);
            if (c.answer) d.prompter.answer(*c.answer);
            d.press("cListAdd");
            QCOMPARE(d.prompter.messages().last(), c.message);
            if (c.current >= 0) QCOMPARE(d.list()->currentRow(), c.current);
        }
        QCOMPARE(rowsOf(d.list()), (QStringList{"Apple", "Banana", "Cherry"}));
        QCOMPARE(d.column(*d.ctx.rs().CGROUP1, "GROUPE"),
                 (QStringList{"Apple", "Cherry", "Banana"}));

        // Discard: Cancel keeps the keyword; OK discards it and empties the picks.
        clickCell(d.list(), 2);
        d.prompter.reply(Answer::Cancel);
        d.press("cListSupp");
        QCOMPARE(d.prompter.messages(), QStringList{"discard this item ?"});
        QCOMPARE(rowsOf(d.sel()), QStringList{"Cherry"});
        d.prompter.answer(Answer::Ok);
        d.press("cListSupp");
        QCOMPARE(rowsOf(d.list()), (QStringList{"Apple", "Banana"}));
        QCOMPARE(rowsOf(d.sel()), QStringList{""});
        QCOMPARE(d.column(*d.ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Banana"}));
        QCOMPARE(d.column(*d.ctx.rs().GRNOTE, "GROUPE"), QStringList{"Cherry"}); // links stay
    }

    void authorsComeFromTheirOwnTables() {
        SessionBase b;
        b.put(*b.ctx.rs().AUTEURS, "NOM", {"Weil", "Arendt"});
        b.put(*b.ctx.rs().AUTNOTE, "NOM", {"Me"});
        SelectionDialog refs(b.ctx, Mode::cBibAutSel);
        QCOMPARE(rowsOf(child<TextTableView>(&refs, "cgList")), (QStringList{"Arendt", "Weil"}));
        SelectionDialog notes(b.ctx, Mode::cNoteAutSel);
        notes.show();
        child<QLineEdit>(&notes, "Text1")->setText("Colleague");
        b.prompter.answer(Answer::Yes);
        child<QPushButton>(&notes, "cListAdd")->click();
        QCOMPARE(rowsOf(child<TextTableView>(&notes, "cgList")), (QStringList{"Colleague", "Me"}));
        QCOMPARE(b.column(*b.ctx.rs().AUTNOTE, "NOM"), (QStringList{"Me", "Colleague"}));
        QCOMPARE(b.ctx.rs().AUTEURS->recordCount(), 2);
    }

    void selectAttachesEachKeywordOnceToTheCard() {
        Dialog d({"Art", "Ethics", "Zen"}, Mode::KWNoteSelect);
        d.cardLink(*d.ctx.rs().GRNOTE, "Zen", "N7");
        d.w.setCardNumber("N7");
        QSignalSpy attached(&d.w, &SelectionDialog::keywordsAttached);
        for (int row : {0, 0, 2, 1})
            clickCell(d.list(), row);
        d.press("KWNoteSelect");
        QCOMPARE(d.column(*d.ctx.rs().GRNOTE, "GROUPE"), (QStringList{"Zen", "Art", "Ethics"}));
        QCOMPARE(d.column(*d.ctx.rs().GRNOTE, "NDX"), QStringList(3, "N7"));
        QVERIFY(d.ctx.KWChanged);
        QCOMPARE(
            d.prompter.messages(),
            QStringList{" This card already carries the Keyword Zen : it was not added again "});
        QCOMPARE(attached.size(), 1);
        QCOMPARE(attached[0][1].toString() + ":" + attached[0][2].toStringList().join(','),
                 QString("N7:Zen,Art,Ethics"));

        SelectionDialog q(d.ctx, Mode::KWCitAdd); // Quotes: their own table
        q.setCardNumber("C1");
        q.show();
        clickCell(child<TextTableView>(&q, "cgList"), 1);
        child<QPushButton>(&q, "KWCitAdd")->click();
        QCOMPARE(d.column(*d.ctx.rs().GRCIT, "GROUPE"), QStringList{"Ethics"});
    }

    void selectHandsTheSelectionBack() {
        Dialog d({"Art", "Ethics", "Zen"}, Mode::KWnoteSel);
        QSignalSpy spy(&d.w, &SelectionDialog::selected);
        d.press("KWnoteSel");
        QCOMPARE(spy.size(), 0); // nothing picked: the user is told
        QCOMPARE(d.prompter.messages().size(), 1);
        for (int row : {0, 2})
            clickCell(d.list(), row);
        clickCell(d.sel(), 1);
        d.press("KWnoteSel");
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].value<Mode>(), Mode::KWnoteSel);
        QCOMPARE(spy[0][1].toStringList() << spy[0][2].toString(),
                 (QStringList{"Art", "Zen", "Zen"}));
        // A double click on an origin name picks it and runs KWnoteSel on it.
        doubleClickCell(d.list(), 1);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[1][2].toString(), QString("Ethics"));
        // Enter with a text makes KWnoteSel the default button.
        d.type("a");
        QTest::keyClick(d.text(), Qt::Key_Return);
        QVERIFY(child<QPushButton>(&d.w, "KWnoteSel")->isDefault());

        SelectionDialog bib(d.ctx, Mode::KWBibSel);
        bib.show();
        QSignalSpy bibSpy(&bib, &SelectionDialog::selected);
        doubleClickCell(child<TextTableView>(&bib, "cgList"), 1);
        QCOMPARE(bibSpy.size(), 0); // KWnoteSel is not this window's button

        d.put(*d.ctx.rs().AUTEURS, "NOM", {"Arendt", "Weil"});
        SelectionDialog authors(d.ctx, Mode::AuthorSel, nullptr);
        authors.setWindowTitle("Reference Author");
        authors.show();
        QSignalSpy authorSpy(&authors, &SelectionDialog::selected);
        clickCell(child<TextTableView>(&authors, "cgList"), 1);
        child<QPushButton>(&authors, "AuthorSel")->click();
        QCOMPARE(authorSpy[0][2].toString(), QString("Weil"));
        QCOMPARE(authors.windowTitle(), QString("Authors"));
        QCOMPARE(d.ctx.rs().GRNOTE->recordCount(), 0);
    }

    void dialogOnAReadOnlyBaseChangesNothing() {
        Dialog d({"Apple", "Banana"}, Mode::KWNoteSelect);
        d.reopenReadOnly();
        SelectionDialog w(d.ctx, Mode::KWNoteSelect);
        w.setCardNumber("N1");
        w.show();
        auto* list = child<TextTableView>(&w, "cgList");
        child<QLineEdit>(&w, "Text1")->setText("Cherry");
        d.prompter.answer(Answer::Yes);
        child<QPushButton>(&w, "cListAdd")->click();
        QCOMPARE(d.prompter.messages().last(), readOnly);
        list->setCurrentCell(0, 0);
        d.prompter.answer(Answer::Ok);
        child<QPushButton>(&w, "cListSupp")->click();
        QCOMPARE(d.prompter.messages().last(), readOnly);
        QCOMPARE(d.prompter.shown().back().icon, Icon::Critical);
        QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"})); // the row stays
        clickCell(list, 1);
        d.prompter.clear();
        child<QPushButton>(&w, "KWNoteSelect")->click();
        QCOMPARE(d.prompter.messages(), QStringList{readOnly});
        QVERIFY(!d.ctx.KWChanged);
        QCOMPARE(d.ctx.rs().CGROUP1->recordCount(), 2);
        QCOMPARE(d.ctx.rs().GRNOTE->recordCount(), 0);
    }

    // ---- The keyword list window.

    void keywordListOpensOnAnEmptyBaseWithNoKeyword() {
        ListWindow l({});
        QCOMPARE(rowsOf(l.list()), QStringList{"No Keyword"});
        QCOMPARE(l.column(*l.ctx.rs().CGROUP1, "GROUPE"), QStringList{"No Keyword"});
    }

    // Each kind of answer to "Fill in the Keyword you want to add", and the list after it.
    void keywordListAddTellsAndSelects() {
        ListWindow l({"Apple", "Philosophy"});
        const QString exists =
            " Philosophy exists already: names that differ only in letter case are one Keyword ";
        struct Case {
            std::optional<QString> typed;
            QStringList messages; // new since the case before
            QString current;
            QStringList stored;
        };
        const QStringList two{"Apple", "Philosophy"};
        const QString tooLong = " A Keyword has at most 30 characters: nothing was added ";
        const QList<Case> cases{
            {std::nullopt, {}, "", two}, // Cancel
            {QString(), {}, "", two},
            {QString("philosophy"), {exists}, "Philosophy", two},
            {QString("Philosophy"), {exists}, "", two},
            {QString(31, 'L'), {tooLong}, "", two},
            {QString("Banana"), {}, "Banana", two + QStringList{"Banana"}},
            {QString("Red\r\n\tBlue\n"), {}, "Red Blue", two + QStringList{"Banana", "Red Blue"}},
        };
        for (const Case& c : cases) {
            l.prompter.clear();
            l.prompter.type(c.typed);
            l.press("Command1");
            QCOMPARE(l.prompter.shown()[0].text, QString("Fill in the Keyword you want to add"));
            QCOMPARE(l.prompter.messages(), c.messages);
            if (!c.current.isEmpty()) QCOMPARE(l.current(), c.current);
            QCOMPARE(l.column(*l.ctx.rs().CGROUP1, "GROUPE"), c.stored);
            QCOMPARE(rowsOf(l.list()), allKeywordNames(l.ctx));
        }
        // A keyword added elsewhere shows at once; the current name stays.
        QVERIFY(storeKeyword(l.ctx, "Avocado").ok());
        QTRY_COMPARE(rowsOf(l.list()).value(1), QString("Avocado"));
        QCOMPARE(l.current(), QString("Red Blue"));
    }

    void keywordListSuppAsksAndKeepsLinks() {
        ListWindow l({"Apple", "Banana", "Cherry"});
        l.cardLink(*l.ctx.rs().GRNOTE, "Banana", "N1");
        l.press("Command2"); // nothing selected: nothing asked, nothing done
        QVERIFY(l.prompter.shown().empty());
        l.list()->setCurrentIndex(l.list()->model()->index(1, 0));
        l.prompter.answer(Answer::Cancel);
        l.press("Command2");
        QCOMPARE(l.prompter.messages(), QStringList{"discard this Keyword ?"});
        QCOMPARE(rowsOf(l.list()), (QStringList{"Apple", "Banana", "Cherry"}));
        l.prompter.answer(Answer::Ok);
        l.press("Command2");
        QCOMPARE(rowsOf(l.list()), (QStringList{"Apple", "Cherry"}));
        QCOMPARE(l.column(*l.ctx.rs().CGROUP1, "GROUPE"), rowsOf(l.list()));
        QCOMPARE(l.column(*l.ctx.rs().GRNOTE, "GROUPE"), QStringList{"Banana"});
    }

    void keywordListOnAReadOnlyBaseChangesNothing() {
        SessionBase b;
        b.keywords({"Apple", "Banana"});
        b.reopenReadOnly();
        KeywordListWindow w(b.ctx);
        w.show();
        auto* list = child<QListView>(&w, "List1");
        b.prompter.type(QString("Cherry"));
        child<QPushButton>(&w, "Command1")->click();
        QCOMPARE(b.prompter.messages(), QStringList{readOnly});
        list->setCurrentIndex(list->model()->index(0, 0));
        b.prompter.answer(Answer::Ok);
        child<QPushButton>(&w, "Command2")->click();
        QCOMPARE(b.prompter.messages().last(), readOnly);
        QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);
        QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"})); // the keyword is still there
        b.ctx.base.closeBase();
        QCOMPARE(openBase(b.path())->openRecordset("CGROUP1")->recordCount(), 2L);
    }
};

QTEST_MAIN(SelWindowsTest)
#include "selwindows_test.moc"
