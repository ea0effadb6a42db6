#pragma once

// The session: the one object that owns the open base and the state windows share.

#include "core/common/prompter.h"
#include "core/session/basesession.h"
#include "core/session/cardkind.h"
#include "core/session/resulttable.h"
#include "core/session/sessionevents.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QMdiArea;

namespace vlm {

// Everything the program shares while it runs: the open base and the state that windows and
// modules hand to each other. One instance, owned by main() (or by a test), passed by
// reference to every window; there are no globals.
struct Session;

// Opens a window on the current record of a kind's card table. False when no window opened
// (memory ran out, which the opener says, or the kind has no window).
using CardOpener = std::function<bool(Session&, CardKind)>;

// Text Compare of the Note and Quote windows: analyses the words of a card's text (the card
// given by its kind and number) and shows them.
using WordComparer =
    std::function<void(Session&, CardKind, const QString& cardNumber, const QString& text)>;

struct Session {
    explicit Session(Prompter& p) : prompter(p), base(p) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Prompter& prompter;
    store::BaseSession base;

    // Keyword, link and card changes of the open base, for the views that show them.
    SessionEvents events;

    // Shortcut to the shared recordsets of the open base.
    store::SharedRecordsets& rs() const { return base.rs(); }

    // The main window's MDI area, where card and result windows open. Set by the main window
    // when it is created; tests that open card windows set it to an area of their own.
    QMdiArea* mdiArea = nullptr;

    // How a card is opened from the lists: the card windows' opener, set by the shell (tests
    // set their own). Lists whose opener is empty open nothing.
    CardOpener openCard;
    // The keyword the main window's label KWSel names (Reference windows put it in their
    // caption). Set by the shell; empty when there is no main window.
    std::function<QString()> selectedKeyword;
    // What Text Compare runs: the word analysis, set by the shell (tests set their own). Card
    // windows compare nothing while it is empty.
    WordComparer compareWords;
    // "Include All Words (even <2)" of the Exclusion List editor, read by each word analysis.
    bool IncludeAllWords = false;

    // Card kind of the last card window or retrieval option: "Note", "Cit" or "Bib".
    QString ResultKind = QStringLiteral("Note");
    // The result table of the last card list by keyword or author (shown by ResultWindow), and the
    // kind of the last list by date (read by DateListWindow when a row is clicked).
    retrieval::ResultTable Result;
    // Whether the card lists by keyword also list the cards of the keywords below the asked
    // one: the "with Subsets" boxes of the selection dialog and the result window set it, the
    // keyword clicks follow it. Off until the user ticks one.
    bool listWithSubsets = false;
    QString DateListKind = QStringLiteral("Note");
    // Set once the selection dialog has linked keywords to a card; card windows re-read theirs.
    bool KWChanged = false;
    // The current Reference, shared by the Quote and Reference windows and the result lists.
    QString CurBibNDX;
    // Position and text of the word the text search found last; card windows highlight it.
    int FindPos = 0;
    QString FindWord;

    // Card windows opened so far, per kind (closing one does not lower its counter; deleting
    // the card of the window opened last does), and the number of the window being loaded.
    int NoteWinCount = 0;
    int CitWinCount = 0;
    int BibWinCount = 0;
    int NoteFenNum = 0;
    int CitFenNum = 0;
    int BibFenNum = 0;

    // The keyword the structure editor hands to the up-links window ("UpLinks"), and that
    // window while it is open: there is one at a time.
    QString LinksKeyword;
    QPointer<QObject> DownUpLinksWindow;
};

// The opener the lists use unless told otherwise: the session's.
inline bool openThroughSession(Session& ctx, CardKind kind) {
    return ctx.openCard && ctx.openCard(ctx, kind);
}

} // namespace vlm
