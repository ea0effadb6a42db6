#include "gui/retrieval/datelistwindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/guarded.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <new>

namespace vlm::retrieval {

DateListWindow::DateListWindow(Session& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), grid_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("FListSel"));
    setWindowTitle(QStringLiteral("List"));
    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->setColumnCount(2);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Reference")});
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->setColumnWidth(0, twipsToPixels(1700));
    grid_->setColumnWidth(1, twipsToPixels(2000));
    grid_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(twipsToPixels(6090), twipsToPixels(4000));

    connect(grid_, &QTableWidget::cellClicked, this, [this](int r, int) { openRow(r); });
}

void DateListWindow::fill(const std::vector<DateLine>& lines) {
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(int(lines.size()));
    for (int k = 0; k < int(lines.size()); ++k) {
        auto* date = new QTableWidgetItem(lines[size_t(k)].date);
        auto* number = new QTableWidgetItem(lines[size_t(k)].number);
        date->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(k, 0, date);
        grid_->setItem(k, 1, number);
    }
    grid_->setUpdatesEnabled(true);
    if (!lines.empty()) grid_->scrollToTop();
}

void DateListWindow::openRow(int row) {
    if (row < 0 || row >= grid_->rowCount()) return;
    const auto kind = kindFromText(ctx_.DateListKind);
    const QTableWidgetItem* it = grid_->item(row, 1);
    if (!kind || !it) return;
    runGuarded(ctx_, [&] {
        if (!SeekCard(ctx_, *kind, it->text())) {
            // Deleted since the list was made.
            ctx_.prompter.message(missingCardMessage(), Buttons::Ok, Icon::Information);
            return;
        }
        if (opener_) opener_(ctx_, *kind);
    });
}

bool DateListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openRow(grid_->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vlm::retrieval
