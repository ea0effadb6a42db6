#pragma once

// The ways a user starts a new card: the New menus of the main window and the New buttons of
// the card windows. A Note or a Reference begins with the choice of its author(s) in the
// selection dialog; a Quote is always added from its Reference.

#include <QString>
#include <QStringList>

class QWidget;

namespace vlm {
struct Session;
}

namespace vlm::cards {

// The selection dialog in Note-author mode ("Note Authors"); its Select button runs
// CreateNote with the names picked.
void ChooseNoteAuthor(Session& ctx);
// A new Note for the first picked name, opened in its window. False when nothing was created
// (an empty pick; a refusal of the store, which is shown).
bool CreateNote(Session& ctx, const QStringList& picked);

// The selection dialog in Reference-author mode ("Authors"); its Select button runs
// CreateReferenceFromAuthors with the names picked.
void ChooseReferenceAuthors(Session& ctx);
// A new Reference for the picked names, then its type dialog. False when nothing was created.
bool CreateReferenceFromAuthors(Session& ctx, const QStringList& picked);

// Shown by New > Quote and Quote > New (information icon).
inline QString newQuoteMessage() {
    return QStringLiteral(
        "Please select or create a Reference, then run the Add Quote button from it");
}

// The main window's menu items.
void mNNew_Click(Session& ctx);    // New > Note
void mNoteNew_Click(Session& ctx); // DataType > Note > New
void mCitNew_Click(Session& ctx);  // New > Quote
void mCitNew2_Click(Session& ctx); // DataType > Quote > New
void mBibNew_Click(Session& ctx);  // New > Reference
void mBibNew2_Click(Session& ctx); // DataType > Reference > New

// Makes those six items of `mainWindow` (found by object name) live.
void connectCardMenus(Session& ctx, QWidget* mainWindow);

} // namespace vlm::cards
