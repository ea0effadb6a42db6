#include "gui/words/wordindexwindows.h"

#include "gui/common/accessiblenames.h"

#include "core/common/twips.h"
#include "core/retrieval/grids.h"
#include "core/retrieval/textsearch.h"
#include "core/session/session.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"
#include "gui/common/workingwindow.h"
#include "gui/retrieval/cardlists.h"

#include <QAction>
#include <QHeaderView>
#include <QVBoxLayout>

namespace vlm::words {

WordIndexWindow::WordIndexWindow(Session& ctx, Content content, QWidget* parent, Progress* progress)
    : QWidget(parent), ctx_(ctx), content_(content),
      grid_(new TextTableView(content == Content::IndexRows ? 3 : 2, this)) {
    const bool rows = content_ == Content::IndexRows;
    setObjectName(rows ? QStringLiteral("AfficheKW") : QStringLiteral("AfficheKWAll"));
    setWindowTitle(rows ? QStringLiteral("All KW") : QStringLiteral("All KeyWords"));
    grid_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    nameControls({{grid_, rows ? "Indexed words" : "Words and their occurrences"}});
    grid_->horizontalHeader()->hide();
    if (rows)
        grid_->setColumnWidthsTwips({2000, 1200, 500});
    else
        grid_->setColumnWidthsTwips({2000, 500});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    resize(twipsToPixels(rows ? 4200 : 3000), twipsToPixels(5000));
    connect(grid_, &TextTableView::cellDoubleClicked, this, [this](int r, int) { openRow(r); });

    // Only Notes and Quotes are indexed: any other kind leaves the window empty.
    kind_ = kindFromText(ctx_.ResultKind);
    if (kind_ == CardKind::Reference) kind_.reset();
    if (!kind_) return;
    if (rows) {
        // Millions of rows after an Index All of a large base: each is read when shown.
        const auto list = runGuarded(
            ctx_, [&] { return std::make_shared<const IndexRowList>(ctx_, *kind_, progress); });
        if (!list) return;
        // The view asks cell by cell: the row read last is kept for its other cells.
        struct Shown {
            std::shared_ptr<const IndexRowList> list;
            int row = -1;
            QStringList texts;
        };
        auto shown = std::make_shared<Shown>(Shown{*list, -1, {}});
        grid_->textModel()->setSource(int((*list)->size()), [shown](int row, int column) {
            if (row != shown->row) {
                // A row that cannot be read (the base failed meanwhile) shows empty: a message
                // box in the middle of painting would come back with every cell.
                const auto r = store::guard([&] { return shown->list->at(row); });
                shown->row = row;
                shown->texts.clear();
                if (r) shown->texts << r->word << r->number << QString::number(r->count);
            }
            return shown->texts.value(column);
        });
        return;
    }
    std::vector<QStringList> shown;
    runGuarded(ctx_, [&] {
        const auto all = totalsByOccurrence(ctx_, *kind_);
        shown.reserve(all.size());
        for (const WordTotal& t : all)
            shown.push_back({t.word, QString::number(t.count)});
    });
    grid_->setRows(std::move(shown));
}

void WordIndexWindow::openRow(int row) {
    if (!kind_ || row < 0 || row >= grid_->rowCount()) return;
    const CardKind kind = *kind_;
    if (content_ == Content::IndexRows) {
        const QString number = grid_->text(row, 1);
        const auto found =
            runGuarded(ctx_, [&] { return retrieval::seekCardNumber(ctx_, kind, number); });
        if (!found) return;
        if (!*found) {
            ctx_.prompter.message(retrieval::missingCardMessage(), Buttons::Ok, Icon::Information);
            return;
        }
        openThroughSession(ctx_, kind);
        return;
    }
    // The cards that hold the word, from the index, in the result window.
    const QString word = grid_->text(row, 0);
    const auto rows = runGuarded(ctx_, [&] {
        std::vector<retrieval::TextMatch> matches;
        for (const QString& n : cardsHoldingWord(ctx_, kind, word))
            matches.push_back({n, 0});
        return retrieval::fillByText(ctx_, kind, word, matches);
    });
    if (!rows) return;
    if (*rows == 0) {
        ctx_.prompter.message(retrieval::noMatchText(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    retrieval::showResultWindow(ctx_, kind);
}

namespace {

void showResult(Session& ctx, WordIndexWindow::Content content, Progress* progress = nullptr) {
    const QString name = content == WordIndexWindow::Content::IndexRows
                             ? QStringLiteral("AfficheKW")
                             : QStringLiteral("AfficheKWAll");
    closeChildWindow(findWindowNamed(ctx, name));
    showChildWindow(ctx, new WordIndexWindow(ctx, content, nullptr, progress));
}

// Runs `work` with its progress window, frmMots while indexing or Working while totalling:
// application-modal, so that nothing else writes to the base meanwhile.
template <class Work> auto withProgress(bool indexing, Work&& work) {
    WorkingWindow working(indexing ? WorkingLook{.name = QStringLiteral("frmMots"),
                                                 .title = QStringLiteral("Index All"),
                                                 .boxes = WorkingLook::Boxes::Counters}
                                   : WorkingLook{.title = QStringLiteral("Working..."),
                                                 .boxes = WorkingLook::Boxes::Number});
    working.show();
    return work(working);
}

void runIndex(Session& ctx, CardKind kind) {
    ctx.ResultKind = kindText(kind);
    withProgress(true, [&](WorkingWindow& w) {
        const auto run = runGuarded(ctx, [&] { return indexAllCards(ctx, kind, &w); });
        // The rows are listed while the progress window still shows: millions after a large base.
        if (run && !run->cancelled) showResult(ctx, WordIndexWindow::Content::IndexRows, &w);
    });
}

void runTotals(Session& ctx, CardKind kind) {
    ctx.ResultKind = kindText(kind);
    const auto run = withProgress(false, [&](WorkingWindow& w) {
        w.phase(QStringLiteral("Words Aggregation..."), QStringLiteral("Index rows read :"));
        return runGuarded(ctx, [&] { return aggregateWords(ctx, kind, &w); });
    });
    if (run && !run->cancelled) showResult(ctx, WordIndexWindow::Content::Totals);
}

} // namespace

void indexAllNotes(Session& ctx) {
    runIndex(ctx, CardKind::Note);
}
void indexAllQuotes(Session& ctx) {
    runIndex(ctx, CardKind::Quote);
}
void aggregateNoteWords(Session& ctx) {
    runTotals(ctx, CardKind::Note);
}
void aggregateQuoteWords(Session& ctx) {
    runTotals(ctx, CardKind::Quote);
}

void connectWordIndex(Session& ctx, const WordIndexMenus& m) {
    if (!m.indexNotes || !m.indexQuotes || !m.totalNotes || !m.totalQuotes)
        qFatal("connectWordIndex: a menu item of the main window is missing");
    const struct {
        QAction* action;
        void (*run)(Session&);
    } items[] = {{m.indexNotes, indexAllNotes},
                 {m.indexQuotes, indexAllQuotes},
                 {m.totalNotes, aggregateNoteWords},
                 {m.totalQuotes, aggregateQuoteWords}};
    for (const auto& item : items) {
        item.action->setEnabled(true);
        QObject::connect(item.action, &QAction::triggered, item.action,
                         [&ctx, run = item.run] { run(ctx); });
    }
}

} // namespace vlm::words
