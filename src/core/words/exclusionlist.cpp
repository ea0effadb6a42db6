#include "core/words/exclusionlist.h"

#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

namespace vlm::words {

namespace {

const QString kWndx = QStringLiteral("WNDX");
const QString kEq = QStringLiteral("=");

// Seeks `word` on WNDX; true when a row holds it.
bool seekWord(store::WordsRs& w, const QString& word) {
    w->setIndex(kWndx);
    w->seek(kEq, word);
    return !w->noMatch();
}

} // namespace

Result<ExclusionList> loadExclusionList(Session& ctx) {
    return store::guard([&] {
        auto& w = ctx.rs().words;
        ExclusionList list;
        w->setIndex(kWndx);
        if (w->recordCount() == 0) return list; // an empty table has no first record
        for (w->moveFirst(); !w->eof(); w->moveNext())
            list.add(w.Word.text());
        return list;
    });
}

Result<QStringList> excludedWordsInTableOrder(Session& ctx) {
    return store::guard([&] {
        auto& w = ctx.rs().words;
        QStringList out;
        w->setIndex(QString());
        if (w->recordCount() > 0) {
            for (w->moveFirst(); !w->eof(); w->moveNext()) {
                QString word = w.Word.text();
                if (!word.isEmpty()) out.push_back(std::move(word));
            }
        }
        w->setIndex(kWndx);
        return out;
    });
}

Result<bool> excludeWord(Session& ctx, const QString& word) {
    if (word.isEmpty()) return false;
    auto& w = ctx.rs().words;
    auto r = store::guard([&] {
        if (seekWord(w, word)) return false;
        w->addNew();
        w.Word = word;
        w->update();
        return true;
    });
    if (!r.ok() && w->editing()) w->cancelUpdate();
    return r;
}

Result<bool> removeExcludedWord(Session& ctx, const QString& word) {
    if (word.isEmpty()) return false;
    return store::guard([&] {
        auto& w = ctx.rs().words;
        if (!seekWord(w, word)) return false;
        w->remove();
        return true;
    });
}

} // namespace vlm::words
