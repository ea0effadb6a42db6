#pragma once

// The window DateListWindow: the cards of one kind by date, newest first; a click on a row opens
// its card (of the kind DateListKind names).

#include "core/retrieval/datelist.h"
#include "core/session/session.h"

#include <QWidget>

namespace vlm {
class TextTableView;
}

namespace vlm::retrieval {

class DateListWindow : public QWidget {
    Q_OBJECT
public:
    explicit DateListWindow(Session& ctx, QWidget* parent = nullptr);

    TextTableView* grid() const { return grid_; }
    void setOpener(CardOpener opener) { opener_ = std::move(opener); }

    // Writes the rows anew (row k of the list in grid row k - 1).
    void fill(std::vector<DateLine> lines);
    // Opens the card of grid row `row` (0-based), by DateListKind.
    void openRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& ctx_;
    TextTableView* grid_;
    CardOpener opener_ = openThroughSession;
};

} // namespace vlm::retrieval
