#pragma once

// The progress window of long work run on the interface thread: `Working` (the import, the
// export, the word analysis, the word totals) or `frmMots` (the word index). It shows the phase,
// the number when the work gives one, a progress bar and, when the work can be cancelled, a
// Cancel button that Escape and the close button press too. The hourglass pointer shows while
// the window lives. However often the work reports, the window repaints at most once every
// 50 ms, and always at the end of a phase, so that reporting never costs more than the work.

#include "core/common/progress.h"

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vlm {

struct WorkingLook {
    enum class Boxes {
        None,     // the phase and the bar
        Number,   // the phase (Label1), what the number means (Text4), the number (Text3)
        Counters, // frmMots: the phase in Text1 by "nom fichier", the number of its total in
                  // Text2 and Text3 by "Nb Mots"
    };
    QString name = QStringLiteral("Working");
    QString title = QStringLiteral("Working");
    Boxes boxes = Boxes::None;
    QString cancel = QStringLiteral("Cancel"); // empty: the work cannot be cancelled
};

class WorkingWindow : public QDialog, public Progress {
    Q_OBJECT
public:
    // Milliseconds since some fixed moment; the window's own timer unless a test gives one.
    using Clock = std::function<qint64()>;
    static constexpr qint64 kRepaintIntervalMs = 50;

    explicit WorkingWindow(const WorkingLook& look = {}, QWidget* parent = nullptr,
                           Clock clock = {});
    ~WorkingWindow() override;

    void phase(const QString& label, const QString& numberMeaning = {}) override;
    // Also lets the window take a click on Cancel when the work can be cancelled.
    bool step(qint64 number, int percent, qint64 total = -1) override;
    bool cancelled() const { return cancelled_; }

    QPushButton* cancelButton() const { return cancel_; } // cmdCancel, or none
    int repaints() const { return repaints_; }

protected:
    void reject() override; // Escape or the close button: the same as Cancel

private:
    void showState(bool force);

    QLabel* phase_ = nullptr; // Label1, or the card's Text1 for frmMots
    QLineEdit* item_ = nullptr;
    QLineEdit* meaning_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLineEdit* total_ = nullptr;
    QProgressBar* bar_;
    QPushButton* cancel_ = nullptr;
    QElapsedTimer timer_;
    Clock clock_;
    qint64 lastRepaint_ = 0;
    QString label_, meaningText_;
    qint64 numberValue_ = 0, totalValue_ = 0;
    int percent_ = 0;
    int repaints_ = 0;
    bool cancelled_ = false;
};

// The progress of work that is quick on most bases but long on a large one (a card list): the
// hourglass shows at once, the progress window only once the work has gone on for kDelayMs and
// is not nearly done by its own count, so that a quick list never flashes it. It has no
// Cancel: the work it shows cannot stop halfway without leaving something changed.
class LateWorkingWindow : public Progress {
public:
    static constexpr qint64 kDelayMs = 100;

    explicit LateWorkingWindow(const QString& label, WorkingWindow::Clock clock = {});
    ~LateWorkingWindow() override;
    LateWorkingWindow(const LateWorkingWindow&) = delete;
    LateWorkingWindow& operator=(const LateWorkingWindow&) = delete;

    bool step(qint64 number, int percent, qint64 total = -1) override;
    // The progress window once it shows, else none.
    WorkingWindow* window() const { return window_.get(); }

private:
    QElapsedTimer timer_;
    WorkingWindow::Clock clock_;
    qint64 start_ = 0;
    QString label_;
    std::unique_ptr<WorkingWindow> window_;
};

} // namespace vlm
