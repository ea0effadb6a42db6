#pragma once

// Opening a card from a result row: the card is the current record of its table, and the
// card windows show it in a new window. The shell hands this opener to the lists
// (Session::openCard).

#include "core/session/cardkind.h"

namespace vlm {
struct Session;
}

namespace vlm::cards {

// Opens a window on the current record of the kind's card table. False when no window
// opened (memory ran out, which the opener says).
bool openCurrentCard(Session& ctx, CardKind kind);

} // namespace vlm::cards
