#include "gui/common/texttableview.h"

#include "core/common/twips.h"

#include <QHeaderView>

namespace vlm {

TextTableModel::TextTableModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns),
      flags_(size_t(columns), Qt::ItemIsEnabled | Qt::ItemIsSelectable),
      backgrounds_(size_t(columns)) {}

void TextTableModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    source_ = nullptr;
    sourceRows_ = 0;
    marked_ = -1;
    endResetModel();
}

void TextTableModel::setSource(int rows, CellSource cell) {
    beginResetModel();
    rows_.clear();
    source_ = std::move(cell);
    sourceRows_ = source_ ? std::max(rows, 0) : 0;
    marked_ = -1;
    endResetModel();
}

void TextTableModel::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    if (source_) {
        // The rows become texts held here, so that the ones below can move up.
        std::vector<QStringList> rows(static_cast<size_t>(sourceRows_));
        for (int r = 0; r < sourceRows_; ++r)
            for (int c = 0; c < columns_; ++c)
                rows[size_t(r)].push_back(source_(r, c));
        rows_ = std::move(rows);
        source_ = nullptr;
        sourceRows_ = 0;
    }
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    if (marked_ == row)
        marked_ = -1;
    else if (marked_ > row)
        --marked_;
    endRemoveRows();
}

QString TextTableModel::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0) return {};
    if (source_) return column < columns_ ? source_(row, column) : QString();
    const QStringList& r = rows_[size_t(row)];
    return column < r.size() ? r[column] : QString();
}

void TextTableModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

void TextTableModel::setColumnFlags(int column, Qt::ItemFlags flags) {
    if (column >= 0 && column < columns_) flags_[size_t(column)] = flags;
}

void TextTableModel::setColumnBackground(int column, const QBrush& brush) {
    if (column >= 0 && column < columns_) backgrounds_[size_t(column)] = brush;
}

void TextTableModel::markRow(int row, const QBrush& background, const QBrush& foreground) {
    const int old = marked_;
    marked_ = row >= 0 && row < rowCount() ? row : -1;
    markBackground_ = background;
    markForeground_ = foreground;
    rowChanged(old);
    if (marked_ != old) rowChanged(marked_);
}

void TextTableModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, columns_ - 1));
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return source_ ? sourceRows_ : int(rows_.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::BackgroundRole:
        if (index.row() == marked_) return markBackground_;
        if (backgrounds_[size_t(index.column())].style() != Qt::NoBrush)
            return backgrounds_[size_t(index.column())];
        return {};
    case Qt::ForegroundRole:
        if (index.row() == marked_) return markForeground_;
        return {};
    default:
        return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section < headers_.size() ? headers_[section] : QString();
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return flags_[size_t(index.column())];
}

TextTableView::TextTableView(int columns, QWidget* parent)
    : QTableView(parent), model_(new TextTableModel(columns, this)) {
    setModel(model_);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { emit cellClicked(i.row(), i.column()); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { emit cellDoubleClicked(i.row(), i.column()); });
}

int TextTableView::currentRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TextTableView::setCurrentCell(int row, int column) {
    setCurrentIndex(model_->index(row, column));
}

void TextTableView::setCurrentCell(int row, int column,
                                   QItemSelectionModel::SelectionFlags command) {
    selectionModel()->setCurrentIndex(model_->index(row, column), command);
}

void TextTableView::setColumnWidthsTwips(std::initializer_list<int> twips) {
    int c = 0;
    for (int w : twips)
        setColumnWidth(c++, twipsToPixels(w));
}

std::vector<QStringList> oneColumnRows(const QStringList& names) {
    std::vector<QStringList> rows;
    rows.reserve(size_t(std::max<qsizetype>(names.size(), 1)));
    for (const QString& name : names)
        rows.push_back({name});
    if (rows.empty()) rows.push_back({QString()});
    return rows;
}

} // namespace vlm
