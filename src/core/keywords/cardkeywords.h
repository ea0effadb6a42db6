#pragma once

// The keywords carried by a card: reading them and attaching picked keywords.

#include "core/common/status.h"
#include "core/session/cardkind.h"

// The keywords attached to a card: rows of GRNOTE (Notes), GRCIT (Quotes) and GRBIB
// (References), each naming one keyword (GROUPE) and the card's number (NDX).

#include <QString>
#include <QStringList>

namespace vlm {
struct Session;
}

namespace vlm::keywords {

// The keywords of a card are read by vlm::cardKeywords (core/session/cardkind.h).

// How an attach ended.
enum class AttachStatus {
    Done,     // every picked keyword that was not attached yet is now (possibly none)
    Nothing,  // nothing was picked
    ReadOnly, // the base is read-only: nothing was written
    Failed,   // another failure of the store: nothing was written
};

struct AttachResult {
    AttachStatus status = AttachStatus::Done;
    QStringList added;        // the keywords attached now, in the order picked
    QStringList alreadyThere; // picked keywords the card carried already, added nothing for
    QStringList keywords;     // the card's keywords afterwards, re-read from the table
    QString message;          // what the window tells the user; empty when nothing to tell
    Status store;             // the store's refusal (ReadOnly, Failed); ok otherwise
    bool ok() const { return status == AttachStatus::Done || status == AttachStatus::Nothing; }
};

// Attaches the picked keywords to a card in one transaction. A keyword picked more than once,
// or one the card already carries (names compared as the store compares them), gives one
// link only; the ones the card already carried are listed in the message. Sets
// ctx.KWChanged once something was written. Empty picks are ignored. A failure of the store
// does not throw: it ends as ReadOnly or Failed, with `store` set and nothing written.
AttachResult attachKeywords(Session& ctx, CardKind kind, const QString& cardNumber,
                            const QStringList& picked);

// The three Select commands of the selection dialog that attach keywords to a card.
inline AttachResult KWNoteSelect(Session& ctx, const QString& note, const QStringList& picked) {
    return attachKeywords(ctx, CardKind::Note, note, picked);
}
inline AttachResult KWCitAdd(Session& ctx, const QString& quote, const QStringList& picked) {
    return attachKeywords(ctx, CardKind::Quote, quote, picked);
}
inline AttachResult KWBibAdd(Session& ctx, const QString& reference, const QStringList& picked) {
    return attachKeywords(ctx, CardKind::Reference, reference, picked);
}

// The message listing the keywords a card already carried.
QString alreadyAttachedText(const QStringList& names);

} // namespace vlm::keywords
