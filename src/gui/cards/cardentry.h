#pragma once

// The ways a user starts a new card: the New menus of the main window and the New buttons of
// the card windows. A Note or a Reference begins with the choice of its author(s) in the
// selection dialog; a Quote is always added from its Reference.

#include <QString>
#include <QStringList>

class QAction;
class QWidget;

namespace vlm {
struct Session;
}

namespace vlm::cards {

// The selection dialog in Note-author mode ("Note Authors"); its Select button runs
// createNote with the names picked.
void chooseNoteAuthor(Session& ctx);
// A new Note for the first picked name, opened in its window. False when nothing was created
// (an empty pick; a refusal of the store, which is shown).
bool createNote(Session& ctx, const QStringList& picked);

// The selection dialog in Reference-author mode ("Authors"); its Select button runs
// createReferenceFromAuthors with the names picked.
void chooseReferenceAuthors(Session& ctx);
// A new Reference for the picked names, then its type dialog. False when nothing was created.
bool createReferenceFromAuthors(Session& ctx, const QStringList& picked);

// Shown by New > Quote and Quote > New (information icon).
inline QString newQuoteMessage() {
    return QStringLiteral(
        "Please select or create a Reference, then run the Add Quote button from it");
}

// The main window's menu items.
void onNewNote(Session& ctx);          // New > Note
void onNoteMenuNew(Session& ctx);      // DataType > Note > New
void onNewQuote(Session& ctx);         // New > Quote
void onQuoteMenuNew(Session& ctx);     // DataType > Quote > New
void onNewReference(Session& ctx);     // New > Reference
void onReferenceMenuNew(Session& ctx); // DataType > Reference > New

// The main window's New items; every one must be there.
struct CardMenus {
    QWidget* window = nullptr;
    QAction* newNote = nullptr;      // mNNew
    QAction* noteNew = nullptr;      // mNoteNew
    QAction* newQuote = nullptr;     // mCitNew
    QAction* quoteNew = nullptr;     // mCitNew2
    QAction* newReference = nullptr; // mBibNew
    QAction* referenceNew = nullptr; // mBibNew2
};

// Makes those six items live. A missing item stops the program: it is a fault of the window.
void connectCardMenus(Session& ctx, const CardMenus& menus);

} // namespace vlm::cards
