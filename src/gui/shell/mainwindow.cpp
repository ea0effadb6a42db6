#include "gui/shell/mainwindow.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/session/basechoice.h"
#include "core/session/session.h"
#include "gui/cards/cardopen.h"
#include "gui/cards/cardwindows.h"
#include "gui/keywords/keywordgrid.h"
#include "gui/keywords/keywordlistwindow.h"
#include "gui/keywords/keywordpanels.h"
#include "gui/keywords/linkeditors.h"
#include "gui/retrieval/cardlists.h"
#include "gui/shell/aboutdialog.h"

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
constexpr int ModeFrameLeft = 2620;     // FrameFile, FrameKW
constexpr int OptionFrameLeft = 5940;   // FrameOther, FrameSearch
constexpr int SearchFrameOnLoad = 5880; // FrameSearch when the window loads
constexpr int SideBarWidth = 2350;
constexpr int Margin = 100;
constexpr int WideMargin = 200;
constexpr int CaptionHeight = 300;
constexpr int ListPanelWidth = 2200;    // AllKWPanel beside the browsers
constexpr int CentralPanelWidth = 3600; // DownUpPanel
constexpr int LevelPanelWidth = 3200;   // DownPanel, UpPanel: a 3000-twip level and its bar
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
    controls.KWSel = main.KWSel;
    controls.KWSel2 = main.KWSel2;
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

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MDIClientHost"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Picture2 = new QWidget(central);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFixedHeight(twipsToPixels(TopBarHeight));
    // The bars are dense: their controls use a smaller type than the menus.
    QFont small = font();
    small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1));
    Picture2->setFont(small);
    column->addWidget(Picture2);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Picture1 = new QWidget(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFont(small);
    row->addWidget(Picture1);
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
    Picture1->installEventFilter(this);
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
    item(database, "mImport", QStringLiteral("&Import"), false);
    separator(database, "Nul3");
    connect(item(database, "mSaveAs", QStringLiteral("&Save As...")), &QAction::triggered, this,
            &MainWindow::saveAsRequested);
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

    QMenu* help = menu(bar, "mHelp", QStringLiteral("&?"));
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
    SwitchSearch->setChecked(true);
    SwitchSimpleBrowser->setChecked(true);
    mode_ = Mode::Search;
    setKeywordMode(false);
    {
        const QSignalBlocker block(TabStrip1);
        TabStrip1->setCurrentIndex(0);
    }
    FrameKW->hide();
    FrameOther->hide();
    placeFrame(FrameFile, ModeFrameLeft);
    FrameFile->show();
    tabStripLayout();
    placeFrame(FrameSearch, SearchFrameOnLoad);
    FrameSearch->show();
    emit baseLoaded();
}

void MainWindow::baseChanged() {
    showTitle();
    seedKeywords();
    emit baseLoaded();
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
    } else if (watched == Picture1 && event->type() == QEvent::Resize) {
        placeCurrentLayout();
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- top bar -------------------------------------------------------------------------------

void MainWindow::buildTopBar() {
    FrameSwitch = makeFrame(Picture2, "FrameSwitch", FrameSwitchWidth);
    SwitchOther = makeSwitch(FrameSwitch, "SwitchOther", QStringLiteral("Other"));
    SwitchKW = makeSwitch(FrameSwitch, "SwitchKW", QStringLiteral("KeyWords"));
    SwitchSearch = makeSwitch(FrameSwitch, "SwitchSearch", QStringLiteral("Search"));
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->setExclusive(true);
    for (QToolButton* s : {SwitchOther, SwitchKW, SwitchSearch})
        modeGroup_->addButton(s);
    connect(SwitchKW, &QToolButton::clicked, this, &MainWindow::switchKW);
    connect(SwitchOther, &QToolButton::clicked, this, &MainWindow::switchOther);
    connect(SwitchSearch, &QToolButton::clicked, this, &MainWindow::switchSearch);
    SwitchSearch->setChecked(true);
    placeFrame(FrameSwitch, FrameSwitchLeft);

    FrameFile = makeFrame(Picture2, "FrameFile", ModeFrameWidth);
    OptionNote = makeOption(FrameFile, "OptionNote", QStringLiteral("Notes"));
    OptionCit = makeOption(FrameFile, "OptionCit", QStringLiteral("Quotes"));
    OptionRef = makeOption(FrameFile, "OptionRef", QStringLiteral("References"));
    OptionNote->setChecked(true);
    placeFrame(FrameFile, ModeFrameLeft);

    FrameOther = makeFrame(Picture2, "FrameOther", OptionFrameWidth);
    Label6 = new QLabel(QStringLiteral("sorted by :"), FrameOther);
    Label6->setObjectName(QStringLiteral("Label6"));
    FrameOther->layout()->addWidget(Label6);
    OptionByAuthor = makeOption(FrameOther, "OptionByAuthor", QStringLiteral("Author"));
    OptionByDate = makeOption(FrameOther, "OptionByDate", QStringLiteral("Date"));
    OptionByKeyword = makeOption(FrameOther, "OptionByKeyword", QStringLiteral("Keyword"));
    commandSearchOther = new QPushButton(QStringLiteral("Go"), FrameOther);
    commandSearchOther->setObjectName(QStringLiteral("CommandSearchOther"));
    commandSearchOther->setEnabled(false); // the card lists enable it
    static_cast<QHBoxLayout*>(FrameOther->layout())->addStretch();
    FrameOther->layout()->addWidget(commandSearchOther);
    placeFrame(FrameOther, OptionFrameLeft);
    FrameOther->hide();

    FrameKW = makeFrame(Picture2, "FrameKW", ModeFrameWidth);
    SwitchDoubleBrowser =
        makeSwitch(FrameKW, "SwitchDoubleBrowser", QStringLiteral("Double Browser"));
    SwitchSimpleBrowser =
        makeSwitch(FrameKW, "SwitchSimpleBrowser", QStringLiteral("Simple Browser"));
    layoutGroup_ = new QButtonGroup(this);
    layoutGroup_->setExclusive(true);
    layoutGroup_->addButton(SwitchDoubleBrowser);
    layoutGroup_->addButton(SwitchSimpleBrowser);
    connect(SwitchSimpleBrowser, &QToolButton::clicked, this, &MainWindow::simpleBrowserLayout);
    connect(SwitchDoubleBrowser, &QToolButton::clicked, this, &MainWindow::doubleBrowserLayout);
    SwitchSimpleBrowser->setChecked(true);
    placeFrame(FrameKW, ModeFrameLeft);
    FrameKW->hide();

    FrameSearch = makeFrame(Picture2, "FrameSearch", OptionFrameWidth);
    LabelText = new QLabel(QStringLiteral("Text :"), FrameSearch);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    TextSearch = new QLineEdit(FrameSearch);
    TextSearch->setObjectName(QStringLiteral("TextSearch"));
    TextSearch->setMinimumWidth(twipsToPixels(2700));
    LabelText->setBuddy(TextSearch);
    CommandSearchText = new QPushButton(QStringLiteral("Go"), FrameSearch);
    CommandSearchText->setObjectName(QStringLiteral("CommandSearchText"));
    CommandSearchText->setEnabled(false); // the text search enables it
    FrameSearch->layout()->addWidget(LabelText);
    FrameSearch->layout()->addWidget(TextSearch);
    FrameSearch->layout()->addWidget(CommandSearchText);
    placeFrame(FrameSearch, SearchFrameOnLoad);
}

void MainWindow::setKeywordMode(bool on) {
    const bool changed = keywordMode_ != on;
    keywordMode_ = on;
    if (changed) emit keywordModeChanged(on);
}

void MainWindow::setCardKindVisible(bool visible) {
    for (QRadioButton* o : {OptionNote, OptionCit, OptionRef})
        o->setVisible(visible);
}

void MainWindow::switchKW() {
    mode_ = Mode::KeyWords;
    placeFrame(FrameKW, ModeFrameLeft);
    FrameKW->show();
    FrameFile->hide();
    FrameOther->hide();
    FrameSearch->hide();
    AllKWPanel->hide();
    DownPanel->hide();
    UpPanel->hide();
    setKeywordMode(true);
    // The simple browser comes first; its switch shows it.
    SwitchSimpleBrowser->setChecked(true);
    simpleBrowserLayout();
}

void MainWindow::switchOther() {
    mode_ = Mode::Other;
    FrameFile->show();
    placeFrame(FrameOther, OptionFrameLeft);
    FrameOther->show();
    FrameKW->hide();
    FrameSearch->hide();
    setKeywordMode(false);
    tabStripLayout();
}

void MainWindow::switchSearch() {
    mode_ = Mode::Search;
    placeFrame(FrameFile, ModeFrameLeft);
    FrameFile->show();
    placeFrame(FrameSearch, OptionFrameLeft);
    FrameSearch->show();
    FrameKW->hide();
    FrameOther->hide();
    AllKWPanel->hide();
    DownPanel->hide();
    UpPanel->hide();
    setKeywordMode(false);
    tabStripLayout();
}

// --- side bar ------------------------------------------------------------------------------

void MainWindow::buildSideBar() {
    TabStrip1 = new QTabBar(Picture1);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setDrawBase(true);
    // The bar is narrower than the three captions: the tabs stand along its left edge.
    TabStrip1->setShape(QTabBar::RoundedWest);
    TabStrip1->setExpanding(false);
    TabStrip1->setUsesScrollButtons(false);
    TabStrip1->setElideMode(Qt::ElideNone);
    const struct {
        const char* caption;
        const char* tip;
    } tabs[] = {
        {"Down Links", "displays the subsets of the selected Keyword"},
        {"Up Links", "displays the supersets or the selected Keyword"},
        {"  All Keywords  ", "display, add and remove Keywords"},
    };
    for (const auto& t : tabs) {
        const int i = TabStrip1->addTab(QLatin1String(t.caption));
        TabStrip1->setTabToolTip(i, QLatin1String(t.tip));
    }
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int i) {
        if (layout_ == SideLayout::TabStrip) showTabPage(i);
    });

    AllKWPanel = makePanel(Picture1, "AllKWPanel");
    DownPanel = makePanel(Picture1, "DownPanel");
    UpPanel = makePanel(Picture1, "UpPanel");
    DownUpPanel = makePanel(Picture1, "DownUpPanel");
    DownUpPanel->hide();

    Label1 = new QLabel(QStringLiteral("Double Browser System"), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->hide();
    KWSel = new QLabel(Picture1);
    ctx_.selectedKeyword = [label = QPointer<QLabel>(KWSel)] {
        return label ? label->text() : QString();
    };
    KWSel->setObjectName(QStringLiteral("KWSel"));
    KWSel->setFrameShape(QFrame::StyledPanel);
    KWSel->setAlignment(Qt::AlignCenter);
    KWSel->hide();
    KWSel2 = new QLabel(Picture1);
    KWSel2->setObjectName(QStringLiteral("KWSel2"));
    KWSel2->setFrameShape(QFrame::StyledPanel);
    KWSel2->setAlignment(Qt::AlignCenter);

    linkButtons_ = {
        makeSideButton(Picture1, "cmdAddFromListUp", QStyle::SP_ArrowUp),
        makeSideButton(Picture1, "cmdFindIfLinks", QStyle::SP_ArrowRight),
        makeSideButton(Picture1, "cmdAddFromListDown", QStyle::SP_ArrowDown),
        makeSideButton(Picture1, "cmdSelFromUp", QStyle::SP_ArrowLeft),
        makeSideButton(Picture1, "cmdSelFromDown", QStyle::SP_ArrowLeft),
        makeSideButton(Picture1, "cmdSuppFromListUp", QStyle::SP_DialogDiscardButton),
        makeSideButton(Picture1, "cmdSuppFromListDown", QStyle::SP_DialogDiscardButton),
    };
    cmdReverseSearch_ = makeSideButton(Picture1, "cmdReverseSearch", QStyle::SP_BrowserReload);
    cmdSearchUp_ = makeSideButton(Picture1, "cmdSearchUp", QStyle::SP_ArrowRight);

    setSideBarWidth(twipsToPixels(SideBarWidth));
    UpPanel->setEnabled(false);
    AllKWPanel->setEnabled(false);
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
    return Picture1->findChild<QToolButton*>(objectName, Qt::FindDirectChildrenOnly);
}

void MainWindow::setSideBarWidth(int pixels) {
    if (Picture1->minimumWidth() == pixels && Picture1->maximumWidth() == pixels) return;
    Picture1->setFixedWidth(pixels);
    // The client area follows at once, not at the next pass of the event loop.
    if (QLayout* l = centralWidget() ? centralWidget()->layout() : nullptr) l->activate();
}

std::optional<CardKind> MainWindow::chosenKind() const {
    if (OptionNote->isChecked()) return CardKind::Note;
    if (OptionCit->isChecked()) return CardKind::Quote;
    if (OptionRef->isChecked()) return CardKind::Reference;
    return std::nullopt;
}

void MainWindow::chooseKind(CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        OptionNote->setChecked(true);
        break;
    case CardKind::Quote:
        OptionCit->setChecked(true);
        break;
    case CardKind::Reference:
        OptionRef->setChecked(true);
        break;
    }
}

std::optional<retrieval::Criterion> MainWindow::chosenCriterion() const {
    if (OptionByAuthor->isChecked()) return retrieval::Criterion::Author;
    if (OptionByDate->isChecked()) return retrieval::Criterion::Date;
    if (OptionByKeyword->isChecked()) return retrieval::Criterion::Keyword;
    return std::nullopt;
}

// The modes as the switches show them: the top bar is what the user sees and sets.
bool MainWindow::keywordMode() const {
    return SwitchKW->isChecked();
}

bool MainWindow::otherMode() const {
    return SwitchOther->isChecked();
}

bool MainWindow::searchMode() const {
    return SwitchSearch->isChecked();
}

QString MainWindow::selectedKeyword() const {
    return KWSel->text();
}

void MainWindow::showAllKeywordsPage() {
    if (TabStrip1->count() >= 3) TabStrip1->setCurrentIndex(2);
}

int MainWindow::sideBarWidth() const {
    return Picture1->isVisible() ? Picture1->width() : 0;
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
    c.optionNote = OptionNote;
    c.optionCit = OptionCit;
    c.optionRef = OptionRef;
    c.byAuthor = OptionByAuthor;
    c.byDate = OptionByDate;
    c.byKeyword = OptionByKeyword;
    c.searchOther = commandSearchOther;
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
    QFrame* pages[3] = {DownPanel, UpPanel, AllKWPanel};
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
    KWSel2->setText(KWSel->text());
    // What belongs to keyword mode leaves the narrow bar.
    for (QToolButton* b : linkButtons_)
        b->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->hide();
    DownUpPanel->hide();
    Label1->hide();
    KWSel->hide();
    TabStrip1->show();
    KWSel2->show();
    placeTabStrip();
    showTabPage(TabStrip1->currentIndex());
}

void MainWindow::simpleBrowserLayout() {
    layout_ = SideLayout::SimpleBrowser;
    setCardKindVisible(false);
    Label1->hide();
    KWSel2->hide();
    TabStrip1->hide();
    KWSel->show();
    for (QToolButton* b : linkButtons_)
        b->show();
    UpPanel->hide();
    DownPanel->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->hide();
    DownUpPanel->show();
    placeSimpleBrowser();
    AllKWPanel->show();
    AllKWPanel->setEnabled(true);
}

void MainWindow::doubleBrowserLayout() {
    layout_ = SideLayout::DoubleBrowser;
    setCardKindVisible(false);
    TabStrip1->hide();
    Label1->show();
    KWSel->show();
    KWSel2->show();
    AllKWPanel->show();
    AllKWPanel->setEnabled(true);
    DownUpPanel->hide();
    for (QToolButton* b : linkButtons_)
        b->hide();
    cmdReverseSearch_->hide();
    cmdSearchUp_->show();
    placeDoubleBrowser();
    for (QFrame* p : {DownPanel, UpPanel, AllKWPanel}) {
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
    const int width = Picture1->width();
    const int height = Picture1->height();
    const int caption = twipsToPixels(CaptionHeight);
    const int m = twipsToPixels(Margin) / 2;
    const int tabWidth = TabStrip1->sizeHint().width();
    TabStrip1->setGeometry(0, m, tabWidth, height - 2 * m);
    // The client area of the tab strip, above the label of the selected keyword.
    const QRect client(tabWidth, m, width - tabWidth - m, height - caption - 3 * m);
    for (QFrame* p : {DownPanel, UpPanel, AllKWPanel})
        p->setGeometry(client);
    KWSel2->setGeometry(tabWidth, height - caption - m, width - tabWidth - m, caption);
}

void MainWindow::placeSimpleBrowser() {
    const int m = twipsToPixels(Margin);
    const int caption = twipsToPixels(CaptionHeight);
    const int button = twipsToPixels(SideButtonSize);
    const int top = m + caption + m;
    const int height = std::max(Picture1->height() - top - m, 4 * button);

    KWSel->setGeometry(m, m, twipsToPixels(ListPanelWidth), caption);
    AllKWPanel->setGeometry(m, top, twipsToPixels(ListPanelWidth), height);

    // A column just right of the list: add as Superset (by the Supersets), make central
    // (by the central Set), add as Subset (by the Subsets).
    const int columnLeft = AllKWPanel->geometry().right() + 1 + m;
    QToolButton* addUp = sideButton(QStringLiteral("cmdAddFromListUp"));
    QToolButton* find = sideButton(QStringLiteral("cmdFindIfLinks"));
    QToolButton* addDown = sideButton(QStringLiteral("cmdAddFromListDown"));
    const int panelLeft = columnLeft + button + m;
    DownUpPanel->setGeometry(panelLeft, top, twipsToPixels(CentralPanelWidth), height);

    // Beside GridUp and GridDown when the browser has its grids, else by the top and the
    // bottom sixth of the panel.
    auto gridBand = [&](const QWidget* g, int fallbackCentre) {
        if (!g) return fallbackCentre;
        const QRect r(g->mapTo(Picture1, QPoint(0, 0)), g->size());
        return r.center().y();
    };
    keywords::CentralSetBrowser* central = keywordPanels_ ? keywordPanels_->central() : nullptr;
    const int upCentre = gridBand(central ? central->gridUp() : nullptr, top + height / 6);
    const int downCentre = gridBand(central ? central->gridDown() : nullptr, top + height * 5 / 6);
    const int middle = top + height / 2;
    addUp->move(columnLeft, upCentre - button / 2);
    find->move(columnLeft, middle - button / 2);
    addDown->move(columnLeft, downCentre - button / 2);

    const int besideLeft = DownUpPanel->geometry().right() + 1 + m;
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
    const int height = std::max(Picture1->height() - top - m, 2 * button);
    const int listWidth = twipsToPixels(ListPanelWidth);
    const int levelWidth = twipsToPixels(LevelPanelWidth);

    KWSel->setGeometry(m, m, listWidth, caption);
    AllKWPanel->setGeometry(m, top, listWidth, height);
    const int downLeft = m + listWidth + m;
    DownPanel->setGeometry(downLeft, top, levelWidth, height);
    const int searchLeft = downLeft + levelWidth + m;
    cmdSearchUp_->move(searchLeft, top + (height - button) / 2);
    const int upLeft = searchLeft + button + m;
    UpPanel->setGeometry(upLeft, top, levelWidth, height);
    Label1->setGeometry(downLeft, m, levelWidth, caption);
    KWSel2->setGeometry(upLeft, m, levelWidth, caption);

    setSideBarWidth(upLeft + levelWidth + twipsToPixels(WideMargin));
}

} // namespace vlm
