#pragma once

// The progress window Working ("Working..."): the phase of a long word analysis, what its
// number means, the number, and a progress bar. However often the analysis reports, the
// window repaints at most once every 50 ms, so that reporting never costs more than the work.

#include "core/words/tokenizer.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace vlm::words {

class WorkingWindow : public QWidget, public ProgressSink {
    Q_OBJECT
public:
    // Milliseconds since some fixed moment; the window's own timer unless a test gives one.
    using Clock = std::function<qint64()>;
    static constexpr qint64 kRepaintIntervalMs = 50;

    explicit WorkingWindow(QWidget* parent = nullptr, Clock clock = {});

    void phase(const QString& label, const QString& numberMeaning) override;
    void progress(qint64 number, int percent) override;
    // How many times the window was repainted.
    int repaints() const { return repaints_; }

private:
    void repaintSoon();

    QLabel* Label1;
    QLineEdit* Text4;
    QLineEdit* Text3;
    QProgressBar* ProgressBar1;
    QElapsedTimer timer_;
    Clock clock_;
    qint64 lastRepaint_ = 0;
    qint64 number_ = 0;
    int percent_ = 0;
    int repaints_ = 0;
};

} // namespace vlm::words
