#pragma once

// The progress window of long work (`Working`): a label, a progress bar and Cancel, shown
// application-modal with the hourglass pointer while the work runs on the interface thread.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vlm {

class WorkingWindow : public QDialog {
    Q_OBJECT
public:
    explicit WorkingWindow(QWidget* parent = nullptr);
    ~WorkingWindow() override;

    // Shows where the work is and lets the window repaint and take a click on Cancel; false
    // once the user has cancelled.
    bool progress(const QString& label, int percent);
    bool cancelled() const { return cancelled_; }

    QLabel* label() const { return label_; }                    // Label1
    QProgressBar* progressBar() const { return bar_; }          // ProgressBar1
    QPushButton* cancelButton() const { return cancelButton_; } // cmdCancel

protected:
    void reject() override; // Escape or the close button: the same as Cancel

private:
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* cancelButton_;
    bool cancelled_ = false;
};

} // namespace vlm
