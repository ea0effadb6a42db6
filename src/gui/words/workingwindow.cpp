#include "gui/words/workingwindow.h"

#include "core/common/twips.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace vlm::words {

WorkingWindow::WorkingWindow(QWidget* parent, Clock clock)
    : QWidget(parent), Label1(new QLabel(this)), Text4(new QLineEdit(this)),
      Text3(new QLineEdit(this)), ProgressBar1(new QProgressBar(this)), clock_(std::move(clock)) {
    setObjectName(QStringLiteral("Working"));
    setWindowTitle(QStringLiteral("Working..."));
    Label1->setObjectName(QStringLiteral("Label1"));
    Text4->setObjectName(QStringLiteral("Text4"));
    Text3->setObjectName(QStringLiteral("Text3"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    for (QLineEdit* box : {Text4, Text3}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
    }
    ProgressBar1->setRange(0, 100);
    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Text4, 1, 0);
    grid->addWidget(Text3, 1, 1);
    grid->addWidget(ProgressBar1, 2, 0, 1, 2);
    resize(twipsToPixels(4800), twipsToPixels(1600));
    if (!clock_) {
        timer_.start();
        clock_ = [this] { return timer_.elapsed(); };
    }
    lastRepaint_ = clock_() - kRepaintIntervalMs;
}

void WorkingWindow::phase(const QString& label, const QString& numberMeaning) {
    Label1->setText(label);
    if (!numberMeaning.isEmpty()) Text4->setText(numberMeaning);
    repaintSoon();
}

void WorkingWindow::progress(qint64 number, int percent) {
    number_ = number;
    percent_ = std::clamp(percent, 0, 100);
    repaintSoon();
}

void WorkingWindow::repaintSoon() {
    const qint64 now = clock_();
    if (now - lastRepaint_ < kRepaintIntervalMs) return;
    lastRepaint_ = now;
    // The number and the bar are set only when shown: setting a text costs more than the work
    // between two reports.
    Text3->setText(QString::number(number_));
    ProgressBar1->setValue(percent_);
    ++repaints_;
    repaint();
}

} // namespace vlm::words
