#pragma once

// The text search as the main window starts it: the search panel (TextSearch, "Go" and the
// Enter key, with the card kind options) and the menu Search Word in Text, whose items open
// the matching cards in their windows ("display Cards") or list them in the result window
// ("display Grid").

#include "core/retrieval/memoryguard.h"
#include "core/session/session.h"

#include <optional>

class QAbstractButton;
class QAction;
class QLineEdit;

namespace vlm {
class MainWindowHost;
}

namespace vlm::retrieval {

class ResultWindow;

// The memory check before the card searches: the window Alert when less than a tenth of the
// memory is free. The search goes on either way.
void checkMemory(const MemoryStatus& status);

// "display Cards": opens a window on every Note or Quote whose text holds `word`, in number
// order, with the first occurrence selected in the card's own (rich) text. With more than
// kCardWindowsWithoutAsking cards it asks first, the list in the result window being the
// default answer. Nothing for an empty word. Returns the number of windows opened.
int searchCards(Session& ctx, CardKind kind, const QString& word,
                const MemoryStatus& memory = readMemoryStatus(),
                const CardOpener& open = openThroughSession);

// "display Grid" with `word`: the matching cards in the result window, "No Match" when there
// is none. Returns the window, or nullptr.
ResultWindow* listCardsContaining(Session& ctx, CardKind kind, const QString& word);
// "display Grid" from the menu: asks for the word first; an empty or cancelled answer
// searches nothing.
void searchNotesGrid(Session& ctx);
void searchQuotesGrid(Session& ctx);

// The search panel's Go button (fromButton) or Enter in TextSearch, for the kind chosen in
// the main window: at least 3 characters, a kind with cards, then searchCards.
void searchFromPanel(Session& ctx, const QString& text, std::optional<CardKind> kind,
                     bool fromButton);

// The main window's controls the text search makes live.
struct TextSearchControls {
    MainWindowHost* host = nullptr;
    QLineEdit* text = nullptr;      // TextSearch
    QAbstractButton* go = nullptr;  // CommandSearchText
    QAction* notesCards = nullptr;  // mNFindText
    QAction* quotesCards = nullptr; // mCitFindText
    QAction* notesGrid = nullptr;   // GridKWText
    QAction* quotesGrid = nullptr;  // GridKWText2
};
// Enables and wires them; a missing control stops the program.
void connectTextSearch(Session& ctx, const TextSearchControls& controls);

} // namespace vlm::retrieval
