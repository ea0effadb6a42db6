#pragma once

// The word-list file SORTIE.TXT: the analysed card's number, a line holding one blank, then one
// line per word, the word right-aligned in 20 characters (a longer word whole), two blanks and
// its count (nothing for a folded plural of count 0). Lines end with CR LF; the file is UTF-8,
// which holds every character a word can have.

#include "core/common/status.h"
#include "core/words/tokenizer.h"

#include <QString>

namespace vlm::words {

// The file's name, written in the current folder.
inline QString wordListFileName() {
    return QStringLiteral("SORTIE.TXT");
}

// The text of the file.
QString wordListFileText(const QString& cardNumber, const WordList& list);

// Writes `text` to `path`, replacing what the file held. On failure the Status says which file
// could not be written and why (ErrorCode::CannotOpen); the file is then left as it was or
// incomplete, never reported as written.
Status writeWordListFile(const QString& path, const QString& text);

} // namespace vlm::words
