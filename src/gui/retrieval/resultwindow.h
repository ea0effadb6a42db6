#pragma once

// The result window ResultWindow: the result table (ctx.Result) in five columns, sorted by the
// column clicked in its first row, each card opened by a double click on its row.

#include "core/retrieval/grids.h"
#include "core/retrieval/keywordquery.h"
#include "core/session/session.h"

#include <QWidget>
#include <optional>

class QCheckBox;

namespace vlm {
class TextTableView;
}

namespace vlm::retrieval {

class ResultWindow : public QWidget {
    Q_OBJECT
public:
    // Loads the window on the result table: sorted, shown, the cursor on ResultRow. `kind`
    // is the window's tag: the kind of card its rows open.
    ResultWindow(Session& ctx, CardKind kind, QWidget* parent = nullptr);

    CardKind kind() const { return kind_; }
    TextTableView* grid() const { return grid_; }
    void setOpener(CardOpener opener) { opener_ = std::move(opener); }

    // Result row (1-based) shown at a grid row, and back.
    static int resultRow(int gridRow) { return gridRow + 1; }
    static int gridRow(int resultRow) { return resultRow - 1; }

    // A click on the cell of result row `row` (1-based), column `col` (0 to 4): the column
    // and the cell's text become the sort column and ResultKeyword, a click in row 1 sorts
    // again; the row is highlighted.
    void clickCell(int row, int col);
    // Opens the card of result row `row` (1-based).
    void openRow(int row);
    // The highlighted result row, 0 when none.
    int highlightedRow() const { return highlighted_; }

    // The window shows the cards of `query`: its "with Subsets" box appears, ticked as the
    // query is, and asks again with or without the Subsets. Lists by author or by text have
    // no such box.
    void setKeywordQuery(const KeywordQuery& query);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sortAndShow(Progress* progress = nullptr);
    void display();
    void placeCursor();
    void highlight(int row);
    void listAgainWithSubsets(bool on);

    Session& ctx_;
    CardKind kind_;
    TextTableView* grid_;
    CardOpener opener_ = openThroughSession;
    int highlighted_ = 0;
    QCheckBox* checkSubsets_;
    std::optional<KeywordQuery> query_;
};

} // namespace vlm::retrieval
