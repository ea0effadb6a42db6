#pragma once

// The tool bar commands of a card's rich text box: Open, Save, Print and Font. Every dialog
// goes through the prompter; cancelling one does nothing.

#include "core/common/prompter.h"

#include <QString>
#include <QStringList>

class QTextEdit;

namespace vlm {
struct Session;
}

namespace vlm::cards {

inline QString rtfFileFilter() {
    return QStringLiteral("Rich Text File (*.Rtf)|*.rtf|All Files (*.*)|*.*");
}
// Shown when a printout fails (exclamation icon).
inline QString printFailedMessage() {
    return QStringLiteral("Impossible d'imprimer la feuille.");
}

// "Open": a file chosen by the user replaces the text of the box. An RTF file is read as
// rich text, any other file as plain text (UTF-8, or Windows-1252 when it is not UTF-8).
// True when the text was replaced.
bool openTextFile(Session& ctx, QTextEdit* box);

// "Save": the text of the box, as RTF, into a file chosen by the user (".rtf" is added to a
// name without an extension). True when the file was written.
bool saveTextFile(Session& ctx, const QTextEdit* box);

// "Print": the print dialog (offering the selection when the box has one), then the
// selection or the whole text to the chosen printer. True when printed.
bool printText(Session& ctx, QTextEdit* box);

// "Print" of a Quote: the print dialog for `box` (offering its selection when it has one),
// then, through `buffer`, the lines of `heading` in bold, one a line, followed by the
// selection or the whole text of `box`. True when printed.
bool printUnderHeading(Session& ctx, const QTextEdit* box, QTextEdit* buffer,
                       const QStringList& heading);

// "Font": the font dialog, opened on the attributes at the cursor, then the seven chosen
// attributes on the selection (or on what is typed next when nothing is selected).
bool chooseFont(Session& ctx, QTextEdit* box);

// The seven attributes at the cursor of the box.
FontChoice currentFont(const QTextEdit* box);
void applyFont(QTextEdit* box, const FontChoice& font);

} // namespace vlm::cards
