#pragma once

// What the other-search panel of the main window (card kind, then Author, Date or Keyword)
// and the retrieval menu items do, decided without any window.

#include "core/retrieval/grids.h"

#include <QString>

namespace vlm::retrieval {

enum class Criterion { Author, Date, Keyword };

// The selection dialog an other-search opens: the table and field its origin list shows,
// its caption, and the object name of the Select button it shows.
struct SelectionRequest {
    QString table;
    QString field;
    QString caption;
    QString button;

    friend bool operator==(const SelectionRequest&, const SelectionRequest&) = default;
};

struct OtherSearchPlan {
    enum class Action {
        Nothing,   // Notes by author: there is no such list
        NoRecords, // show "No Records"
        Select,    // open the selection dialog as `selection` says
        DateList,  // list the cards of `kind` by date
    };
    Action action = Action::Nothing;
    CardKind kind = CardKind::Note;
    SelectionRequest selection;
};

inline QString noRecordsMessage() {
    return QStringLiteral("No Records");
}

// The plan of runOtherSearch for a kind and a criterion, the emptiness tests included.
OtherSearchPlan planOtherSearch(Session& ctx, CardKind kind, Criterion criterion);

// The menu items of the DataType menu that list cards.
enum class RetrievalMenu {
    NotebyKeyword, // mNotebyKeyword
    NotebyDate,    // mNotebyDate
    CitOpenKW,     // mCitOpenKW
    CitOpenDate,   // mCitOpenDate
    CitOpenAuthor, // mCitOpenAuthor
    BibOpenAuthor, // mBibOpenAuthor
};
OtherSearchPlan planMenu(Session& ctx, RetrievalMenu item);

// The Notes option may only be chosen when there are Notes linked to keywords.
bool notesListable(Session& ctx);

} // namespace vlm::retrieval
