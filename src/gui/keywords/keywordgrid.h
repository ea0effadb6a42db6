#pragma once

// The one-column grids of keyword names used by the keyword list panel and the keyword
// browsers. A keyword dragged from the KWSel label travels in the program's own drag format
// (keywordDragData(), linkcolumns.h).

#include "gui/common/texttableview.h"

#include <QStringList>
#include <optional>

namespace vlm::keywords {

// A grid with one column of names, row 0 first, no headers, read-only, whole-row selection.
class KeywordGrid : public TextTableView {
    Q_OBJECT
public:
    KeywordGrid(const QString& objectName, int columnTwips, QWidget* parent = nullptr);

    // Shows `names`, one per row; a grid without names keeps one empty row. Row 0 becomes
    // current, nothing is selected.
    void setNames(const QStringList& names);
    // The text of a row; empty for an empty row or a row out of range.
    QString nameAt(int row) const;
    // The name of the current row.
    QString currentName() const;
    // The name of the current row when the user selected it, else empty.
    QString selectedName() const;
    // Makes `row` the current and only selected row.
    void selectRow(int row);
    // Makes `row` current without selecting it.
    void setCurrentRowOnly(int row);
    // Scrolls so that `row` is the first row shown.
    void scrollRowToTop(int row);
    // The first row shown.
    int topRow() const;

    // A keyword dropped in the program's own format is offered through keywordDropped();
    // anything else (plain text from another program) is refused.
    void setAcceptsKeywords(bool on);

signals:
    void keywordDropped(const QString& name);
    // The right mouse button was pressed on the grid (the selection is left as it was).
    void rightPressed();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions) override {}

private:
    bool acceptsKeywords_ = false;
};

} // namespace vlm::keywords
