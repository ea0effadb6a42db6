#pragma once

// The columns of the link editors (StructureEditor and UpLinksWindow), without their widgets.
//
// The hierarchy is read from left to right as a row of columns, one per level. A click on a
// name in column k makes k the current column, removes the columns after it and opens column
// k + 1 with the names one step further (the Subsets of the clicked name in the structure
// editor, its Supersets in the up-links window). Three columns are in view at a time, side by
// side in three slots; a horizontal scroll moves the view along the row.
//
// Columns and names are not capped: a cycle in the graph can be followed as deep as the user
// clicks.

#include "core/keywords/keywordstore.h"

#include <QMimeData>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vlm::keywords {

class LinkColumns {
public:
    // The names of the column opened after a click on `name`.
    using Walk = std::function<NameList(const QString& name)>;

    // Columns in view at a time, and the width of the slot each one takes, in twips.
    static constexpr int kSlots = 3;
    static constexpr int kSlotTwips = 2000;

    explicit LinkColumns(Walk next);

    // Starts again with `column0` as the only column, nothing selected (the structure editor:
    // the Roots).
    void reset(NameList column0);
    // Starts again from one keyword: column 0 holds it, selected, and column 1 the names one
    // step from it (the up-links window).
    void resetOn(const QString& keyword);

    // A click on `row` of `column`. An empty cell (the one row of an empty column) or a row
    // that does not exist is no name: nothing changes and the result is false.
    bool click(int column, int row);
    // Makes `column` current again, keeping its selection, and opens the column after it anew
    // (after a link under the selected name was stored or discarded). False when `column` has
    // no selected name.
    bool reopenAfter(int column);

    int count() const { return int(columns_.size()); }
    int deepest() const { return count() - 1; }
    int current() const { return current_; }
    const NameList& names(int column) const { return columns_[size_t(column)].names; }
    // The selected name of a column (its selection box), empty when none.
    QString selected(int column) const { return columns_[size_t(column)].selected; }
    // The row of the selected name, -1 when none.
    int selectedRow(int column) const { return columns_[size_t(column)].row; }

    // The path: "Root", then the selected name of each column from 0 to the current one.
    QStringList path() const;

    // --- The view ---
    // The first column in view (the scroll value), and the largest it may be: the view can
    // reach the last column, and stays where it was when a click opens a column already in
    // view.
    int first() const { return first_; }
    int scrollMax() const { return scrollMax_; }
    // Scrolls the view; the value is kept within 0 to scrollMax().
    void scrollTo(int value);
    // The slot a column takes: 0 to kSlots - 1 when it is in view.
    int slot(int column) const { return column - first_; }
    bool inView(int column) const { return slot(column) >= 0 && slot(column) < kSlots; }
    // How many slots wide the panel of columns is: one per column, up to kSlots.
    int panelSlots() const;

private:
    struct Column {
        NameList names;
        QString selected;
        int row = -1;
    };

    // Opens the column after `column` with the names one step from its selected name, and
    // brings it into view.
    void openAfter(int column);

    Walk next_;
    std::vector<Column> columns_;
    int current_ = 0;
    int first_ = 0;
    int scrollMax_ = 0;
};

// --- Dragging a keyword name between windows ---

// The program's own format of a dragged keyword (the keyword panels of the main window drag
// it too); the name travels in it as UTF-8.
inline QString keywordDragFormat() {
    return QStringLiteral("application/x-velmora-keyword");
}
// A dragged keyword name: in the program's own format and as plain text.
QMimeData* keywordDragData(const QString& name);
// The keyword name a drop carries, from the program's own format or else from plain text: one
// line, not empty, no longer than a keyword name can be. Anything else (several lines, a long
// text from another program) is no keyword.
std::optional<QString> keywordFromDrop(const QMimeData* data);

// --- Placement ---

// Where a link editor opens in an area of the given size (all in pixels): centred across the
// area, its top 700 twips above the area's bottom edge, yet kept wholly inside the area when
// it fits (else at the top left).
QPoint linkEditorPlace(const QSize& area, const QSize& window);

} // namespace vlm::keywords
