// The keyword list panel, the central-Set browser and the level browsers, driven as a user
// would: controls found by name, clicked, typed into and dragged onto; the boxes shown and the
// rows in the base checked afterwards.

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/keywords/linkcolumns.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "gui/keywords/centralbrowser.h"
#include "gui/keywords/keywordgrid.h"
#include "gui/keywords/keywordlistpanel.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/keywords/levelbrowser.h"
#include "gui/shell/mainwindow.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <algorithm>

using namespace vlm;
using namespace vlm::keywords;

namespace {

// A base of its own, with keywords and links stored through the keyword store.
struct PanelBase : test::SessionBase {
    void keywords(const QStringList& names) {
        ctx.base.BaseDb->beginTrans();
        for (const QString& n : names)
            if (!storeKeyword(ctx, n).ok()) qFatal("keyword %s refused", qPrintable(n));
        ctx.base.BaseDb->commitTrans();
    }
    void link(const QString& lower, const QString& upper) {
        if (!linkKeywords(ctx, lower, upper).ok()) qFatal("link refused");
    }
    long linkCount() { return ctx.rs().GROUP2->recordCount(); }
    bool linked(const QString& lower, const QString& upper) {
        return keywordSubsets(ctx, upper).contains(lower);
    }
};

// The side bar in small: KWSel, KWSel2, the buttons and the four panels side by side, with a
// main window that records what it was asked to do.
struct Side {
    PanelBase& s;
    QWidget window;
    SideControls controls;
    bool keywordMode = true;
    bool searchMode = false;
    QStringList listed, opened;
    int closed = 0;
    std::unique_ptr<KeywordPanels> panels;

    explicit Side(PanelBase& session) : s(session) {
        controls.KWSel = new QLabel(&window);
        controls.KWSel->setObjectName("KWSel");
        controls.KWSel2 = new QLabel(&window);
        controls.KWSel2->setObjectName("KWSel2");
        controls.links = makeLinkButtons(&window);
        auto* searchUp = new QToolButton(&window);
        searchUp->setObjectName("cmdSearchUp");
        controls.cmdSearchUp = searchUp;

        KeywordHost host;
        host.keywordMode = [this] { return keywordMode; };
        host.searchMode = [this] { return searchMode; };
        host.listCards = [this](const QString& k) { listed << k; };
        host.openCards = [this](const QString& k) { opened << k; };
        host.closeCardList = [this] { ++closed; };
        panels = std::make_unique<KeywordPanels>(s.ctx, host, controls);

        auto* labels = new QVBoxLayout;
        labels->addWidget(controls.KWSel);
        labels->addWidget(controls.KWSel2);
        for (QAbstractButton* b : buttons())
            labels->addWidget(b);
        labels->addWidget(searchUp);
        auto* row = new QHBoxLayout(&window);
        row->addLayout(labels);
        row->addWidget(panels->list(), 1);
        row->addWidget(panels->central(), 1);
        row->addWidget(panels->down(), 1);
        row->addWidget(panels->up(), 1);
        window.resize(1400, 560);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("window not shown");
        panels->load();
    }
    QList<QAbstractButton*> buttons() const {
        const LinkButtons& b = controls.links;
        return {b.cmdAddFromListUp, b.cmdFindIfLinks,    b.cmdAddFromListDown,  b.cmdSelFromUp,
                b.cmdSelFromDown,   b.cmdSuppFromListUp, b.cmdSuppFromListDown, b.cmdReverseSearch};
    }

    KeywordListPanel* panel() const { return panels->list(); }
    KeywordGrid* list() const { return panel()->list(); }
    QLineEdit* text1() const { return panel()->text(); }
    CentralSetBrowser* central() const { return panels->central(); }
    LevelBrowser* down() const { return panels->down(); }
    LevelBrowser* up() const { return panels->up(); }
    QString kwSel() const { return controls.KWSel->text(); }
    void press(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
};

using test::child;

using test::rowsOf;

void clickRow(QAbstractItemView* g, int row) {
    test::clickCell(g, row);
}

void clickName(QAbstractItemView* g, const QString& name) {
    const int row = int(rowsOf(g).indexOf(name));
    if (row < 0) qFatal("no row %s", qPrintable(name));
    clickRow(g, row);
}

void doubleClickName(QAbstractItemView* g, const QString& name) {
    const int row = int(rowsOf(g).indexOf(name));
    if (row < 0) qFatal("no row %s", qPrintable(name));
    test::doubleClickCell(g, row);
}

bool selected(const TextTableView* g, int row) {
    return g->currentRow() == row && test::cellSelected(g, row);
}

QStringList sortedAsStore(QStringList names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return compareNames(a, b) < 0; });
    return names;
}

// Drags `data` over a grid and drops it there, as the window system delivers a drop.
bool dropOn(QAbstractItemView* g, const QMimeData* data) {
    const QPoint at = g->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::LinkAction | Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(at, Qt::LinkAction | Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &move);
    QDropEvent drop(at, Qt::LinkAction | Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(g->viewport(), &drop);
    return drop.isAccepted();
}

QStringList fillers(const QString& prefix, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << prefix + QString::number(i).rightJustified(2, '0');
    return out;
}

} // namespace

// ------------------------------------------------------------------------------------------
// The keyword list panel.

class KWPanelTest : public QObject {
    Q_OBJECT
private slots:
    void typingCapitalisesAndFindsTheExactBeginning();
    void addEmptyOrExistingTouchesNothing();
    void addNewSelectsItInOrder();
    void addOfANameEqualButForCase();
    void discardAsksAndCancelKeepsTheKeyword();
    void discardOfTheLastKeywordIsRefused();
    void clicksSetKWSelAndRewriteTheTips();
    void clicksListCardsOnlyOutsideKeywordMode();
};

void KWPanelTest::typingCapitalisesAndFindsTheExactBeginning() {
    PanelBase s;
    QStringList names =
        fillers("Ax", 20) + QStringList{"Peach", "philo", "Phone", "Physics"} + fillers("Zx", 80);
    s.keywords(names);
    Side side(s);
    const QStringList rows = rowsOf(side.list());
    QCOMPARE(rows, sortedAsStore(names));
    auto* add = child<QPushButton>(&side.window, "KWAdd");

    side.text1()->setFocus();
    QTest::keyClicks(side.text1(), "p");
    QCOMPARE(side.text1()->text(), QString("P")); // a first lower-case letter becomes a capital
    QCOMPARE(side.text1()->cursorPosition(), 1);
    QVERIFY(selected(side.list(), int(rows.indexOf("Peach"))));
    QCOMPARE(add->toolTip(), QString("  Add  ' P '  to Keywords list  "));

    QTest::keyClicks(side.text1(), "h");
    QCOMPARE(side.text1()->text(), QString("Ph")); // a lower-case second letter stays
    const int phone = int(rows.indexOf("Phone"));
    QVERIFY(rows.indexOf("philo") < phone); // listed first, but starts with a lower-case p
    QVERIFY(selected(side.list(), phone));
    QCOMPARE(side.list()->topRow(), phone); // the found row is the first one shown
    QCOMPARE(add->toolTip(), QString("  Add  ' Ph '  to Keywords list  "));

    // No name starts so: the list rests on its last row, nothing selected.
    QTest::keyClicks(side.text1(), "q");
    QCOMPARE(side.list()->currentRow(), int(rows.size()) - 1);
    QVERIFY(!side.list()->selectionModel()->hasSelection());

    // Text pasted with a lower-case first letter keeps the rest of the text.
    side.text1()->setText("physics and more");
    QCOMPARE(side.text1()->text(), QString("Physics and more"));
    QVERIFY(s.prompter.shown().empty());
    QVERIFY(side.kwSel().isEmpty()); // finding is not clicking
}

void KWPanelTest::addEmptyOrExistingTouchesNothing() {
    PanelBase s;
    s.keywords(fillers("K", 80));
    Side side(s);
    auto* add = child<QPushButton>(&side.window, "KWAdd");

    side.press(add);
    QCOMPARE(s.prompter.messages(),
             QStringList{" Fill in the text zone above the List zone to add a Keyword"});
    QCOMPARE(s.prompter.shown().back().icon, Icon::Information);
    QCOMPARE(allKeywordNames(s.ctx).size(), 80);

    s.prompter.clear();
    side.text1()->setText("K20");
    side.list()->scrollToTop();
    side.press(add);
    QCOMPARE(s.prompter.messages(), QStringList{" This Keywords exists "});
    QCOMPARE(s.prompter.shown().back().icon, Icon::Exclamation);
    QVERIFY(selected(side.list(), 20));
    QCOMPARE(side.list()->topRow(), 17); // the fourth row shown
    QCOMPARE(allKeywordNames(s.ctx).size(), 80);

    // Near the end of the list the found row shows among the last seven.
    s.prompter.clear();
    side.text1()->setText("K78");
    side.list()->scrollToTop();
    side.press(add);
    QCOMPARE(s.prompter.messages(), QStringList{" This Keywords exists "});
    // i - 7 = 71, as far as the list scrolls.
    const QScrollBar* bar = side.list()->verticalScrollBar();
    QVERIFY(bar->maximum() < 71);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(side.list()->rowAt(side.list()->viewport()->height() - 1) >= 78);
}

void KWPanelTest::addNewSelectsItInOrder() {
    PanelBase s;
    s.keywords(fillers("B", 30) + fillers("M", 60));
    Side side(s);
    auto* add = child<QPushButton>(&side.window, "KWAdd");

    side.text1()->setText("Banana");
    s.prompter.answer(Answer::No);
    side.press(add);
    QCOMPARE(s.prompter.messages(), QStringList{" Do you want to add Banana as a new Keyword? "});
    QCOMPARE(s.prompter.shown().back().buttons, Buttons::YesNo);
    QCOMPARE(s.prompter.shown().back().icon, Icon::None);
    QVERIFY(!allKeywordNames(s.ctx).contains("Banana"));

    s.prompter.clear();
    s.prompter.answer(Answer::Yes);
    side.list()->scrollToBottom();
    side.press(add);
    QCOMPARE(s.prompter.messages().size(), 1); // the question only
    const QStringList rows = rowsOf(side.list());
    QCOMPARE(rows, allKeywordNames(s.ctx));
    QCOMPARE(rows, sortedAsStore(rows));
    const int at = int(rows.indexOf("Banana"));
    QCOMPARE(at, 30);
    QVERIFY(selected(side.list(), at));
    QCOMPARE(side.list()->topRow(), *topRowForFound(at, int(rows.size())));

    // Enter in the text box adds too.
    s.prompter.clear();
    s.prompter.answer(Answer::Yes);
    side.text1()->setText("Apricot");
    side.text1()->setFocus();
    QTest::keyClick(side.text1(), Qt::Key_Return);
    QVERIFY(selected(side.list(), 0));
    QCOMPARE(side.list()->currentName(), QString("Apricot"));

    // A pasted name of several lines is stored as one line, and capitalised once it is.
    s.prompter.clear();
    s.prompter.answer(Answer::Yes);
    side.text1()->clear();
    QApplication::clipboard()->setText("\nred\r\n\tBlue\n");
    side.text1()->paste();
    side.press(add);
    QCOMPARE(s.prompter.messages(), QStringList{" Do you want to add Red Blue as a new Keyword? "});
    QCOMPARE(side.list()->currentName(), QString("Red Blue"));
    QVERIFY(allKeywordNames(s.ctx).contains("Red Blue"));
}

void KWPanelTest::addOfANameEqualButForCase() {
    PanelBase s;
    s.keywords({"Alpha", "Phone"});
    Side side(s);
    side.text1()->setText("PHONE");
    s.prompter.answer(Answer::Yes);
    side.press(child<QPushButton>(&side.window, "KWAdd"));
    // Asked, then refused by the store: the user is told which keyword stands for it.
    QCOMPARE(s.prompter.messages(), (QStringList{" Do you want to add PHONE as a new Keyword? ",
                                                 keywordTexts().duplicateOf.arg("Phone")}));
    QCOMPARE(allKeywordNames(s.ctx), (QStringList{"Alpha", "Phone"}));
    QVERIFY(selected(side.list(), 1));
}

void KWPanelTest::discardAsksAndCancelKeepsTheKeyword() {
    PanelBase s;
    s.keywords({"Alpha", "Beta", "Gamma"});
    s.link("Beta", "Alpha");
    Side side(s);
    auto* supp = child<QPushButton>(&side.window, "KWSupp");
    clickName(side.list(), "Beta");

    s.prompter.answer(Answer::Cancel);
    side.press(supp);
    QCOMPARE(s.prompter.messages(), QStringList{"discard this Keyword ?"});
    QCOMPARE(s.prompter.shown().back().buttons, Buttons::OkCancel);
    QCOMPARE(s.prompter.shown().back().icon, Icon::Question);
    QCOMPARE(rowsOf(side.list()), (QStringList{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(allKeywordNames(s.ctx), (QStringList{"Alpha", "Beta", "Gamma"}));

    s.prompter.clear();
    s.prompter.answer(Answer::Ok);
    side.press(supp);
    QCOMPARE(s.prompter.messages(), QStringList{"discard this Keyword ?"});
    QCOMPARE(rowsOf(side.list()), (QStringList{"Alpha", "Gamma"}));
    QCOMPARE(allKeywordNames(s.ctx), (QStringList{"Alpha", "Gamma"}));
    QVERIFY(s.linked("Beta", "Alpha")); // its links stay
}

void KWPanelTest::discardOfTheLastKeywordIsRefused() {
    PanelBase s;
    QVERIFY(seedNoKeyword(s.ctx).ok());
    Side side(s);
    QCOMPARE(rowsOf(side.list()), QStringList{"No Keyword"});
    s.prompter.answer(Answer::Ok);
    side.press(child<QPushButton>(&side.window, "KWSupp"));
    QCOMPARE(s.prompter.messages(),
             (QStringList{"discard this Keyword ?", "The list cannot be empty sorry"}));
    QCOMPARE(s.prompter.shown().back().icon, Icon::Critical);
    QCOMPARE(allKeywordNames(s.ctx), QStringList{"No Keyword"});
    QCOMPARE(rowsOf(side.list()), QStringList{"No Keyword"});
}

void KWPanelTest::clicksSetKWSelAndRewriteTheTips() {
    PanelBase s;
    s.keywords({"Animal", "Dog"});
    Side side(s);
    const LinkButtons& b = side.controls.links;
    clickName(side.list(), "Animal");
    QCOMPARE(side.kwSel(), QString("Animal"));
    QVERIFY(selected(side.list(), 0));
    side.press(b.cmdFindIfLinks);
    QCOMPARE(side.central()->central(), QString("Animal"));
    QCOMPARE(child<QLabel>(&side.window, "Label4")->text(), QString("Animal"));
    QCOMPARE(child<QLabel>(&side.window, "Label5")->text(), QString("Animal"));
    QCOMPARE(b.cmdAddFromListUp->toolTip(), QString("  Add Animal to Animal Supersets  "));
    QCOMPARE(b.cmdAddFromListDown->toolTip(), QString("   Add Animal to Animal Subsets  "));

    clickName(side.list(), "Dog");
    QCOMPARE(side.kwSel(), QString("Dog"));
    QCOMPARE(b.cmdFindIfLinks->toolTip(), QString("  Show Dog Subsets and Supersets  "));
    QCOMPARE(b.cmdAddFromListUp->toolTip(), QString("  Add Dog to Animal Supersets  "));
    QCOMPARE(b.cmdAddFromListDown->toolTip(), QString("   Add Dog to Animal Subsets  "));
    QVERIFY(side.listed.isEmpty()); // keyword mode
}

void KWPanelTest::clicksListCardsOnlyOutsideKeywordMode() {
    PanelBase s;
    s.keywords({"Animal", "Dog"});
    Side side(s);
    // Keyword mode: a double click makes the keyword the central Set.
    doubleClickName(side.list(), "Dog");
    QCOMPARE(side.central()->central(), QString("Dog"));
    QVERIFY(side.listed.isEmpty() && side.opened.isEmpty());

    // "Other": a click lists the cards; a double click does no more.
    side.keywordMode = false;
    doubleClickName(side.list(), "Animal");
    QCOMPARE(side.listed, QStringList{"Animal"});
    QVERIFY(side.opened.isEmpty());
    QCOMPARE(side.central()->central(), QString("Dog"));

    // "Search": the double click opens the cards.
    side.searchMode = true;
    doubleClickName(side.list(), "Dog");
    QCOMPARE(side.listed, (QStringList{"Animal", "Dog"}));
    QCOMPARE(side.opened, QStringList{"Dog"});
}

// ------------------------------------------------------------------------------------------
// The central-Set browser.

class CentralBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void addedSubsetsAndSupersetsAppearInOrder();
    void doubleClickMovesTheCentre();
    void discardingTheOnlySubsetLeavesOneEmptyRow();
    void aLinkGoneMeanwhileIsReported();
    void draggingKWSelOntoAGridLinksIt();
    void fiveHundredSubsetsAllShow();
};

void CentralBrowserTest::addedSubsetsAndSupersetsAppearInOrder() {
    PanelBase s;
    s.keywords({"Animal", "Cat", "Dog", "Living", "Pet"});
    Side side(s);
    const LinkButtons& b = side.controls.links;
    side.central()->makeCentral("Animal");

    clickName(side.list(), "Dog");
    side.press(b.cmdAddFromListDown);
    clickName(side.list(), "Cat");
    side.press(b.cmdAddFromListDown);
    QCOMPARE(rowsOf(side.central()->gridDown()), (QStringList{"Cat", "Dog"}));
    QVERIFY(s.linked("Cat", "Animal") && s.linked("Dog", "Animal"));

    clickName(side.list(), "Pet");
    side.press(b.cmdAddFromListUp);
    clickName(side.list(), "Living");
    side.press(b.cmdAddFromListUp);
    QCOMPARE(rowsOf(side.central()->gridUp()), (QStringList{"Living", "Pet"}));
    QVERIFY(s.linked("Animal", "Living"));
    QVERIFY(s.prompter.shown().empty()); // no confirmation for links

    // The same link again: one row, and the user is told.
    const long links = s.linkCount();
    side.press(b.cmdAddFromListUp);
    QCOMPARE(s.prompter.messages(), QStringList{linkExistsMessage()});
    QCOMPARE(s.linkCount(), links);
    QCOMPARE(rowsOf(side.central()->gridUp()), (QStringList{"Living", "Pet"}));

    // The tips of a clicked row.
    clickName(side.central()->gridUp(), "Pet");
    QCOMPARE(b.cmdSelFromUp->toolTip(), QString("  Selects  ' Pet '  as central Set  "));
    QCOMPARE(b.cmdSuppFromListUp->toolTip(),
             QString(" Discards  ' Pet ' from  ' Animal ' Supersets  "));
    clickName(side.central()->gridDown(), "Dog");
    QCOMPARE(b.cmdSelFromDown->toolTip(), QString("  Selects  ' Dog '  as central Set  "));
    QCOMPARE(b.cmdSuppFromListDown->toolTip(),
             QString(" Discards  ' Dog ' from  ' Animal ' Subsets  "));

    // The selected Subset becomes the central Set; Animal is among its Supersets.
    side.press(b.cmdSelFromDown);
    QCOMPARE(side.central()->central(), QString("Dog"));
    QCOMPARE(rowsOf(side.central()->gridUp()), QStringList{"Animal"});
}

void CentralBrowserTest::doubleClickMovesTheCentre() {
    PanelBase s;
    s.keywords({"Animal", "Dog", "Pet"});
    s.link("Dog", "Pet");
    s.link("Dog", "Animal");
    Side side(s);
    side.central()->makeCentral("Animal");
    doubleClickName(side.central()->gridDown(), "Dog");
    QCOMPARE(side.central()->central(), QString("Dog"));
    QCOMPARE(child<QLabel>(&side.window, "SelUpDown")->text(), QString("Dog"));
    QCOMPARE(child<QLabel>(&side.window, "Label4")->text(), QString("Dog"));
    QCOMPARE(rowsOf(side.central()->gridUp()), (QStringList{"Animal", "Pet"}));
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{""});
    doubleClickName(side.central()->gridUp(), "Pet");
    QCOMPARE(side.central()->central(), QString("Pet"));
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Dog"});
    // An empty row leads nowhere.
    doubleClickName(side.central()->gridUp(), "");
    QCOMPARE(side.central()->central(), QString("Pet"));
}

void CentralBrowserTest::discardingTheOnlySubsetLeavesOneEmptyRow() {
    PanelBase s;
    s.keywords({"Animal", "Dog", "Living"});
    s.link("Dog", "Animal");
    s.link("Animal", "Living");
    Side side(s);
    const LinkButtons& b = side.controls.links;
    side.central()->makeCentral("Animal");

    // Nothing selected yet: the discard buttons have no row to act on.
    side.press(b.cmdSuppFromListDown);
    side.press(b.cmdSuppFromListUp);
    QCOMPARE(s.linkCount(), 2L);

    clickName(side.central()->gridDown(), "Dog");
    side.press(b.cmdSuppFromListDown);
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{""});
    QVERIFY(!s.linked("Dog", "Animal"));
    clickName(side.central()->gridUp(), "Living");
    side.press(b.cmdSuppFromListUp);
    QCOMPARE(rowsOf(side.central()->gridUp()), QStringList{""});
    QCOMPARE(s.linkCount(), 0L);
    QVERIFY(s.prompter.shown().empty());
    QCOMPARE(allKeywordNames(s.ctx).size(), 3); // the keywords stay
}

void CentralBrowserTest::aLinkGoneMeanwhileIsReported() {
    PanelBase s;
    s.keywords({"Animal", "Dog"});
    s.link("Dog", "Animal");
    Side side(s);
    side.central()->makeCentral("Animal");
    clickName(side.central()->gridDown(), "Dog");
    QVERIFY(unlinkKeywords(s.ctx, "Dog", "Animal").ok()); // another window took it
    side.press(side.controls.links.cmdSuppFromListDown);
    QCOMPARE(s.prompter.messages(), QStringList{linkNotFoundMessage()});
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{""}); // the grid follows the base
}

void CentralBrowserTest::draggingKWSelOntoAGridLinksIt() {
    PanelBase s;
    s.keywords({"Animal", "Cat", "Living"});
    Side side(s);
    side.central()->makeCentral("Animal");
    QSignalSpy started(side.panels.get(), &KeywordPanels::dragStarted);

    // An empty KWSel drags nothing.
    QTest::mousePress(side.controls.KWSel, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(side.controls.KWSel, QPoint(40, 12));
    QTest::mouseRelease(side.controls.KWSel, Qt::LeftButton, {}, QPoint(40, 12));
    QCOMPARE(started.size(), 0);

    clickName(side.list(), "Cat");
    QCOMPARE(side.kwSel(), QString("Cat"));
    // A press and a move on KWSel start the drag of its keyword.
    QTest::mousePress(side.controls.KWSel, Qt::LeftButton, {}, QPoint(2, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 12),
                     side.controls.KWSel->mapToGlobal(QPointF(40, 12)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(side.controls.KWSel, &move);
    QCOMPARE(started.size(), 1);
    QCOMPARE(started.at(0).at(0).toString(), QString("Cat"));

    // Dropped on "Sets included in": Cat becomes a Subset of the central Set.
    std::unique_ptr<QMimeData> cat(keywordDragData(side.kwSel()));
    QVERIFY(dropOn(side.central()->gridDown(), cat.get()));
    QVERIFY(s.linked("Cat", "Animal"));
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Cat"});
    QCOMPARE(side.central()->central(), QString("Animal"));

    // On "Sets including": a Superset.
    std::unique_ptr<QMimeData> living(keywordDragData("Living"));
    QVERIFY(dropOn(side.central()->gridUp(), living.get()));
    QVERIFY(s.linked("Animal", "Living"));
    QCOMPARE(rowsOf(side.central()->gridUp()), QStringList{"Living"});

    // The same drop again is refused as a duplicate; plain text is no keyword.
    QVERIFY(dropOn(side.central()->gridUp(), living.get()));
    QCOMPARE(s.prompter.messages(), QStringList{linkExistsMessage()});
    QMimeData text;
    text.setText("Cat");
    QVERIFY(!dropOn(side.central()->gridUp(), &text));
    QCOMPARE(s.linkCount(), 2L);
}

void CentralBrowserTest::fiveHundredSubsetsAllShow() {
    PanelBase s;
    QStringList subsets;
    for (int i = 0; i < 500; ++i)
        subsets << QStringLiteral("S%1").arg(i, 3, 10, QChar('0'));
    s.ctx.base.BaseDb->beginTrans();
    for (const QString& n : subsets)
        s.link(n, "Hub");
    s.ctx.base.BaseDb->commitTrans();
    Side side(s);
    side.central()->makeCentral("Hub");
    QCOMPARE(rowsOf(side.central()->gridDown()), subsets);
    side.keywordMode = false;
    clickRow(side.down()->grid(0), 0); // the Root Hub
    QCOMPARE(side.down()->names(1), subsets);
    QCOMPARE(rowsOf(side.down()->grid(1)), subsets);
}

// ------------------------------------------------------------------------------------------
// The level browsers.

class LevelBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void levelZeroShowsTheRoots();
    void clicksOpenTheNextLevel();
    void slotsFollowThePlainSlotRuleOnRandomClicks();
    void manyLevelsKeepGoing();
    void theUpPageStartsFromTheDownLevelClickedLast();
    void withoutLinksClicksDoNothing();
    void cardsAndTheRightButton();
    void thePanelsFollowChangesMadeElsewhere();
};

namespace {

// Animal > Mammal > Dog, Cat; Animal > Bird; Pet > Dog, Cat; Lonely has no link; Stone is a
// Subset only.
void zoo(PanelBase& s) {
    s.keywords({"Animal", "Bird", "Cat", "Dog", "Lonely", "Mammal", "Pet", "Stone"});
    s.link("Mammal", "Animal");
    s.link("Bird", "Animal");
    s.link("Dog", "Mammal");
    s.link("Cat", "Mammal");
    s.link("Dog", "Pet");
    s.link("Cat", "Pet");
    s.link("Stone", "Mammal");
}

} // namespace

void LevelBrowserTest::levelZeroShowsTheRoots() {
    PanelBase s;
    zoo(s);
    Side side(s);
    LevelBrowser* down = side.down();
    QCOMPARE(down->levelCount(), 1);
    QCOMPARE(rowsOf(down->grid(0)), (QStringList{"Animal", "Pet"}));
    QCOMPARE(down->grid(0)->objectName(), QString("DownGrid"));
    QCOMPARE(down->selection(0)->objectName(), QString("DownGridSel"));
    QCOMPARE(down->scrollBar()->objectName(), QString("DownVScroll"));
    QCOMPARE(side.up()->scrollBar()->objectName(), QString("UpVScroll"));
    QCOMPARE(down->grid(0)->columnWidth(0), twipsToPixels(3000));
    QCOMPARE(down->grid(0)->y(), twipsToPixels(120));
}

void LevelBrowserTest::clicksOpenTheNextLevel() {
    PanelBase s;
    zoo(s);
    Side side(s);
    LevelBrowser* down = side.down();
    clickName(down->grid(0), "Animal");
    QCOMPARE(down->levelCount(), 2);
    QCOMPARE(rowsOf(down->grid(1)), (QStringList{"Bird", "Mammal"}));
    QCOMPARE(down->selection(0)->text(), QString("Animal"));
    QCOMPARE(side.kwSel(), QString("Animal"));
    QCOMPARE(side.controls.KWSel2->text(), QString("Animal"));
    QVERIFY(selected(down->grid(0), 0));
    QCOMPARE(down->grid(1)->y(), twipsToPixels(2000 + 120));

    clickName(down->grid(1), "Mammal");
    QCOMPARE(rowsOf(down->grid(2)), (QStringList{"Cat", "Dog", "Stone"}));
    clickName(down->grid(2), "Dog");
    QCOMPARE(down->levelCount(), 4);
    QCOMPARE(rowsOf(down->grid(3)), QStringList{""}); // Dog has no Subsets
    QCOMPARE(down->clickedLevel(), 2);
    // Level 3 took the last slot: every level moved up one, level 0 left the view.
    QCOMPARE(down->slotOf(3), 2);
    QVERIFY(!down->grid(0)->isVisible());
    QCOMPARE(down->scrollBar()->maximum(), 1);
    QCOMPARE(down->scrollBar()->value(), 1);
    down->scrollBar()->setValue(0);
    QVERIFY(down->grid(0)->isVisible() && !down->grid(3)->isVisible());
    QCOMPARE(down->grid(0)->y(), twipsToPixels(120));

    // Level 0 clicked again: everything below goes and level 1 is built again.
    clickName(down->grid(0), "Pet");
    QCOMPARE(down->levelCount(), 2);
    QCOMPARE(rowsOf(down->grid(1)), (QStringList{"Cat", "Dog"}));
    QCOMPARE(down->clickedLevel(), 0);
    QCOMPARE(down->scrollBar()->value(), 0);
    QVERIFY(side.down()->findChildren<KeywordGrid*>("DownGrid").size() == 2);
    QVERIFY(side.listed.isEmpty()); // keyword mode

    // An empty row selects nothing further.
    clickName(down->grid(1), "Cat");
    clickRow(down->grid(2), 0);
    QCOMPARE(down->levelCount(), 3);
    QCOMPARE(side.kwSel(), QString(""));
}

// The slot rule as the page applies it click by click: the clicked level k keeps its slot,
// the levels below it go, and the new level k + 1 comes in the slot under k; when k is in
// the last slot, the new level takes that slot and every level above moves up one.
void LevelBrowserTest::slotsFollowThePlainSlotRuleOnRandomClicks() {
    PanelBase s;
    // A dense graph: every keyword Nxx has the next three as Subsets, the last ones loop back.
    const int n = 12;
    QStringList names = fillers("N", n);
    s.ctx.base.BaseDb->beginTrans();
    for (int i = 0; i < n; ++i)
        for (int d = 1; d <= 3; ++d)
            if (i + d < n) s.link(names[(i + d) % n], names[i]);
    s.link(names[0], names[n - 1]); // a cycle: no Root but N00's block starts the walk
    s.link(names[0], "Top");
    s.ctx.base.BaseDb->commitTrans();
    Side side(s);
    LevelBrowser* down = side.down();
    QCOMPARE(rowsOf(down->grid(0)), QStringList{"Top"});

    QRandomGenerator rng(4711);
    std::vector<int> plain{0}; // the plain page: one slot per level
    for (int step = 0; step < 400; ++step) {
        // A level on screen, and a row of it with a name when it has one.
        std::vector<int> onScreen;
        for (int l = 0; l < int(plain.size()); ++l)
            if (plain[l] >= 0 && plain[l] <= 2) onScreen.push_back(l);
        const int k = onScreen[rng.bounded(int(onScreen.size()))];
        const QStringList rows = down->names(k);
        if (rows.isEmpty()) continue;
        const int row = rng.bounded(int(rows.size()));

        plain.resize(size_t(k) + 1);
        if (plain[k] == 2) {
            for (int& sl : plain)
                --sl;
            plain.push_back(2);
        } else {
            plain.push_back(plain[k] + 1);
        }
        down->clickLevel(k, row);

        QCOMPARE(down->levelCount(), int(plain.size()));
        for (int l = 0; l < int(plain.size()); ++l) {
            QCOMPARE(down->slotOf(l), plain[l]);
            QCOMPARE(down->grid(l)->isVisible(), plain[l] >= 0 && plain[l] <= 2);
        }
        QCOMPARE(rowsOf(down->grid(k + 1)), keywordSubsets(s.ctx, rows[row]).isEmpty()
                                                ? QStringList{""}
                                                : keywordSubsets(s.ctx, rows[row]));
    }
}

void LevelBrowserTest::manyLevelsKeepGoing() {
    PanelBase s;
    const int depth = 40;
    QStringList chain = fillers("C", depth);
    s.ctx.base.BaseDb->beginTrans();
    for (int i = 1; i < depth; ++i)
        s.link(chain[i], chain[i - 1]);
    s.ctx.base.BaseDb->commitTrans();
    Side side(s);
    LevelBrowser* down = side.down();
    for (int k = 0; k < depth; ++k)
        clickRow(down->grid(k), 0);
    QCOMPARE(down->levelCount(), depth + 1);
    QCOMPARE(down->selection(depth - 1)->text(), chain.back());
    QCOMPARE(side.kwSel(), chain.back());
    QCOMPARE(down->scrollBar()->maximum(), depth - 2);
    QCOMPARE(down->slotOf(depth), 2);
    down->scrollBar()->setValue(0);
    QVERIFY(down->grid(0)->isVisible() && down->grid(2)->isVisible());
    QVERIFY(!down->grid(3)->isVisible());

    // The up page climbs the whole chain back from the deepest clicked level.
    side.panels->buildUp();
    LevelBrowser* up = side.up();
    QCOMPARE(up->selection(0)->text(), chain.back());
    for (int k = 1; k < depth; ++k) {
        QCOMPARE(rowsOf(up->grid(k)), QStringList{chain[depth - 1 - k]});
        clickRow(up->grid(k), 0);
    }
    QCOMPARE(up->levelCount(), depth + 1);
    QCOMPARE(rowsOf(up->grid(depth)), QStringList{""});
}

void LevelBrowserTest::theUpPageStartsFromTheDownLevelClickedLast() {
    PanelBase s;
    zoo(s);
    Side side(s);
    LevelBrowser* down = side.down();
    LevelBrowser* up = side.up();
    clickName(down->grid(0), "Animal");
    clickName(down->grid(1), "Mammal");
    clickName(down->grid(2), "Dog");
    clickName(down->grid(2), "Cat"); // level 2 is the one clicked last, Cat its name

    QSignalSpy spy(side.controls.cmdSearchUp, &QAbstractButton::clicked);
    side.press(side.controls.cmdSearchUp);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(up->levelCount(), 2);
    QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Cat", "Dog", "Stone"}));
    QVERIFY(selected(up->grid(0), 0));
    QCOMPARE(up->selection(0)->text(), QString("Cat"));
    QCOMPARE(rowsOf(up->grid(1)), (QStringList{"Mammal", "Pet"})); // both Supersets
    QCOMPARE(up->grid(1)->y(), twipsToPixels(2120));
    QCOMPARE(up->clickedLevel(), 1);

    // Walking up.
    clickName(up->grid(0), "Stone");
    QCOMPARE(rowsOf(up->grid(1)), QStringList{"Mammal"});
    QCOMPARE(side.kwSel(), QString("Stone"));
    clickName(up->grid(1), "Mammal");
    QCOMPARE(rowsOf(up->grid(2)), QStringList{"Animal"});
    clickName(up->grid(2), "Animal");
    QCOMPARE(rowsOf(up->grid(3)), QStringList{""});

    // Not the deepest level: the one clicked last.
    clickName(down->grid(1), "Mammal");
    clickName(down->grid(2), "Dog");
    clickName(down->grid(1), "Bird");
    side.panels->buildUp();
    QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Bird", "Mammal"}));
    QVERIFY(selected(up->grid(0), 0));
    QCOMPARE(rowsOf(up->grid(1)), QStringList{"Animal"});
    QCOMPARE(up->levelCount(), 2);

    // A click in down level 0 makes the next up page start from the Roots.
    clickName(down->grid(0), "Pet");
    side.panels->buildUp();
    QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Animal", "Pet"}));
    QCOMPARE(up->selection(0)->text(), QString("Pet"));
    QCOMPARE(up->levelCount(), 2);
    QCOMPARE(rowsOf(up->grid(1)), QStringList{""}); // a Root has no Supersets
}

void LevelBrowserTest::withoutLinksClicksDoNothing() {
    PanelBase s;
    s.keywords({"Lonely"});
    Side side(s);
    QCOMPARE(rowsOf(side.down()->grid(0)), QStringList{""}); // no Root: a keyword alone is none
    side.keywordMode = false;
    clickRow(side.down()->grid(0), 0);
    QCOMPARE(side.down()->levelCount(), 1);
    QVERIFY(side.kwSel().isEmpty());
    side.panels->buildUp();
    QCOMPARE(side.up()->levelCount(), 1);
    QVERIFY(side.listed.isEmpty());
}

// Keywords and links written by other windows (the selection dialog, the link editors) show at
// once; the list keeps its current name, level 0 keeps the Root selected and the levels below.
void LevelBrowserTest::thePanelsFollowChangesMadeElsewhere() {
    PanelBase s;
    zoo(s);
    Side side(s);
    side.list()->selectRow(int(rowsOf(side.list()).indexOf("Pet")));
    side.down()->clickLevel(0, 0); // Animal
    side.central()->makeCentral("Mammal");

    s.prompter.answer(Answer::Yes);
    QCOMPARE(
        listAdd(s.prompter, keywordSource(s.ctx), itemTexts(), allKeywordNames(s.ctx), "Aardvark")
            .outcome,
        AddOutcome::Added);
    s.link("Stone", "Lonely");
    s.link("Horse", "Mammal");
    QTRY_COMPARE(rowsOf(side.list()).value(0), QString("Aardvark"));
    QVERIFY(selected(side.list(), int(rowsOf(side.list()).indexOf("Pet"))));
    QTRY_COMPARE(rowsOf(side.down()->grid(0)), (QStringList{"Animal", "Lonely", "Pet"}));
    QVERIFY(selected(side.down()->grid(0), 0));
    QCOMPARE(side.down()->levelCount(), 2);
    QTRY_COMPARE(rowsOf(side.central()->findChild<QAbstractItemView*>("GridDown")),
                 (QStringList{"Cat", "Dog", "Horse", "Stone"}));

    // The Root selected is one no more: level 0 shows alone.
    s.link("Animal", "Zoo");
    QTRY_COMPARE(rowsOf(side.down()->grid(0)), (QStringList{"Lonely", "Pet", "Zoo"}));
    QCOMPARE(side.down()->levelCount(), 1);
}

void LevelBrowserTest::cardsAndTheRightButton() {
    PanelBase s;
    zoo(s);
    Side side(s);
    LevelBrowser* down = side.down();
    side.keywordMode = false;
    clickName(down->grid(0), "Animal");
    clickName(down->grid(1), "Mammal");
    QCOMPARE(side.listed, (QStringList{"Animal", "Mammal"}));
    doubleClickName(down->grid(2), "Cat");
    QCOMPARE(side.opened, QStringList{"Cat"});
    QCOMPARE(side.listed.back(), QString("Cat"));

    // In keyword mode neither a click nor a double click touches the cards.
    side.keywordMode = true;
    side.listed.clear();
    side.opened.clear();
    doubleClickName(down->grid(1), "Bird");
    QVERIFY(side.listed.isEmpty() && side.opened.isEmpty());

    // The right button closes the card list and puts back the name of the level clicked
    // last, whatever the level pressed.
    side.panels->setKWSel("Something else");
    QTest::mouseClick(down->grid(0)->viewport(), Qt::RightButton, {},
                      test::cellCentre(down->grid(0), 1));
    QCOMPARE(side.closed, 1);
    QCOMPARE(side.kwSel(), QString("Bird"));
    QCOMPARE(down->levelCount(), 3); // nothing rebuilt
    QVERIFY(selected(down->grid(0), 0));
}

// ------------------------------------------------------------------------------------------
// A read-only base: every store and delete is refused with the read-only message.

class ReadOnlyTest : public QObject {
    Q_OBJECT
private slots:
    void everyChangeIsRefused();
};

void ReadOnlyTest::everyChangeIsRefused() {
    PanelBase s;
    s.keywords({"Animal", "Cat", "Dog"});
    s.link("Dog", "Animal");
    s.reopenReadOnly();
    QVERIFY(s.ctx.base.BaseDb->isReadOnly());
    Side side(s);
    const LinkButtons& b = side.controls.links;
    auto readOnlyShown = [&](Icon icon) {
        QCOMPARE(s.prompter.messages().back(), QString("Fichier en lecture seule !"));
        QCOMPARE(s.prompter.shown().back().icon, icon);
        s.prompter.clear();
    };

    side.text1()->setText("Bird");
    s.prompter.answer(Answer::Yes);
    side.press(child<QPushButton>(&side.window, "KWAdd"));
    readOnlyShown(Icon::Exclamation);
    QCOMPARE(rowsOf(side.list()), (QStringList{"Animal", "Cat", "Dog"}));

    clickName(side.list(), "Cat");
    s.prompter.answer(Answer::Ok);
    side.press(child<QPushButton>(&side.window, "KWSupp"));
    readOnlyShown(Icon::Critical);
    QCOMPARE(rowsOf(side.list()), (QStringList{"Animal", "Cat", "Dog"}));

    side.central()->makeCentral("Animal");
    side.press(b.cmdAddFromListDown); // Cat as a Subset
    readOnlyShown(Icon::Exclamation);
    side.press(b.cmdAddFromListUp);
    readOnlyShown(Icon::Exclamation);
    std::unique_ptr<QMimeData> cat(keywordDragData("Cat"));
    QVERIFY(dropOn(side.central()->gridUp(), cat.get()));
    readOnlyShown(Icon::Exclamation);
    clickName(side.central()->gridDown(), "Dog");
    side.press(b.cmdSuppFromListDown);
    readOnlyShown(Icon::Exclamation);
    QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Dog"});
    QCOMPARE(rowsOf(side.central()->gridUp()), QStringList{""});

    s.ctx.base.closeBase();
    auto db = test::openBase(s.path());
    QCOMPARE(db->openRecordset("CGROUP1")->recordCount(), 3L);
    QCOMPARE(db->openRecordset("GROUP2")->recordCount(), 1L);
}

// ------------------------------------------------------------------------------------------
// The panels in the main window, with its modes and layouts.

class MainWindowPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void panelsSitInTheirContainers();
    void clicksListCardsOutsideKeywordModeOnly();
    void keywordModeLinksAroundTheCentralSet();
    void theUpPageFollowsTheDownPage();
};

namespace {

struct OpenMainWindow {
    PanelBase& s;
    MainWindow w;
    explicit OpenMainWindow(PanelBase& session) : s(session), w(session.ctx) {
        w.load();
        w.show();
        if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not shown");
    }
    template <class T> T* in(QWidget* panel, const char* name) { return child<T>(panel, name); }
    KeywordGrid* kwList() { return in<KeywordGrid>(w.allKWPanel(), "KWList"); }
    LevelBrowser* down() { return w.keywordPanels()->down(); }
    LevelBrowser* up() { return w.keywordPanels()->up(); }
    CentralSetBrowser* central() { return w.keywordPanels()->central(); }
    int resultWindows() {
        int n = 0;
        for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
            if (sub->widget() && sub->widget()->objectName() == "fGrid") ++n;
        return n;
    }
};

} // namespace

void MainWindowPanelsTest::panelsSitInTheirContainers() {
    PanelBase s;
    s.keywords({"Animal", "Dog"});
    s.link("Dog", "Animal");
    OpenMainWindow m(s);
    QCOMPARE(rowsOf(m.kwList()), (QStringList{"Animal", "Dog"}));
    QVERIFY(m.central()->isAncestorOf(m.central()->gridUp()));
    QCOMPARE(m.central()->parentWidget(), m.w.downUpPanel());
    QCOMPARE(m.down()->parentWidget(), m.w.downPanel());
    QCOMPARE(m.up()->parentWidget(), m.w.upPanel());
    QCOMPARE(rowsOf(m.down()->grid(0)), QStringList{"Animal"});
    for (const char* name :
         {"cmdAddFromListUp", "cmdFindIfLinks", "cmdAddFromListDown", "cmdSelFromUp",
          "cmdSelFromDown", "cmdSuppFromListUp", "cmdSuppFromListDown", "cmdSearchUp"})
        QVERIFY2(m.w.sideButton(name)->isEnabled(), name);
    QVERIFY(m.down()->isVisible()); // "Search" mode, "Down Links" page
}

void MainWindowPanelsTest::clicksListCardsOutsideKeywordModeOnly() {
    PanelBase s;
    s.keywords({"Animal", "Dog"});
    s.link("Dog", "Animal");
    OpenMainWindow m(s);

    // "Other" mode, "  All Keywords  " page: a click lists the cards of the keyword.
    QTest::mouseClick(m.w.SwitchOther, Qt::LeftButton);
    m.w.TabStrip1->setCurrentIndex(2);
    QVERIFY(m.kwList()->isVisible());
    clickName(m.kwList(), "Dog");
    QCOMPARE(m.w.KWSel->text(), QString("Dog"));
    QCOMPARE(m.w.KWSel2->text(), QString("Dog")); // the label the tab strip shows
    QCOMPARE(m.resultWindows(), 1);
    m.w.mdiArea()->closeAllSubWindows();

    // A level of the "Down Links" page too; the right button closes the list again.
    m.w.TabStrip1->setCurrentIndex(0);
    clickName(m.down()->grid(0), "Animal");
    QCOMPARE(m.resultWindows(), 1);
    QTest::mouseClick(m.down()->grid(0)->viewport(), Qt::RightButton, {},
                      test::cellCentre(m.down()->grid(0), 0));
    QCOMPARE(m.resultWindows(), 0);

    // "KeyWords" mode: clicks walk the graph and list nothing.
    QTest::mouseClick(m.w.SwitchKW, Qt::LeftButton);
    QVERIFY(m.w.keywordMode());
    clickName(m.kwList(), "Animal");
    QTest::mouseClick(m.w.SwitchDoubleBrowser, Qt::LeftButton);
    clickName(m.down()->grid(0), "Animal");
    QCOMPARE(m.resultWindows(), 0);
    QCOMPARE(m.w.KWSel->text(), QString("Animal"));
}

void MainWindowPanelsTest::keywordModeLinksAroundTheCentralSet() {
    PanelBase s;
    s.keywords({"Animal", "Cat", "Dog"});
    s.link("Dog", "Animal");
    OpenMainWindow m(s);
    QTest::mouseClick(m.w.SwitchKW, Qt::LeftButton);
    QVERIFY(m.w.downUpPanel()->isVisible() && m.kwList()->isVisible());

    doubleClickName(m.kwList(), "Animal");
    QCOMPARE(m.central()->central(), QString("Animal"));
    QCOMPARE(rowsOf(m.central()->gridDown()), QStringList{"Dog"});
    clickName(m.kwList(), "Cat");
    QCOMPARE(m.w.sideButton("cmdAddFromListDown")->toolTip(),
             QString("   Add Cat to Animal Subsets  "));
    QTest::mouseClick(m.w.sideButton("cmdAddFromListDown"), Qt::LeftButton);
    QCOMPARE(rowsOf(m.central()->gridDown()), (QStringList{"Cat", "Dog"}));
    QVERIFY(s.linked("Cat", "Animal"));

    // Dropping the keyword KWSel names on "Sets including".
    std::unique_ptr<QMimeData> data(keywordDragData(m.w.KWSel->text()));
    QVERIFY(dropOn(m.central()->gridUp(), data.get()));
    QVERIFY(s.linked("Animal", "Cat")); // a cycle: the store allows it
    QCOMPARE(rowsOf(m.central()->gridUp()), QStringList{"Cat"});
}

void MainWindowPanelsTest::theUpPageFollowsTheDownPage() {
    PanelBase s;
    s.keywords({"Animal", "Dog", "Pet"});
    s.link("Dog", "Animal");
    s.link("Dog", "Pet");
    OpenMainWindow m(s);

    // Double browser: both pages side by side, cmdSearchUp between them.
    QTest::mouseClick(m.w.SwitchKW, Qt::LeftButton);
    QTest::mouseClick(m.w.SwitchDoubleBrowser, Qt::LeftButton);
    QVERIFY(m.down()->isVisible() && m.up()->isVisible());
    clickName(m.down()->grid(0), "Pet");
    clickName(m.down()->grid(1), "Dog");
    QTest::mouseClick(m.w.sideButton("cmdSearchUp"), Qt::LeftButton);
    QCOMPARE(m.up()->selection(0)->text(), QString("Dog"));
    QCOMPARE(rowsOf(m.up()->grid(1)), (QStringList{"Animal", "Pet"}));

    // Tab strip: choosing "Up Links" builds the up page from the down level clicked last.
    QTest::mouseClick(m.w.SwitchSearch, Qt::LeftButton);
    m.w.TabStrip1->setCurrentIndex(0);
    clickName(m.down()->grid(0), "Animal");
    m.w.TabStrip1->setCurrentIndex(1);
    QVERIFY(m.up()->isVisible());
    QCOMPARE(rowsOf(m.up()->grid(0)), (QStringList{"Animal", "Pet"}));
    QCOMPARE(m.up()->selection(0)->text(), QString("Animal"));
    QCOMPARE(m.up()->levelCount(), 2);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        KWPanelTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        CentralBrowserTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        LevelBrowserTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ReadOnlyTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        MainWindowPanelsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "panels_test.moc"
