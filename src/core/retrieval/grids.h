#pragma once

// Module GRIDS: the cards linked to one keyword, or written by one author, gathered into the
// result table (ctx.Result) that the result window ResultWindow shows. Nothing here writes a base.
// On failure every function here throws StoreError, with the result table partly filled;
// windows run them through runGuarded, which shows the error.

#include "core/common/progress.h"
#include "core/session/cardkind.h"
#include "core/store/database.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace vlm {
struct Session;
}
namespace vlm::store {
class Recordset;
}

namespace vlm::retrieval {

inline QString noMatchText() {
    return QStringLiteral("No Match");
}
inline QString missingCardMessage() {
    return QStringLiteral("This record does not exists");
}
inline QString authorCaptionPrefix() {
    return QStringLiteral("Reference Author : ");
}
// What the progress window says while a long card list is read.
inline QString listingText() {
    return QStringLiteral("Listing the cards...");
}
inline QString sortingText() {
    return QStringLiteral("Sorting the cards...");
}

// Holds one read transaction on the open base while a list is gathered: every seek then
// reads the same state of the base, without taking the file's lock again each time.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Session& ctx);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    std::optional<store::Transaction> trans_;
};

// Fills the result table with every card of `kind` that carries `keyword`, one row per
// keyword of the card (the card's number, author and title beside each), and sets
// ResultKind, ResultKeyword, ResultCaption, ResultSortCol = 1 and ResultRow = 1. Each card
// is listed once, whatever the number of its links to the keyword; links to cards that no
// longer exist are skipped. Returns false when no card carries the keyword: the table then
// holds the single row "No Match".
// `progress`, when given, hears how many rows have been read.
bool fillByKeyword(Session& ctx, CardKind kind, const QString& keyword,
                   Progress* progress = nullptr);

// Fills the result table with the References of `author` (AuthorSel, kind Bib) or with the
// Quotes of those References (AuthorCit, kind Cit), one row per keyword of each card, a
// single blank standing for the keyword of a card that has none; author column = `author`.
// Caption "Reference Author : " + author. Returns false, leaving the table as it was, when
// the author has no Reference at all (the caller shows "No Match").
bool fillByAuthor(Session& ctx, CardKind kind, const QString& author);

// Makes the card numbered `number` the current record of its table (number index selected).
// False when there is no such card.
bool seekCardNumber(Session& ctx, CardKind kind, const QString& number);

// The numbers of the existing cards that carry `keyword`, each once, in the order of the
// link table's keyword index. Nothing when no link names the keyword.
std::optional<QStringList> keywordCardNumbers(Session& ctx, CardKind kind, const QString& keyword);

} // namespace vlm::retrieval
