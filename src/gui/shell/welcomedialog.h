#pragma once

// The welcome dialog: create, open or retry a base, in its normal and retry modes.

#include "core/session/basesession.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace vlm {

struct Session;

// The welcome dialog: create a base or open one. In retry mode (after a wrong password) it
// offers to try the password again, open another base, create a new one, or quit.
class WelcomeDialog : public QDialog {
    Q_OBJECT
public:
    explicit WelcomeDialog(Session& ctx, QWidget* parent = nullptr);

    bool retryMode() const { return retry_; }
    // Back to the two buttons of normal mode, centred on the screen.
    void setNormalMode();
    // The four buttons of retry mode, in the larger dialog.
    void setRetryMode();

    QLabel* Label1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* CommandAgain;
    QPushButton* CommandOther;
    QPushButton* CommandNew;
    QPushButton* CommandQuit;

signals:
    // A base operation is over: the frame shows what it asks for.
    void operationDone(vlm::store::Next next);
    // The user declined to choose an existing base (the dialog is already closed).
    void existingBaseCancelled();
    void quitRequested();

private:
    void newBase();
    void existingBase();
    void retryPassword();
    void centre();

    Session& ctx_;
    bool retry_ = false;
};

} // namespace vlm
