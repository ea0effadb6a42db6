#include "retrieval/cardopen.h"

#include "app/appcontext.h"
#include "cards/openers.h"

namespace vlm::retrieval {

bool OpenCurrentCard(AppContext& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return cards::OpenNoteCard(ctx) != nullptr;
    case CardKind::Cit:
    case CardKind::Bib:
        // No Quote or Reference window yet: their rows are listed and do not open.
        break;
    }
    return false;
}

} // namespace vlm::retrieval
