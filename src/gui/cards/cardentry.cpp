#include "gui/cards/cardentry.h"

#include "core/cards/cardstore.h"
#include "core/session/session.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/openers.h"

#include <QAction>
#include <QWidget>

namespace vlm::cards {

void ChooseNoteAuthor(Session& ctx) {
    openAuthorSelection(ctx, CardKind::Note,
                        [&ctx](const QStringList& picked) { return CreateNote(ctx, picked); });
}

bool CreateNote(Session& ctx, const QStringList& picked) {
    const CardResult r = CreateNoteRecord(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    OpenNoteCard(ctx);
    return true;
}

void ChooseReferenceAuthors(Session& ctx) {
    openAuthorSelection(ctx, CardKind::Reference, [&ctx](const QStringList& picked) {
        return CreateReferenceFromAuthors(ctx, picked);
    });
}

bool CreateReferenceFromAuthors(Session& ctx, const QStringList& picked) {
    const CardResult r = CreateReference(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    openReferenceTypeDialog(ctx, r.number);
    return true;
}

void mNNew_Click(Session& ctx) {
    ChooseNoteAuthor(ctx);
}

void mNoteNew_Click(Session& ctx) {
    ChooseNoteAuthor(ctx);
}

void mCitNew_Click(Session& ctx) {
    ctx.prompter.message(newQuoteMessage(), Buttons::Ok, Icon::Information);
}

void mCitNew2_Click(Session& ctx) {
    mCitNew_Click(ctx);
}

void mBibNew_Click(Session& ctx) {
    ChooseReferenceAuthors(ctx);
}

void mBibNew2_Click(Session& ctx) {
    ChooseReferenceAuthors(ctx);
}

void connectCardMenus(Session& ctx, QWidget* mainWindow) {
    const struct {
        const char* name;
        void (*run)(Session&);
    } items[] = {{"mNNew", mNNew_Click},     {"mNoteNew", mNoteNew_Click},
                 {"mCitNew", mCitNew_Click}, {"mCitNew2", mCitNew2_Click},
                 {"mBibNew", mBibNew_Click}, {"mBibNew2", mBibNew2_Click}};
    for (const auto& item : items) {
        QAction* a = mainWindow->findChild<QAction*>(QLatin1String(item.name));
        if (!a) continue;
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, mainWindow, [&ctx, run = item.run] { run(ctx); });
    }
}

} // namespace vlm::cards
