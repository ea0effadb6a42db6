#pragma once

// The First Edition window FirstEditionWindow: the title, publisher, town and year of the first
// edition of a book. It works on the Reference of the window that opened it, whatever window
// is active meanwhile, and goes with that window.

#include "core/common/status.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vlm {
struct Session;
}

namespace vlm::cards {

// Shows a failed details store or list addition (exclamation icon; running out of memory as
// the memory message). True when `status` is ok.
bool tellDetailsStatus(Session& ctx, const Status& status);

class FirstEditionWindow : public QWidget {
    Q_OBJECT
public:
    // Designed size of the window, in twips.
    static constexpr int kWidthTwips = 4800;
    static constexpr int kHeightTwips = 3915;

    // A window of its own over `owner` (which it closes with), for Reference `number`.
    FirstEditionWindow(Session& ctx, const QString& number, QWidget* owner);

    // Command1: stores the four fields on the Reference. False when nothing was stored (the
    // user was told why).
    bool store();

private:
    void choosePublisher();

    Session& ctx_;
    QString number_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* tTitreOrig = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* tLieuOrig = nullptr;
    QLineEdit* tDateOrig = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};

} // namespace vlm::cards
