// The panels of the main window and its three modes.
#include "gui/shell/apptest.h"

#include "core/common/twips.h"
#include "gui/shell/mainwindow.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>

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
    QCOMPARE(w->FrameKW->isVisible(), s.FrameKW);
    QCOMPARE(w->FrameFile->isVisible(), s.FrameFile);
    QCOMPARE(w->FrameOther->isVisible(), s.FrameOther);
    QCOMPARE(w->FrameSearch->isVisible(), s.FrameSearch);
    QVERIFY(w->FrameSwitch->isVisible());
}

void checkSwitches(MainWindow* w, QToolButton* on) {
    for (QToolButton* s : {w->SwitchOther, w->SwitchKW, w->SwitchSearch})
        QCOMPARE(s->isChecked(), s == on);
}

bool cardKindShown(MainWindow* w) {
    return w->OptionNote->isVisible() && w->OptionCit->isVisible() && w->OptionRef->isVisible();
}

void checkPage(MainWindow* w, QFrame* page) {
    for (QFrame* p : {w->DownPanel, w->UpPanel, w->AllKWPanel}) {
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
        QTest::mouseClick(w->TabStrip1, Qt::LeftButton, {}, w->TabStrip1->tabRect(1).center());
        checkPage(w, w->UpPanel);
        QCOMPARE(upLinks.count(), 1);
        QTest::mouseClick(w->TabStrip1, Qt::LeftButton, {}, w->TabStrip1->tabRect(2).center());
        checkPage(w, w->AllKWPanel);
        QTest::mouseClick(w->TabStrip1, Qt::LeftButton, {}, w->TabStrip1->tabRect(0).center());
        checkPage(w, w->DownPanel);
        QCOMPARE(upLinks.count(), 1);
        // The pages lie in the client area of the tab strip, inside the side bar.
        const QRect bar = w->Picture1->rect();
        QVERIFY(bar.contains(w->DownPanel->geometry()));
        QVERIFY(!w->DownPanel->geometry().intersects(w->TabStrip1->geometry()));
    }

    void keyWordsSwitchShowsTheSimpleBrowser() {
        QSignalSpy mode(w, &MainWindow::keywordModeChanged);
        click(w->SwitchKW);
        checkFrames(w, {true, false, false, false});
        checkSwitches(w, w->SwitchKW);
        QCOMPARE(w->FrameKW->pos(), twipsPoint(2620, -120));
        QVERIFY(w->keywordMode());
        QCOMPARE(mode.count(), 1);
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::SimpleBrowser);
        QVERIFY(!cardKindShown(w));
        QVERIFY(w->AllKWPanel->isVisible() && w->AllKWPanel->isEnabled());
        QVERIFY(w->DownUpPanel->isVisible());
        QVERIFY(!w->DownPanel->isVisible() && !w->UpPanel->isVisible());
        QVERIFY(!w->TabStrip1->isVisible());
        QVERIFY(w->KWSel->isVisible());
        QVERIFY(!w->Label1->isVisible() && !w->KWSel2->isVisible());
        for (const QString& name : linkButtons)
            QVERIFY2(w->sideButton(name)->isVisible(), qPrintable(name));
        QVERIFY(!w->sideButton(QStringLiteral("cmdSearchUp"))->isVisible());
        QVERIFY(!w->sideButton(QStringLiteral("cmdReverseSearch"))->isVisible());
        // List, then the column of three buttons, then the central-Set browser.
        const int listRight = w->AllKWPanel->geometry().right();
        const QToolButton* add = w->sideButton(QStringLiteral("cmdAddFromListUp"));
        QVERIFY(add->x() > listRight);
        QCOMPARE(w->sideButton(QStringLiteral("cmdFindIfLinks"))->x(), add->x());
        QCOMPARE(w->sideButton(QStringLiteral("cmdAddFromListDown"))->x(), add->x());
        QVERIFY(w->DownUpPanel->x() > add->geometry().right());
        QVERIFY(w->Picture1->width() >
                w->sideButton(QStringLiteral("cmdSelFromUp"))->geometry().right());
        QVERIFY(w->Picture1->width() > twipsToPixels(2350));
        // Pressing the switch that is on keeps it on.
        click(w->SwitchKW);
        checkSwitches(w, w->SwitchKW);
        QVERIFY(w->keywordMode());
    }

    void doubleBrowserShowsBothLevelBrowsers() {
        click(w->SwitchKW);
        click(w->SwitchDoubleBrowser);
        QVERIFY(w->SwitchDoubleBrowser->isChecked());
        QVERIFY(!w->SwitchSimpleBrowser->isChecked());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::DoubleBrowser);
        QVERIFY(w->keywordMode());
        for (QFrame* f : {w->DownPanel, w->UpPanel, w->AllKWPanel})
            QVERIFY(f->isVisible() && f->isEnabled());
        QVERIFY(!w->DownUpPanel->isVisible());
        for (const QString& name : linkButtons)
            QVERIFY(!w->sideButton(name)->isVisible());
        QToolButton* searchUp = w->sideButton(QStringLiteral("cmdSearchUp"));
        QVERIFY(searchUp->isVisible());
        QVERIFY(w->Label1->isVisible());
        QCOMPARE(w->Label1->text(), QStringLiteral("Double Browser System"));
        QVERIFY(w->KWSel->isVisible() && w->KWSel2->isVisible());
        QVERIFY(!cardKindShown(w));
        // List, down browser, search-up button, up browser, left to right, all in the bar.
        QVERIFY(w->DownPanel->x() > w->AllKWPanel->geometry().right());
        QVERIFY(searchUp->x() > w->DownPanel->geometry().right());
        QVERIFY(w->UpPanel->x() > searchUp->geometry().right());
        QVERIFY(w->Picture1->width() > w->UpPanel->geometry().right());

        // Back to the simple browser.
        click(w->SwitchSimpleBrowser);
        QVERIFY(w->DownUpPanel->isVisible());
        QVERIFY(!w->DownPanel->isVisible() && !w->UpPanel->isVisible());
        // "KeyWords" again after "Double Browser" shows the simple browser, and says so.
        click(w->SwitchDoubleBrowser);
        click(w->SwitchKW);
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::SimpleBrowser);
        QVERIFY(w->SwitchSimpleBrowser->isChecked());
    }

    void otherSwitchShowsTheRetrievalOptions() {
        click(w->SwitchKW);
        click(w->SwitchOther);
        checkFrames(w, {false, true, true, false});
        checkSwitches(w, w->SwitchOther);
        QCOMPARE(w->FrameOther->pos(), twipsPoint(5940, -120));
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->sideLayout(), MainWindow::SideLayout::TabStrip);
        QCOMPARE(w->Picture1->width(), twipsToPixels(2350));
        QVERIFY(cardKindShown(w));
        QVERIFY(w->TabStrip1->isVisible());
        checkPage(w, w->DownPanel);
        QVERIFY(!w->DownUpPanel->isVisible());
    }

    void searchSwitchComesBackFromKeywordMode() {
        click(w->SwitchKW);
        w->KWSel->setText(QStringLiteral("Ethics"));
        click(w->SwitchDoubleBrowser);
        click(w->SwitchSearch);
        checkFrames(w, {false, true, false, true});
        checkSwitches(w, w->SwitchSearch);
        QCOMPARE(w->FrameFile->pos(), twipsPoint(2620, -120));
        QCOMPARE(w->FrameSearch->pos(), twipsPoint(5940, -120));
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->Picture1->width(), twipsToPixels(2350));
        checkPage(w, w->DownPanel);
        QVERIFY(!w->sideButton(QStringLiteral("cmdSearchUp"))->isVisible());
        QCOMPARE(w->KWSel2->text(), QStringLiteral("Ethics"));
        QVERIFY(w->TextSearch->isVisible());
    }

    void aWidgetPutInAPanelFollowsIt() {
        auto* list = new QLabel(QStringLiteral("keywords"));
        MainWindow::setPanelContent(w->AllKWPanel, list);
        QVERIFY(!list->isVisible());
        click(w->SwitchKW);
        QVERIFY(list->isVisible());
        QCOMPARE(list->parentWidget(), w->AllKWPanel);
        click(w->SwitchSearch);
        QVERIFY(!list->isVisible());
    }

    // The window opens in "Search" mode on the down-links page, and a reload brings it back.
    void opensAndReloadsInSearchModeOnTheDownLinksPage() {
        checkFrames(w, {false, true, false, true});
        checkSwitches(w, w->SwitchSearch);
        QVERIFY(w->SwitchSimpleBrowser->isChecked());
        QVERIFY(!w->SwitchDoubleBrowser->isChecked());
        QVERIFY(!w->keywordMode());
        QCOMPARE(w->FrameSearch->pos(), twipsPoint(5880, -120));
        QCOMPARE(w->FrameFile->pos(), twipsPoint(2620, -120));
        QCOMPARE(w->Picture1->width(), twipsToPixels(2350));
        QCOMPARE(w->TabStrip1->currentIndex(), 0);
        checkPage(w, w->DownPanel);
        QVERIFY(!w->DownUpPanel->isVisible());
        QVERIFY(cardKindShown(w));

        click(w->SwitchKW);
        w->action(QStringLiteral("mLoad2"))->trigger();
        program->prompter.choose(program->file(QStringLiteral("NewBase001.vlm")));
        click(program->welcome()->Command2);
        QVERIFY(w->isVisible());
        checkSwitches(w, w->SwitchSearch);
        checkFrames(w, {false, true, false, true});
        QVERIFY(!w->keywordMode());
        checkPage(w, w->DownPanel);
    }
};

VLM_APP_TEST(PanelsTest)
#include "panels_test.moc"
