#pragma once

// The lists that grow with the base (card lists, keyword names) hold their rows once in a
// TextTableModel and show them through a TextTableView: the view asks for the cells it paints,
// and filling or re-sorting a list is one model reset, never a cell at a time. This keeps a
// list of 100,000 rows instant, screen reader or not.

#include <QAbstractTableModel>
#include <QBrush>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <initializer_list>
#include <vector>

namespace vlm {

// Rows of texts, each row a list of as many texts as there are columns (missing ones are
// empty). Read-only to the view.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TextTableModel(int columns, QObject* parent = nullptr);

    // Replaces every row in one reset.
    void setRows(std::vector<QStringList> rows);
    // Makes the texts of a cell when it is asked for (painted or read), and only then: a list
    // of 100,000 rows costs nothing to show. `cell(row, column)` answers for rows 0 to
    // `rows` - 1 for as long as the model shows them. Replaces every row in one reset.
    using CellSource = std::function<QString(int row, int column)>;
    void setSource(int rows, CellSource cell);
    // Takes row `row` out, the rows below it moving up.
    void removeRow(int row);
    // The text of a cell; empty out of range.
    QString text(int row, int column) const;
    // Column captions, shown by a visible horizontal header.
    void setHeaders(const QStringList& headers);
    // The flags of every cell of `column` (enabled and selectable unless told otherwise).
    void setColumnFlags(int column, Qt::ItemFlags flags);
    // A background for every cell of `column` (a fixed column painted like a button).
    void setColumnBackground(int column, const QBrush& brush);
    // Paints row `row` with `background` and `foreground` over every other brush; -1 for none.
    void markRow(int row, const QBrush& background = {}, const QBrush& foreground = {});
    int markedRow() const { return marked_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void rowChanged(int row);

    int columns_;
    std::vector<QStringList> rows_;
    CellSource source_; // when set, it gives the texts of sourceRows_ rows instead of rows_
    int sourceRows_ = 0;
    QStringList headers_;
    std::vector<Qt::ItemFlags> flags_;
    std::vector<QBrush> backgrounds_;
    int marked_ = -1;
    QBrush markBackground_;
    QBrush markForeground_;
};

// A read-only table over its own TextTableModel: rows of one fixed height (nothing is measured
// row by row), no vertical header, no word wrap, no editing. Clicks come out by row and column
// as cellClicked() and cellDoubleClicked().
class TextTableView : public QTableView {
    Q_OBJECT
public:
    explicit TextTableView(int columns, QWidget* parent = nullptr);

    TextTableModel* textModel() const { return model_; }
    void setRows(std::vector<QStringList> rows) { model_->setRows(std::move(rows)); }
    void removeRow(int row) { model_->removeRow(row); }
    QString text(int row, int column = 0) const { return model_->text(row, column); }
    int rowCount() const { return model_->rowCount(); }
    int columnCount() const { return model_->columnCount(); }
    // The current row, -1 when none.
    int currentRow() const;
    // Makes the cell current, selected as a click would select it.
    void setCurrentCell(int row, int column);
    // Makes the cell current; `command` says what becomes of the selection.
    void setCurrentCell(int row, int column, QItemSelectionModel::SelectionFlags command);
    // Column widths in twips, from column 0.
    void setColumnWidthsTwips(std::initializer_list<int> twips);

signals:
    void cellClicked(int row, int column);
    void cellDoubleClicked(int row, int column);

private:
    TextTableModel* model_;
};

// The rows of a one-column list: one name a row, one empty row when there are no names (as
// the lists have always shown).
std::vector<QStringList> oneColumnRows(const QStringList& names);

} // namespace vlm
