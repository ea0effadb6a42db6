#pragma once

// Where the card windows call the windows of the other subsystems: the selection dialog
// (keywords and authors), the lists of cards by keyword, and the Reference type dialog.

#include "core/cards/cardstore.h"

#include <QStringList>
#include <functional>

class QWidget;

namespace vlm {
struct Session;
}

namespace vlm::cards {

// The selection dialog "Select Keywords", attaching the picked keywords to card `number`.
// `attached` receives the card's keywords once the dialog has linked some.
void openKeywordSelection(Session& ctx, QWidget* caller, CardKind kind, const QString& number,
                          const std::function<void(const QStringList&)>& attached);

// The selection dialog in author mode ("Note Authors" or "Authors"); `picked` receives the
// names picked when its Select button is pressed, and the dialog closes when it returns true.
void openAuthorSelection(Session& ctx, CardKind kind,
                         const std::function<bool(const QStringList&)>& picked);

// Every Note linked to `keyword`, each in a window of its own, after the memory guard.
void openNotesOfKeyword(Session& ctx, const QString& keyword);

// Every card of the kind linked to `keyword`, each in a window of its own, after the memory
// guard.
void openCardsOfKeyword(Session& ctx, CardKind kind, const QString& keyword);

// The type dialog frmType of Reference `number`, just created: OK stores the type and then
// opens the Reference window; Cancel leaves the Reference without a type.
void openReferenceTypeDialog(Session& ctx, const QString& number);

} // namespace vlm::cards
