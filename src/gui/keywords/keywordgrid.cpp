#include "gui/keywords/keywordgrid.h"

#include "core/keywords/linkcolumns.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>

namespace vlm::keywords {

namespace {

// The keyword a drag carries in the program's own format.
std::optional<QString> keywordOfMime(const QMimeData* data) {
    if (!data || !data->hasFormat(keywordDragFormat())) return std::nullopt;
    return keywordFromDrop(data);
}

} // namespace

KeywordGrid::KeywordGrid(const QString& objectName, int columnTwips, QWidget* parent)
    : TextTableView(1, parent) {
    setObjectName(objectName);
    horizontalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setShowGrid(false);
    setTabKeyNavigation(false);
    setColumnWidthsTwips({columnTwips});
    setRows({QStringList{QString()}});
}

void KeywordGrid::setNames(const QStringList& names) {
    setRows(oneColumnRows(names));
    setCurrentRowOnly(0);
}

QString KeywordGrid::nameAt(int row) const {
    return text(row, 0);
}

QString KeywordGrid::currentName() const {
    return nameAt(currentRow());
}

QString KeywordGrid::selectedName() const {
    const int row = currentRow();
    if (row < 0 || !selectionModel()->isRowSelected(row, QModelIndex())) return {};
    return nameAt(row);
}

void KeywordGrid::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void KeywordGrid::setCurrentRowOnly(int row) {
    if (row < 0 || row >= rowCount()) return;
    clearSelection();
    setCurrentCell(row, 0, QItemSelectionModel::NoUpdate);
}

void KeywordGrid::scrollRowToTop(int row) {
    if (row < 0 || row >= rowCount()) return;
    scrollTo(model()->index(row, 0), QAbstractItemView::PositionAtTop);
}

int KeywordGrid::topRow() const {
    return rowAt(0);
}

void KeywordGrid::setAcceptsKeywords(bool on) {
    acceptsKeywords_ = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDropIndicatorShown(false);
}

void KeywordGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsKeywords_ && keywordOfMime(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void KeywordGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsKeywords_ && keywordOfMime(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void KeywordGrid::dropEvent(QDropEvent* event) {
    const std::optional<QString> name =
        acceptsKeywords_ ? keywordOfMime(event->mimeData()) : std::nullopt;
    if (!name) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit keywordDropped(*name);
}

void KeywordGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit rightPressed();
        return;
    }
    TextTableView::mousePressEvent(event);
}

} // namespace vlm::keywords
