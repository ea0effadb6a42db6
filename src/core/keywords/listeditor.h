#pragma once

// The list editor: fill, find, add and discard on the names of any table. A window shows the
// names one per row; the editor works on that list of rows and on the table it mirrors.
// The selection dialog uses it on keywords (CGROUP1.GROUPE) and on authors (AUTEURS.NOM,
// AUTNOTE.NOM).

#include "core/common/prompter.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vlm {
struct Session;
}
namespace vlm::store {
class Recordset;
}

namespace vlm::keywords {

// Where a list editor reads and writes its names: a table (reached each time through
// `recordset`, so that a base opened meanwhile is followed), one of its text fields, and the
// index that orders the names and serves the seek of a discard.
struct ListSource {
    std::function<store::Recordset&()> recordset;
    QString field;
    QString index;
    // Told once a name was added to the table or deleted from it; may be empty.
    std::function<void()> changed;
};

// Keywords: CGROUP1.GROUPE on Groupe.
ListSource keywordSource(Session& ctx);
// Authors offered to References: AUTEURS.NOM on Nom.
ListSource referenceAuthorSource(Session& ctx);
// Authors offered to Notes: AUTNOTE.NOM on AutNoteNom.
ListSource noteAuthorSource(Session& ctx);

// The source a caller names by table and field (names matched without regard to case):
// CGROUP1.GROUPE, AUTEURS.NOM and AUTNOTE.NOM go through the shared recordsets above; any
// other table gets a recordset of its own, ordered by the first index that starts with the
// field. Fails with the store's error for an unknown table.
ListSource tableSource(Session& ctx, const QString& table, const QString& field);

// The texts an editor shows. Every text is shown exactly as given.
struct ListTexts {
    QString fillIn;       // add with an empty text (information box)
    QString exists;       // add of a name the list holds (exclamation box)
    QString askAddBefore; // question before adding: askAddBefore + name + askAddAfter
    QString askAddAfter;  //   (Yes/No box)
    QString discardAsk;   // before a discard (question icon, OK / Cancel)
    QString cannotEmpty;  // discard of the last name (stop box)
    QString duplicateOf;  // add refused: the table holds `%1`, equal but for letter case
    QString tooLong;      // add refused: longer than `%1` characters
};

// The selection dialog's texts ("item").
ListTexts itemTexts();
// The keyword list panel's texts ("Keyword").
ListTexts keywordTexts();

// The message a read-only base gives for every refused write.
QString readOnlyText();

// Every name of the source, in the order of its index; empty when the table has no row.
QStringList listFill(const ListSource& source);

// How an add ended.
enum class AddOutcome {
    Empty,     // nothing typed: the fill-in message was shown
    Exists,    // the list holds the name (same letter case): `row` is that row
    Declined,  // the user answered No
    Added,     // stored: `rows` is the list filled again, `row` the new name
    Duplicate, // the table refused a name equal to a stored one but for letter case:
               //   `row` is the stored one, the user was told
    TooLong,   // longer than the field allows: the user was told
    ReadOnly,  // the base is read-only: "Fichier en lecture seule !" was shown
    Failed,    // another failure of the store: nothing was stored, the user was told
};

struct AddResult {
    AddOutcome outcome = AddOutcome::Empty;
    QStringList rows; // the rows the list shows afterwards
    int row = -1;     // the row to make current and selected, -1 for none
};

// Adds `text`, made one line by oneLineName(), to the source, `rows` being the names the list
// shows; a text of nothing but blanks and breaks is an empty one. Asks and tells through the
// prompter.
AddResult listAdd(Prompter& prompter, const ListSource& source, const ListTexts& texts,
                  const QStringList& rows, const QString& text);

// How a discard ended.
enum class DiscardOutcome {
    Cancelled, // the user declined the question
    LastOne,   // the list has a single row: "The list cannot be empty sorry" was shown
    NoRow,     // no current row: nothing to discard
    Discarded, // the row left the list and its record the table
    Gone,      // the record was no longer in the table: the row left the list
    ReadOnly,  // the base is read-only: the row stays, "Fichier en lecture seule !" was shown
    Failed,    // another failure of the store: the row stays, the user was told
};

struct DiscardResult {
    DiscardOutcome outcome = DiscardOutcome::Cancelled;
    QStringList rows; // the rows the list shows afterwards
    QString name;     // the name of the discarded row
};

// Discards the name of row `current` from the source, after asking. Only the record itself
// is deleted: links and card links that name it stay. When several records carry names that
// the index finds equal, the one spelt exactly as the row is deleted.
DiscardResult listDiscard(Prompter& prompter, const ListSource& source, const ListTexts& texts,
                          const QStringList& rows, int current);

} // namespace vlm::keywords
