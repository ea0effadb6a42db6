#include "gui/cards/cardopen.h"

#include "core/session/session.h"
#include "gui/cards/openers.h"

namespace vlm::cards {

bool openCurrentCard(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return OpenNoteCard(ctx) != nullptr;
    case CardKind::Quote:
    case CardKind::Reference:
        // No Quote or Reference window yet: their rows are listed and do not open.
        break;
    }
    return false;
}

} // namespace vlm::cards
