#pragma once

// The word analysis of one card as the user runs it: Text Compare of the Note and Quote
// windows, the editor's "analyse again", and the export to SORTIE.TXT. Each shows the
// hourglass and the progress window while it works.

#include "core/session/cardkind.h"
#include "core/words/cardwords.h"

#include <QString>

namespace vlm {
struct Session;
}

namespace vlm::words {

class WordWindow;

// Text Compare: analyses `text`, the text of card `number`, and shows the word window in place
// of the one open before. A text too short to be analysed shows no window. Returns the window,
// or nullptr when none was shown.
WordWindow* compareCardWords(Session& ctx, CardKind kind, const QString& number,
                             const QString& text);

// Analyses the card's stored text again (after the Exclusion List changed).
WordWindow* analyseStoredCard(Session& ctx, const AnalysedCard& card);

// Writes SORTIE.TXT in the current folder for the card's stored text and shows it in the
// window Display. A file that cannot be written is told, with its folder and the reason.
// Returns the path written, or an empty text.
QString exportWordList(Session& ctx, const AnalysedCard& card);

} // namespace vlm::words
