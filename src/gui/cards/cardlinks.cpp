#include "gui/cards/cardlinks.h"

#include "core/session/session.h"
#include "gui/cards/typedialog.h"
#include "gui/keywords/selectiondialog.h"
#include "gui/retrieval/cardlists.h"

#include <QMdiArea>
#include <QPointer>

namespace vlm::cards {
namespace {

using keywords::SelectionDialog;

// Where the selection dialog opens, in twips from the main window's top left corner.
constexpr int kDialogLeft = 1200;
constexpr int kDialogTop = 900;

QWidget* mainWindow(Session& ctx) {
    return ctx.mdiArea ? ctx.mdiArea->window() : nullptr;
}

} // namespace

void openKeywordSelection(Session& ctx, QWidget* caller, CardKind kind, const QString& number,
                          const std::function<void(const QStringList&)>& attached) {
    const SelectionDialog::Mode mode = kind == CardKind::Note ? SelectionDialog::Mode::KWNoteSelect
                                       : kind == CardKind::Quote ? SelectionDialog::Mode::KWCitAdd
                                                                 : SelectionDialog::Mode::KWBibAdd;
    SelectionDialog* dialog =
        SelectionDialog::open(ctx, mode, mainWindow(ctx), QStringLiteral("Select Keywords"),
                              kDialogLeft, kDialogTop, number);
    QPointer<QWidget> window(caller);
    QObject::connect(dialog, &SelectionDialog::keywordsAttached, caller,
                     [window, number, attached](SelectionDialog::Mode, const QString& card,
                                                const QStringList& keywords) {
                         if (window && card == number) attached(keywords);
                     });
}

void openAuthorSelection(Session& ctx, CardKind kind,
                         const std::function<bool(const QStringList&)>& picked) {
    const bool note = kind == CardKind::Note;
    const SelectionDialog::Mode mode =
        note ? SelectionDialog::Mode::cNoteAutSel : SelectionDialog::Mode::cBibAutSel;
    SelectionDialog* dialog = SelectionDialog::open(
        ctx, mode, mainWindow(ctx),
        note ? QStringLiteral("Note Authors") : QStringLiteral("Authors"), kDialogLeft, kDialogTop);
    // The user may add or discard author names there.
    dialog->showListEditing();
    QPointer<SelectionDialog> guard(dialog);
    QObject::connect(
        dialog, &SelectionDialog::selected, dialog,
        [guard, mode, picked](SelectionDialog::Mode m, const QStringList& names, const QString&) {
            if (m != mode || !guard) return;
            // The dialog's work is done once the card exists; after a refusal
            // it stays, with the names picked.
            if (picked(names) && guard) guard->close();
        });
}

void openNotesOfKeyword(Session& ctx, const QString& keyword) {
    retrieval::openKeywordNotes(ctx, keyword);
}

void openCardsOfKeyword(Session& ctx, CardKind kind, const QString& keyword) {
    switch (kind) {
    case CardKind::Note:
        retrieval::openKeywordNotes(ctx, keyword);
        break;
    case CardKind::Quote:
        retrieval::openKeywordQuotes(ctx, keyword);
        break;
    case CardKind::Reference:
        retrieval::openKeywordReferences(ctx, keyword);
        break;
    }
}

void openReferenceTypeDialog(Session& ctx, const QString& number) {
    auto* dialog = new TypeDialog(ctx, number, mainWindow(ctx));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace vlm::cards
