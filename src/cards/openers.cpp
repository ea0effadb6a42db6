#include "cards/openers.h"

#include "app/appcontext.h"
#include "cards/cardwindows.h"
#include "cards/notewindow.h"

#include <QTextEdit>

namespace vlm::cards {

QWidget* OpenNoteCard(AppContext& ctx) {
    return runOpener(ctx, [&ctx]() -> QWidget* {
        return openNoteWindow(ctx, readCurrentCard(ctx, CardKind::Note));
    });
}

fNoteMulti* openNoteWindow(AppContext& ctx, CardSlots card) {
    card.kind = CardKind::Note;
    card.window = takeWindowNumber(ctx, CardKind::Note);
    auto* window = new fNoteMulti(ctx, card);
    showCardWindow(ctx, window, fNoteMulti::kWidthTwips, fNoteMulti::kHeightTwips);
    window->textBox()->setFocus();
    highlightFoundWord(window->textBox(), card.findPos, ctx.FindWord);
    return window;
}

} // namespace vlm::cards
