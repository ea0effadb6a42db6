#pragma once

// Module TEXTFIND, the text search: the Notes or Quotes whose plain text (Texte) holds a
// string, compared code by code (case and accents count, no word boundaries). Only the first
// occurrence of a card counts; its position is what the card window selects (FindPos).
// On failure the functions throw StoreError; windows run them through runGuarded.

#include "core/common/progress.h"
#include "core/session/cardkind.h"

#include <QString>
#include <vector>

namespace vlm {
struct Session;
}

namespace vlm::retrieval {

inline QString shortSearchMessage() {
    return QStringLiteral("You cannot search less than 3 characters");
}
inline QString noCardRecordsMessage() {
    return QStringLiteral("no Records");
}
inline QString noTextInReferencesMessage() {
    return QStringLiteral("There is no text to search in References");
}
inline QString searchPrompt() {
    return QStringLiteral("Fill in the Word (or part of Word) you are looking for");
}
inline QString searchTitle() {
    return QStringLiteral("Text Search");
}
// The shortest string the search panel looks for.
inline constexpr int kMinimumSearchLength = 3;
// Beyond this many matching cards, "display Cards" asks before opening a window for each.
inline constexpr int kCardWindowsWithoutAsking = 50;

// The caption of the grid of a text search: "  Notes containing 'word'" or
// "  Quotes containing 'word'".
QString textSearchCaption(CardKind kind, const QString& word);

// A card whose text holds the string: its number and the 1-based position of the first
// occurrence in its plain text.
struct TextMatch {
    QString number;
    int position = 0;
};

// The Notes (kind Note) or Quotes (kind Quote) whose Texte holds `word`, in number order.
// Nothing for an empty word or for References, which have no text. `progress` hears the cards
// read of all of them; when it says stop, nothing is found.
std::vector<TextMatch> findCardsContaining(Session& ctx, CardKind kind, const QString& word,
                                           Progress* progress = nullptr);

// True when the card table of the kind has at least one record.
bool hasCards(Session& ctx, CardKind kind);

// Fills the result table (ctx.Result) with the cards of `matches`, one row per keyword of each
// card, a row with an empty keyword for a card without any, and sets ResultKind, the caption
// for `word`, ResultSortCol = 1 and ResultRow = 1. Cards deleted meanwhile are skipped.
// Returns the number of rows. `progress` hears the cards listed of all of them.
int fillByText(Session& ctx, CardKind kind, const QString& word,
               const std::vector<TextMatch>& matches, Progress* progress = nullptr);

} // namespace vlm::retrieval
