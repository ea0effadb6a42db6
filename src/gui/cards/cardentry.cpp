#include "gui/cards/cardentry.h"

#include "core/cards/cardstore.h"
#include "core/session/session.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/openers.h"

#include <QAction>
#include <QWidget>

namespace vlm::cards {

void chooseNoteAuthor(Session& ctx) {
    openAuthorSelection(ctx, CardKind::Note,
                        [&ctx](const QStringList& picked) { return createNote(ctx, picked); });
}

bool createNote(Session& ctx, const QStringList& picked) {
    const CardResult r = createNoteRecord(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    openNoteCard(ctx);
    return true;
}

void chooseReferenceAuthors(Session& ctx) {
    openAuthorSelection(ctx, CardKind::Reference, [&ctx](const QStringList& picked) {
        return createReferenceFromAuthors(ctx, picked);
    });
}

bool createReferenceFromAuthors(Session& ctx, const QStringList& picked) {
    const CardResult r = createReference(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    openReferenceTypeDialog(ctx, r.number);
    return true;
}

void onNewNote(Session& ctx) {
    chooseNoteAuthor(ctx);
}

void onNoteMenuNew(Session& ctx) {
    chooseNoteAuthor(ctx);
}

void onNewQuote(Session& ctx) {
    ctx.prompter.message(newQuoteMessage(), Buttons::Ok, Icon::Information);
}

void onQuoteMenuNew(Session& ctx) {
    onNewQuote(ctx);
}

void onNewReference(Session& ctx) {
    chooseReferenceAuthors(ctx);
}

void onReferenceMenuNew(Session& ctx) {
    chooseReferenceAuthors(ctx);
}

void connectCardMenus(Session& ctx, const CardMenus& m) {
    const struct {
        QAction* action;
        void (*run)(Session&);
    } items[] = {{m.newNote, onNewNote},           {m.noteNew, onNoteMenuNew},
                 {m.newQuote, onNewQuote},         {m.quoteNew, onQuoteMenuNew},
                 {m.newReference, onNewReference}, {m.referenceNew, onReferenceMenuNew}};
    for (const auto& item : items) {
        if (!m.window || !item.action)
            qFatal("connectCardMenus: a New item of the main window is missing");
        item.action->setEnabled(true);
        QObject::connect(item.action, &QAction::triggered, m.window,
                         [&ctx, run = item.run] { run(ctx); });
    }
}

} // namespace vlm::cards
