#include "gui/retrieval/textsearch.h"

#include "core/retrieval/grids.h"
#include "core/retrieval/textsearch.h"
#include "gui/common/guarded.h"
#include "gui/common/mainwindowhost.h"
#include "gui/common/workingwindow.h"
#include "gui/retrieval/alertwindow.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/resultwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>

namespace vlm::retrieval {

namespace {

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool cardsToSearch(Session& ctx, CardKind kind) {
    const auto any = runGuarded(ctx, [&] { return hasCards(ctx, kind); });
    if (!any) return false;
    if (!*any) ctx.prompter.message(noCardRecordsMessage(), Buttons::Ok, Icon::Information);
    return *any;
}

QString tooManyWindowsQuestion(CardKind kind, int count) {
    const QString cards =
        kind == CardKind::Quote ? QStringLiteral("Quotes") : QStringLiteral("Notes");
    return QStringLiteral("%1 %2 contain the text. Open a window for each of them?\n"
                          "(No lists them in a grid.)")
        .arg(count)
        .arg(cards);
}

// The cards holding `word`, the progress window showing when the search lasts; nothing when
// the store failed.
std::optional<std::vector<TextMatch>> findWithProgress(Session& ctx, CardKind kind,
                                                       const QString& word) {
    return runGuarded(ctx, [&] {
        LateWorkingWindow progress(QStringLiteral("Searching the texts..."));
        return findCardsContaining(ctx, kind, word, &progress);
    });
}

ResultWindow* showMatches(Session& ctx, CardKind kind, const QString& word,
                          const std::vector<TextMatch>& matches) {
    const auto rows = runGuarded(ctx, [&] {
        LateWorkingWindow progress(QStringLiteral("Listing the cards..."));
        return fillByText(ctx, kind, word, matches, &progress);
    });
    if (!rows) return nullptr;
    if (*rows == 0) {
        ctx.prompter.message(noMatchText(), Buttons::Ok, Icon::Exclamation);
        return nullptr;
    }
    return showResultWindow(ctx, kind);
}

void searchGrid(Session& ctx, CardKind kind) {
    if (!cardsToSearch(ctx, kind)) return;
    ctx.ResultKind = kindText(kind);
    const std::optional<QString> word = ctx.prompter.input(searchPrompt(), searchTitle());
    // An empty string occurs in every text: an empty or cancelled answer searches nothing.
    if (!word || word->isEmpty()) return;
    listCardsContaining(ctx, kind, *word);
}

} // namespace

void checkMemory(const MemoryStatus& status) {
    if (freeMemoryShare(status) < 0.1) showMemoryAlert(status);
}

int searchCards(Session& ctx, CardKind kind, const QString& word, const MemoryStatus& memory,
                const CardOpener& open) {
    checkMemory(memory);
    ctx.FindWord = word;
    if (word.isEmpty()) return 0;
    const auto matches = findWithProgress(ctx, kind, word);
    if (!matches) return 0;
    if (int(matches->size()) > kCardWindowsWithoutAsking) {
        // Thousands of windows would hold the program for minutes: the list is the default.
        const Answer a = ctx.prompter.message(tooManyWindowsQuestion(kind, int(matches->size())),
                                              Buttons::YesNo, Icon::Question, searchTitle());
        if (a != Answer::Yes) {
            showMatches(ctx, kind, word, *matches);
            return 0;
        }
    }
    int opened = 0;
    const WaitCursor wait;
    runGuarded(ctx, [&] {
        for (const TextMatch& m : *matches) {
            if (!seekCardNumber(ctx, kind, m.number)) continue;
            // The window shows the card's own text, rich or plain, with the word selected
            // at this position: its plain text is the one searched.
            ctx.FindPos = m.position;
            const bool ok = open && open(ctx, kind);
            ctx.FindPos = 0;
            if (!ok) break; // memory ran out: the windows opened so far stay
            ++opened;
        }
    });
    ctx.FindPos = 0;
    return opened;
}

ResultWindow* listCardsContaining(Session& ctx, CardKind kind, const QString& word) {
    ctx.FindWord = word;
    const auto matches = findWithProgress(ctx, kind, word);
    if (!matches) return nullptr;
    return showMatches(ctx, kind, word, *matches);
}

void searchNotesGrid(Session& ctx) {
    searchGrid(ctx, CardKind::Note);
}
void searchQuotesGrid(Session& ctx) {
    searchGrid(ctx, CardKind::Quote);
}

void searchFromPanel(Session& ctx, const QString& text, std::optional<CardKind> kind,
                     bool fromButton) {
    if (text.size() < kMinimumSearchLength) {
        ctx.prompter.message(shortSearchMessage(), Buttons::Ok, Icon::Critical);
        return;
    }
    if (!kind) return;
    if (*kind == CardKind::Reference) {
        if (fromButton)
            ctx.prompter.message(noTextInReferencesMessage(), Buttons::Ok, Icon::Critical);
        return;
    }
    if (cardsToSearch(ctx, *kind)) searchCards(ctx, *kind, text);
}

void connectTextSearch(Session& ctx, const TextSearchControls& c) {
    if (!c.host || !c.text || !c.go || !c.notesCards || !c.quotesCards || !c.notesGrid ||
        !c.quotesGrid)
        qFatal("connectTextSearch: a control of the main window is missing");
    QObject* owner = c.text;
    MainWindowHost* host = c.host;
    QLineEdit* box = c.text;
    c.go->setEnabled(true);
    QObject::connect(c.go, &QAbstractButton::clicked, owner, [&ctx, host, box] {
        searchFromPanel(ctx, box->text(), host->chosenKind(), true);
    });
    QObject::connect(box, &QLineEdit::returnPressed, owner, [&ctx, host, box] {
        searchFromPanel(ctx, box->text(), host->chosenKind(), false);
    });
    const struct {
        QAction* action;
        CardKind kind;
    } cardItems[] = {{c.notesCards, CardKind::Note}, {c.quotesCards, CardKind::Quote}};
    for (const auto& item : cardItems) {
        item.action->setEnabled(true);
        QObject::connect(item.action, &QAction::triggered, owner, [&ctx, box, kind = item.kind] {
            // The menu takes the panel's text as it is, without the length test.
            if (cardsToSearch(ctx, kind)) searchCards(ctx, kind, box->text());
        });
    }
    c.notesGrid->setEnabled(true);
    c.quotesGrid->setEnabled(true);
    QObject::connect(c.notesGrid, &QAction::triggered, owner, [&ctx] { searchNotesGrid(ctx); });
    QObject::connect(c.quotesGrid, &QAction::triggered, owner, [&ctx] { searchQuotesGrid(ctx); });
}

} // namespace vlm::retrieval
