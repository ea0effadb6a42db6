#include "gui/common/workingwindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace vlm {

namespace {

QLineEdit* box(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

WorkingWindow::WorkingWindow(const WorkingLook& look, QWidget* parent, Clock clock)
    : QDialog(parent), bar_(new QProgressBar(this)), clock_(std::move(clock)) {
    using Boxes = WorkingLook::Boxes;
    setObjectName(look.name);
    setWindowTitle(look.title);
    auto* grid = new QGridLayout(this);
    if (look.boxes == Boxes::Counters) {
        item_ = box("Text1", this);
        number_ = box("Text2", this);
        total_ = box("Text3", this);
        grid->addWidget(label("Label1", QStringLiteral("nom fichier"), this), 0, 0);
        grid->addWidget(item_, 0, 1);
        grid->addWidget(label("Label2", QStringLiteral("Nb Mots"), this), 1, 0);
        grid->addWidget(number_, 1, 1);
        grid->addWidget(total_, 1, 2);
        total_->setText(QStringLiteral("0"));
    } else {
        phase_ = label("Label1", {}, this);
        phase_->setMinimumWidth(300);
        grid->addWidget(phase_, 0, 0, 1, 3);
        if (look.boxes == Boxes::Number) {
            meaning_ = box("Text4", this);
            number_ = box("Text3", this);
            grid->addWidget(meaning_, 1, 0);
            grid->addWidget(number_, 1, 1, 1, 2);
        }
    }
    if (number_) number_->setText(QStringLiteral("0"));
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    grid->addWidget(bar_, 2, 0, 1, 3);
    if (!look.cancel.isEmpty()) {
        // The work takes events only to hear Cancel: nothing else may run meanwhile.
        setWindowModality(Qt::ApplicationModal);
        cancel_ = new QPushButton(look.cancel, this);
        cancel_->setObjectName(QStringLiteral("cmdCancel"));
        grid->addWidget(cancel_, 3, 2, Qt::AlignRight);
        connect(cancel_, &QPushButton::clicked, this, &WorkingWindow::reject);
    }
    if (!clock_) {
        timer_.start();
        clock_ = [this] { return timer_.elapsed(); };
    }
    lastRepaint_ = clock_() - kRepaintIntervalMs;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WorkingWindow::~WorkingWindow() {
    QApplication::restoreOverrideCursor();
}

void WorkingWindow::reject() {
    if (!cancel_) return;
    cancelled_ = true;
    cancel_->setEnabled(false);
}

void WorkingWindow::phase(const QString& label, const QString& numberMeaning) {
    label_ = label;
    if (!numberMeaning.isEmpty()) meaningText_ = numberMeaning;
    showState(false);
}

bool WorkingWindow::step(qint64 number, int percent, qint64 total) {
    if (number >= 0) numberValue_ = number;
    if (total >= 0) totalValue_ = total;
    percent_ = std::clamp(percent, 0, 100);
    showState(percent_ == 100);
    return !cancelled_;
}

void WorkingWindow::showState(bool force) {
    const qint64 now = clock_();
    if (!force && now - lastRepaint_ < kRepaintIntervalMs) return;
    lastRepaint_ = now;
    // The texts are set only when shown: setting a text costs more than the work between two
    // reports.
    if (phase_) phase_->setText(label_);
    if (item_ && !label_.isEmpty()) item_->setText(label_);
    if (meaning_) meaning_->setText(meaningText_);
    if (number_) number_->setText(QString::number(numberValue_));
    if (total_) total_->setText(QString::number(totalValue_));
    bar_->setValue(percent_);
    ++repaints_;
    if (cancel_)
        QApplication::processEvents();
    else
        repaint();
}

LateWorkingWindow::LateWorkingWindow(const QString& label, WorkingWindow::Clock clock)
    : clock_(std::move(clock)), label_(label) {
    if (!clock_) {
        timer_.start();
        clock_ = [this] { return timer_.elapsed(); };
    }
    start_ = clock_();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

LateWorkingWindow::~LateWorkingWindow() {
    window_.reset();
    QApplication::restoreOverrideCursor();
}

bool LateWorkingWindow::step(qint64 number, int percent, qint64 total) {
    if (!window_) {
        const qint64 spent = clock_() - start_;
        if (spent < kDelayMs) return true;
        // Work nearly done by its own count would only flash the window.
        if (percent > 0 && spent * (100 - std::min(percent, 100)) / percent < kDelayMs / 2)
            return true;
        window_ = std::make_unique<WorkingWindow>(
            WorkingLook{.title = QStringLiteral("Working..."), .cancel = {}}, nullptr, clock_);
        window_->show();
        window_->phase(label_);
    }
    return window_->step(number, percent, total);
}

} // namespace vlm
