#include "cards/cardlinks.h"

#include "app/appcontext.h"
#include "keywords/multsel.h"
#include "retrieval/retrieval.h"

#include <QMdiArea>
#include <QPointer>

namespace vlm::cards {
namespace {

using keywords::fMultSel;

// Where the selection dialog opens, in twips from the main window's top left corner.
constexpr int kDialogLeft = 1200;
constexpr int kDialogTop = 900;

QWidget* mainWindow(AppContext& ctx) {
    return ctx.mdiArea ? ctx.mdiArea->window() : nullptr;
}

} // namespace

void openKeywordSelection(AppContext& ctx, QWidget* caller, CardKind kind, const QString& number,
                          const std::function<void(const QStringList&)>& attached) {
    const fMultSel::Mode mode = kind == CardKind::Note    ? fMultSel::Mode::KWNoteSelect
                                : kind == CardKind::Quote ? fMultSel::Mode::KWCitAdd
                                                          : fMultSel::Mode::KWBibAdd;
    fMultSel* dialog = fMultSel::open(ctx, mode, mainWindow(ctx), QStringLiteral("Select Keywords"),
                                      kDialogLeft, kDialogTop, number);
    QPointer<QWidget> window(caller);
    QObject::connect(dialog, &fMultSel::keywordsAttached, caller,
                     [window, number, attached](fMultSel::Mode, const QString& card,
                                                const QStringList& keywords) {
                         if (window && card == number) attached(keywords);
                     });
}

void openAuthorSelection(AppContext& ctx, CardKind kind,
                         const std::function<bool(const QStringList&)>& picked) {
    const bool note = kind == CardKind::Note;
    const fMultSel::Mode mode = note ? fMultSel::Mode::cNoteAutSel : fMultSel::Mode::cBibAutSel;
    fMultSel* dialog = fMultSel::open(
        ctx, mode, mainWindow(ctx),
        note ? QStringLiteral("Note Authors") : QStringLiteral("Authors"), kDialogLeft, kDialogTop);
    // The user may add or discard author names there.
    for (const char* name : {"cListAdd", "cListSupp"})
        if (auto* b = dialog->findChild<QWidget*>(QLatin1String(name))) b->setVisible(true);
    QPointer<fMultSel> guard(dialog);
    QObject::connect(
        dialog, &fMultSel::selected, dialog,
        [guard, mode, picked](fMultSel::Mode m, const QStringList& names, const QString&) {
            if (m != mode || !guard) return;
            // The dialog's work is done once the card exists; after a refusal
            // it stays, with the names picked.
            if (picked(names) && guard) guard->close();
        });
}

void openNotesOfKeyword(AppContext& ctx, const QString& keyword) {
    retrieval::OpenKeywordNotes(ctx, keyword);
}

void openReferenceTypeDialog(AppContext& ctx) {
    // The type dialog comes with the Reference window; until then the new Reference stays
    // the current record of BIBLIO, typeless.
    Q_UNUSED(ctx);
}

} // namespace vlm::cards
