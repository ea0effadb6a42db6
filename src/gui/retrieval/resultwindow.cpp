#include "gui/retrieval/resultwindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/guarded.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <new>

namespace vlm::retrieval {

namespace {
constexpr int kColumns = 5;
constexpr int kWidths[kColumns] = {400, 1800, 1500, 1800, 6000};
} // namespace

ResultWindow::ResultWindow(Session& ctx, CardKind kind, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind), grid_(new QTableWidget(this)) {
    setObjectName(QStringLiteral("fGrid"));
    setWindowTitle(ctx_.Result.ResultCaption);
    setProperty("tag", kindText(kind_));

    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->setToolTip(QStringLiteral(" Double-Click opens the Card"));
    grid_->setColumnCount(kColumns);
    grid_->setHorizontalHeaderLabels({QString(), QStringLiteral(" KeyWord "),
                                      QStringLiteral(" Reference "), QStringLiteral(" Author "),
                                      QStringLiteral(" Title ")});
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    for (int c = 0; c < kColumns; ++c)
        grid_->setColumnWidth(c, twipsToPixels(kWidths[c]));
    grid_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(twipsToPixels(11800), twipsToPixels(4800));

    connect(grid_, &QTableWidget::cellClicked, this,
            [this](int r, int c) { clickCell(resultRow(r), c); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int) { openRow(resultRow(r)); });
    // The header is the grid's first, fixed row: a click there sorts as a click in row 1.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        if (!ctx_.Result.ResultGrid.empty()) clickCell(1, c);
    });

    sortAndShow();
}

void ResultWindow::sortAndShow() {
    SortResult(ctx_.Result);
    display();
    placeCursor();
}

void ResultWindow::display() {
    const ResultTable& t = ctx_.Result;
    const int n = int(t.ResultGrid.size());
    const QBrush fixed = palette().button();
    grid_->setUpdatesEnabled(false);
    const bool fresh = grid_->rowCount() != n;
    if (fresh) {
        grid_->clearContents();
        grid_->setRowCount(n);
    }
    for (int i = 1; i <= n; ++i) {
        const std::array<QString, 5> shown = shownCells(t, i);
        for (int c = 0; c < kColumns; ++c) {
            const QString text = c == 0 ? QString::number(i) : shown[size_t(c)];
            QTableWidgetItem* it = grid_->item(gridRow(i), c);
            if (!it) {
                it = new QTableWidgetItem(text);
                it->setFlags(c == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                if (c == 0) it->setBackground(fixed);
                grid_->setItem(gridRow(i), c, it);
            } else {
                it->setText(text);
            }
        }
    }
    if (highlighted_ > 0 && highlighted_ <= n) paintRow(highlighted_, false);
    highlighted_ = 0;
    grid_->setUpdatesEnabled(true);
}

void ResultWindow::placeCursor() {
    const int n = int(ctx_.Result.ResultGrid.size());
    if (n == 0) return;
    const int r = gridRow(std::clamp(ctx_.Result.ResultRow, 1, n));
    grid_->clearSelection();
    grid_->setCurrentCell(r, 1, QItemSelectionModel::NoUpdate);
    grid_->setRangeSelected(QTableWidgetSelectionRange(r, 1, r, kColumns - 1), true);
    grid_->scrollToItem(grid_->item(r, 1), QAbstractItemView::PositionAtTop);
}

void ResultWindow::paintRow(int row, bool on) {
    const QPalette pal = palette();
    for (int c = 0; c < kColumns; ++c) {
        QTableWidgetItem* it = grid_->item(gridRow(row), c);
        if (!it) continue;
        if (on) {
            it->setBackground(pal.highlight());
            it->setForeground(pal.highlightedText());
        } else {
            it->setBackground(c == 0 ? pal.button() : QBrush());
            it->setForeground(QBrush());
        }
    }
}

void ResultWindow::highlight(int row) {
    if (highlighted_ > 0 && highlighted_ <= grid_->rowCount()) paintRow(highlighted_, false);
    highlighted_ = row;
    if (row > 0 && row <= grid_->rowCount()) paintRow(row, true);
}

void ResultWindow::clickCell(int row, int col) {
    ResultTable& t = ctx_.Result;
    if (row < 1 || row > int(t.ResultGrid.size())) return;
    if (col >= 1 && col < kColumns) {
        t.ResultSortCol = col;
        const QTableWidgetItem* it = grid_->item(gridRow(row), col);
        t.ResultKeyword = it ? it->text() : QString();
        if (row == 1) sortAndShow();
    }
    highlight(row);
}

void ResultWindow::openRow(int row) {
    ResultTable& t = ctx_.Result;
    if (row < 1 || row > int(t.ResultGrid.size())) return;
    highlight(row);
    const QString number = t.ResultGrid[size_t(row - 1)].ndx;
    runGuarded(ctx_, [&] {
        if (!SeekCard(ctx_, kind_, number)) {
            ctx_.prompter.message(missingCardMessage(), Buttons::Ok, Icon::Information);
            return;
        }
        if (opener_) opener_(ctx_, kind_);
    });
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (grid_->currentRow() >= 0) openRow(resultRow(grid_->currentRow()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vlm::retrieval
