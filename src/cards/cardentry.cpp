#include "cards/cardentry.h"

#include "app/appcontext.h"
#include "cards/cardlinks.h"
#include "cards/cardstore.h"
#include "cards/openers.h"

#include <QAction>
#include <QWidget>

namespace vlm::cards {

void ChooseNoteAuthor(AppContext& ctx) {
    openAuthorSelection(ctx, CardKind::Note,
                        [&ctx](const QStringList& picked) { return CreateNote(ctx, picked); });
}

bool CreateNote(AppContext& ctx, const QStringList& picked) {
    const CardResult r = CreateNoteRecord(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    OpenNoteCard(ctx);
    return true;
}

void ChooseReferenceAuthors(AppContext& ctx) {
    openAuthorSelection(ctx, CardKind::Reference, [&ctx](const QStringList& picked) {
        return CreateReferenceFromAuthors(ctx, picked);
    });
}

bool CreateReferenceFromAuthors(AppContext& ctx, const QStringList& picked) {
    const CardResult r = CreateReference(ctx, picked);
    if (!r.message.isEmpty()) ctx.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (!r.ok()) return false;
    openReferenceTypeDialog(ctx);
    return true;
}

void mNNew_Click(AppContext& ctx) {
    ChooseNoteAuthor(ctx);
}

void mNoteNew_Click(AppContext& ctx) {
    ChooseNoteAuthor(ctx);
}

void mCitNew_Click(AppContext& ctx) {
    ctx.prompter.message(newQuoteMessage(), Buttons::Ok, Icon::Information);
}

void mCitNew2_Click(AppContext& ctx) {
    mCitNew_Click(ctx);
}

void connectCardMenus(AppContext& ctx, QWidget* mainWindow) {
    const struct {
        const char* name;
        void (*run)(AppContext&);
    } items[] = {{"mNNew", mNNew_Click},
                 {"mNoteNew", mNoteNew_Click},
                 {"mCitNew", mCitNew_Click},
                 {"mCitNew2", mCitNew2_Click}};
    for (const auto& item : items) {
        QAction* a = mainWindow->findChild<QAction*>(QLatin1String(item.name));
        if (!a) continue;
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, mainWindow, [&ctx, run = item.run] { run(ctx); });
    }
}

} // namespace vlm::cards
