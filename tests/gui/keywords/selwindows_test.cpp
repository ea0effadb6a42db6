// The selection dialog SelectionDialog and the keyword list window KeywordListWindow, driven as a
// user would: controls found by name, clicked and typed into; the boxes shown and the rows in the
// base checked afterwards.

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/common/texttableview.h"
#include "gui/keywords/keywordlistwindow.h"
#include "gui/keywords/selectiondialog.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace vlm;
using namespace vlm::keywords;
using Mode = SelectionDialog::Mode;

namespace {

// A base of its own for each test, with keywords and authors stored directly.
struct Base : test::SessionBase {
    void noteLink(const QString& keyword, const QString& note) {
        cardLink(*ctx.rs().GRNOTE, keyword, note);
    }
};
using test::child;

using test::rowsOf;

void clickRow(QAbstractItemView* g, int row) {
    test::clickCell(g, row);
}

void doubleClickRow(QAbstractItemView* g, int row) {
    test::doubleClickCell(g, row);
}

void typeInto(QLineEdit* e, const QString& text) {
    e->setFocus();
    QTest::keyClicks(e, text);
}

} // namespace

class MultSelTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAndTheOneSelectButtonOfEachMode();
    void opensWhereTheCallerSays();
    void typingFindsTheRowAtOrAfterTheText();
    void pickingAndRemovingPicks();
    void clickOnAPickFindsItInTheOriginList();
    void addAndDiscardThroughTheOriginList();
    void authorsComeFromTheirOwnTables();
    void selectAttachesEachKeywordOnceToTheCard();
    void selectHandsTheSelectionBack();
    void enterMakesKWnoteSelTheDefault();
    void aReadOnlyBaseChangesNothing();
};

void MultSelTest::controlsAndTheOneSelectButtonOfEachMode() {
    Base b;
    b.keywords({"Art"});
    const QStringList names{"KWNoteSelect", "KWCitAdd",  "KWBibAdd",  "KWnoteSel",  "KWCitSel",
                            "KWBibSel",     "AuthorSel", "AuthorCit", "cBibAutSel", "cNoteAutSel"};
    for (int m = 0; m < names.size(); ++m) {
        SelectionDialog w(b.ctx, Mode(m));
        w.show();
        QCOMPARE(w.objectName(), QString("fMultSel"));
        QCOMPARE(w.windowTitle(), QString("MultSel"));
        QCOMPARE(SelectionDialog::buttonName(Mode(m)), names[m]);
        QCOMPARE(SelectionDialog::modeNamed(names[m]), std::optional<Mode>(Mode(m)));
        // Every mode's button opens at the common place of the Select buttons.
        QCOMPARE(w.selectButton()->objectName(), names[m]);
        QCOMPARE(w.selectButton()->parentWidget()->objectName(), QString("Frame2"));
        QCOMPARE(w.selectButton()->pos(), twipsPoint(220, 2220));
        for (int k = 0; k < names.size(); ++k) {
            auto* sel = child<QPushButton>(&w, qPrintable(names[k]));
            QCOMPARE(sel->text(), QString("Select"));
            QCOMPARE(sel->isVisible(), k == m);
            QCOMPARE(sel->isEnabled(), k == m);
        }
        w.close();
        for (const QString& n : names) {
            auto* sel = child<QPushButton>(&w, qPrintable(n));
            QVERIFY(sel->isHidden());
            QVERIFY(!sel->isEnabled());
        }
    }
}

void MultSelTest::opensWhereTheCallerSays() {
    Base b;
    b.keywords({"Art"});
    QPointer<SelectionDialog> w =
        SelectionDialog::open(b.ctx, Mode::KWBibSel, nullptr, "Reference KeyWords", 1500, 3000);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QString("Reference KeyWords"));
    QCOMPARE(w->pos(), QPoint(100, 200));
    QVERIFY(child<QPushButton>(w, "KWBibSel")->isVisible());
    w->placeSelectButton(300, 2400);
    QCOMPARE(child<QPushButton>(w, "KWBibSel")->pos(), twipsPoint(300, 2400));
    QVERIFY(!SelectionDialog::modeNamed("Select"));
    w->close();
    QTRY_VERIFY(w.isNull()); // deleted once closed
}

void MultSelTest::typingFindsTheRowAtOrAfterTheText() {
    Base b;
    b.keywords({"Apple", "Peach", "Pear", "Philosophy", "Physics", "Zoo"});
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.show();
    auto* list = child<TextTableView>(&w, "cgList");
    auto* text = child<QLineEdit>(&w, "Text1");
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Peach", "Pear", "Philosophy", "Physics", "Zoo"}));

    typeInto(text, "p");
    QCOMPARE(text->text(), QString("P")); // the capital-first rule
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClicks(text, "h");
    QCOMPARE(text->text(), QString("Ph"));
    QCOMPARE(list->currentRow(), 3);
    QVERIFY(test::cellSelected(list, 3));
    QTest::keyClicks(text, "z");
    QCOMPARE(list->currentRow(), 5); // past Physics: where "Phz" would be
}

void MultSelTest::pickingAndRemovingPicks() {
    Base b;
    b.keywords({"Apple", "Banana", "Cherry"});
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.show();
    auto* list = child<TextTableView>(&w, "cgList");
    auto* sel = child<QTableWidget>(&w, "cgSel");
    auto* supp = child<QPushButton>(&w, "cSelSupp");
    QCOMPARE(rowsOf(sel), QStringList{""});

    clickRow(list, 1);
    QCOMPARE(rowsOf(sel), QStringList{"Banana"}); // the empty first row is filled
    clickRow(list, 1);
    clickRow(list, 2);
    QCOMPARE(rowsOf(sel), (QStringList{"Banana", "Banana", "Cherry"}));
    QCOMPARE(w.picked(), (QStringList{"Banana", "Banana", "Cherry"}));
    QCOMPARE(sel->currentRow(), 2); // the last pick is the current one

    clickRow(sel, 1);
    supp->click();
    QCOMPARE(rowsOf(sel), (QStringList{"Banana", "Cherry"}));
    sel->setCurrentCell(1, 0);
    supp->click();
    QCOMPARE(rowsOf(sel), QStringList{"Banana"});
    supp->click(); // the only pick: its row stays, empty
    QCOMPARE(rowsOf(sel), QStringList{""});
    QVERIFY(w.picked().isEmpty());
    clickRow(list, 0);
    QCOMPARE(rowsOf(sel), QStringList{"Apple"});
}

void MultSelTest::clickOnAPickFindsItInTheOriginList() {
    Base b;
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("Keyword %1").arg(i, 2, 10, QChar('0'));
    b.keywords(many);
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.show();
    auto* list = child<TextTableView>(&w, "cgList");
    auto* sel = child<QTableWidget>(&w, "cgSel");
    clickRow(list, 30);
    clickRow(list, 1);
    list->setCurrentCell(0, 0);
    list->scrollToTop();

    clickRow(sel, 0);
    QCOMPARE(list->currentRow(), 30);
    QVERIFY(test::cellSelected(list, 30));
    QCOMPARE(list->rowAt(0), 27); // the fourth visible row
    clickRow(sel, 1);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(list->rowAt(0), 0);
}

void MultSelTest::addAndDiscardThroughTheOriginList() {
    Base b;
    b.keywords({"Apple", "Cherry"});
    b.noteLink("Cherry", "N1");
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.show();
    auto* list = child<TextTableView>(&w, "cgList");
    auto* text = child<QLineEdit>(&w, "Text1");
    auto* add = child<QPushButton>(&w, "cListAdd");
    auto* supp = child<QPushButton>(&w, "cListSupp");
    auto* sel = child<QTableWidget>(&w, "cgSel");

    add->click();
    QCOMPARE(b.prompter.messages(), QStringList{" Fill in the text zone to add an item"});

    typeInto(text, "cherry");
    add->click();
    QCOMPARE(b.prompter.messages().last(), QString(" This item exists "));
    QCOMPARE(list->currentRow(), 1);

    text->clear();
    typeInto(text, "banana");
    b.prompter.answer(Answer::Yes);
    add->click();
    QCOMPARE(b.prompter.messages().last(), QString(" Do you want to add Banana as a new item? "));
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana", "Cherry"}));
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Cherry", "Banana"}));

    // Discard: Cancel keeps the keyword; OK discards it and empties the picks.
    clickRow(list, 2);
    QCOMPARE(rowsOf(sel), QStringList{"Cherry"});
    b.prompter.clear();
    b.prompter.answer(Answer::Cancel);
    supp->click();
    QCOMPARE(b.prompter.messages(), QStringList{"discard this item ?"});
    QCOMPARE(b.prompter.shown()[0].buttons, Buttons::OkCancel);
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana", "Cherry"}));
    QCOMPARE(rowsOf(sel), QStringList{"Cherry"});

    b.prompter.answer(Answer::Ok);
    supp->click();
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"}));
    QCOMPARE(rowsOf(sel), QStringList{""});
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Banana"}));
    QCOMPARE(b.column(*b.ctx.rs().GRNOTE, "GROUPE"), QStringList{"Cherry"}); // links stay
}

void MultSelTest::authorsComeFromTheirOwnTables() {
    Base b;
    b.keywords({"Art"});
    b.put(*b.ctx.rs().AUTEURS, "NOM", {"Weil", "Arendt"});
    b.put(*b.ctx.rs().AUTNOTE, "NOM", {"Me"});
    SelectionDialog refs(b.ctx, Mode::cBibAutSel);
    QCOMPARE(rowsOf(child<TextTableView>(&refs, "cgList")), (QStringList{"Arendt", "Weil"}));
    SelectionDialog notes(b.ctx, Mode::cNoteAutSel);
    QCOMPARE(rowsOf(child<TextTableView>(&notes, "cgList")), QStringList{"Me"});

    // A new author goes to the table the window shows.
    notes.show();
    typeInto(child<QLineEdit>(&notes, "Text1"), "colleague");
    b.prompter.answer(Answer::Yes);
    child<QPushButton>(&notes, "cListAdd")->click();
    QCOMPARE(b.prompter.messages().last(),
             QString(" Do you want to add Colleague as a new item? "));
    QCOMPARE(rowsOf(child<TextTableView>(&notes, "cgList")), (QStringList{"Colleague", "Me"}));
    QCOMPARE(b.column(*b.ctx.rs().AUTNOTE, "NOM"), (QStringList{"Me", "Colleague"}));
    QCOMPARE(b.ctx.rs().AUTEURS->recordCount(), 2);

    // A pasted author of two lines is one name; one of blanks and breaks is none.
    refs.show();
    auto* refText = child<QLineEdit>(&refs, "Text1");
    refText->insert("\nweil,\r\nSimone ");
    b.prompter.answer(Answer::Yes);
    child<QPushButton>(&refs, "cListAdd")->click();
    QCOMPARE(b.prompter.messages().last(),
             QString(" Do you want to add Weil, Simone as a new item? "));
    QCOMPARE(b.column(*b.ctx.rs().AUTEURS, "NOM"), (QStringList{"Weil", "Arendt", "Weil, Simone"}));
    refText->setText(" \t\n");
    child<QPushButton>(&refs, "cListAdd")->click();
    QCOMPARE(b.prompter.messages().last(), QString(" Fill in the text zone to add an item"));
}

void MultSelTest::selectAttachesEachKeywordOnceToTheCard() {
    Base b;
    b.keywords({"Art", "Ethics", "Zen"});
    b.noteLink("Zen", "N7");
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.setCardNumber("N7");
    w.show();
    QSignalSpy attached(&w, &SelectionDialog::keywordsAttached);
    auto* list = child<TextTableView>(&w, "cgList");
    clickRow(list, 0);
    clickRow(list, 0);
    clickRow(list, 2);
    clickRow(list, 1);
    child<QPushButton>(&w, "KWNoteSelect")->click();

    QCOMPARE(b.column(*b.ctx.rs().GRNOTE, "GROUPE"), (QStringList{"Zen", "Art", "Ethics"}));
    QCOMPARE(b.column(*b.ctx.rs().GRNOTE, "NDX"), (QStringList{"N7", "N7", "N7"}));
    QVERIFY(b.ctx.KWChanged);
    QCOMPARE(b.prompter.messages(),
             QStringList{" This card already carries the Keyword Zen : it was not added again "});
    QCOMPARE(attached.size(), 1);
    QCOMPARE(attached[0][0].value<Mode>(), Mode::KWNoteSelect);
    QCOMPARE(attached[0][1].toString(), QString("N7"));
    QCOMPARE(attached[0][2].toStringList(), (QStringList{"Zen", "Art", "Ethics"}));

    // Quotes: their own table.
    SelectionDialog q(b.ctx, Mode::KWCitAdd);
    q.setCardNumber("C1");
    q.show();
    clickRow(child<TextTableView>(&q, "cgList"), 1);
    child<QPushButton>(&q, "KWCitAdd")->click();
    QCOMPARE(b.column(*b.ctx.rs().GRCIT, "GROUPE"), QStringList{"Ethics"});
}

void MultSelTest::selectHandsTheSelectionBack() {
    Base b;
    b.keywords({"Art", "Ethics", "Zen"});
    b.put(*b.ctx.rs().AUTEURS, "NOM", {"Arendt", "Weil"});
    {
        SelectionDialog w(b.ctx, Mode::KWnoteSel);
        w.show();
        QSignalSpy spy(&w, &SelectionDialog::selected);
        auto* list = child<TextTableView>(&w, "cgList");
        auto* sel = child<QTableWidget>(&w, "cgSel");
        child<QPushButton>(&w, "KWnoteSel")->click();
        QCOMPARE(spy.size(), 0); // nothing picked: the user is told
        QCOMPARE(b.prompter.messages().size(), 1);
        clickRow(list, 0);
        clickRow(list, 2);
        clickRow(sel, 1);
        child<QPushButton>(&w, "KWnoteSel")->click();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].value<Mode>(), Mode::KWnoteSel);
        QCOMPARE(spy[0][1].toStringList(), (QStringList{"Art", "Zen"}));
        QCOMPARE(spy[0][2].toString(), QString("Zen"));
        // A double click on an origin name picks it and runs KWnoteSel on it.
        doubleClickRow(list, 1);
        QCOMPARE(spy.size(), 2);
        QVERIFY(w.picked().contains("Ethics"));
        QCOMPARE(spy[1][2].toString(), QString("Ethics"));
    }
    {
        SelectionDialog w(b.ctx, Mode::KWBibSel);
        w.show();
        QSignalSpy spy(&w, &SelectionDialog::selected);
        doubleClickRow(child<TextTableView>(&w, "cgList"), 1);
        QCOMPARE(spy.size(), 0); // KWnoteSel is not this window's button
    }
    {
        SelectionDialog w(b.ctx, Mode::AuthorSel, nullptr);
        w.setWindowTitle("Reference Author");
        w.show();
        QSignalSpy spy(&w, &SelectionDialog::selected);
        clickRow(child<TextTableView>(&w, "cgList"), 1);
        child<QPushButton>(&w, "AuthorSel")->click();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][2].toString(), QString("Weil"));
        QCOMPARE(w.windowTitle(), QString("Authors"));
    }
    QCOMPARE(b.ctx.rs().GRNOTE->recordCount(), 0);
}

void MultSelTest::enterMakesKWnoteSelTheDefault() {
    Base b;
    b.keywords({"Art"});
    SelectionDialog w(b.ctx, Mode::KWnoteSel);
    w.show();
    auto* text = child<QLineEdit>(&w, "Text1");
    auto* kwNoteSel = child<QPushButton>(&w, "KWnoteSel");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    QVERIFY(!kwNoteSel->isDefault()); // empty text: nothing
    typeInto(text, "a");
    QTest::keyClick(text, Qt::Key_Return);
    QVERIFY(kwNoteSel->isDefault());
}

void MultSelTest::aReadOnlyBaseChangesNothing() {
    Base b;
    b.keywords({"Apple", "Banana"});
    b.reopenReadOnly();
    SelectionDialog w(b.ctx, Mode::KWNoteSelect);
    w.setCardNumber("N1");
    w.show();
    auto* list = child<TextTableView>(&w, "cgList");

    typeInto(child<QLineEdit>(&w, "Text1"), "cherry");
    b.prompter.answer(Answer::Yes);
    child<QPushButton>(&w, "cListAdd")->click();
    QCOMPARE(b.prompter.messages().last(), QString("Fichier en lecture seule !"));
    QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);

    list->setCurrentCell(0, 0);
    b.prompter.answer(Answer::Ok);
    child<QPushButton>(&w, "cListSupp")->click();
    QCOMPARE(b.prompter.messages().last(), QString("Fichier en lecture seule !"));
    QCOMPARE(b.prompter.shown().back().icon, Icon::Critical);
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"})); // the row stays

    clickRow(list, 1);
    b.prompter.clear();
    child<QPushButton>(&w, "KWNoteSelect")->click();
    QCOMPARE(b.prompter.messages(), QStringList{"Fichier en lecture seule !"});
    QVERIFY(!b.ctx.KWChanged);
    QCOMPARE(b.ctx.rs().CGROUP1->recordCount(), 2);
    QCOMPARE(b.ctx.rs().GRNOTE->recordCount(), 0);
}

class KWListTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnAnEmptyBaseWithNoKeyword();
    void addStoresTheTypedName();
    void aRefusedAddShowsTheKeywordsAsStoredAndSaysWhy();
    void suppAsksAndKeepsLinks();
    void aReadOnlyBaseChangesNothing();
};

void KWListTest::opensOnAnEmptyBaseWithNoKeyword() {
    Base b;
    KeywordListWindow w(b.ctx);
    QCOMPARE(w.objectName(), QString("fKWList"));
    QCOMPARE(w.windowTitle(), QString("KeyWords List"));
    QCOMPARE(child<QPushButton>(&w, "Command1")->text(), QString("Add"));
    QCOMPARE(child<QPushButton>(&w, "Command2")->text(), QString("Supp"));
    QCOMPARE(rowsOf(child<QListView>(&w, "List1")), QStringList{"No Keyword"});
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE"), QStringList{"No Keyword"});
}

void KWListTest::addStoresTheTypedName() {
    Base b;
    b.keywords({"Apple", "Cherry"});
    KeywordListWindow w(b.ctx);
    w.show();
    auto* list = child<QListView>(&w, "List1");
    auto* add = child<QPushButton>(&w, "Command1");

    b.prompter.type(std::nullopt); // Cancel
    add->click();
    b.prompter.type(QString()); // empty answer
    add->click();
    QCOMPARE(b.prompter.shown().size(), 2u);
    QCOMPARE(b.prompter.shown()[0].kind, QString("input"));
    QCOMPARE(b.prompter.shown()[0].text, QString("Fill in the Keyword you want to add"));
    QCOMPARE(b.prompter.shown()[0].title, QString("New Keyword"));
    QCOMPARE(b.ctx.rs().CGROUP1->recordCount(), 2);

    b.prompter.type(QString("Banana"));
    add->click();
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana", "Cherry"}));
    QCOMPARE(list->currentIndex().data().toString(), QString("Banana"));
    QVERIFY(b.prompter.messages().isEmpty());
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Cherry", "Banana"}));

    // A name of several lines is stored as one; nothing but breaks is an empty answer.
    b.prompter.type(QString("Red\r\n\tBlue\n"));
    add->click();
    b.prompter.type(QString("\n\t"));
    add->click();
    QCOMPARE(list->currentIndex().data().toString(), QString("Red Blue"));
    QVERIFY(b.prompter.messages().isEmpty());
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE").mid(3), QStringList{"Red Blue"});

    // A keyword added elsewhere (the keyword panel, the selection dialog) shows at once; the
    // current name stays.
    QVERIFY(storeKeyword(b.ctx, "Avocado").ok());
    QTRY_COMPARE(rowsOf(list).value(1), QString("Avocado"));
    QCOMPARE(list->currentIndex().data().toString(), QString("Red Blue"));
}

void KWListTest::aRefusedAddShowsTheKeywordsAsStoredAndSaysWhy() {
    Base b;
    b.keywords({"Apple", "Philosophy"});
    KeywordListWindow w(b.ctx);
    w.show();
    auto* list = child<QListView>(&w, "List1");
    auto* add = child<QPushButton>(&w, "Command1");

    b.prompter.type(QString("philosophy"));
    add->click();
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Philosophy"}));
    QCOMPARE(list->currentIndex().data().toString(), QString("Philosophy"));
    QCOMPARE(
        b.prompter.messages(),
        QStringList{
            " Philosophy exists already: names that differ only in letter case are one Keyword "});

    b.prompter.type(QString("Philosophy")); // the same case: no search is made first
    add->click();
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Philosophy"}));
    QCOMPARE(b.prompter.messages().size(), 2);

    b.prompter.type(QString(31, 'L'));
    add->click();
    QCOMPARE(b.prompter.messages().last(),
             QString(" A Keyword has at most 30 characters: nothing was added "));
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Philosophy"}));
    QCOMPARE(b.ctx.rs().CGROUP1->recordCount(), 2);
}

void KWListTest::suppAsksAndKeepsLinks() {
    Base b;
    b.keywords({"Apple", "Banana", "Cherry"});
    b.noteLink("Banana", "N1");
    KeywordListWindow w(b.ctx);
    w.show();
    auto* list = child<QListView>(&w, "List1");
    auto* supp = child<QPushButton>(&w, "Command2");

    supp->click(); // nothing selected: nothing asked, nothing done
    QVERIFY(b.prompter.shown().empty());

    list->setCurrentIndex(list->model()->index(1, 0));
    b.prompter.answer(Answer::Cancel);
    supp->click();
    QCOMPARE(b.prompter.messages(), QStringList{"discard this Keyword ?"});
    QCOMPARE(b.prompter.shown()[0].icon, Icon::Question);
    QCOMPARE(b.prompter.shown()[0].buttons, Buttons::OkCancel);
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana", "Cherry"}));

    b.prompter.answer(Answer::Ok);
    supp->click();
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Cherry"}));
    QCOMPARE(b.column(*b.ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Cherry"}));
    QCOMPARE(b.column(*b.ctx.rs().GRNOTE, "GROUPE"), QStringList{"Banana"});
}

void KWListTest::aReadOnlyBaseChangesNothing() {
    Base b;
    b.keywords({"Apple", "Banana"});
    b.reopenReadOnly();
    KeywordListWindow w(b.ctx);
    w.show();
    auto* list = child<QListView>(&w, "List1");

    b.prompter.type(QString("Cherry"));
    child<QPushButton>(&w, "Command1")->click();
    QCOMPARE(b.prompter.messages(), QStringList{"Fichier en lecture seule !"});
    QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"}));

    list->setCurrentIndex(list->model()->index(0, 0));
    b.prompter.answer(Answer::Ok);
    child<QPushButton>(&w, "Command2")->click();
    QCOMPARE(b.prompter.messages().last(), QString("Fichier en lecture seule !"));
    QCOMPARE(b.prompter.shown().back().icon, Icon::Exclamation);
    QCOMPARE(rowsOf(list), (QStringList{"Apple", "Banana"})); // the keyword is still there

    b.ctx.base.closeBase();
    auto db = test::openBase(b.path());
    QCOMPARE(db->openRecordset("CGROUP1")->recordCount(), 2L);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        MultSelTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        KWListTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "selwindows_test.moc"
