#include "gui/shell/mainwindow.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/session/basechoice.h"
#include "core/session/session.h"
#include "gui/cards/cardopen.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/exportreferences.h"
#include "gui/common/accessiblenames.h"
#include "gui/keywords/keywordgrid.h"
#include "gui/keywords/keywordlistwindow.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/keywords/linkeditors.h"
#include "gui/retrieval/cardlists.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/exportcommand.h"
#include "gui/shell/guidewindow.h"
#include "gui/words/wordanalysis.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace vlm {

namespace {

// Designed measures, in twips.
constexpr int WindowWidth = 11730;
constexpr int WindowHeight = 8400;
constexpr int TopBarHeight = 660;
constexpr int FrameTop = -120;
constexpr int FrameHeight = 780;
constexpr int FrameSwitchLeft = 0;
constexpr int FrameSwitchWidth = 2620;
constexpr int ModeFrameWidth = 3260;    // up to where the option frames begin
constexpr int OptionFrameWidth = 5700;  // to the right edge of the window
constexpr int ModeFrameLeft = 2620;     // FrameFile_, FrameKW_
constexpr int OptionFrameLeft = 5940;   // FrameOther_, FrameSearch_
constexpr int SearchFrameOnLoad = 5880; // FrameSearch_ when the window loads
constexpr int SideBarWidth = 2350;
constexpr int Margin = 100;
constexpr int WideMargin = 200;
constexpr int CaptionHeight = 300;
constexpr int ListPanelWidth = 2200;    // AllKWPanel_ beside the browsers
constexpr int CentralPanelWidth = 3600; // DownUpPanel_
constexpr int LevelPanelWidth = 3200;   // DownPanel_, UpPanel_: a 3000-twip level and its bar
constexpr int SideButtonSize = 420;

QFrame* makeFrame(QWidget* parent, const char* name, int widthTwips) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setProperty("widthTwips", widthTwips);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(f);
    // The frame's top edge lies above the bar (its top is negative): the controls sit in the
    // part that shows.
    const int hidden = -twipsToPixels(FrameTop);
    row->setContentsMargins(3, hidden + 2, 3, 2);
    row->setSpacing(3);
    return f;
}

QToolButton* makeSwitch(QFrame* frame, const char* name, const QString& caption) {
    auto* b = new QToolButton(frame);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setCheckable(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setFocusPolicy(Qt::StrongFocus);
    frame->layout()->addWidget(b);
    return b;
}

QRadioButton* makeOption(QFrame* frame, const char* name, const QString& caption) {
    auto* b = new QRadioButton(caption, frame);
    b->setObjectName(QLatin1String(name));
    frame->layout()->addWidget(b);
    return b;
}

QFrame* makePanel(QWidget* parent, const char* name) {
    auto* p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Sunken);
    return p;
}

QToolButton* makeSideButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setFixedSize(twipsSize(SideButtonSize, SideButtonSize));
    // Its work comes with the keyword browsers, which enable it.
    b->setEnabled(false);
    b->hide();
    return b;
}

// Frames keep their designed width, so that side by side they never overlap.
void placeFrame(QFrame* frame, int left) {
    frame->setGeometry(
        twipsRect(left, FrameTop, frame->property("widthTwips").toInt(), FrameHeight));
}

} // namespace

namespace {

// The keyword panels of the side bar, in their containers, wired to the card lists.
keywords::KeywordPanels* attachKeywordPanels(Session& ctx, MainWindow& main) {
    using namespace keywords;
    KeywordHost host;
    MainWindow* w = &main;
    host.keywordMode = [w] { return w->keywordMode(); };
    host.searchMode = [w] { return w->mode() == MainWindow::Mode::Search; };
    host.listCards = [&ctx, w](const QString& k) {
        retrieval::keywordClickedOutsideKeywordMode(ctx, *w, k);
    };
    host.openCards = [&ctx, w](const QString& k) {
        retrieval::keywordDoubleClickedOutsideKeywordMode(ctx, *w, k);
    };
    host.closeCardList = [&ctx] { retrieval::closeResult(ctx); };

    SideControls controls;
    controls.KWSel = main.selectedKeywordLabel();
    controls.KWSel2 = main.sideTabsKeywordLabel();
    auto button = [&main](const char* name) { return main.sideButton(QLatin1String(name)); };
    controls.links.cmdAddFromListUp = button("cmdAddFromListUp");
    controls.links.cmdFindIfLinks = button("cmdFindIfLinks");
    controls.links.cmdAddFromListDown = button("cmdAddFromListDown");
    controls.links.cmdSelFromUp = button("cmdSelFromUp");
    controls.links.cmdSelFromDown = button("cmdSelFromDown");
    controls.links.cmdSuppFromListUp = button("cmdSuppFromListUp");
    controls.links.cmdSuppFromListDown = button("cmdSuppFromListDown");
    controls.links.cmdReverseSearch = button("cmdReverseSearch");
    controls.cmdSearchUp = button("cmdSearchUp");

    auto* panels = new KeywordPanels(ctx, std::move(host), controls, &main);
    MainWindow::setPanelContent(main.allKWPanel(), panels->list());
    MainWindow::setPanelContent(main.downUpPanel(), panels->central());
    MainWindow::setPanelContent(main.downPanel(), panels->down());
    MainWindow::setPanelContent(main.upPanel(), panels->up());
    QObject::connect(&main, &MainWindow::baseLoaded, panels, &KeywordPanels::load);
    QObject::connect(&main, &MainWindow::upLinksSelected, panels, &KeywordPanels::buildUp);
    return panels;
}

} // namespace

MainWindow::MainWindow(Session& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("fVelmora"));
    setWindowTitle(appTitle());
    loadOrder_.emplace_back(this);
    ctx_.openCard = cards::openCurrentCard;
    ctx_.compareWords = words::compareCardWords;

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MDIClientHost"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Picture2_ = new QWidget(central);
    Picture2_->setObjectName(QStringLiteral("Picture2"));
    Picture2_->setFixedHeight(twipsToPixels(TopBarHeight));
    // The bars are dense: their controls use a smaller type than the menus.
    QFont small = font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1));
    Picture2_->setFont(small);
    column->addWidget(Picture2_);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Picture1_ = new QWidget(central);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFont(small);
    row->addWidget(Picture1_);
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    // The side bar widens over the client area in keyword mode; the window keeps its size.
    mdi_->setMinimumSize(1, 1);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    row->addWidget(mdi_, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);
    ctx_.mdiArea = mdi_;

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    statusPanel_ = new QLabel(status);
    statusPanel_->setObjectName(QStringLiteral("Panel1"));
    statusPanel_->setFrameShape(QFrame::StyledPanel);
    statusPanel_->setFrameShadow(QFrame::Sunken);
    statusPanel_->setMinimumWidth(twipsToPixels(2400));
    status->addWidget(statusPanel_);
    setStatusBar(status);

    buildMenus();
    buildTopBar();
    buildSideBar();
    keywordPanels_ = attachKeywordPanels(ctx_, *this);
    orderSideBarTabs();
    Picture1_->installEventFilter(this);
    mdi_->viewport()->installEventFilter(this);
}

MainWindow::~MainWindow() {
    if (ctx_.mdiArea == mdi_) ctx_.mdiArea = nullptr;
}

// --- menus ---------------------------------------------------------------------------------

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));

    auto menu = [this](QWidget* owner, const char* name, const QString& caption) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        if (auto* b = qobject_cast<QMenuBar*>(owner))
            b->addMenu(m);
        else
            static_cast<QMenu*>(owner)->addMenu(m);
        return m;
    };
    // An item whose work belongs to a part of the program still to come is shown disabled.
    auto item = [this](QMenu* m, const char* name, const QString& caption, bool ready = true) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        a->setEnabled(ready);
        m->addAction(a);
        return a;
    };
    auto separator = [](QMenu* m, const char* name) {
        QAction* s = m->addSeparator();
        s->setObjectName(QLatin1String(name));
    };

    QMenu* database = menu(bar, "mDatabase", QStringLiteral("&Database"));
    connect(item(database, "mLoad2", QStringLiteral("&Load")), &QAction::triggered, this,
            &MainWindow::loadRequested);
    connect(item(database, "mNewBase", QStringLiteral("&New")), &QAction::triggered, this,
            &MainWindow::newBaseRequested);
    separator(database, "Nul");
    connect(item(database, "mImport", QStringLiteral("&Import")), &QAction::triggered, this,
            &MainWindow::importRequested);
    separator(database, "Nul3");
    connect(item(database, "mSaveAs", QStringLiteral("&Save As...")), &QAction::triggered, this,
            &MainWindow::saveAsRequested);
    // Export: the whole base in forms other tools read (JSON, Markdown).
    connect(item(database, "mExport", QStringLiteral("&Export...")), &QAction::triggered, this,
            [this] { exportBase(ctx_, this); });
    separator(database, "Nul2");
    QAction* quit = item(database, "mQuit", QStringLiteral("&Quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::WindowShortcut);
    connect(quit, &QAction::triggered, this, &MainWindow::quitRequested);

    QMenu* dataType = menu(bar, "mDataType", QStringLiteral("&DataType"));
    QMenu* ref = menu(dataType, "mRef", QStringLiteral("&Reference"));
    QMenu* bibOpen = menu(ref, "mBibOpen", QStringLiteral("&Open"));
    item(bibOpen, "mBibOpenAuthor", QStringLiteral("by &Author"), false);
    item(bibOpen, "mBibOpenKW", QStringLiteral("by &Keyword"), false);
    item(ref, "mBibNew2", QStringLiteral("&New"), false);
    connect(item(ref, "mBibExport", QStringLiteral("&Export...")), &QAction::triggered, this,
            [this] { cards::exportReferencesCommand(ctx_); });
    QMenu* quote = menu(dataType, "mQuote", QStringLiteral("&Quote"));
    QMenu* citOpen = menu(quote, "mCitOpen", QStringLiteral("&Open"));
    item(citOpen, "mCitOpenAuthor", QStringLiteral("by &Author"), false);
    item(citOpen, "mCitOpenKW", QStringLiteral("by &Keyword"), false);
    item(citOpen, "mCitOpenDate", QStringLiteral("by &Date"), false);
    item(quote, "mCitNew2", QStringLiteral("&New"), false);
    QMenu* note = menu(dataType, "mn", QStringLiteral("&Note"));
    QMenu* noteOpen = menu(note, "mNote", QStringLiteral("&Open"));
    item(noteOpen, "mNotebyKeyword", QStringLiteral("by &Keyword"), false);
    item(noteOpen, "mNotebyDate", QStringLiteral("by &Date"), false);
    item(note, "mNoteNew", QStringLiteral("&New"), false);
    separator(dataType, "Nul4");

    QMenu* newMenu = menu(bar, "mNew", QStringLiteral("&New"));
    item(newMenu, "mBibNew", QStringLiteral("&Reference"), false);
    item(newMenu, "mCitNew", QStringLiteral("&Quote"), false);
    item(newMenu, "mNNew", QStringLiteral("&Note"), false);

    // A top-level entry without items and without action: kept for its name, not shown.
    auto* edit = new QAction(QStringLiteral("&Edit"), this);
    edit->setObjectName(QStringLiteral("mEdit"));
    edit->setVisible(false);
    bar->addAction(edit);

    QMenu* keywords = menu(bar, "mKeywords", QStringLiteral("&Keywords"));
    connect(item(keywords, "mKWList", QStringLiteral("&List")), &QAction::triggered, this,
            &MainWindow::showKeywordList);
    connect(item(keywords, "mKWStruct", QStringLiteral("&Structure")), &QAction::triggered, this,
            [this] { vlm::keywords::StructureEditor::open(ctx_); });
    QMenu* indexAll = menu(keywords, "mIndexAll", QStringLiteral("&Index All"));
    item(indexAll, "mIndexAllQuotes", QStringLiteral("&Quotes"), false);
    item(indexAll, "mIndexAllNotes", QStringLiteral("&Notes"), false);
    QMenu* allKeywords = menu(keywords, "mnuAllKeywords", QStringLiteral("&All Keywords"));
    item(allKeywords, "mnuAllKeywordsQuotes", QStringLiteral("&Quotes"), false);
    item(allKeywords, "mnuAllKeywordsNotes", QStringLiteral("&Notes"), false);

    QMenu* find = menu(bar, "FindNoteText", QStringLiteral("Search Word in Text"));
    QMenu* inQuotes = menu(find, "mCitFindTextAll", QStringLiteral("in Quotes"));
    item(inQuotes, "GridKWText2", QStringLiteral("display Grid"), false);
    item(inQuotes, "mCitFindText", QStringLiteral("display Cards"), false);
    QMenu* inNotes = menu(find, "mNFindTextAll", QStringLiteral("in Notes"));
    item(inNotes, "GridKWText", QStringLiteral("display Grid"), false);
    item(inNotes, "mNFindText", QStringLiteral("display Cards"), false);

    windowsMenu_ = menu(bar, "mWindows", QStringLiteral("Windows"));
    connect(item(windowsMenu_, "mWCascade", QStringLiteral("Cascade")), &QAction::triggered, this,
            &MainWindow::cascade);
    connect(item(windowsMenu_, "mWIcons", QStringLiteral("Arrange Icons")), &QAction::triggered,
            this, &MainWindow::arrangeIcons);
    connect(item(windowsMenu_, "mCloseAll", QStringLiteral("Close All")), &QAction::triggered, this,
            &MainWindow::closeAll);
    connect(windowsMenu_, &QMenu::aboutToShow, this, &MainWindow::fillWindowList);

    // Ctrl+W and Ctrl+F4 close the active child window, as its close box does.
    auto* closeChild = new QAction(QStringLiteral("Close Window"), this);
    closeChild->setObjectName(QStringLiteral("mCloseWindow"));
    closeChild->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)});
    closeChild->setShortcutContext(Qt::WindowShortcut);
    addAction(closeChild);
    connect(closeChild, &QAction::triggered, this, &MainWindow::closeActiveChild);
    // The Close item of each child's own menu names the same keys; left window-wide, the two
    // would cancel each other out and neither would close anything.
    // The area is told of activations while the main window is being destroyed too: the
    // handler reaches the area only.
    connect(mdi_, &QMdiArea::subWindowActivated, mdi_, [area = mdi_] {
        for (QMdiSubWindow* sub : area->subWindowList())
            if (QMenu* menu = sub->systemMenu())
                for (QAction* a : menu->actions())
                    if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)))
                        a->setShortcutContext(Qt::WidgetShortcut);
    });

    QMenu* help = menu(bar, "mHelp", QStringLiteral("&?"));
    QAction* guide = item(help, "mGuide", QStringLiteral("User &Guide"));
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] {
        if (QWidget* w = showUserGuide(ctx_.prompter, this)) registerWindow(w);
    });
    connect(item(help, "mCopyright", QStringLiteral("&About")), &QAction::triggered, this,
            &MainWindow::showAbout);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QString MainWindow::statusText() const {
    return statusPanel_->text();
}

void MainWindow::fillWindowList() {
    for (QAction* a : windowListActions_) {
        windowsMenu_->removeAction(a);
        a->deleteLater();
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
    int number = 0;
    for (QMdiSubWindow* w : windows) {
        if (!w->isVisible() && !w->isMinimized()) continue;
        if (number == 0) windowListActions_.push_back(windowsMenu_->addSeparator());
        ++number;
        const QString caption = number < 10
                                    ? QStringLiteral("&%1 %2").arg(number).arg(w->windowTitle())
                                    : QStringLiteral("%1 %2").arg(number).arg(w->windowTitle());
        QAction* a = windowsMenu_->addAction(caption);
        a->setObjectName(QStringLiteral("mWindowList"));
        a->setCheckable(true);
        a->setChecked(w == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(w)] {
            if (!w) return;
            if (w->isMinimized()) w->showNormal();
            mdi_->setActiveSubWindow(w);
        });
        windowListActions_.push_back(a);
    }
}

// --- loading -------------------------------------------------------------------------------

void MainWindow::showTitle() {
    const QString name = ctx_.base.fileName();
    setWindowTitle(mainWindowTitle(name));
    statusPanel_->setText(name);
}

void MainWindow::seedKeywords() {
    if (!ctx_.base.isOpen()) return;
    const keywords::KWResult r = keywords::seedNoKeyword(ctx_);
    if (!r.ok() && !r.message.isEmpty())
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
}

void MainWindow::placeOnScreen() {
    resize(twipsToPixels(WindowWidth), twipsToPixels(WindowHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        move(g.left() + (g.width() - width()) / 2, g.top() + (g.height() - height()) / 2);
    }
}

void MainWindow::load() {
    showTitle();
    seedKeywords();
    placeOnScreen();

    // Panels: "Search" mode on the "Down Links" page.
    for (QToolButton* s : {SwitchSearch_, SwitchSimpleBrowser_}) {
        const QSignalBlocker quiet(s);
        s->setChecked(true);
    }
    mode_ = Mode::Search;
    setKeywordMode(false);
    {
        const QSignalBlocker block(TabStrip1_);
        TabStrip1_->setCurrentIndex(0);
    }
    FrameKW_->hide();
    FrameOther_->hide();
    placeFrame(FrameFile_, ModeFrameLeft);
    FrameFile_->show();
    tabStripLayout();
    placeFrame(FrameSearch_, SearchFrameOnLoad);
    FrameSearch_->show();
    emit baseLoaded();
    orderSideBarTabs(); // the level browsers have their first levels now
}

void MainWindow::baseChanged() {
    showTitle();
    seedKeywords();
    emit baseLoaded();
    orderSideBarTabs();
}

// --- windows -------------------------------------------------------------------------------

bool MainWindow::closeChildWindows() {
    // The card windows are all asked before any window closes, so that a Cancel keeps them all.
    if (!cards::closeCardWindows(ctx_)) return false;
    mdi_->closeAllSubWindows();
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (w->isVisible()) return false;
    return true;
}

void MainWindow::registerWindow(QWidget* window) {
    std::erase_if(loadOrder_, [](const QPointer<QObject>& o) { return o.isNull(); });
    loadOrder_.emplace_back(window);
}

QList<QWidget*> MainWindow::loadedWindows() const {
    QList<QWidget*> out;
    for (const QPointer<QObject>& o : loadOrder_) {
        auto* w = qobject_cast<QWidget*>(o.data());
        if (!w) continue;
        if (w != this && !qobject_cast<QMdiSubWindow*>(w) && !w->isWindow()) continue;
        if (w != this && !w->isVisible() && !w->isMinimized()) continue;
        if (!out.contains(w)) out << w;
    }
    return out;
}

void MainWindow::closeActiveChild() {
    QPointer<QMdiSubWindow> sub = mdi_->currentSubWindow();
    if (!sub) return;
    // A card window asks its question (Yes, No, Cancel) first; Cancel keeps it open.
    auto* card = dynamic_cast<cards::CardWindow*>(sub->widget());
    if (card && !card->askToClose()) return;
    if (!sub->close() && sub && card) card->keepOpen();
}

void MainWindow::closeAll() {
    const QList<QWidget*> windows = loadedWindows();
    for (qsizetype i = windows.size() - 1; i >= 2; --i)
        windows[i]->close();
}

void MainWindow::cascade() {
    mdi_->cascadeSubWindows();
}

void MainWindow::arrangeIcons() {
    const int areaWidth = mdi_->viewport()->width();
    int x = 0;
    int rowBottom = mdi_->viewport()->height();
    int rowHeight = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > areaWidth) {
            x = 0;
            rowBottom -= rowHeight;
            rowHeight = 0;
        }
        w->move(x, rowBottom - s.height());
        x += s.width();
        rowHeight = std::max(rowHeight, s.height());
    }
}

void MainWindow::showKeywordList() {
    // One list window: asked again, the open one comes to the front. One closed a moment
    // ago may not be deleted yet: a new one takes its place.
    auto* sub = keywordList_ ? qobject_cast<QMdiSubWindow*>(keywordList_->parentWidget()) : nullptr;
    if (sub && sub->isVisible()) {
        if (sub->isMinimized()) sub->showNormal();
        mdi_->setActiveSubWindow(sub);
    } else if (!sub && keywordList_ && keywordList_->isVisible()) {
        keywordList_->raise();
        keywordList_->activateWindow();
    } else {
        keywordList_ = keywords::KeywordListWindow::open(ctx_);
    }
}

void MainWindow::showAbout() {
    auto* about = new AboutDialog(ctx_.prompter, this);
    registerWindow(about);
    about->show();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The child windows close with the main window; one that refuses keeps it open.
    if (!closeChildWindows()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdi_->viewport() && event->type() == QEvent::ChildAdded) {
        // A new child window: remembered in load order for Close All.
        std::erase_if(loadOrder_, [](const QPointer<QObject>& o) { return o.isNull(); });
        loadOrder_.emplace_back(static_cast<QChildEvent*>(event)->child());
    } else if (watched == Picture1_ && event->type() == QEvent::Resize) {
        placeCurrentLayout();
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- top bar -------------------------------------------------------------------------------

void MainWindow::buildTopBar() {
    FrameSwitch_ = makeFrame(Picture2_, "FrameSwitch", FrameSwitchWidth);
    SwitchOther_ = makeSwitch(FrameSwitch_, "SwitchOther", QStringLiteral("Other"));
    SwitchKW_ = makeSwitch(FrameSwitch_, "SwitchKW", QStringLiteral("KeyWords"));
    SwitchSearch_ = makeSwitch(FrameSwitch_, "SwitchSearch", QStringLiteral("Search"));
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->setExclusive(true);
    for (QToolButton* s : {SwitchOther_, SwitchKW_, SwitchSearch_})
        modeGroup_->addButton(s);
    SwitchSearch_->setChecked(true);
    onSwitch(SwitchKW_, &MainWindow::switchKW);
    onSwitch(SwitchOther_, &MainWindow::switchOther);
    onSwitch(SwitchSearch_, &MainWindow::switchSearch);
    placeFrame(FrameSwitch_, FrameSwitchLeft);

    FrameFile_ = makeFrame(Picture2_, "FrameFile", ModeFrameWidth);
    OptionNote_ = makeOption(FrameFile_, "OptionNote", QStringLiteral("Notes"));
    OptionCit_ = makeOption(FrameFile_, "OptionCit", QStringLiteral("Quotes"));
    OptionRef_ = makeOption(FrameFile_, "OptionRef", QStringLiteral("References"));
    OptionNote_->setChecked(true);
    placeFrame(FrameFile_, ModeFrameLeft);

    FrameOther_ = makeFrame(Picture2_, "FrameOther", OptionFrameWidth);
    Label6_ = new QLabel(QStringLiteral("sorted by :"), FrameOther_);
    Label6_->setObjectName(QStringLiteral("Label6"));
    FrameOther_->layout()->addWidget(Label6_);
    OptionByAuthor_ = makeOption(FrameOther_, "OptionByAuthor", QStringLiteral("Author"));
    OptionByDate_ = makeOption(FrameOther_, "OptionByDate", QStringLiteral("Date"));
    OptionByKeyword_ = makeOption(FrameOther_, "OptionByKeyword", QStringLiteral("Keyword"));
    commandSearchOther_ = new QPushButton(QStringLiteral("Go"), FrameOther_);
    commandSearchOther_->setObjectName(QStringLiteral("CommandSearchOther"));
    commandSearchOther_->setEnabled(false); // the card lists enable it
    static_cast<QHBoxLayout*>(FrameOther_->layout())->addStretch();
    FrameOther_->layout()->addWidget(commandSearchOther_);
    placeFrame(FrameOther_, OptionFrameLeft);
    FrameOther_->hide();

    FrameKW_ = makeFrame(Picture2_, "FrameKW", ModeFrameWidth);
    SwitchDoubleBrowser_ =
        makeSwitch(FrameKW_, "SwitchDoubleBrowser", QStringLiteral("Double Browser"));
    SwitchSimpleBrowser_ =
        makeSwitch(FrameKW_, "SwitchSimpleBrowser", QStringLiteral("Simple Browser"));
    layoutGroup_ = new QButtonGroup(this);
    layoutGroup_->setExclusive(true);
    layoutGroup_->addButton(SwitchDoubleBrowser_);
    layoutGroup_->addButton(SwitchSimpleBrowser_);
    SwitchSimpleBrowser_->setChecked(true);
    onSwitch(SwitchSimpleBrowser_, &MainWindow::simpleBrowserLayout);
    onSwitch(SwitchDoubleBrowser_, &MainWindow::doubleBrowserLayout);
    placeFrame(FrameKW_, ModeFrameLeft);
    FrameKW_->hide();

    FrameSearch_ = makeFrame(Picture2_, "FrameSearch", OptionFrameWidth);
    LabelText_ = new QLabel(QStringLiteral("Text :"), FrameSearch_);
    LabelText_->setObjectName(QStringLiteral("LabelText"));
    TextSearch_ = new QLineEdit(FrameSearch_);
    TextSearch_->setObjectName(QStringLiteral("TextSearch"));
    TextSearch_->setMinimumWidth(twipsToPixels(2700));
    LabelText_->setBuddy(TextSearch_);
    CommandSearchText_ = new QPushButton(QStringLiteral("Go"), FrameSearch_);
    CommandSearchText_->setObjectName(QStringLiteral("CommandSearchText"));
    CommandSearchText_->setEnabled(false); // the text search enables it
    FrameSearch_->layout()->addWidget(LabelText_);
    FrameSearch_->layout()->addWidget(TextSearch_);
    FrameSearch_->layout()->addWidget(CommandSearchText_);
    placeFrame(FrameSearch_, SearchFrameOnLoad);
}

void MainWindow::setKeywordMode(bool on) {
    const bool changed = keywordMode_ != on;
    keywordMode_ = on;
    if (changed) emit keywordModeChanged(on);
}

void MainWindow::setCardKindVisible(bool visible) {
    for (QRadioButton* o : {OptionNote_, OptionCit_, OptionRef_})
        o->setVisible(visible);
}

void MainWindow::onSwitch(QToolButton* s, void (MainWindow::*work)()) {
    // A switch does its work when it goes on, pressed or toggled by an assistive tool (which
    // checks it without a click), and again when pressed while it is on.
    connect(s, &QToolButton::toggled, this, [this, s, work](bool on) {
        if (!on) return;
        switchedOn_ = s;
        // The click that may follow comes at once; past it a press is a press again.
        QTimer::singleShot(0, this, [this] { switchedOn_ = nullptr; });
        (this->*work)();
    });
    connect(s, &QToolButton::clicked, this, [this, s, work] {
        if (std::exchange(switchedOn_, nullptr) != s) (this->*work)();
    });
}

void MainWindow::switchKW() {
    mode_ = Mode::KeyWords;
    placeFrame(FrameKW_, ModeFrameLeft);
    FrameKW_->show();
    FrameFile_->hide();
    FrameOther_->hide();
    FrameSearch_->hide();
    AllKWPanel_->hide();
    DownPanel_->hide();
    UpPanel_->hide();
    setKeywordMode(true);
    // The simple browser comes first; its switch shows it.
    {
        const QSignalBlocker quiet(SwitchSimpleBrowser_);
        SwitchSimpleBrowser_->setChecked(true);
    }
    simpleBrowserLayout();
}

void MainWindow::switchOther() {
    mode_ = Mode::Other;
    FrameFile_->show();
    placeFrame(FrameOther_, OptionFrameLeft);
    FrameOther_->show();
    FrameKW_->hide();
    FrameSearch_->hide();
    setKeywordMode(false);
    tabStripLayout();
}

void MainWindow::switchSearch() {
    mode_ = Mode::Search;
    placeFrame(FrameFile_, ModeFrameLeft);
    FrameFile_->show();
    placeFrame(FrameSearch_, OptionFrameLeft);
    FrameSearch_->show();
    FrameKW_->hide();
    FrameOther_->hide();
    AllKWPanel_->hide();
    DownPanel_->hide();
    UpPanel_->hide();
    setKeywordMode(false);
    tabStripLayout();
}

// --- side bar ------------------------------------------------------------------------------

void MainWindow::buildSideBar() {
    TabStrip1_ = new QTabBar(Picture1_);
    TabStrip1_->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1_->setDrawBase(true);
    // The bar is narrower than the three captions: the tabs stand along its left edge.
    TabStrip1_->setShape(QTabBar::RoundedWest);
    TabStrip1_->setExpanding(false);
    TabStrip1_->setUsesScrollButtons(false);
    TabStrip1_->setElideMode(Qt::ElideNone);
    const struct {
        const char* caption;
        const char* tip;
    } tabs[] = {
        {"Down Links", "displays the subsets of the selected Keyword"},
        {"Up Links", "displays the supersets or the selected Keyword"},
        {"  All Keywords  ", "display, add and remove Keywords"},
    };
    for (const auto& t : tabs) {
        const int i = TabStrip1_->addTab(QLatin1String(t.caption));
        TabStrip1_->setTabToolTip(i, QLatin1String(t.tip));
    }
    connect(TabStrip1_, &QTabBar::currentChanged, this, [this](int i) {
        if (layout_ == SideLayout::TabStrip) showTabPage(i);
    });

    AllKWPanel_ = makePanel(Picture1_, "AllKWPanel");
    DownPanel_ = makePanel(Picture1_, "DownPanel");
    UpPanel_ = makePanel(Picture1_, "UpPanel");
    DownUpPanel_ = makePanel(Picture1_, "DownUpPanel");
    DownUpPanel_->hide();

    Label1_ = new QLabel(QStringLiteral("Double Browser System"), Picture1_);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setAlignment(Qt::AlignCenter);
    QFont bold = Label1_->font();
    bold.setBold(true);
    Label1_->setFont(bold);
    Label1_->hide();
    KWSel_ = new QLabel(Picture1_);
    ctx_.selectedKeyword = [label = QPointer<QLabel>(KWSel_)] {
        return label ? label->text() : QString();
    };
    KWSel_->setObjectName(QStringLiteral("KWSel"));
    KWSel_->setFrameShape(QFrame::StyledPanel);
    KWSel_->setAlignment(Qt::AlignCenter);
    KWSel_->hide();
    KWSel2_ = new QLabel(Picture1_);
    KWSel2_->setObjectName(QStringLiteral("KWSel2"));
    KWSel2_->setFrameShape(QFrame::StyledPanel);
    KWSel2_->setAlignment(Qt::AlignCenter);

    linkButtons_ = {
        makeSideButton(Picture1_, "cmdAddFromListUp", QStyle::SP_ArrowUp),
        makeSideButton(Picture1_, "cmdFindIfLinks", QStyle::SP_ArrowRight),
        makeSideButton(Picture1_, "cmdAddFromListDown", QStyle::SP_ArrowDown),
        makeSideButton(Picture1_, "cmdSelFromUp", QStyle::SP_ArrowLeft),
        makeSideButton(Picture1_, "cmdSelFromDown", QStyle::SP_ArrowLeft),
        makeSideButton(Picture1_, "cmdSuppFromListUp", QStyle::SP_DialogDiscardButton),
        makeSideButton(Picture1_, "cmdSuppFromListDown", QStyle::SP_DialogDiscardButton),
    };
    cmdReverseSearch_ = makeSideButton(Picture1_, "cmdReverseSearch", QStyle::SP_BrowserReload);
    cmdSearchUp_ = makeSideButton(Picture1_, "cmdSearchUp", QStyle::SP_ArrowRight);

    setSideBarWidth(twipsToPixels(SideBarWidth));
    UpPanel_->setEnabled(false);
    AllKWPanel_->setEnabled(false);
}

void MainWindow::orderSideBarTabs() {
    // Tab crosses the side bar from left to right, as the keyword layouts place its parts.
    auto side = [this](const char* name) { return sideButton(QLatin1String(name)); };
    tabInOrder({keywordPanels_->list(), side("cmdAddFromListUp"), side("cmdFindIfLinks"),
                side("cmdAddFromListDown"), keywordPanels_->central(), side("cmdSelFromUp"),
                side("cmdSuppFromListUp"), side("cmdSelFromDown"), side("cmdSuppFromListDown"),
                keywordPanels_->down(), cmdSearchUp_, keywordPanels_->up()});
}

void MainWindow::setPanelContent(QFrame* panel, QWidget* content) {
    delete panel->layout();
    auto* l = new QVBoxLayout(panel);
    l->setContentsMargins(0, 0, 0, 0);
    content->setParent(panel);
    l->addWidget(content);
    content->show();
}

QToolButton* MainWindow::sideButton(const QString& objectName) const {
    return Picture1_->findChild<QToolButton*>(objectName, Qt::FindDirectChildrenOnly);
}

void MainWindow::setSideBarWidth(int pixels) {
    if (Picture1_->minimumWidth() == pixels && Picture1_->maximumWidth() == pixels) return;
    Picture1_->setFixedWidth(pixels);
    // The client area follows at once, not at the next pass of the event loop.
    if (QLayout* l = centralWidget() ? centralWidget()->layout() : nullptr) l->activate();
}

std::optional<CardKind> MainWindow::chosenKind() const {
    if (OptionNote_->isChecked()) return CardKind::Note;
    if (OptionCit_->isChecked()) return CardKind::Quote;
    if (OptionRef_->isChecked()) return CardKind::Reference;
    return std::nullopt;
}

void MainWindow::chooseKind(CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        OptionNote_->setChecked(true);
        break;
    case CardKind::Quote:
        OptionCit_->setChecked(true);
        break;
    case CardKind::Reference:
        OptionRef_->setChecked(true);
        break;
    }
}

std::optional<retrieval::Criterion> MainWindow::chosenCriterion() const {
    if (OptionByAuthor_->isChecked()) return retrieval::Criterion::Author;
    if (OptionByDate_->isChecked()) return retrieval::Criterion::Date;
    if (OptionByKeyword_->isChecked()) return retrieval::Criterion::Keyword;
    return std::nullopt;
}

// The modes as the switches show them: the top bar is what the user sees and sets.
bool MainWindow::keywordMode() const {
    return SwitchKW_->isChecked();
}

bool MainWindow::otherMode() const {
    return SwitchOther_->isChecked();
}

bool MainWindow::searchMode() const {
    return SwitchSearch_->isChecked();
}

QString MainWindow::selectedKeyword() const {
    return KWSel_->text();
}

void MainWindow::showAllKeywordsPage() {
    if (TabStrip1_->count() >= 3) TabStrip1_->setCurrentIndex(2);
}

int MainWindow::sideBarWidth() const {
    return Picture1_->isVisible() ? Picture1_->width() : 0;
}

retrieval::RetrievalControls MainWindow::retrievalControls() {
    retrieval::RetrievalControls c;
    c.window = this;
    c.host = this;
    c.notesByKeyword = action(QStringLiteral("mNotebyKeyword"));
    c.notesByDate = action(QStringLiteral("mNotebyDate"));
    c.quotesByKeyword = action(QStringLiteral("mCitOpenKW"));
    c.quotesByDate = action(QStringLiteral("mCitOpenDate"));
    c.quotesByAuthor = action(QStringLiteral("mCitOpenAuthor"));
    c.referencesByAuthor = action(QStringLiteral("mBibOpenAuthor"));
    c.referencesByKeyword = action(QStringLiteral("mBibOpenKW"));
    c.optionNote = OptionNote_;
    c.optionCit = OptionCit_;
    c.optionRef = OptionRef_;
    c.byAuthor = OptionByAuthor_;
    c.byDate = OptionByDate_;
    c.byKeyword = OptionByKeyword_;
    c.searchOther = commandSearchOther_;
    return c;
}

retrieval::TextSearchControls MainWindow::textSearchControls() {
    retrieval::TextSearchControls c;
    c.host = this;
    c.text = TextSearch_;
    c.go = CommandSearchText_;
    c.notesCards = action(QStringLiteral("mNFindText"));
    c.quotesCards = action(QStringLiteral("mCitFindText"));
    c.notesGrid = action(QStringLiteral("GridKWText"));
    c.quotesGrid = action(QStringLiteral("GridKWText2"));
    return c;
}

cards::CardMenus MainWindow::cardMenus() {
    cards::CardMenus m;
    m.window = this;
    m.newNote = action(QStringLiteral("mNNew"));
    m.noteNew = action(QStringLiteral("mNoteNew"));
    m.newQuote = action(QStringLiteral("mCitNew"));
    m.quoteNew = action(QStringLiteral("mCitNew2"));
    m.newReference = action(QStringLiteral("mBibNew"));
    m.referenceNew = action(QStringLiteral("mBibNew2"));
    return m;
}

void MainWindow::showTabPage(int index) {
    QFrame* pages[3] = {DownPanel_, UpPanel_, AllKWPanel_};
    for (int i = 0; i < 3; ++i) {
        pages[i]->setVisible(i == index);
        pages[i]->setEnabled(i == index);
    }
    if (index == 1) emit upLinksSelected();
}

void MainWindow::tabStripLayout() {
    layout_ = SideLayout::TabStrip;
    setSideBarWidth(twipsToPixels(SideBarWidth));
    setCardKindVisible(true);
    KWSel2_->setText(KWSel_->text());
    // What belongs to keyword mode leaves the narrow bar.
    for (QToolButton* b : linkButtons_)
        b->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->hide();
    DownUpPanel_->hide();
    Label1_->hide();
    KWSel_->hide();
    TabStrip1_->show();
    KWSel2_->show();
    placeTabStrip();
    showTabPage(TabStrip1_->currentIndex());
}

void MainWindow::simpleBrowserLayout() {
    layout_ = SideLayout::SimpleBrowser;
    setCardKindVisible(false);
    Label1_->hide();
    KWSel2_->hide();
    TabStrip1_->hide();
    KWSel_->show();
    for (QToolButton* b : linkButtons_)
        b->show();
    UpPanel_->hide();
    DownPanel_->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->hide();
    DownUpPanel_->show();
    placeSimpleBrowser();
    AllKWPanel_->show();
    AllKWPanel_->setEnabled(true);
}

void MainWindow::doubleBrowserLayout() {
    layout_ = SideLayout::DoubleBrowser;
    setCardKindVisible(false);
    TabStrip1_->hide();
    Label1_->show();
    KWSel_->show();
    KWSel2_->show();
    AllKWPanel_->show();
    AllKWPanel_->setEnabled(true);
    DownUpPanel_->hide();
    for (QToolButton* b : linkButtons_)
        b->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->show();
    placeDoubleBrowser();
    for (QFrame* p : {DownPanel_, UpPanel_, AllKWPanel_}) {
        p->show();
        p->setEnabled(true);
    }
}

void MainWindow::placeCurrentLayout() {
    switch (layout_) {
    case SideLayout::TabStrip:
        placeTabStrip();
        break;
    case SideLayout::SimpleBrowser:
        placeSimpleBrowser();
        break;
    case SideLayout::DoubleBrowser:
        placeDoubleBrowser();
        break;
    }
}

void MainWindow::placeTabStrip() {
    const int width = Picture1_->width();
    const int height = Picture1_->height();
    const int caption = twipsToPixels(CaptionHeight);
    const int m = twipsToPixels(Margin) / 2;
    const int tabWidth = TabStrip1_->sizeHint().width();
    TabStrip1_->setGeometry(0, m, tabWidth, height - 2 * m);
    // The client area of the tab strip, above the label of the selected keyword.
    const QRect client(tabWidth, m, width - tabWidth - m, height - caption - 3 * m);
    for (QFrame* p : {DownPanel_, UpPanel_, AllKWPanel_})
        p->setGeometry(client);
    KWSel2_->setGeometry(tabWidth, height - caption - m, width - tabWidth - m, caption);
}

void MainWindow::placeSimpleBrowser() {
    const int m = twipsToPixels(Margin);
    const int caption = twipsToPixels(CaptionHeight);
    const int button = twipsToPixels(SideButtonSize);
    const int top = m + caption + m;
    const int height = std::max(Picture1_->height() - top - m, 4 * button);

    KWSel_->setGeometry(m, m, twipsToPixels(ListPanelWidth), caption);
    AllKWPanel_->setGeometry(m, top, twipsToPixels(ListPanelWidth), height);

    // A column just right of the list: add as Superset (by the Supersets), make central
    // (by the central Set), add as Subset (by the Subsets).
    const int columnLeft = AllKWPanel_->geometry().right() + 1 + m;
    QToolButton* addUp = sideButton(QStringLiteral("cmdAddFromListUp"));
    QToolButton* find = sideButton(QStringLiteral("cmdFindIfLinks"));
    QToolButton* addDown = sideButton(QStringLiteral("cmdAddFromListDown"));
    const int panelLeft = columnLeft + button + m;
    DownUpPanel_->setGeometry(panelLeft, top, twipsToPixels(CentralPanelWidth), height);

    // Beside GridUp and GridDown when the browser has its grids, else by the top and the
    // bottom sixth of the panel.
    auto gridBand = [&](const QWidget* g, int fallbackCentre) {
        if (!g) return fallbackCentre;
        const QRect r(g->mapTo(Picture1_, QPoint(0, 0)), g->size());
        return r.center().y();
    };
    keywords::CentralSetBrowser* central = keywordPanels_ ? keywordPanels_->central() : nullptr;
    const int upCentre = gridBand(central ? central->gridUp() : nullptr, top + height / 6);
    const int downCentre = gridBand(central ? central->gridDown() : nullptr, top + height * 5 / 6);
    const int middle = top + height / 2;
    addUp->move(columnLeft, upCentre - button / 2);
    find->move(columnLeft, middle - button / 2);
    addDown->move(columnLeft, downCentre - button / 2);

    const int besideLeft = DownUpPanel_->geometry().right() + 1 + m;
    sideButton(QStringLiteral("cmdSelFromUp"))->move(besideLeft, upCentre - button - m / 2);
    sideButton(QStringLiteral("cmdSuppFromListUp"))->move(besideLeft, upCentre + m / 2);
    sideButton(QStringLiteral("cmdSelFromDown"))->move(besideLeft, downCentre - button - m / 2);
    sideButton(QStringLiteral("cmdSuppFromListDown"))->move(besideLeft, downCentre + m / 2);

    setSideBarWidth(besideLeft + button + twipsToPixels(WideMargin));
}

void MainWindow::placeDoubleBrowser() {
    const int m = twipsToPixels(Margin);
    const int caption = twipsToPixels(CaptionHeight);
    const int button = twipsToPixels(SideButtonSize);
    const int top = m + caption + m;
    const int height = std::max(Picture1_->height() - top - m, 2 * button);
    const int listWidth = twipsToPixels(ListPanelWidth);
    const int levelWidth = twipsToPixels(LevelPanelWidth);

    KWSel_->setGeometry(m, m, listWidth, caption);
    AllKWPanel_->setGeometry(m, top, listWidth, height);
    const int downLeft = m + listWidth + m;
    DownPanel_->setGeometry(downLeft, top, levelWidth, height);
    const int searchLeft = downLeft + levelWidth + m;
    cmdSearchUp_->move(searchLeft, top + (height - button) / 2);
    const int upLeft = searchLeft + button + m;
    UpPanel_->setGeometry(upLeft, top, levelWidth, height);
    Label1_->setGeometry(downLeft, m, levelWidth, caption);
    KWSel2_->setGeometry(upLeft, m, levelWidth, caption);

    setSideBarWidth(upLeft + levelWidth + twipsToPixels(WideMargin));
}

} // namespace vlm
