// The panels of the main window and its three modes.
#include "gui/shell/apptest.h"

#include "core/common/twips.h"
#include "gui/shell/mainwindow.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::test;

namespace {

const QStringList linkButtons{
    QStringLiteral("cmdAddFromListUp"),   QStringLiteral("cmdFindIfLinks"),
    QStringLiteral("cmdAddFromListDown"), QStringLiteral("cmdSelFromUp"),
    QStringLiteral("cmdSelFromDown"),     QStringLiteral("cmdSuppFromListUp"),
    QStringLiteral("cmdSuppFromListDown")};

struct Shown {
    bool FrameKW, FrameFile, FrameOther, FrameSearch;
};

void checkFrames(MainWindow* w, Shown s) {
    QCOMPARE(w->browserSwitchFrame()->isVisible(), s.FrameKW);
    QCOMPARE(w->cardKindFrame()->isVisible(), s.FrameFile);
    QCOMPARE(w->otherSearchFrame()->isVisible(), s.FrameOther);
    QCOMPARE(w->textSearchFrame()->isVisible(), s.FrameSearch);
    QVERIFY(w->modeSwitchFrame()->isVisible());
}

void checkSwitches(MainWindow* w, QToolButton* on) {
    for (QToolButton* s : {w->otherSwitch(), w->keywordsSwitch(), w->searchSwitch()})
        QCOMPARE(s->isChecked(), s == on);
}

bool cardKindShown(MainWindow* w) {
    return w->notesOption()->isVisible() && w->quotesOption()->isVisible() &&
           w->referencesOption()->isVisible();
}

void checkPage(MainWindow* w, QFrame* page) {
    for (QFrame* p : {w->downPanel(), w->upPanel(), w->allKWPanel()}) {
        QCOMPARE(p->isVisible(), p == page);
        QCOMPARE(p->isEnabled(), p == page);
    }
}

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
private slots:
    void init() {
        program = std::make_unique<Program>();
        program->startNow();
        w = program->main();
    }
    void cleanup() { program.reset(); }
    void clickingTabsShowsTheirPages() {
        QSignalSpy upLinks(w, &MainWindow::upLinksSelected);
        for (auto [tab, page] :
             {std::pair{1, w->upPanel()}, {2, w->allKWPanel()}, {0, w->downPanel()}}) {
            QTest::mouseClick(w->sideTabs(), Qt::LeftButton, {},
                              w->sideTabs()->tabRect(tab).center());
            checkPage(w, page);
            QCOMPARE(upLinks.count(), 1); // "Up Links" only
        }
        // The pages lie in the client area of the tab strip, inside the side bar.
        const QRect bar = w->sideBar()->rect();
        QVERIFY(bar.contains(w->downPanel()->geometry()));
        QVERIFY(!w->downPanel()->geometry().intersects(w->sideTabs()->geometry()));
    }

    void keyWordsSwitchShowsTheSimpleBrowser() {
        QSignalSpy mode(w, &MainWindow::keywordModeChanged);
        click(w->keywordsSwitch());
        checkFrames(w, {true, false, false, false});
        checkSwitches(w, w->keywordsSwitch());
        QCOMPARE(w->browserSwitchFrame()->pos(), twipsPoint(2620, -120));
        QVERIFY(w->keywordMode());
        QCOMPARE(mode.count(), 1);
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::SimpleBrowser);
        QVERIFY(!cardKindShown(w) && w->allKWPanel()->isVisible() && w->allKWPanel()->isEnabled());
        QVERIFY(w->downUpPanel()->isVisible() && w->selectedKeywordLabel()->isVisible());
        QVERIFY(!w->downPanel()->isVisible() && !w->upPanel()->isVisible() &&
                !w->sideTabs()->isVisible());
        QVERIFY(!w->doubleBrowserLabel()->isVisible() && !w->sideTabsKeywordLabel()->isVisible());
        for (const QString& name : linkButtons)
            QVERIFY2(w->sideButton(name)->isVisible(), qPrintable(name));
        QVERIFY(!w->sideButton(QStringLiteral("cmdSearchUp"))->isVisible() &&
                !w->sideButton(QStringLiteral("cmdReverseSearch"))->isVisible());
        // List, then the column of three buttons, then the central-Set browser.
        const int listRight = w->allKWPanel()->geometry().right();
        const QToolButton* add = w->sideButton(QStringLiteral("cmdAddFromListUp"));
        QVERIFY(add->x() > listRight);
        QCOMPARE(w->sideButton(QStringLiteral("cmdFindIfLinks"))->x(), add->x());
        QCOMPARE(w->sideButton(QStringLiteral("cmdAddFromListDown"))->x(), add->x());
        QVERIFY(w->downUpPanel()->x() > add->geometry().right());
        QVERIFY(w->sideBar()->width() >
                w->sideButton(QStringLiteral("cmdSelFromUp"))->geometry().right());
        QVERIFY(w->sideBar()->width() > twipsToPixels(2350));
        // Pressing the switch that is on keeps it on.
        click(w->keywordsSwitch());
        checkSwitches(w, w->keywordsSwitch());
        QVERIFY(w->keywordMode());
    }

    void doubleBrowserShowsBothLevelBrowsers() {
        click(w->keywordsSwitch());
        click(w->doubleBrowserSwitch());
        QVERIFY(w->doubleBrowserSwitch()->isChecked() && !w->simpleBrowserSwitch()->isChecked());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::DoubleBrowser);
        QVERIFY(w->keywordMode());
        for (QFrame* f : {w->downPanel(), w->upPanel(), w->allKWPanel()})
            QVERIFY(f->isVisible() && f->isEnabled());
        QVERIFY(!w->downUpPanel()->isVisible());
        for (const QString& name : linkButtons)
            QVERIFY(!w->sideButton(name)->isVisible());
        QToolButton* searchUp = w->sideButton(QStringLiteral("cmdSearchUp"));
        QVERIFY(searchUp->isVisible() && w->doubleBrowserLabel()->isVisible());
        QCOMPARE(w->doubleBrowserLabel()->text(), QStringLiteral("Double Browser System"));
        QVERIFY(w->selectedKeywordLabel()->isVisible() && w->sideTabsKeywordLabel()->isVisible());
        QVERIFY(!cardKindShown(w));
        // List, down browser, search-up button, up browser, left to right, all in the bar.
        QVERIFY(w->downPanel()->x() > w->allKWPanel()->geometry().right());
        QVERIFY(searchUp->x() > w->downPanel()->geometry().right());
        QVERIFY(w->upPanel()->x() > searchUp->geometry().right());
        QVERIFY(w->sideBar()->width() > w->upPanel()->geometry().right());

        // Back to the simple browser.
        click(w->simpleBrowserSwitch());
        QVERIFY(w->downUpPanel()->isVisible() && !w->downPanel()->isVisible() &&
                !w->upPanel()->isVisible());
        // "KeyWords" again after "Double Browser" shows the simple browser, and says so.
        click(w->doubleBrowserSwitch());
        click(w->keywordsSwitch());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::SimpleBrowser);
        QVERIFY(w->simpleBrowserSwitch()->isChecked());
    }

    // A screen reader toggles a switch without a click: the mode follows all the same.
    void aToggleFromAnAssistiveToolSwitchesLikeAPress() {
        const auto toggle = [](QToolButton* s) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(s);
            a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        };
        toggle(w->keywordsSwitch());
        QVERIFY(w->keywordMode());
        toggle(w->doubleBrowserSwitch());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::DoubleBrowser);
        toggle(w->otherSwitch());
        QCOMPARE(w->mode(), MainWindow::Mode::Other);
        checkFrames(w, {false, true, true, false});
        toggle(w->searchSwitch());
        QCOMPARE(w->mode(), MainWindow::Mode::Search);
        checkFrames(w, {false, true, false, true});
    }

    void otherSwitchShowsTheRetrievalOptions() {
        click(w->keywordsSwitch());
        click(w->otherSwitch());
        checkFrames(w, {false, true, true, false});
        checkSwitches(w, w->otherSwitch());
        QCOMPARE(w->otherSearchFrame()->pos(), twipsPoint(5940, -120));
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::TabStrip);
        QCOMPARE(w->sideBar()->width(), twipsToPixels(2350));
        QVERIFY(cardKindShown(w) && w->sideTabs()->isVisible() && !w->downUpPanel()->isVisible());
        checkPage(w, w->downPanel());
    }

    void searchSwitchComesBackFromKeywordMode() {
        click(w->keywordsSwitch());
        w->selectedKeywordLabel()->setText(QStringLiteral("Ethics"));
        click(w->doubleBrowserSwitch());
        click(w->searchSwitch());
        checkFrames(w, {false, true, false, true});
        checkSwitches(w, w->searchSwitch());
        QCOMPARE(w->cardKindFrame()->pos(), twipsPoint(2620, -120));
        QCOMPARE(w->textSearchFrame()->pos(), twipsPoint(5940, -120));
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->sideBar()->width(), twipsToPixels(2350));
        checkPage(w, w->downPanel());
        QVERIFY(!w->sideButton(QStringLiteral("cmdSearchUp"))->isVisible());
        QCOMPARE(w->sideTabsKeywordLabel()->text(), QStringLiteral("Ethics"));
        QVERIFY(w->textSearchBox()->isVisible());
    }

    void aWidgetPutInAPanelFollowsIt() {
        auto* list = new QLabel(QStringLiteral("keywords"));
        MainWindow::setPanelContent(w->allKWPanel(), list);
        QVERIFY(!list->isVisible());
        click(w->keywordsSwitch());
        QVERIFY(list->isVisible());
        QCOMPARE(list->parentWidget(), w->allKWPanel());
        click(w->searchSwitch());
        QVERIFY(!list->isVisible());
    }

    // The window opens in "Search" mode on the down-links page, and a reload brings it back.
    void opensAndReloadsInSearchModeOnTheDownLinksPage() {
        checkFrames(w, {false, true, false, true});
        checkSwitches(w, w->searchSwitch());
        QVERIFY(w->simpleBrowserSwitch()->isChecked() && !w->doubleBrowserSwitch()->isChecked());
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->textSearchFrame()->pos(), twipsPoint(5880, -120));
        QCOMPARE(w->cardKindFrame()->pos(), twipsPoint(2620, -120));
        QCOMPARE(w->sideBar()->width(), twipsToPixels(2350));
        QCOMPARE(w->sideTabs()->currentIndex(), 0);
        checkPage(w, w->downPanel());
        QVERIFY(!w->downUpPanel()->isVisible() && cardKindShown(w));

        click(w->keywordsSwitch());
        w->action(QStringLiteral("mLoad2"))->trigger();
        program->prompter.choose(program->file(QStringLiteral("NewBase001.vlm")));
        click(program->welcome()->Command2);
        QVERIFY(w->isVisible() && !w->keywordMode());
        checkSwitches(w, w->searchSwitch());
        checkFrames(w, {false, true, false, true});
        checkPage(w, w->downPanel());
    }
};

VLM_APP_TEST(PanelsTest)
#include "panels_test.moc"
