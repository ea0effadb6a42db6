#pragma once

// The program's course from window to window: start window, start base, main window, welcome
// dialog, and the Database commands that move between bases.

#include "core/session/basesession.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/startwindow.h"
#include "gui/shell/welcomedialog.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QSessionManager;

namespace vlm {

struct Session;

// The program's windows and their passage from one to the other: the start window, the
// start base, the main window, the welcome dialog and the Database commands that move
// between bases. The program ends when the user quits or when its last window closes.
class Frame : public QObject {
    Q_OBJECT
public:
    // workFolder: where the start base is created (the current folder of the program).
    Frame(Session& ctx, QString workFolder, QObject* parent = nullptr);
    ~Frame() override;

    // Shows the start window and, when animate is set, starts its animation; the start base
    // follows its last tick. Shows "Mémoire insuffisante" and returns false when memory runs
    // short.
    bool start(bool animate = true);
    // Creates the start base "NewBase" + number + ".vlm" in the work folder and shows the
    // main window on it.
    void startBase();
    // A base named on the command line: the start opens it, through the same path as
    // Database > Load (password question and retry mode), instead of creating a start base.
    void setStartFile(const QString& path) { startFile_ = path; }

    StartWindow* startWindow() const { return start_; }
    MainWindow* mainWindow() const { return main_; }
    WelcomeDialog* welcome() const { return welcome_; }

    // What ending the program does: by default it leaves the event loop. Tests record it.
    void setQuitHandler(std::function<void()> handler) { quitHandler_ = std::move(handler); }
    bool ended() const { return ended_; }

    // Database menu. Every way out of the open base or the program asks the changed card
    // windows first (MainWindow::closeChildWindows); a Cancel stops it there.
    void loadBase();   // Load: close the base and the main window, offer the welcome dialog
    void newBase();    // New: the welcome dialog over the main window; the base stays open
    void saveBaseAs(); // Save As: move the base to a new name
    // Import: merge another base into the open one, then reopen it and say what was done.
    void importBase();
    bool quitProgram(); // Quit: close the base and end; false when a card window said Cancel
    // Ends the program at once.
    void quit();

protected:
    // Makes the start window; a test may replace it.
    virtual StartWindow* createStartWindow();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow* ensureMain();
    WelcomeDialog* ensureWelcome();
    void follow(store::Next next);
    void showWelcome();
    void showMain();
    void existingBaseCancelled();
    void openStartFile();
    // The desktop session is ending: the program goes as by Quit, or asks the session to stay.
    void commitData(QSessionManager& manager);
    bool anyWindowVisible() const;
    void endIfNoWindow();

    Session& ctx_;
    QString workFolder_;
    QString startFile_;
    QPointer<StartWindow> start_;
    QPointer<MainWindow> main_;
    QPointer<WelcomeDialog> welcome_;
    std::function<void()> quitHandler_;
    bool ended_ = false;
};

} // namespace vlm
