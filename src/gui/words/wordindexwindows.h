#pragma once

// The word index as the Keywords menu starts it: Index All > Notes / Quotes with the progress
// window frmMots and the result window "All KW" (AfficheKW), All Keywords > Notes / Quotes with
// the progress window Working and the result window "All KeyWords" (AfficheKWAll). The result
// windows list every row, most frequent first; a double click on "All KW" opens the card of the
// row, on "All KeyWords" it lists the cards that hold the word in the result window.

#include "core/session/cardkind.h"
#include "core/words/wordindex.h"

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vlm {
struct Session;
class TextTableView;
} // namespace vlm

namespace vlm::words {

// The progress of a long run, with a Cancel button: frmMots while indexing (the card being
// indexed, and the cards done), Working while totalling. Application-modal while it shows, so
// that nothing else writes to the base meanwhile; the events are let through as it goes.
class WordIndexProgress : public QWidget, public WorkMonitor {
    Q_OBJECT
public:
    enum class Kind { Indexing, Totalling };
    explicit WordIndexProgress(Kind kind, QWidget* parent = nullptr);

    bool step(const QString& item, qint64 done, qint64 total) override;
    bool cancelled() const { return cancelled_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    Kind kind_;
    QLabel* phase_ = nullptr;
    QLineEdit* item_ = nullptr;  // frmMots: the card; Working: what the number means
    QLineEdit* done_ = nullptr;  // the number
    QLineEdit* total_ = nullptr; // frmMots: the cards to index
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QElapsedTimer shown_;
    bool cancelled_ = false;
};

// "All KW" (rows of the index) or "All KeyWords" (totals), read at load for ctx.ResultKind.
class WordIndexWindow : public QWidget {
    Q_OBJECT
public:
    enum class Content { IndexRows, Totals };
    WordIndexWindow(Session& ctx, Content content, QWidget* parent = nullptr);

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
