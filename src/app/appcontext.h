#pragma once

#include "app/prompter.h"
#include "retrieval/resulttable.h"
#include "store/basesession.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QMdiArea;

namespace vlm {

// Everything the program shares while it runs: the open base and the state that windows and
// modules hand to each other. One instance, owned by main() (or by a test), passed by
// reference to every window; there are no globals.
struct AppContext {
    explicit AppContext(Prompter& p) : prompter(p), base(p) {}
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompter& prompter;
    store::BaseSession base;

    // Shortcut to the shared recordsets of the open base.
    store::SharedRecordsets& rs() const { return base.rs(); }

    // The main window's MDI area, where card and result windows open. Set by the main window
    // when it is created; tests that open card windows set it to an area of their own.
    QMdiArea* mdiArea = nullptr;

    // Card kind of the last card window or retrieval option: "Note", "Cit" or "Bib".
    QString ResultKind = QStringLiteral("Note");
    // The result table of the last card list by keyword or author (shown by fGrid), and the
    // kind of the last list by date (read by FListSel when a row is clicked).
    retrieval::ResultTable Result;
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

} // namespace vlm
