#include "gui/cards/cardopen.h"

#include "core/session/session.h"
#include "gui/cards/openers.h"

namespace vlm::cards {

bool openCurrentCard(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return openNoteCard(ctx) != nullptr;
    case CardKind::Quote:
        return openQuoteCard(ctx) != nullptr;
    case CardKind::Reference:
        return openReferenceCard(ctx) != nullptr;
    }
    return false;
}

} // namespace vlm::cards
