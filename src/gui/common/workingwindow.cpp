#include "gui/common/workingwindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm {

WorkingWindow::WorkingWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Working"));
    setWindowTitle(QStringLiteral("Working"));
    setWindowModality(Qt::ApplicationModal);
    auto* column = new QVBoxLayout(this);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setMinimumWidth(300);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    column->addWidget(label_);
    column->addWidget(bar_);
    column->addWidget(cancelButton_, 0, Qt::AlignRight);
    connect(cancelButton_, &QPushButton::clicked, this, &WorkingWindow::reject);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WorkingWindow::~WorkingWindow() {
    QApplication::restoreOverrideCursor();
}

void WorkingWindow::reject() {
    cancelled_ = true;
    cancelButton_->setEnabled(false);
}

bool WorkingWindow::progress(const QString& label, int percent) {
    if (!isVisible()) show();
    label_->setText(label);
    bar_->setValue(percent);
    QApplication::processEvents();
    return !cancelled_;
}

} // namespace vlm
