#pragma once

// The Exclusion List as stored: table words, one excluded word per row in the field Word,
// unique index WNDX (which compares as the store does: "The" and "the" are one word).
//
// Every function returns the store's refusal as its Status (ReadOnly on a read-only base) and
// never throws. They use the shared recordset ctx.rs().words and leave it on WNDX.

#include "core/common/status.h"
#include "core/words/tokenizer.h"

#include <QString>
#include <QStringList>

namespace vlm {
struct Session;
}

namespace vlm::words {

// Longest word the table holds, in characters.
inline constexpr int kMaxExcludedWordLength = 40;

// The lookup every analysis uses, read once from the table.
Result<ExclusionList> loadExclusionList(Session& ctx);

// Every non-empty word of the table, in the order the rows were added.
Result<QStringList> excludedWordsInTableOrder(Session& ctx);

// Adds `word` to the table unless the table holds it already (under the store's comparison).
// True when a row was added, false when it was there already. An empty word adds nothing
// (false).
Result<bool> excludeWord(Session& ctx, const QString& word);

// Deletes the row holding `word` (under the store's comparison). False when none holds it.
Result<bool> removeExcludedWord(Session& ctx, const QString& word);

} // namespace vlm::words
