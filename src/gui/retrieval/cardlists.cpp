#include "gui/retrieval/cardlists.h"

#include "core/retrieval/datelist.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
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

bool checked(QWidget* main, const char* name) {
    if (!main) return false;
    const auto* b = main->findChild<QAbstractButton*>(QString::fromLatin1(name));
    return b && b->isChecked();
}

void setChecked(QWidget* main, const char* name, bool on) {
    if (!main) return;
    if (auto* b = main->findChild<QAbstractButton*>(QString::fromLatin1(name))) b->setChecked(on);
}

QString kwSel(QWidget* main) {
    if (!main) return {};
    const auto* l = main->findChild<QLabel*>(QStringLiteral("KWSel"));
    return l ? l->text() : QString();
}

std::optional<Criterion> criterionOf(QWidget* main) {
    if (checked(main, "OptionByAuthor")) return Criterion::Author;
    if (checked(main, "OptionByDate")) return Criterion::Date;
    if (checked(main, "OptionByKeyword")) return Criterion::Keyword;
    return std::nullopt;
}

// The main window that holds the MDI area, if any.
QWidget* mainOf(Session& ctx) {
    return ctx.mdiArea ? ctx.mdiArea->window() : nullptr;
}

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

void listByKeyword(Session& ctx, CardKind kind, const QString& keyword) {
    const auto found = runGuarded(ctx, [&] { return fillByKeyword(ctx, kind, keyword); });
    if (!found) return;
    if (!*found && kind == CardKind::Note) setChecked(mainOf(ctx), "OptionNote", true);
    showResultWindow(ctx, kind);
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
    const auto lines = runGuarded(ctx, [&] { return listByDate(ctx, kind); });
    if (!lines) return nullptr;
    auto* w = qobject_cast<DateListWindow*>(findWindowNamed(ctx, QStringLiteral("FListSel")));
    const bool fresh = w == nullptr;
    if (fresh) w = new DateListWindow(ctx);
    w->setWindowTitle(dateCaption(kind));
    w->fill(*lines);
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
                     [&ctx, guard](M m, const QStringList&, const QString& current) {
                         selectButtonPressed(ctx, SelectionDialog::buttonName(m), current);
                         // The keyword lists close the dialog; after an author list it
                         // stays, for another author.
                         const bool byKeyword =
                             m == M::KWnoteSel || m == M::KWCitSel || m == M::KWBibSel;
                         if (byKeyword && guard) guard->close();
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

void runOtherSearch(Session& ctx, QWidget* main, const SelectionOpener& openSelection) {
    std::optional<CardKind> kind;
    if (checked(main, "OptionNote"))
        kind = CardKind::Note;
    else if (checked(main, "OptionCit"))
        kind = CardKind::Quote;
    else if (checked(main, "OptionRef"))
        kind = CardKind::Reference;
    const auto criterion = criterionOf(main);
    if (!kind || !criterion) {
        closeSelectionDialog(ctx);
        return;
    }
    runOtherSearch(ctx, *kind, *criterion, openSelection);
}

void kindOptionClicked(Session& ctx, QWidget* main, CardKind kind,
                       const SelectionOpener& openSelection) {
    if (kind == CardKind::Note && !notesListable(ctx)) {
        info(ctx, noRecordsMessage());
        setChecked(main, "OptionNote", false);
        setChecked(main, "OptionCit", true);
        kind = CardKind::Quote;
    }
    ctx.ResultKind = kindText(kind);
    const QString keyword = kwSel(main);
    if (!keyword.isEmpty() && checked(main, "SwitchSearch")) listByKeyword(ctx, kind, keyword);
    if (checked(main, "SwitchOther")) runOtherSearch(ctx, main, openSelection);
}

void runMenu(Session& ctx, RetrievalMenu item, const SelectionOpener& openSelection) {
    if (item == RetrievalMenu::NotebyKeyword || item == RetrievalMenu::CitOpenKW ||
        item == RetrievalMenu::CitOpenAuthor || item == RetrievalMenu::BibOpenAuthor)
        closeSelectionDialog(ctx);
    carryOut(ctx, planMenu(ctx, item), openSelection);
}

void connectReferenceByKeywordItem(QWidget* main) {
    if (!main) return;
    if (auto* bar = main->findChild<QTabBar*>(QStringLiteral("TabStrip1"))) {
        if (bar->count() >= 3) bar->setCurrentIndex(2);
    } else if (auto* tabs = main->findChild<QTabWidget*>(QStringLiteral("TabStrip1"))) {
        if (tabs->count() >= 3) tabs->setCurrentIndex(2);
    }
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

void keywordClickedOutsideKeywordMode(Session& ctx, QWidget* main, const QString& keyword) {
    if (checked(main, "SwitchKW")) return; // keyword mode: clicks do not list cards
    if (checked(main, "OptionRef")) referencesByKeyword(ctx, keyword);
    if (checked(main, "OptionCit")) quotesByKeyword(ctx, keyword);
    if (checked(main, "OptionNote")) notesByKeyword(ctx, keyword);
}

void keywordDoubleClickedOutsideKeywordMode(Session& ctx, QWidget* main, const QString& keyword) {
    if (checked(main, "OptionRef")) openKeywordReferences(ctx, keyword);
    if (checked(main, "OptionNote")) openKeywordNotes(ctx, keyword);
    if (checked(main, "OptionCit")) openKeywordQuotes(ctx, keyword);
}

void connectRetrieval(Session& ctx, QWidget* main) {
    if (!main) return;
    const SelectionOpener open = selectionDialog(ctx, main);
    const struct {
        const char* name;
        RetrievalMenu item;
    } menus[] = {{"mNotebyKeyword", RetrievalMenu::NotebyKeyword},
                 {"mNotebyDate", RetrievalMenu::NotebyDate},
                 {"mCitOpenKW", RetrievalMenu::CitOpenKW},
                 {"mCitOpenDate", RetrievalMenu::CitOpenDate},
                 {"mCitOpenAuthor", RetrievalMenu::CitOpenAuthor},
                 {"mBibOpenAuthor", RetrievalMenu::BibOpenAuthor}};
    for (const auto& m : menus) {
        QAction* a = main->findChild<QAction*>(QLatin1String(m.name));
        if (!a) continue;
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, main,
                         [&ctx, open, item = m.item] { runMenu(ctx, item, open); });
    }
    if (QAction* a = main->findChild<QAction*>(QStringLiteral("mBibOpenKW"))) {
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, main,
                         [main] { connectReferenceByKeywordItem(main); });
    }

    const struct {
        const char* name;
        CardKind kind;
    } kinds[] = {{"OptionNote", CardKind::Note},
                 {"OptionCit", CardKind::Quote},
                 {"OptionRef", CardKind::Reference}};
    for (const auto& k : kinds)
        if (auto* b = main->findChild<QAbstractButton*>(QLatin1String(k.name)))
            QObject::connect(b, &QAbstractButton::clicked, main, [&ctx, main, open, kind = k.kind] {
                kindOptionClicked(ctx, main, kind, open);
            });
    for (const char* name :
         {"OptionByAuthor", "OptionByDate", "OptionByKeyword", "CommandSearchOther"}) {
        auto* b = main->findChild<QAbstractButton*>(QLatin1String(name));
        if (!b) continue;
        b->setEnabled(true);
        QObject::connect(b, &QAbstractButton::clicked, main,
                         [&ctx, main, open] { runOtherSearch(ctx, main, open); });
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
