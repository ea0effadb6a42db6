#include "gui/retrieval/alertwindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm::retrieval {

MemoryAlert::MemoryAlert(const MemoryStatus& status, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Alert"));
    setWindowTitle(QStringLiteral("Alert"));
    auto* layout = new QVBoxLayout(this);
    auto* head =
        new QLabel(QStringLiteral("Memory is low: close some windows, then try again."), this);
    head->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(head);
    const QStringList lines = alertLines(status);
    for (int i = 0; i < lines.size(); ++i) {
        auto* l = new QLabel(lines[i], this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        layout->addWidget(l);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    setAttribute(Qt::WA_DeleteOnClose);
}

MemoryAlert* showMemoryAlert(const MemoryStatus& status) {
    auto* a = new MemoryAlert(status);
    a->show();
    return a;
}

} // namespace vlm::retrieval
