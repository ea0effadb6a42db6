#include "gui/retrieval/datelistwindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <memory>
#include <new>

namespace vlm::retrieval {

DateListWindow::DateListWindow(Session& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), grid_(new TextTableView(2, this)) {
    setObjectName(QStringLiteral("FListSel"));
    setWindowTitle(QStringLiteral("List"));
    grid_->setObjectName(QStringLiteral("Grid1"));
    nameControls({{grid_, "Cards by date"}});
    grid_->textModel()->setHeaders({QStringLiteral("Date"), QStringLiteral("Reference")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setColumnWidthsTwips({1700, 2000});
    grid_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(twipsToPixels(6090), twipsToPixels(4000));

    connect(grid_, &TextTableView::cellClicked, this, [this](int r, int) { openRow(r); });
}

void DateListWindow::fill(std::vector<DateLine> lines) {
    // The grid's source holds the rows: the old ones go only once the new ones are shown.
    const auto shown = std::make_shared<const std::vector<DateLine>>(std::move(lines));
    grid_->textModel()->setSource(int(shown->size()), [shown](int row, int column) {
        const DateLine& line = (*shown)[size_t(row)];
        return column == 0 ? line.date : line.number;
    });
    if (!shown->empty()) grid_->scrollToTop();
}

void DateListWindow::openRow(int row) {
    if (row < 0 || row >= grid_->rowCount()) return;
    const auto kind = kindFromText(ctx_.DateListKind);
    if (!kind) return;
    const QString number = grid_->text(row, 1);
    runGuarded(ctx_, [&] {
        if (!seekCardNumber(ctx_, *kind, number)) {
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
