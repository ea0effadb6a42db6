#pragma once

// The result table of the keyword retrievals: filled by the card lists by keyword and by
// author, and by the text search; shown by the result window ResultWindow.

#include "core/common/progress.h"

#include <QString>
#include <array>
#include <vector>

namespace vlm::retrieval {

// One row of the result table: the four texts the window shows and the number of the card
// the row opens.
struct ResultLine {
    // Columns 1 to 4: keyword, card number, author, title (index 0 is unused).
    std::array<QString, 5> cell;
    // The card number used to open the card (ResultNDX).
    QString ndx;

    const QString& keyword() const { return cell[1]; }
    const QString& number() const { return cell[2]; }
};

struct ResultTable {
    // Rows 1 to ResultCount - 1 of ResultGrid (with their ResultNDX), row i at index i - 1.
    std::vector<ResultLine> ResultGrid;
    // The keyword asked for; after a sort, the text of the clicked cell.
    QString ResultKeyword;
    QString ResultCaption;
    // Column the rows are sorted by (1 = keyword) and the first row whose text in that column
    // equals ResultKeyword after a sort.
    int ResultSortCol = 1;
    int ResultRow = 1;

    // Number of the next row to fill: 1 when the table is empty.
    int ResultCount() const { return int(ResultGrid.size()) + 1; }
    void clear() { ResultGrid.clear(); }
    void add(const QString& keyword, const QString& number, const QString& author,
             const QString& title, const QString& ndx) {
        ResultGrid.push_back({{QString(), keyword, number, author, title}, ndx});
    }
};

// The column the rows equal in the sort column are ordered by: the card number when the
// rows are sorted by keyword, the keyword otherwise.
inline int secondSortColumn(int sortCol) {
    return sortCol == 1 ? 2 : 1;
}

// Sorts the rows by column ResultSortCol, ascending by character codes, then each run of
// rows equal in that column by the second column; whole rows move together. Rows equal in
// both columns keep their order. Then ResultRow becomes the first row (1-based) whose text
// in the sort column equals ResultKeyword (compared without regard to case when no row is
// equal, 1 when none is). `progress`, when given, hears how far the sort has gone.
void sortResult(ResultTable& table, Progress* progress = nullptr);

// The four texts row `row` (1-based) shows in columns 1 to 4 (index 0 unused): a keyword or
// card number equal to the one in the row above is left empty; author and title are left
// empty when the number is and they equal those of the row above.
std::array<QString, 5> shownCells(const ResultTable& table, int row);

} // namespace vlm::retrieval
