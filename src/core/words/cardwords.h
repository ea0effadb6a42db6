#pragma once

// What the word window does with the base besides the Exclusion List: the stored text of the
// analysed card, the words of a list that are keywords, and links from the card to keywords.

#include "core/common/status.h"
#include "core/session/cardkind.h"
#include "core/words/tokenizer.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vlm {
struct Session;
}

namespace vlm::words {

// The card whose text was analysed last: a Note or a Quote, by its number.
struct AnalysedCard {
    CardKind kind = CardKind::Note;
    QString number;
};

// The stored plain text (Texte) of the card; nothing when the card is no longer in the base.
Result<std::optional<QString>> storedCardText(Session& ctx, const AnalysedCard& card);

// A word of the text that is a keyword: the word as the text spells it, its count, and the
// keyword as the keyword table spells it (the store finds the two equal).
struct KeywordWord {
    QString word;
    int count = 0;
    QString keyword;
};

// The entries of `list` that are keywords, in list order. The keyword table is read once.
Result<std::vector<KeywordWord>> keywordsAmong(Session& ctx, const WordList& list);

// How linking keywords to the analysed card ended.
struct LinkOutcome {
    QStringList added;        // linked now, in the order given
    QStringList alreadyThere; // the card carried them already: not linked again
};

// Links each keyword to the card with its count in WordsNb (the field holds at most 32767; a
// larger count is stored as 32767), in one transaction: on a failure nothing is written. A
// keyword the card carries already, or given twice, is linked once. Tells the card's windows
// (cardChanged) once something was written.
Result<LinkOutcome> linkKeywordsToCard(Session& ctx, const AnalysedCard& card,
                                       const std::vector<KeywordWord>& keywords);

} // namespace vlm::words
