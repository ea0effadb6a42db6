#include "gui/cards/cardopen.h"

#include "core/session/session.h"
#include "gui/cards/openers.h"

namespace vlm::cards {

bool openCurrentCard(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return openNoteCard(ctx) != nullptr;
    case CardKind::Quote:
        return OpenQuoteCard(ctx) != nullptr;
    case CardKind::Reference:
        return OpenReferenceCard(ctx) != nullptr;
    }
    return false;
}

} // namespace vlm::cards
