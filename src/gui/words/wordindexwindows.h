#pragma once

// The word index as the Keywords menu starts it: Index All > Notes / Quotes with the progress
// window frmMots and the result window "All KW" (AfficheKW), All Keywords > Notes / Quotes with
// the progress window Working and the result window "All KeyWords" (AfficheKWAll). The result
// windows list every row, most frequent first; a double click on "All KW" opens the card of the
// row, on "All KeyWords" it lists the cards that hold the word in the result window.

#include "core/session/cardkind.h"
#include "core/words/wordindex.h"

#include <QWidget>
#include <optional>

class QAction;

namespace vlm {
struct Session;
class TextTableView;
} // namespace vlm

namespace vlm::words {

// "All KW" (rows of the index) or "All KeyWords" (totals), read at load for ctx.ResultKind.
class WordIndexWindow : public QWidget {
    Q_OBJECT
public:
    enum class Content { IndexRows, Totals };
    // `progress` hears how far the reading of the index rows has gone.
    WordIndexWindow(Session& ctx, Content content, QWidget* parent = nullptr,
                    Progress* progress = nullptr);

    TextTableView* grid() const { return grid_; }
    // A double click on row `row` (0-based).
    void openRow(int row);

private:
    Session& ctx_;
    Content content_;
    std::optional<CardKind> kind_;
    TextTableView* grid_;
};

// Index All > Notes / Quotes, then "All KW". Nothing is written when the user cancels.
void indexAllNotes(Session& ctx);
void indexAllQuotes(Session& ctx);
// All Keywords > Notes / Quotes, then "All KeyWords".
void aggregateNoteWords(Session& ctx);
void aggregateQuoteWords(Session& ctx);

// The four menu items; a missing one stops the program.
struct WordIndexMenus {
    QAction* indexNotes = nullptr;  // mIndexAllNotes
    QAction* indexQuotes = nullptr; // mIndexAllQuotes
    QAction* totalNotes = nullptr;  // mnuAllKeywordsNotes
    QAction* totalQuotes = nullptr; // mnuAllKeywordsQuotes
};
void connectWordIndex(Session& ctx, const WordIndexMenus& menus);

} // namespace vlm::words
