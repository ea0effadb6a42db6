#include "gui/retrieval/resultwindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"
#include "gui/common/workingwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <memory>
#include <new>

namespace vlm::retrieval {

namespace {
constexpr int kColumns = 5;
} // namespace

ResultWindow::ResultWindow(Session& ctx, CardKind kind, QWidget* parent)
    : QWidget(parent), ctx_(ctx), kind_(kind), grid_(new TextTableView(kColumns, this)),
      checkSubsets_(new QCheckBox(QStringLiteral("with Subsets"), this)) {
    setObjectName(QStringLiteral("fGrid"));
    setWindowTitle(ctx_.Result.ResultCaption);
    setProperty("tag", kindText(kind_));

    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->setToolTip(QStringLiteral(" Double-Click opens the Card"));
    nameControls({{grid_, "Cards"}});
    grid_->textModel()->setHeaders({QString(), QStringLiteral(" KeyWord "),
                                    QStringLiteral(" Reference "), QStringLiteral(" Author "),
                                    QStringLiteral(" Title ")});
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setColumnWidthsTwips({400, 1800, 1500, 1800, 6000});
    // Column 0 is the fixed column of row numbers.
    grid_->textModel()->setColumnFlags(0, Qt::ItemIsEnabled);
    grid_->textModel()->setColumnBackground(0, palette().button());
    grid_->installEventFilter(this);

    checkSubsets_->setObjectName(QStringLiteral("CheckSubsets"));
    checkSubsets_->setVisible(false);
    connect(checkSubsets_, &QCheckBox::toggled, this, &ResultWindow::listAgainWithSubsets);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(checkSubsets_, 0, Qt::AlignLeft);
    layout->addWidget(grid_);
    resize(twipsToPixels(11800), twipsToPixels(4800));

    connect(grid_, &TextTableView::cellClicked, this,
            [this](int r, int c) { clickCell(resultRow(r), c); });
    connect(grid_, &TextTableView::cellDoubleClicked, this,
            [this](int r, int) { openRow(resultRow(r)); });
    // The header is the grid's first, fixed row: a click there sorts as a click in row 1.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) {
        if (!ctx_.Result.ResultGrid.empty()) clickCell(1, c);
    });

    sortAndShow();
}

void ResultWindow::sortAndShow(Progress* progress) {
    sortResult(ctx_.Result, progress);
    display();
    placeCursor();
}

void ResultWindow::display() {
    // The rows as the result table holds them now, for the grid to make the texts it paints
    // from, whatever becomes of the result table meanwhile: a copy that shares the texts.
    const auto shown = std::make_shared<ResultTable>();
    shown->ResultGrid = ctx_.Result.ResultGrid;
    grid_->textModel()->setSource(int(shown->ResultGrid.size()), [shown](int row, int column) {
        const int r = resultRow(row);
        return column == 0 ? QString::number(r) : shownCells(*shown, r)[size_t(column)];
    });
    highlighted_ = 0;
}

void ResultWindow::placeCursor() {
    const int n = int(ctx_.Result.ResultGrid.size());
    if (n == 0) return;
    const int r = gridRow(std::clamp(ctx_.Result.ResultRow, 1, n));
    const QAbstractItemModel* m = grid_->model();
    grid_->clearSelection();
    grid_->setCurrentCell(r, 1, QItemSelectionModel::NoUpdate);
    grid_->selectionModel()->select(QItemSelection(m->index(r, 1), m->index(r, kColumns - 1)),
                                    QItemSelectionModel::Select);
    grid_->scrollTo(m->index(r, 1), QAbstractItemView::PositionAtTop);
}

void ResultWindow::highlight(int row) {
    highlighted_ = row > 0 && row <= grid_->rowCount() ? row : 0;
    const QPalette pal = palette();
    grid_->textModel()->markRow(gridRow(highlighted_), pal.highlight(), pal.highlightedText());
}

void ResultWindow::clickCell(int row, int col) {
    ResultTable& t = ctx_.Result;
    if (row < 1 || row > int(t.ResultGrid.size())) return;
    if (col >= 1 && col < kColumns) {
        t.ResultSortCol = col;
        t.ResultKeyword = grid_->text(gridRow(row), col);
        if (row == 1) {
            LateWorkingWindow working(sortingText());
            sortAndShow(&working);
        }
    }
    highlight(row);
}

void ResultWindow::openRow(int row) {
    ResultTable& t = ctx_.Result;
    if (row < 1 || row > int(t.ResultGrid.size())) return;
    highlight(row);
    const QString number = t.ResultGrid[size_t(row - 1)].ndx;
    runGuarded(ctx_, [&] {
        if (!seekCardNumber(ctx_, kind_, number)) {
            ctx_.prompter.message(missingCardMessage(), Buttons::Ok, Icon::Information);
            return;
        }
        if (opener_) opener_(ctx_, kind_);
    });
}

void ResultWindow::setKeywordQuery(const KeywordQuery& query) {
    query_ = query;
    const QSignalBlocker quiet(checkSubsets_);
    checkSubsets_->setChecked(query.withSubsets);
    checkSubsets_->setVisible(true);
}

void ResultWindow::listAgainWithSubsets(bool on) {
    if (!query_) return;
    query_->withSubsets = on;
    ctx_.listWithSubsets = on;
    auto working = std::make_unique<LateWorkingWindow>(listingText());
    const Result<bool> found = fillByKeywords(ctx_, kind_, *query_, working.get());
    if (!found.ok()) {
        working.reset();
        showFailure(ctx_, found.status());
        // The box goes back to what the rows it still shows were asked with.
        query_->withSubsets = !on;
        ctx_.listWithSubsets = !on;
        const QSignalBlocker quiet(checkSubsets_);
        checkSubsets_->setChecked(!on);
    }
    // Shown whether or not the store failed midway, so that every row opens what it shows.
    setWindowTitle(ctx_.Result.ResultCaption);
    if (working) working->step(-1, 95);
    sortAndShow();
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
