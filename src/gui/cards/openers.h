#pragma once

// The card openers: each shows the current record of its table in a new window. The caller
// selects the number index (NoteNDX, CitNDX, BibNDX), seeks the card and, where it can be
// absent, tests for no match first.
//
// Every open gives a new window number (the kind's window counter plus one), even for a card
// already shown. When the text search found a word in the card (ctx.FindPos at least 1), the
// window opens with ctx.FindWord selected.

#include "core/cards/cardstore.h"

class QWidget;

namespace vlm {
struct Session;
}

namespace vlm::cards {

class NoteWindow;

// A Note window on the current record of NOTE. Nothing (and "Not enough memory ! Please
// close some windows !") when memory runs out.
QWidget* openNoteCard(Session& ctx);

// A Quote window on the current record of CIT, with the authors of its Reference.
QWidget* openQuoteCard(Session& ctx);
// A Reference window on the current record of BIBLIO.
QWidget* openReferenceCard(Session& ctx);

// A Note window on the card given: what openNoteCard does once it has read the record.
// Throws on failure.
NoteWindow* openNoteWindow(Session& ctx, CardSlots card);

} // namespace vlm::cards
