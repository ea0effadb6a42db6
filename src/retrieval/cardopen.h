#pragma once

// Opening a card from a result row: the card is the current record of its table, and the
// card openers of the cards subsystem show it in a new window.

#include "retrieval/grids.h"

#include <functional>

namespace vlm::retrieval {

// Opens a window on the current record of the kind's card table. False when no window
// opened (cards of that kind have no window yet, or memory ran out, which the opener says).
bool OpenCurrentCard(AppContext& ctx, CardKind kind);

// The opener the result windows call (tests give their own).
using CardOpener = std::function<bool(AppContext&, CardKind)>;

} // namespace vlm::retrieval
