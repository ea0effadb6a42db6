#include "gui/cards/openers.h"

#include "core/session/session.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/notewindow.h"
#include "gui/cards/quotewindow.h"
#include "gui/cards/referencewindow.h"

#include <QTextEdit>

namespace vlm::cards {

QWidget* openNoteCard(Session& ctx) {
    return runOpener(ctx, [&ctx]() -> QWidget* {
        return openNoteWindow(ctx, readCurrentCard(ctx, CardKind::Note));
    });
}

QWidget* openQuoteCard(Session& ctx) {
    return runOpener(ctx, [&ctx]() -> QWidget* {
        CardSlots card = readCurrentCard(ctx, CardKind::Quote);
        card.window = takeWindowNumber(ctx, CardKind::Quote);
        auto* window = new QuoteWindow(ctx, card);
        showCardWindow(ctx, window, QuoteWindow::kWidthTwips, QuoteWindow::kHeightTwips);
        window->textBox()->setFocus();
        highlightFoundWord(window->textBox(), card.findPos, ctx.FindWord);
        return window;
    });
}

QWidget* openReferenceCard(Session& ctx) {
    return runOpener(ctx, [&ctx]() -> QWidget* {
        CardSlots card = readCurrentCard(ctx, CardKind::Reference);
        card.window = takeWindowNumber(ctx, CardKind::Reference);
        auto* window = new ReferenceWindow(ctx, card);
        showCardWindow(ctx, window, ReferenceWindow::kWidthTwips, ReferenceWindow::kHeightTwips);
        return window;
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
