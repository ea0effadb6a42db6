#include "gui/cards/openers.h"

#include "core/session/session.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/notewindow.h"

#include <QTextEdit>

namespace vlm::cards {

QWidget* OpenNoteCard(Session& ctx) {
    return runOpener(ctx, [&ctx]() -> QWidget* {
        return openNoteWindow(ctx, readCurrentCard(ctx, CardKind::Note));
    });
}

NoteWindow* openNoteWindow(Session& ctx, CardSlots card) {
    card.kind = CardKind::Note;
    card.window = takeWindowNumber(ctx, CardKind::Note);
    auto* window = new NoteWindow(ctx, card);
    showCardWindow(ctx, window, NoteWindow::kWidthTwips, NoteWindow::kHeightTwips);
    window->textBox()->setFocus();
    highlightFoundWord(window->textBox(), card.findPos, ctx.FindWord);
    return window;
}

} // namespace vlm::cards
