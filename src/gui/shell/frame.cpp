#include "gui/shell/frame.h"

#include "core/session/basechoice.h"
#include "core/session/session.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardwindows.h"
#include "gui/common/childwindows.h"
#include "gui/common/workingwindow.h"
#include "gui/retrieval/cardlists.h"
#include "gui/shell/baseimport.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/startwindow.h"
#include "gui/shell/welcomedialog.h"
#include "gui/words/wordindexwindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSessionManager>
#include <QWidget>
#include <new>

namespace vlm {

Frame::Frame(Session& ctx, QString workFolder, QObject* parent)
    : QObject(parent), ctx_(ctx), workFolder_(std::move(workFolder)),
      quitHandler_([] { QCoreApplication::exit(0); }) {
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &Frame::commitData);
    // The check of a large base at open reads all of it: a second or more.
    ctx_.base.openProgress = [] {
        return std::make_unique<LateWorkingWindow>(QStringLiteral("Opening the base..."));
    };
}

Frame::~Frame() {
    qApp->removeEventFilter(this);
    ended_ = true;
    delete welcome_;
    delete main_;
    delete start_;
}

StartWindow* Frame::createStartWindow() {
    return new StartWindow;
}

bool Frame::start(bool animate) {
    try {
        start_ = createStartWindow();
        start_->setAttribute(Qt::WA_DeleteOnClose);
        connect(start_, &StartWindow::finished, this, &Frame::startBase);
        start_->show();
        if (animate) start_->startAnimation();
    } catch (const std::bad_alloc&) {
        delete start_;
        ended_ = true;
        ctx_.prompter.message(QStringLiteral("Mémoire insuffisante"), Buttons::Ok,
                              Icon::Exclamation);
        return false;
    }
    return true;
}

void Frame::startBase() {
    if (start_) start_->hide();
    if (!startFile_.isEmpty()) {
        openStartFile();
        if (start_) start_->close();
        return;
    }
    const QString path =
        QDir(workFolder_).filePath(store::BaseSession::freeStartBaseName(workFolder_));
    ctx_.base.BasePath = path;
    follow(ctx_.base.createStartBase(path));
    if (start_) start_->close();
}

void Frame::openStartFile() {
    const QFileInfo file(startFile_);
    QString problem;
    if (!file.exists())
        problem = QStringLiteral("The base %1 does not exist.");
    else if (!file.isFile() || !file.isReadable())
        problem = QStringLiteral("The base %1 cannot be read.");
    if (!problem.isEmpty()) {
        ctx_.prompter.message(problem.arg(QDir::toNativeSeparators(file.absoluteFilePath())),
                              Buttons::Ok, Icon::Exclamation);
        showWelcome();
        return;
    }
    ctx_.base.BasePath = file.absoluteFilePath();
    follow(ctx_.base.openBase(ctx_.base.BasePath));
}

MainWindow* Frame::ensureMain() {
    if (!main_) {
        main_ = new MainWindow(ctx_);
        connect(main_, &MainWindow::loadRequested, this, &Frame::loadBase);
        connect(main_, &MainWindow::newBaseRequested, this, &Frame::newBase);
        connect(main_, &MainWindow::saveAsRequested, this, &Frame::saveBaseAs);
        connect(main_, &MainWindow::importRequested, this, &Frame::importBase);
        connect(main_, &MainWindow::quitRequested, this, &Frame::quitProgram);
        cards::connectCardMenus(ctx_, main_->cardMenus());
        retrieval::connectRetrieval(ctx_, main_->retrievalControls());
        retrieval::connectTextSearch(ctx_, main_->textSearchControls());
        words::connectWordIndex(ctx_, {main_->action(QStringLiteral("mIndexAllNotes")),
                                       main_->action(QStringLiteral("mIndexAllQuotes")),
                                       main_->action(QStringLiteral("mnuAllKeywordsNotes")),
                                       main_->action(QStringLiteral("mnuAllKeywordsQuotes"))});
    }
    return main_;
}

WelcomeDialog* Frame::ensureWelcome() {
    if (!welcome_) {
        welcome_ = new WelcomeDialog(ctx_, ensureMain());
        connect(welcome_, &WelcomeDialog::operationDone, this, &Frame::follow);
        connect(welcome_, &WelcomeDialog::existingBaseCancelled, this,
                &Frame::existingBaseCancelled);
        connect(welcome_, &WelcomeDialog::quitRequested, this, &Frame::quit);
    }
    return welcome_;
}

void Frame::showMain() {
    MainWindow* w = ensureMain();
    if (w->isVisible()) {
        w->baseChanged();
    } else {
        w->load();
        w->show();
    }
    w->raise();
    w->activateWindow();
}

void Frame::showWelcome() {
    WelcomeDialog* w = ensureWelcome();
    if (!w->isVisible() || w->retryMode()) w->setNormalMode();
    w->show();
    w->raise();
    w->activateWindow();
}

void Frame::follow(store::Next next) {
    switch (next) {
    case store::Next::ShowMainWindow:
        showMain();
        if (welcome_) welcome_->hide();
        break;
    case store::Next::StayInWelcome:
        if (!welcome_ || !welcome_->isVisible()) showWelcome();
        break;
    case store::Next::RetryMode:
        ensureWelcome()->setRetryMode();
        break;
    case store::Next::ShowWelcome:
        showWelcome();
        break;
    }
}

void Frame::loadBase() {
    MainWindow* w = ensureMain();
    // The child windows close while their base is still open; one that refuses stops the Load.
    if (!w->closeChildWindows()) return;
    ctx_.base.closeBase();
    showWelcome();
    w->hide();
}

void Frame::newBase() {
    // The card windows write to the base they were opened on: they close before another
    // base can take its place.
    if (!cards::closeCardWindows(ctx_)) return;
    showWelcome();
}

void Frame::saveBaseAs() {
    MainWindow* w = ensureMain();
    if (!w->closeChildWindows()) return;
    w->hide();
    follow(ctx_.base.saveBaseAs());
}

void Frame::importBase() {
    MainWindow* w = ensureMain();
    ctx_.prompter.message(QStringLiteral("Select a base to import"), Buttons::Ok);
    // The dialog leaves BasePath to the open base.
    const QString path = chooseExistingBase(ctx_.prompter);
    if (path.isEmpty() || !w->closeChildWindows()) return;
    const std::optional<cards::ImportReport> report = importWithProgress(ctx_, path, w);
    ctx_.base.closeBase();
    follow(ctx_.base.reopenBase());
    if (report && main_ && main_->isVisible())
        showChildWindow(ctx_, new ImportSummary(*report), {{}, {}, true});
}

bool Frame::quitProgram() {
    if (main_ ? !main_->closeChildWindows() : !cards::closeCardWindows(ctx_)) return false;
    ctx_.base.closeBase();
    quit();
    return true;
}

void Frame::commitData(QSessionManager& manager) {
    // Without leave to ask, nothing is decided for the user: the windows stay as they are.
    if (ended_ || !manager.allowsInteraction()) return;
    const bool ended = quitProgram();
    manager.release();
    if (!ended) manager.cancel();
}

void Frame::quit() {
    if (ended_) return;
    ended_ = true;
    if (quitHandler_) quitHandler_();
}

void Frame::existingBaseCancelled() {
    // After Database > Load no other window is left: the program ends.
    if (!anyWindowVisible()) quit();
}

bool Frame::anyWindowVisible() const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Window || type == Qt::Dialog || type == Qt::SplashScreen) return true;
    }
    return false;
}

void Frame::endIfNoWindow() {
    if (!ended_ && !anyWindowVisible()) quit();
}

bool Frame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && !ended_ && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        // A window really hidden (a minimised one stays visible). Whether any is left is
        // looked at once the work under way is over: the frame often hides one window just
        // before it shows the next.
        if (w->isWindow() && !w->isVisible())
            QMetaObject::invokeMethod(this, &Frame::endIfNoWindow, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vlm
