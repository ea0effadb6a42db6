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

void mBibNew_Click(Session& ctx) {
    chooseReferenceAuthors(ctx);
}

void mBibNew2_Click(Session& ctx) {
    chooseReferenceAuthors(ctx);
}

void connectCardMenus(Session& ctx, QWidget* mainWindow) {
    const struct {
        const char* name;
        void (*run)(Session&);
    } items[] = {{"mNNew", onNewNote},       {"mNoteNew", onNoteMenuNew},
                 {"mCitNew", onNewQuote},    {"mCitNew2", onQuoteMenuNew},
                 {"mBibNew", mBibNew_Click}, {"mBibNew2", mBibNew2_Click}};
    for (const auto& item : items) {
        QAction* a = mainWindow->findChild<QAction*>(QLatin1String(item.name));
        if (!a) continue;
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, mainWindow, [&ctx, run = item.run] { run(ctx); });
    }
}

} // namespace vlm::cards
