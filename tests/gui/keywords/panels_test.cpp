// The keyword list panel, the central-Set browser and the level browsers, driven as a user
// would: controls found by name, clicked, typed into and dragged onto; the boxes shown and the
// rows in the base checked afterwards. The list rules and the walks themselves are checked on
// the logic (tests/core/keywords); here, that the panels reach them and show what they return.

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/keywords/linkcolumns.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "gui/keywords/centralbrowser.h"
#include "gui/keywords/keywordgrid.h"
#include "gui/keywords/keywordlistpanel.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/keywords/levelbrowser.h"
#include "gui/shell/mainwindow.h"
#include "support/dropevents.h"
#include "support/sessionbase.h"
#include "support/viewcells.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::keywords;
using namespace vlm::test;

namespace {

// A base of its own, with keywords and links stored through the keyword store.
struct PanelBase : SessionBase {
    // The keywords, then the links, each "lower<upper": lower is included in upper.
    explicit PanelBase(const QStringList& names = {}, const QStringList& links = {}) {
        keywords(names);
        for (const QString& l : links)
            link(l.section('<', 0, 0), l.section('<', 1));
    }
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

// Animal > Mammal > Dog, Cat; Animal > Bird; Pet > Dog, Cat; Lonely has no link; Stone is a
// Subset only.
struct Zoo : PanelBase {
    Zoo()
        : PanelBase({"Animal", "Bird", "Cat", "Dog", "Lonely", "Mammal", "Pet", "Stone"},
                    {"Mammal<Animal", "Bird<Animal", "Dog<Mammal", "Cat<Mammal", "Dog<Pet",
                     "Cat<Pet", "Stone<Mammal"}) {}
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
        auto* labels = new QVBoxLayout;
        for (QLabel** l : {&controls.KWSel, &controls.KWSel2})
            labels->addWidget(*l = new QLabel(&window));
        controls.KWSel->setObjectName("KWSel");
        controls.links = makeLinkButtons(&window);
        controls.cmdSearchUp = new QToolButton(&window);
        KeywordHost host;
        host.keywordMode = [this] { return keywordMode; };
        host.searchMode = [this] { return searchMode; };
        host.listCards = [this](const QString& k) { listed << k; };
        host.openCards = [this](const QString& k) { opened << k; };
        host.closeCardList = [this] { ++closed; };
        panels = std::make_unique<KeywordPanels>(s.ctx, host, controls);
        const LinkButtons& b = controls.links;
        for (QAbstractButton* x : {b.cmdAddFromListUp, b.cmdFindIfLinks, b.cmdAddFromListDown,
                                   b.cmdSelFromUp, b.cmdSelFromDown, b.cmdSuppFromListUp,
                                   b.cmdSuppFromListDown, b.cmdReverseSearch, controls.cmdSearchUp})
            labels->addWidget(x);
        auto* row = new QHBoxLayout(&window);
        row->addLayout(labels);
        for (QWidget* p : {static_cast<QWidget*>(panels->list()), static_cast<QWidget*>(central()),
                           static_cast<QWidget*>(down()), static_cast<QWidget*>(up())})
            row->addWidget(p, 1);
        window.resize(1400, 560);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("window not shown");
        panels->load();
    }
    const LinkButtons& b() const { return controls.links; }
    KeywordGrid* list() const { return panels->list()->list(); }
    QLineEdit* text1() const { return panels->list()->text(); }
    CentralSetBrowser* central() const { return panels->central(); }
    LevelBrowser* down() const { return panels->down(); }
    LevelBrowser* up() const { return panels->up(); }
    QString kwSel() const { return controls.KWSel->text(); }
    void press(QAbstractButton* x) { QTest::mouseClick(x, Qt::LeftButton); }
    void press(const char* name) { press(child<QPushButton>(&window, name)); }
};

int rowNamed(QAbstractItemView* g, const QString& name) {
    const int row = int(rowsOf(g).indexOf(name));
    if (row < 0) qFatal("no row %s", qPrintable(name));
    return row;
}
void clickName(QAbstractItemView* g, const QString& name) {
    clickCell(g, rowNamed(g, name));
}
void doubleClickName(QAbstractItemView* g, const QString& name) {
    doubleClickCell(g, rowNamed(g, name));
}
bool selected(const TextTableView* g, int row) {
    return g->currentRow() == row && cellSelected(g, row);
}

bool dropName(QAbstractItemView* g, const QString& name) {
    std::unique_ptr<QMimeData> data(keywordDragData(name));
    return dropOn(g->viewport(), *data);
}

QStringList fillers(const QString& prefix, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << prefix + QString::number(i).rightJustified(n > 100 ? 3 : 2, '0');
    return out;
}

struct OpenMainWindow {
    MainWindow w;
    explicit OpenMainWindow(PanelBase& s) : w(s.ctx) {
        w.load();
        w.show();
        if (!QTest::qWaitForWindowExposed(&w)) qFatal("window not shown");
    }
    KeywordGrid* kwList() { return child<KeywordGrid>(w.allKWPanel(), "KWList"); }
    LevelBrowser* down() { return w.keywordPanels()->down(); }
    LevelBrowser* up() { return w.keywordPanels()->up(); }
    CentralSetBrowser* central() { return w.keywordPanels()->central(); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    int resultWindows() {
        int n = 0;
        for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
            n += sub->widget() && sub->widget()->objectName() == "fGrid";
        return n;
    }
};

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- The keyword list panel.

    void typingFindsTheExactBeginning() {
        PanelBase s(fillers("Ax", 20) + QStringList{"Peach", "philo", "Phone"} + fillers("Zx", 40));
        Side side(s);
        const QStringList rows = rowsOf(side.list());
        side.text1()->setFocus();
        QTest::keyClicks(side.text1(), "ph");
        QCOMPARE(side.text1()->text(), QString("Ph")); // capitalised as typed
        const int phone = int(rows.indexOf("Phone"));
        QVERIFY(selected(side.list(), phone) && side.list()->topRow() == phone); // not philo
        // No name starts so: the list rests on its last row, nothing selected.
        QTest::keyClicks(side.text1(), "q");
        QCOMPARE(side.list()->currentRow(), int(rows.size()) - 1);
        QVERIFY(!side.list()->selectionModel()->hasSelection() &&
                side.kwSel().isEmpty()); // finding is not clicking
    }

    // Each kind of answer of "Add", and how the list shows the result.
    void addTellsAndSelects() {
        PanelBase s(fillers("B", 30) + QStringList{"Cat"} + fillers("M", 40));
        Side side(s);
        const QString ask = " Do you want to add %1 as a new Keyword? ";
        struct Case {
            QString text;
            std::optional<Answer> answer;
            QStringList messages;
            QString current; // selected afterwards, empty for no change of the list
            bool stored;
        };
        const QList<Case> cases{
            {"", {}, {" Fill in the text zone above the List zone to add a Keyword"}, "", false},
            {"B20", {}, {" This Keywords exists "}, "B20", true},
            {"B01", {}, {" This Keywords exists "}, "B01", true}, // near the top: no scroll
            {"Banana", Answer::No, {ask.arg("Banana")}, "", false},
            {"Banana", Answer::Yes, {ask.arg("Banana")}, "Banana", true},
            {"CAT",
             Answer::Yes,
             {ask.arg("CAT"), keywordTexts().duplicateOf.arg("Cat")},
             "Cat",
             false},
        };
        for (const Case& c : cases) {
            s.prompter.clear();
            if (c.answer) s.prompter.answer(*c.answer);
            side.text1()->setText(c.text);
            side.list()->scrollToTop();
            side.press("KWAdd");
            QCOMPARE(s.prompter.messages(), c.messages);
            if (c.text == "B20") QCOMPARE(s.prompter.shown().back().icon, Icon::Exclamation);
            QCOMPARE(allKeywordNames(s.ctx).contains(c.text), c.stored);
            QCOMPARE(rowsOf(side.list()), allKeywordNames(s.ctx));
            if (c.current.isEmpty()) continue;
            const int at = rowNamed(side.list(), c.current);
            QVERIFY(selected(side.list(), at));
            if (auto top = topRowForFound(at, side.list()->model()->rowCount()))
                QCOMPARE(side.list()->topRow(), *top);
        }

        // Enter in the text box adds too; a pasted name of several lines is one line.
        s.prompter.clear();
        s.prompter.answer(Answer::Yes);
        side.text1()->clear();
        QApplication::clipboard()->setText("\nred\r\n\tBlue\n");
        side.text1()->paste();
        side.text1()->setFocus();
        QTest::keyClick(side.text1(), Qt::Key_Return);
        QCOMPARE(s.prompter.messages(),
                 QStringList{" Do you want to add Red Blue as a new Keyword? "});
        QCOMPARE(side.list()->currentName(), QString("Red Blue"));
    }

    void discardAsksAndKeepsTheLinksAndTheLastKeyword() {
        PanelBase s({"Alpha", "Beta"}, {"Beta<Alpha"});
        Side side(s);
        clickName(side.list(), "Beta");
        s.prompter.answer(Answer::Cancel);
        side.press("KWSupp");
        QCOMPARE(s.prompter.messages(), QStringList{"discard this Keyword ?"});
        QCOMPARE(s.prompter.shown().back().buttons, Buttons::OkCancel);
        QCOMPARE(allKeywordNames(s.ctx), (QStringList{"Alpha", "Beta"}));

        s.prompter.answer(Answer::Ok);
        side.press("KWSupp");
        QCOMPARE(rowsOf(side.list()) + allKeywordNames(s.ctx), QStringList(2, "Alpha"));
        QVERIFY(s.linked("Beta", "Alpha")); // its links stay

        clickName(side.list(), "Alpha");
        s.prompter.reply(Answer::Ok);
        side.press("KWSupp");
        QCOMPARE(s.prompter.messages().back(), QString("The list cannot be empty sorry"));
        QCOMPARE(s.prompter.shown().back().icon, Icon::Critical);
        QCOMPARE(rowsOf(side.list()), QStringList{"Alpha"});
    }

    void clicksSetKWSelTheCentreAndTheCards() {
        PanelBase s({"Animal", "Dog"});
        Side side(s);
        clickName(side.list(), "Animal");
        QCOMPARE(side.kwSel(), QString("Animal"));
        side.press(side.b().cmdFindIfLinks);
        QCOMPARE(side.central()->central(), QString("Animal"));
        QCOMPARE(child<QLabel>(&side.window, "Label4")->text(), QString("Animal"));
        clickName(side.list(), "Dog");
        QCOMPARE(side.b().cmdAddFromListDown->toolTip(), QString("   Add Dog to Animal Subsets  "));

        // Keyword mode: a double click makes the keyword the central Set.
        doubleClickName(side.list(), "Dog");
        QCOMPARE(side.central()->central(), QString("Dog"));
        QVERIFY(side.listed.isEmpty() && side.opened.isEmpty());
        // "Other": a click lists the cards; a double click does no more.
        side.keywordMode = false;
        doubleClickName(side.list(), "Animal");
        QCOMPARE(side.listed, QStringList{"Animal"});
        QVERIFY(side.opened.isEmpty() && side.central()->central() == "Dog");
        // "Search": the double click opens the cards.
        side.searchMode = true;
        doubleClickName(side.list(), "Dog");
        QCOMPARE(side.opened, QStringList{"Dog"});
    }

    // ---- The central-Set browser.

    void buttonsLinkAndDiscardAroundTheCentre() {
        PanelBase s({"Animal", "Cat", "Dog", "Living"}, {"Dog<Animal"});
        Side side(s);
        CentralSetBrowser* c = side.central();
        c->makeCentral("Animal");
        side.press(side.b().cmdSuppFromListDown); // nothing selected: nothing discarded
        QCOMPARE(s.linkCount(), 1L);

        clickName(side.list(), "Cat");
        side.press(side.b().cmdAddFromListDown);
        clickName(side.list(), "Living");
        side.press(side.b().cmdAddFromListUp);
        QCOMPARE(rowsOf(c->gridDown()), (QStringList{"Cat", "Dog"}));
        QCOMPARE(rowsOf(c->gridUp()), QStringList{"Living"});
        QVERIFY(s.linked("Cat", "Animal") && s.linked("Animal", "Living"));
        QVERIFY(s.prompter.shown().empty());   // no confirmation for links
        side.press(side.b().cmdAddFromListUp); // the same link again
        QCOMPARE(s.prompter.messages(), QStringList{linkExistsMessage()});
        QCOMPARE(s.linkCount(), 3L);

        // The selected Subset becomes the central Set.
        clickName(c->gridDown(), "Dog");
        side.press(side.b().cmdSelFromDown);
        QCOMPARE(rowsOf(c->gridUp()), QStringList{"Animal"});
        c->makeCentral("Animal");
        clickName(c->gridUp(), "Living");
        side.press(side.b().cmdSuppFromListUp);
        QCOMPARE(rowsOf(c->gridUp()), QStringList{""}); // the only one: one empty row
        clickName(c->gridDown(), "Dog");
        QVERIFY(unlinkKeywords(s.ctx, "Dog", "Animal").ok()); // another window took it
        s.prompter.clear();
        side.press(side.b().cmdSuppFromListDown);
        QCOMPARE(s.prompter.messages(), QStringList{linkNotFoundMessage()});
        QCOMPARE(rowsOf(c->gridDown()), QStringList{"Cat"}); // the grid follows the base
        clickName(c->gridDown(), "Cat");
        side.press(side.b().cmdSuppFromListDown);
        QCOMPARE(s.linkCount(), 0L);
        QCOMPARE(allKeywordNames(s.ctx).size(), 4); // the keywords stay
    }

    void doubleClickMovesTheCentre() {
        PanelBase s({"Animal", "Dog", "Pet"}, {"Dog<Pet", "Dog<Animal"});
        Side side(s);
        side.central()->makeCentral("Animal");
        doubleClickName(side.central()->gridDown(), "Dog");
        QCOMPARE(child<QLabel>(&side.window, "SelUpDown")->text(), QString("Dog"));
        QCOMPARE(rowsOf(side.central()->gridUp()), (QStringList{"Animal", "Pet"}));
        QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{""});
        doubleClickName(side.central()->gridUp(), "Pet");
        QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Dog"});
        doubleClickName(side.central()->gridUp(), ""); // an empty row leads nowhere
        QCOMPARE(side.central()->central(), QString("Pet"));
    }

    void draggingKWSelOntoAGridLinksIt() {
        PanelBase s({"Animal", "Cat", "Living"});
        Side side(s);
        side.central()->makeCentral("Animal");
        QSignalSpy started(side.panels.get(), &KeywordPanels::dragStarted);
        auto drag = [&] {
            QTest::mousePress(side.controls.KWSel, Qt::LeftButton, {}, QPoint(2, 2));
            QMouseEvent move(QEvent::MouseMove, QPointF(40, 12),
                             side.controls.KWSel->mapToGlobal(QPointF(40, 12)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(side.controls.KWSel, &move);
            QTest::mouseRelease(side.controls.KWSel, Qt::LeftButton, {}, QPoint(40, 12));
        };
        drag(); // an empty KWSel drags nothing
        QCOMPARE(started.size(), 0);
        clickName(side.list(), "Cat");
        drag();
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.at(0).at(0).toString(), QString("Cat"));

        QVERIFY(dropName(side.central()->gridDown(), side.kwSel())); // a Subset
        QVERIFY(s.linked("Cat", "Animal"));
        QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Cat"});
        QVERIFY(dropName(side.central()->gridUp(), "Living")); // a Superset
        QVERIFY(s.linked("Animal", "Living"));
        QCOMPARE(rowsOf(side.central()->gridUp()), QStringList{"Living"});
        // The same drop again is refused as a duplicate; plain text is no keyword.
        QVERIFY(dropName(side.central()->gridUp(), "Living"));
        QCOMPARE(s.prompter.messages(), QStringList{linkExistsMessage()});
        QVERIFY(!dropText(side.central()->gridUp()->viewport(), "Cat"));
        QCOMPARE(s.linkCount(), 2L);
    }

    // ---- The level browsers.

    void clicksOpenTheNextLevel() {
        Zoo s;
        Side side(s);
        LevelBrowser* down = side.down();
        QCOMPARE(rowsOf(down->grid(0)), (QStringList{"Animal", "Pet"})); // the Roots
        clickName(down->grid(0), "Animal");
        QCOMPARE(rowsOf(down->grid(1)), (QStringList{"Bird", "Mammal"}));
        QCOMPARE((QStringList{down->selection(0)->text(), side.controls.KWSel2->text()}),
                 QStringList(2, "Animal"));
        QCOMPARE(down->grid(1)->y(), twipsToPixels(2000 + 120));
        clickName(down->grid(1), "Mammal");
        clickName(down->grid(2), "Dog");
        QCOMPARE(rowsOf(down->grid(3)), QStringList{""}); // Dog has no Subsets
        // Level 3 took the last slot: level 0 left the view, the scroll bar brings it back.
        QVERIFY(!down->grid(0)->isVisible() && down->scrollBar()->value() == 1);
        down->scrollBar()->setValue(0);
        QVERIFY(down->grid(0)->isVisible() && !down->grid(3)->isVisible());

        clickName(down->grid(0), "Pet"); // everything below goes
        QCOMPARE(rowsOf(down->grid(1)), (QStringList{"Cat", "Dog"}));
        QVERIFY(down->levelCount() == 2 && down->scrollBar()->value() == 0);
        QCOMPARE(down->findChildren<KeywordGrid*>("DownGrid").size(), 2);
        clickName(down->grid(1), "Cat");
        clickCell(down->grid(2), 0); // an empty row selects nothing further
        QCOMPARE(down->levelCount(), 3);
        QVERIFY(side.kwSel().isEmpty() && side.listed.isEmpty()); // keyword mode
    }

    // The slot rule as the page applies it click by click: the clicked level k keeps its slot,
    // the levels below it go, and the new level k + 1 comes in the slot under k; when k is in
    // the last slot, the new level takes that slot and every level above moves up one.
    void slotsFollowThePlainSlotRuleOnRandomClicks() {
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
            if (plain[k] == 2)
                for (int& sl : plain)
                    --sl;
            plain.push_back(std::min(plain[k] + 1, 2));
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

    void theUpPageStartsFromTheDownLevelClickedLast() {
        Zoo s;
        Side side(s);
        LevelBrowser* down = side.down();
        LevelBrowser* up = side.up();
        clickName(down->grid(0), "Animal");
        clickName(down->grid(1), "Mammal");
        clickName(down->grid(2), "Dog");
        clickName(down->grid(2), "Cat"); // level 2 is the one clicked last, Cat its name
        side.press(side.controls.cmdSearchUp);
        QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Cat", "Dog", "Stone"}));
        QVERIFY(selected(up->grid(0), 0));
        QCOMPARE(up->selection(0)->text(), QString("Cat"));
        QCOMPARE(rowsOf(up->grid(1)), (QStringList{"Mammal", "Pet"})); // both Supersets
        clickName(up->grid(0), "Stone");
        QCOMPARE(rowsOf(up->grid(1)), QStringList{"Mammal"});
        clickName(up->grid(1), "Mammal");
        QCOMPARE(rowsOf(up->grid(2)), QStringList{"Animal"});

        // Not the deepest level: the one clicked last.
        clickName(down->grid(1), "Bird");
        side.panels->buildUp();
        QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Bird", "Mammal"}));
        QCOMPARE(rowsOf(up->grid(1)), QStringList{"Animal"});
        // A click in down level 0 makes the next up page start from the Roots.
        clickName(down->grid(0), "Pet");
        side.panels->buildUp();
        QCOMPARE(rowsOf(up->grid(0)), (QStringList{"Animal", "Pet"}));
        QCOMPARE(up->selection(0)->text(), QString("Pet"));
        QCOMPARE(rowsOf(up->grid(1)), QStringList{""}); // a Root has no Supersets
    }

    // Keywords and links written by other windows show at once; the list keeps its current
    // name, level 0 keeps the Root selected and the levels below.
    void thePanelsFollowChangesMadeElsewhere() {
        Zoo s;
        Side side(s);
        side.list()->selectRow(rowNamed(side.list(), "Pet"));
        side.down()->clickLevel(0, 0); // Animal
        side.central()->makeCentral("Mammal");

        s.prompter.answer(Answer::Yes);
        QCOMPARE(listAdd(s.prompter, keywordSource(s.ctx), itemTexts(), allKeywordNames(s.ctx),
                         "Aardvark")
                     .outcome,
                 AddOutcome::Added);
        s.link("Stone", "Lonely");
        s.link("Horse", "Mammal");
        QTRY_COMPARE(rowsOf(side.list()).value(0), QString("Aardvark"));
        QVERIFY(selected(side.list(), rowNamed(side.list(), "Pet")));
        QTRY_COMPARE(rowsOf(side.down()->grid(0)), (QStringList{"Animal", "Lonely", "Pet"}));
        QVERIFY(selected(side.down()->grid(0), 0));
        QCOMPARE(side.down()->levelCount(), 2);
        QTRY_COMPARE(rowsOf(side.central()->gridDown()),
                     (QStringList{"Cat", "Dog", "Horse", "Stone"}));
        // The Root selected is one no more: level 0 shows alone.
        s.link("Animal", "Zoo");
        QTRY_COMPARE(rowsOf(side.down()->grid(0)), (QStringList{"Lonely", "Pet", "Zoo"}));
        QCOMPARE(side.down()->levelCount(), 1);
    }

    void cardsAndTheRightButton() {
        Zoo s;
        Side side(s);
        LevelBrowser* down = side.down();
        side.keywordMode = false;
        clickName(down->grid(0), "Animal");
        clickName(down->grid(1), "Mammal");
        doubleClickName(down->grid(2), "Cat");
        QCOMPARE(side.listed, (QStringList{"Animal", "Mammal", "Cat"}));
        QCOMPARE(side.opened, QStringList{"Cat"});
        // In keyword mode neither a click nor a double click touches the cards.
        side.keywordMode = true;
        doubleClickName(down->grid(1), "Bird");
        QCOMPARE(side.listed.size() + side.opened.size(), 4);
        // The right button closes the card list and puts back the name of the level clicked
        // last, whatever the level pressed; nothing is rebuilt.
        side.panels->setKWSel("Something else");
        QTest::mouseClick(down->grid(0)->viewport(), Qt::RightButton, {},
                          cellCentre(down->grid(0), 1));
        QCOMPARE(side.closed, 1);
        QCOMPARE(side.kwSel(), QString("Bird"));
        QCOMPARE(down->levelCount(), 3);
    }

    // ---- A read-only base: every store and delete is refused with the read-only message.

    void everyChangeOnAReadOnlyBaseIsRefused() {
        PanelBase s({"Animal", "Cat", "Dog"}, {"Dog<Animal"});
        s.reopenReadOnly();
        Side side(s);
        const LinkButtons& b = side.b();
        auto refused = [&](Icon icon) {
            QCOMPARE(s.prompter.messages().back(), QString("Fichier en lecture seule !"));
            QCOMPARE(s.prompter.shown().back().icon, icon);
            s.prompter.clear();
        };
        side.text1()->setText("Bird");
        s.prompter.answer(Answer::Yes);
        side.press("KWAdd");
        refused(Icon::Exclamation);
        clickName(side.list(), "Cat");
        s.prompter.answer(Answer::Ok);
        side.press("KWSupp");
        refused(Icon::Critical);
        QCOMPARE(rowsOf(side.list()), (QStringList{"Animal", "Cat", "Dog"}));

        side.central()->makeCentral("Animal");
        side.press(b.cmdAddFromListDown); // Cat as a Subset
        refused(Icon::Exclamation);
        clickName(side.central()->gridDown(), "Dog");
        side.press(b.cmdSuppFromListDown);
        refused(Icon::Exclamation);
        QCOMPARE(rowsOf(side.central()->gridDown()), QStringList{"Dog"});

        s.ctx.base.closeBase();
        auto db = openBase(s.path());
        QCOMPARE(db->openRecordset("CGROUP1")->recordCount(), 3L);
        QCOMPARE(db->openRecordset("GROUP2")->recordCount(), 1L);
    }

    // ---- The panels in the main window, with its modes and layouts.

    void mainWindowClicksListCardsOutsideKeywordModeOnly() {
        PanelBase s({"Animal", "Dog"}, {"Dog<Animal"});
        OpenMainWindow m(s);
        QVERIFY(m.down()->isVisible()); // "Search" mode, "Down Links" page
        QVERIFY(m.w.sideButton("cmdSearchUp")->isEnabled());

        // "Other" mode, "  All Keywords  " page: a click lists the cards of the keyword.
        m.click(m.w.otherSwitch());
        m.w.sideTabs()->setCurrentIndex(2);
        clickName(m.kwList(), "Dog");
        QCOMPARE(m.w.sideTabsKeywordLabel()->text(),
                 QString("Dog")); // the label the tab strip shows
        QCOMPARE(m.resultWindows(), 1);
        m.w.mdiArea()->closeAllSubWindows();
        // A level of the "Down Links" page too; the right button closes the list again.
        m.w.sideTabs()->setCurrentIndex(0);
        clickName(m.down()->grid(0), "Animal");
        QCOMPARE(m.resultWindows(), 1);
        QTest::mouseClick(m.down()->grid(0)->viewport(), Qt::RightButton, {},
                          cellCentre(m.down()->grid(0), 0));
        QCOMPARE(m.resultWindows(), 0);

        // "KeyWords" mode: clicks walk the graph and list nothing.
        m.click(m.w.keywordsSwitch());
        clickName(m.kwList(), "Animal");
        m.click(m.w.doubleBrowserSwitch());
        clickName(m.down()->grid(0), "Animal");
        QCOMPARE(m.resultWindows(), 0);
        QCOMPARE(m.w.selectedKeywordLabel()->text(), QString("Animal"));
    }

    void mainWindowUpPageFollowsTheDownPage() {
        PanelBase s({"Animal", "Cat", "Dog", "Pet"}, {"Dog<Animal", "Dog<Pet"});
        OpenMainWindow m(s);
        // Double browser: both pages side by side, cmdSearchUp between them.
        m.click(m.w.keywordsSwitch());
        m.click(m.w.doubleBrowserSwitch());
        QVERIFY(m.down()->isVisible() && m.up()->isVisible());
        clickName(m.down()->grid(0), "Pet");
        clickName(m.down()->grid(1), "Dog");
        m.click(m.w.sideButton("cmdSearchUp"));
        QCOMPARE(m.up()->selection(0)->text(), QString("Dog"));
        QCOMPARE(rowsOf(m.up()->grid(1)), (QStringList{"Animal", "Pet"}));
        // Tab strip: choosing "Up Links" builds the up page from the down level clicked last.
        m.click(m.w.searchSwitch());
        m.w.sideTabs()->setCurrentIndex(0);
        clickName(m.down()->grid(0), "Animal");
        m.w.sideTabs()->setCurrentIndex(1);
        QVERIFY(m.up()->isVisible());
        QCOMPARE(rowsOf(m.up()->grid(0)), (QStringList{"Animal", "Pet"}));
        QCOMPARE(m.up()->selection(0)->text(), QString("Animal"));

        // "KeyWords" mode: the side buttons and drops link around the central Set.
        m.click(m.w.keywordsSwitch());
        doubleClickName(m.kwList(), "Animal");
        QCOMPARE(rowsOf(m.central()->gridDown()), QStringList{"Dog"});
        clickName(m.kwList(), "Cat");
        m.click(m.w.sideButton("cmdAddFromListDown"));
        QCOMPARE(rowsOf(m.central()->gridDown()), (QStringList{"Cat", "Dog"}));
        QVERIFY(s.linked("Cat", "Animal"));
        // Dropping the keyword KWSel names on "Sets including".
        QVERIFY(dropName(m.central()->gridUp(), m.w.selectedKeywordLabel()->text()));
        QVERIFY(s.linked("Animal", "Cat")); // a cycle: the store allows it
        QCOMPARE(rowsOf(m.central()->gridUp()), QStringList{"Cat"});
    }
};

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
