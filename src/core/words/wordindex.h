#pragma once

// The word index of all Notes and all Quotes: for each card, the words its text holds and how
// often (WordsNoteIndex, WordsCitIndex), and from it the total of each word over all cards
// (WordsNoteAll, WordsCitAll).
//
// Indexing is incremental: a card that has index rows is not indexed again. Storing a changed
// text or deleting a card drops its rows (core/cards/cardstore), so the next run indexes it
// afresh. The totals are rebuilt from empty at each aggregation.
//
// Each long run works in one transaction: a failure or a cancel rolls it back and leaves the
// base as it was. The functions never throw; the store's refusal comes back as the Status.

#include "core/common/progress.h"
#include "core/common/status.h"
#include "core/session/cardkind.h"

#include <QString>
#include <vector>

namespace vlm {
struct Session;
}

namespace vlm::words {

// Longest word an index row holds (a longer one gives a row with an empty Mot) and longest
// word a total row holds (a longer one is counted under the empty word).
inline constexpr int kIndexWordLength = 49;
inline constexpr int kTotalWordLength = 40;

// The index tables of the kind (Note or Quote; a Reference has no text).
QString indexTableOf(CardKind kind);
QString totalsTableOf(CardKind kind);

struct IndexRun {
    int cardsIndexed = 0; // cards that got their words written (or had none)
    qint64 rowsAdded = 0;
    bool cancelled = false; // stopped through the progress: nothing was written
};

// Index All: every card of the kind without index rows, in number order, gets one row per word
// of its text (split for the index, Exclusion List removed, plurals folded; a folded plural is
// written with the count 0). `progress` is told each card's number as a phase, then the cards
// done of those to do; a false step stops the run and rolls back all it wrote.
Result<IndexRun> indexAllCards(Session& ctx, CardKind kind, Progress* progress = nullptr);

struct AggregateRun {
    qint64 rowsRead = 0;
    qint64 words = 0; // rows of the totals table
    bool cancelled = false;
};

// All Keywords: the totals table becomes the sum of the index rows' counts per word, words the
// store finds equal sharing one total (the first spelling met is kept). `progress` is told the
// index rows read of all of them.
Result<AggregateRun> aggregateWords(Session& ctx, CardKind kind, Progress* progress = nullptr);

// One row of the index, as the window "All KW" shows it.
struct IndexRow {
    QString word;
    QString number;
    qint64 count = 0;
};
// Every row of the kind's index, in descending order of occurrences (rows with equal counts in
// the reverse of the index's order). Throws StoreError on failure.
std::vector<IndexRow> indexRowsByOccurrence(Session& ctx, CardKind kind);

// The same rows in the same order, each read from the base when asked for: only their row ids
// are held, so an index of millions of rows is listed at once and in little memory.
class IndexRowList {
public:
    // Reads the row ids `block` at a time, telling `progress` how many it has read. Throws
    // StoreError on failure.
    IndexRowList(Session& ctx, CardKind kind, Progress* progress = nullptr, int block = 65536);
    qint64 size() const { return qint64(ids_.size()); }
    // Row i (0-based); an empty row when it left the index meanwhile. Throws StoreError.
    IndexRow at(qint64 i) const;

private:
    Session& ctx_;
    QString table_;
    std::vector<qint64> ids_;
};

struct WordTotal {
    QString word;
    qint64 count = 0;
};
// Every total of the kind, in descending order of occurrences. Throws StoreError on failure.
std::vector<WordTotal> totalsByOccurrence(Session& ctx, CardKind kind);

// The numbers of the cards whose index rows hold `word` (compared as the store does), each
// once, in number order. Throws StoreError on failure.
QStringList cardsHoldingWord(Session& ctx, CardKind kind, const QString& word);

} // namespace vlm::words
