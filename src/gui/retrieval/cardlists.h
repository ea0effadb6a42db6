#pragma once

// The card lists as the rest of the program starts them: from the main window's panels and
// menus, the selection dialog's Select buttons and the keyword browsers.
//
// Functions that take `main` read the main window's choices through MainWindowHost: the card
// kind (OptionNote, OptionCit, OptionRef), the criterion (OptionByAuthor, OptionByDate,
// OptionByKeyword), the mode switches (SwitchKW, SwitchOther, SwitchSearch) and KWSel.

#include "core/retrieval/keywordquery.h"
#include "core/retrieval/memoryguard.h"
#include "core/retrieval/othersearch.h"
#include "core/session/session.h"
#include "gui/common/mainwindowhost.h"

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QWidget;

namespace vlm::retrieval {

class ResultWindow;
class DateListWindow;

// Opens the selection dialog for an other-search (selectionDialog below; tests give their
// own).
using SelectionOpener = std::function<void(const SelectionRequest&)>;

// Opens the selection dialog SelectionDialog as `request` says, over `parent` (the main window),
// its Select button wired to the card lists: a keyword list closes the dialog, an author
// list leaves it open for another author. Nothing for a button that lists no cards.
QWidget* openSelectionDialog(Session& ctx, QWidget* parent, const SelectionRequest& request);
// The opener to hand to the functions below: openSelectionDialog over `parent`.
SelectionOpener selectionDialog(Session& ctx, QWidget* parent);

// --- module GRIDS: cards by keyword, shown in ResultWindow ---
void notesByKeyword(Session& ctx, const QString& keyword);
void quotesByKeyword(Session& ctx, const QString& keyword);
void referencesByKeyword(Session& ctx, const QString& keyword);
// The list of one keyword, with its Subsets when the session's listWithSubsets is on.
void listByKeyword(Session& ctx, CardKind kind, const QString& keyword);
// The cards of `query` in a new ResultWindow, whose "with Subsets" box can ask again.
void listByKeywords(Session& ctx, CardKind kind, const KeywordQuery& query);

// The selection dialog's author buttons: References (AuthorSel) or Quotes (AuthorCit) of
// the author in its current cell. "No Match" when the author has no Reference.
void AuthorSel(Session& ctx, const QString& author);
void AuthorCit(Session& ctx, const QString& author);

// Closes any open ResultWindow and shows the result table (ctx.Result) in a new one whose rows
// open cards of `kind`. The text search shows its results through this too.
ResultWindow* showResultWindow(Session& ctx, CardKind kind);
// Closes the result window, if one is open.
void closeResult(Session& ctx);

// --- module LIST: cards by date, shown in DateListWindow (reused when open) ---
void notesByDate(Session& ctx);
void quotesByDate(Session& ctx);
void referencesByDate(Session& ctx);
// The list by date, or nullptr when the store failed (the failure is shown).
DateListWindow* listByDateWindow(Session& ctx, CardKind kind);

// --- the other-search panel and the menus ---
// Closes the selection dialog, then lists, asks for a name, or shows "No Records".
void runOtherSearch(Session& ctx, CardKind kind, Criterion criterion,
                    const SelectionOpener& openSelection);
// The same for the kind and criterion chosen in the main window (OptionByAuthor,
// OptionByDate, OptionByKeyword and commandSearchOther).
void runOtherSearch(Session& ctx, MainWindowHost& main, const SelectionOpener& openSelection);
// OptionNote, OptionCit, OptionRef clicked.
void kindOptionClicked(Session& ctx, MainWindowHost& main, CardKind kind,
                       const SelectionOpener& openSelection);
// mNotebyKeyword, mNotebyDate, mCitOpenKW, mCitOpenDate, mCitOpenAuthor, mBibOpenAuthor.
void runMenu(Session& ctx, RetrievalMenu item, const SelectionOpener& openSelection);
// A Select button of the selection dialog that lists cards (KWnoteSel, KWCitSel, KWBibSel,
// AuthorSel, AuthorCit), with the name of the current cell of its selection list. False
// for the other buttons.
bool selectButtonPressed(Session& ctx, const QString& button, const QString& currentCell);

// A click on a keyword (KWList, DownGrid, UpGrid): outside keyword mode, lists the cards of
// the kind chosen in the main window.
void keywordClickedOutsideKeywordMode(Session& ctx, const MainWindowHost& main,
                                      const QString& keyword);
// A double click on a keyword in DownGrid (or in KWList while SwitchSearch is on): opens
// every card of the chosen kind that carries it.
void keywordDoubleClickedOutsideKeywordMode(Session& ctx, const MainWindowHost& main,
                                            const QString& keyword);

// The main window's controls the card lists make live; every one must be there.
struct RetrievalControls {
    QWidget* window = nullptr; // the main window, parent of the selection dialog
    MainWindowHost* host = nullptr;
    QAction* notesByKeyword = nullptr;      // mNotebyKeyword
    QAction* notesByDate = nullptr;         // mNotebyDate
    QAction* quotesByKeyword = nullptr;     // mCitOpenKW
    QAction* quotesByDate = nullptr;        // mCitOpenDate
    QAction* quotesByAuthor = nullptr;      // mCitOpenAuthor
    QAction* referencesByAuthor = nullptr;  // mBibOpenAuthor
    QAction* referencesByKeyword = nullptr; // mBibOpenKW: the side bar turns to its third page
    QAbstractButton* optionNote = nullptr;
    QAbstractButton* optionCit = nullptr;
    QAbstractButton* optionRef = nullptr;
    QAbstractButton* byAuthor = nullptr;
    QAbstractButton* byDate = nullptr;
    QAbstractButton* byKeyword = nullptr;
    QAbstractButton* searchOther = nullptr; // commandSearchOther
};

// Makes those controls live: the menu items, the criterion options and the search button
// enabled, the kind options wired. A control missing from `controls` stops the program: it
// is a fault of the window, not something to skip.
void connectRetrieval(Session& ctx, const RetrievalControls& controls);

// --- every card of a keyword at once, after the memory guard ---
void openKeywordNotes(Session& ctx, const QString& keyword);
void openKeywordQuotes(Session& ctx, const QString& keyword);
void openKeywordReferences(Session& ctx, const QString& keyword);
// Returns the number of cards opened.
int openKeywordCards(Session& ctx, CardKind kind, const QString& keyword,
                     const MemoryStatus& memory, const CardOpener& open = openThroughSession);

} // namespace vlm::retrieval
