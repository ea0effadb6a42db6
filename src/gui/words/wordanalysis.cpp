#include "gui/words/wordanalysis.h"

#include "core/session/session.h"
#include "core/words/exclusionlist.h"
#include "core/words/wordexport.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/workingwindow.h"
#include "gui/words/displaywindow.h"
#include "gui/words/wordwindow.h"

#include <QDir>
#include <QMdiArea>
#include <QPointer>

namespace vlm::words {

namespace {

// The progress window, and with it the hourglass, for as long as an analysis runs. It floats
// over the main window rather than joining its card windows, so that showing and closing it
// activates none of them.
class Busy {
public:
    explicit Busy(Session& ctx)
        : working_(new WorkingWindow({.title = QStringLiteral("Working..."),
                                      .boxes = WorkingLook::Boxes::Number,
                                      .cancel = {}},
                                     ctx.mdiArea ? ctx.mdiArea->window() : nullptr)) {
        working_->setWindowFlag(Qt::Tool);
        working_->setAttribute(Qt::WA_ShowWithoutActivating);
        working_->show();
    }
    ~Busy() { delete working_.data(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;
    WorkingWindow* sink() const { return working_; }

private:
    QPointer<WorkingWindow> working_;
};

} // namespace

WordWindow* compareCardWords(Session& ctx, CardKind kind, const QString& number,
                             const QString& text) {
    closeChildWindow(findWindowNamed(ctx, QStringLiteral("fWords")));
    const AnalysedCard card{kind, number};
    std::optional<WordList> list;
    {
        Busy busy(ctx);
        const auto excluded = runGuarded(ctx, [&] { return loadExclusionList(ctx); });
        if (!excluded) return nullptr;
        list = analyseText(text, *excluded, ctx.IncludeAllWords, busy.sink());
    }
    if (!list) return nullptr;
    auto* window = new WordWindow(ctx, card, std::move(*list));
    showChildWindow(ctx, window, ChildPlacement::inFront());
    window->raise();
    return window;
}

WordWindow* analyseStoredCard(Session& ctx, const AnalysedCard& card) {
    const auto text = runGuarded(ctx, [&] { return storedCardText(ctx, card); });
    if (!text || !*text) return nullptr;
    return compareCardWords(ctx, card.kind, card.number, **text);
}

QString exportWordList(Session& ctx, const AnalysedCard& card) {
    const auto text = runGuarded(ctx, [&] { return storedCardText(ctx, card); });
    if (!text || !*text) return {};
    std::optional<WordList> list;
    {
        Busy busy(ctx);
        const auto excluded = runGuarded(ctx, [&] { return loadExclusionList(ctx); });
        if (!excluded) return {};
        list = analyseTextForExport(**text, *excluded, ctx.IncludeAllWords, busy.sink());
    }
    const QString path = QDir::current().absoluteFilePath(wordListFileName());
    if (!runGuarded(ctx, [&] {
            return writeWordListFile(path,
                                     wordListFileText(card.number, list.value_or(WordList{})));
        }))
        return {};
    closeChildWindow(findWindowNamed(ctx, QStringLiteral("Display")));
    showChildWindow(ctx, new DisplayWindow(ctx, path), ChildPlacement::inFront());
    return path;
}

} // namespace vlm::words
