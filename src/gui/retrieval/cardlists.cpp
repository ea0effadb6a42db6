#include "gui/retrieval/cardlists.h"

#include "core/retrieval/datelist.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/workingwindow.h"
#include "gui/keywords/selectiondialog.h"
#include "gui/retrieval/alertwindow.h"
#include "gui/retrieval/datelistwindow.h"
#include "gui/retrieval/resultwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <new>

namespace vlm::retrieval {

namespace {

void info(Session& ctx, const QString& text) {
    ctx.prompter.message(text, Buttons::Ok, Icon::Information);
}

QString dateCaption(CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return QStringLiteral("Notes by Date");
    case CardKind::Quote:
        return QStringLiteral("Quotes by Date");
    case CardKind::Reference:
        break;
    }
    return QStringLiteral("References by Date");
}

// Runs the plan of an other-search or a menu item.
void carryOut(Session& ctx, const OtherSearchPlan& plan, const SelectionOpener& openSelection) {
    using A = OtherSearchPlan::Action;
    switch (plan.action) {
    case A::Nothing:
        return;
    case A::NoRecords:
        info(ctx, noRecordsMessage());
        return;
    case A::Select:
        if (openSelection) openSelection(plan.selection);
        return;
    case A::DateList:
        listByDateWindow(ctx, plan.kind);
        return;
    }
}

void closeSelectionDialog(Session& ctx) {
    closeChildWindow(findWindowNamed(ctx, QStringLiteral("fMultSel")));
}

} // namespace

// ---------------------------------------------------------------- GRIDS

void closeResult(Session& ctx) {
    closeChildWindow(findWindowNamed(ctx, QStringLiteral("fGrid")));
}

ResultWindow* showResultWindow(Session& ctx, CardKind kind) {
    closeResult(ctx);
    auto* w = new ResultWindow(ctx, kind);
    showChildWindow(ctx, w);
    return w;
}

void listByKeywords(Session& ctx, CardKind kind, const KeywordQuery& query) {
    auto working = std::make_unique<LateWorkingWindow>(listingText());
    const Result<bool> found = fillByKeywords(ctx, kind, query, working.get());
    if (!found.ok()) {
        working.reset();
        showFailure(ctx, found.status());
        return;
    }
    if (!*found && kind == CardKind::Note)
        if (MainWindowHost* main = mainWindowHost(ctx)) main->chooseKind(CardKind::Note);
    // What is left is the sort, in the new window.
    working->step(-1, 95);
    showResultWindow(ctx, kind)->setKeywordQuery(query);
}

void listByKeyword(Session& ctx, CardKind kind, const QString& keyword) {
    listByKeywords(ctx, kind, {{keyword}, ctx.listWithSubsets, false});
}

void notesByKeyword(Session& ctx, const QString& keyword) {
    listByKeyword(ctx, CardKind::Note, keyword);
}
void quotesByKeyword(Session& ctx, const QString& keyword) {
    listByKeyword(ctx, CardKind::Quote, keyword);
}
void referencesByKeyword(Session& ctx, const QString& keyword) {
    listByKeyword(ctx, CardKind::Reference, keyword);
}

namespace {
void listByAuthor(Session& ctx, CardKind kind, const QString& author) {
    const auto found = runGuarded(ctx, [&] { return fillByAuthor(ctx, kind, author); });
    if (!found) return;
    if (!*found) {
        ctx.prompter.message(noMatchText(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    showResultWindow(ctx, kind);
}
} // namespace

void AuthorSel(Session& ctx, const QString& author) {
    listByAuthor(ctx, CardKind::Reference, author);
}
void AuthorCit(Session& ctx, const QString& author) {
    listByAuthor(ctx, CardKind::Quote, author);
}

// ---------------------------------------------------------------- LIST

DateListWindow* listByDateWindow(Session& ctx, CardKind kind) {
    ctx.DateListKind = kindText(kind);
    auto working = std::make_unique<LateWorkingWindow>(listingText());
    auto lines = store::guard([&] { return listByDate(ctx, kind, working.get()); });
    working.reset();
    if (!lines.ok()) {
        showFailure(ctx, lines.status());
        return nullptr;
    }
    auto* w = qobject_cast<DateListWindow*>(findWindowNamed(ctx, QStringLiteral("FListSel")));
    const bool fresh = w == nullptr;
    if (fresh) w = new DateListWindow(ctx);
    w->setWindowTitle(dateCaption(kind));
    w->fill(std::move(*lines));
    if (fresh) {
        ChildPlacement placement;
        // Centred across the main window (its MDI area), at the top.
        placement.position = [](const QSize& area, const QSize& window) {
            return QPoint(std::max(0, (area.width() - window.width()) / 2), 0);
        };
        showChildWindow(ctx, w, placement);
    } else {
        w->window()->raise();
        if (ctx.mdiArea)
            if (auto* sub = qobject_cast<QWidget*>(w->parentWidget())) sub->raise();
    }
    return w;
}

void notesByDate(Session& ctx) {
    listByDateWindow(ctx, CardKind::Note);
}
void quotesByDate(Session& ctx) {
    listByDateWindow(ctx, CardKind::Quote);
}
void referencesByDate(Session& ctx) {
    listByDateWindow(ctx, CardKind::Reference);
}

// ---------------------------------------------------------------- the selection dialog

namespace {
// Where the selection dialog opens, in twips from the main window's top left corner (as
// for the card windows' keyword and author choices).
constexpr int kDialogLeft = 1200;
constexpr int kDialogTop = 900;
} // namespace

QWidget* openSelectionDialog(Session& ctx, QWidget* parent, const SelectionRequest& request) {
    using keywords::SelectionDialog;
    using M = SelectionDialog::Mode;
    std::optional<M> mode;
    for (const M m : {M::KWnoteSel, M::KWCitSel, M::KWBibSel, M::AuthorSel, M::AuthorCit})
        if (SelectionDialog::buttonName(m) == request.button) mode = m;
    if (!mode) return nullptr;
    SelectionDialog* dialog =
        SelectionDialog::open(ctx, *mode, parent, request.caption, kDialogLeft, kDialogTop);
    QPointer<SelectionDialog> guard(dialog);
    QObject::connect(dialog, &SelectionDialog::selected, dialog,
                     [&ctx, guard](M m, const QStringList& picked, const QString& current) {
                         const bool byKeyword =
                             m == M::KWnoteSel || m == M::KWCitSel || m == M::KWBibSel;
                         if (!byKeyword || !guard) {
                             // After an author list the dialog stays, for another author.
                             selectButtonPressed(ctx, SelectionDialog::buttonName(m), current);
                             return;
                         }
                         // One name picked lists it as the current cell always did; several list
                         // the cards of any or all of them.
                         QStringList names = picked;
                         names.removeDuplicates();
                         const KeywordQuery query{names.size() > 1 ? names : QStringList{current},
                                                  guard->withSubsets(), guard->allOf()};
                         const CardKind kind = m == M::KWnoteSel  ? CardKind::Note
                                               : m == M::KWCitSel ? CardKind::Quote
                                                                  : CardKind::Reference;
                         listByKeywords(ctx, kind, query);
                         if (guard) guard->close();
                     });
    return dialog;
}

SelectionOpener selectionDialog(Session& ctx, QWidget* parent) {
    return [&ctx, parent](const SelectionRequest& r) { openSelectionDialog(ctx, parent, r); };
}

// ---------------------------------------------------------------- panel and menus

void runOtherSearch(Session& ctx, CardKind kind, Criterion criterion,
                    const SelectionOpener& openSelection) {
    closeSelectionDialog(ctx);
    carryOut(ctx, planOtherSearch(ctx, kind, criterion), openSelection);
}

void runOtherSearch(Session& ctx, MainWindowHost& main, const SelectionOpener& openSelection) {
    const auto kind = main.chosenKind();
    const auto criterion = main.chosenCriterion();
    if (!kind || !criterion) {
        closeSelectionDialog(ctx);
        return;
    }
    runOtherSearch(ctx, *kind, *criterion, openSelection);
}

void kindOptionClicked(Session& ctx, MainWindowHost& main, CardKind kind,
                       const SelectionOpener& openSelection) {
    if (kind == CardKind::Note && !notesListable(ctx)) {
        info(ctx, noRecordsMessage());
        main.chooseKind(CardKind::Quote);
        kind = CardKind::Quote;
    }
    ctx.ResultKind = kindText(kind);
    const QString keyword = main.selectedKeyword();
    if (!keyword.isEmpty() && main.searchMode()) listByKeyword(ctx, kind, keyword);
    if (main.otherMode()) runOtherSearch(ctx, main, openSelection);
}

void runMenu(Session& ctx, RetrievalMenu item, const SelectionOpener& openSelection) {
    if (item == RetrievalMenu::NotebyKeyword || item == RetrievalMenu::CitOpenKW ||
        item == RetrievalMenu::CitOpenAuthor || item == RetrievalMenu::BibOpenAuthor)
        closeSelectionDialog(ctx);
    carryOut(ctx, planMenu(ctx, item), openSelection);
}

bool selectButtonPressed(Session& ctx, const QString& button, const QString& currentCell) {
    if (button == QLatin1String("KWnoteSel"))
        notesByKeyword(ctx, currentCell);
    else if (button == QLatin1String("KWCitSel"))
        quotesByKeyword(ctx, currentCell);
    else if (button == QLatin1String("KWBibSel"))
        referencesByKeyword(ctx, currentCell);
    else if (button == QLatin1String("AuthorSel"))
        AuthorSel(ctx, currentCell);
    else if (button == QLatin1String("AuthorCit"))
        AuthorCit(ctx, currentCell);
    else
        return false;
    return true;
}

void keywordClickedOutsideKeywordMode(Session& ctx, const MainWindowHost& main,
                                      const QString& keyword) {
    if (main.keywordMode()) return; // keyword mode: clicks do not list cards
    if (const auto kind = main.chosenKind()) listByKeyword(ctx, *kind, keyword);
}

void keywordDoubleClickedOutsideKeywordMode(Session& ctx, const MainWindowHost& main,
                                            const QString& keyword) {
    const auto kind = main.chosenKind();
    if (!kind) return;
    switch (*kind) {
    case CardKind::Reference:
        openKeywordReferences(ctx, keyword);
        break;
    case CardKind::Note:
        openKeywordNotes(ctx, keyword);
        break;
    case CardKind::Quote:
        openKeywordQuotes(ctx, keyword);
        break;
    }
}

void connectRetrieval(Session& ctx, const RetrievalControls& c) {
    const QList<QObject*> all = {
        c.window,       c.notesByKeyword, c.notesByDate,        c.quotesByKeyword,
        c.quotesByDate, c.quotesByAuthor, c.referencesByAuthor, c.referencesByKeyword,
        c.optionNote,   c.optionCit,      c.optionRef,          c.byAuthor,
        c.byDate,       c.byKeyword,      c.searchOther};
    if (!c.host || all.contains(nullptr))
        qFatal("connectRetrieval: a control of the main window is missing");
    QWidget* main = c.window;
    MainWindowHost* host = c.host;
    const SelectionOpener open = selectionDialog(ctx, main);
    const struct {
        QAction* action;
        RetrievalMenu item;
    } menus[] = {{c.notesByKeyword, RetrievalMenu::NotebyKeyword},
                 {c.notesByDate, RetrievalMenu::NotebyDate},
                 {c.quotesByKeyword, RetrievalMenu::CitOpenKW},
                 {c.quotesByDate, RetrievalMenu::CitOpenDate},
                 {c.quotesByAuthor, RetrievalMenu::CitOpenAuthor},
                 {c.referencesByAuthor, RetrievalMenu::BibOpenAuthor}};
    for (const auto& m : menus) {
        m.action->setEnabled(true);
        QObject::connect(m.action, &QAction::triggered, main,
                         [&ctx, open, item = m.item] { runMenu(ctx, item, open); });
    }
    c.referencesByKeyword->setEnabled(true);
    QObject::connect(c.referencesByKeyword, &QAction::triggered, main,
                     [host] { host->showAllKeywordsPage(); });

    const struct {
        QAbstractButton* button;
        CardKind kind;
    } kinds[] = {{c.optionNote, CardKind::Note},
                 {c.optionCit, CardKind::Quote},
                 {c.optionRef, CardKind::Reference}};
    for (const auto& k : kinds)
        QObject::connect(
            k.button, &QAbstractButton::clicked, main,
            [&ctx, host, open, kind = k.kind] { kindOptionClicked(ctx, *host, kind, open); });
    for (QAbstractButton* b : {c.byAuthor, c.byDate, c.byKeyword, c.searchOther}) {
        b->setEnabled(true);
        QObject::connect(b, &QAbstractButton::clicked, main,
                         [&ctx, host, open] { runOtherSearch(ctx, *host, open); });
    }
}

// ---------------------------------------------------------------- all cards of a keyword

int openKeywordCards(Session& ctx, CardKind kind, const QString& keyword,
                     const MemoryStatus& memory, const CardOpener& open) {
    if (memoryTooLow(memory)) {
        showMemoryAlert(memory);
        return 0;
    }
    int opened = 0;
    runGuarded(ctx, [&] {
        const auto numbers = keywordCardNumbers(ctx, kind, keyword);
        if (!numbers) {
            ctx.prompter.message(noMatchText(), Buttons::Ok, Icon::Exclamation);
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        for (const QString& n : *numbers) {
            if (!seekCardNumber(ctx, kind, n)) continue;
            // A window that did not open (memory ran out, or no window for the kind) ends
            // the operation: the ones opened so far stay.
            if (!open || !open(ctx, kind)) break;
            ++opened;
        }
    });
    return opened;
}

void openKeywordNotes(Session& ctx, const QString& keyword) {
    openKeywordCards(ctx, CardKind::Note, keyword, readMemoryStatus());
}
void openKeywordQuotes(Session& ctx, const QString& keyword) {
    openKeywordCards(ctx, CardKind::Quote, keyword, readMemoryStatus());
}
void openKeywordReferences(Session& ctx, const QString& keyword) {
    openKeywordCards(ctx, CardKind::Reference, keyword, readMemoryStatus());
}

} // namespace vlm::retrieval
