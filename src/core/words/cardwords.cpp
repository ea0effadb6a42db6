#include "core/words/cardwords.h"

#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <QSet>
#include <algorithm>

namespace vlm::words {

Result<std::optional<QString>> storedCardText(Session& ctx, const AnalysedCard& card) {
    return store::guard([&]() -> std::optional<QString> {
        store::Recordset& cards = cardTable(ctx, card.kind);
        cards.setIndex(sourcesOf(card.kind).numberIndex);
        cards.seek(QStringLiteral("="), card.number);
        if (cards.noMatch()) return std::nullopt;
        return cards.value(QStringLiteral("TEXTE")).toString();
    });
}

Result<std::vector<KeywordWord>> keywordsAmong(Session& ctx, const WordList& list) {
    return store::guard([&] {
        QHash<QString, QString> spelling;
        for (const QString& name : keywords::allKeywordNames(ctx))
            spelling.insert(ExclusionList::keyOf(name), name);
        std::vector<KeywordWord> out;
        if (spelling.isEmpty()) return out;
        for (const WordCount& e : list) {
            const auto found = spelling.constFind(ExclusionList::keyOf(e.word));
            if (found != spelling.cend()) out.push_back({e.word, e.count, *found});
        }
        return out;
    });
}

Result<LinkOutcome> linkKeywordsToCard(Session& ctx, const AnalysedCard& card,
                                       const std::vector<KeywordWord>& keywords) {
    auto r = store::guard([&] {
        store::Recordset& links = linkTable(ctx, card.kind);
        LinkOutcome out;
        QSet<QString> carried;
        for (const QString& k : cardKeywords(ctx, card.kind, card.number))
            carried.insert(ExclusionList::keyOf(k));
        store::Transaction t(*ctx.base.BaseDb);
        try {
            for (const KeywordWord& k : keywords) {
                const QString key = ExclusionList::keyOf(k.keyword);
                if (carried.contains(key)) {
                    if (!out.added.contains(k.keyword)) out.alreadyThere.push_back(k.keyword);
                    continue;
                }
                carried.insert(key);
                links.addNew();
                links.setValue(QStringLiteral("GROUPE"), k.keyword);
                links.setValue(QStringLiteral("NDX"), card.number);
                links.setValue(QStringLiteral("WordsNb"), std::min(k.count, 32767));
                links.update();
                out.added.push_back(k.keyword);
            }
        } catch (const store::StoreError&) {
            if (links.editing()) links.cancelUpdate(); // before the transaction rolls back
            throw;
        }
        t.commit();
        return out;
    });
    if (r.ok() && !r->added.isEmpty()) {
        ctx.KWChanged = true;
        emit ctx.events.cardChanged(card.kind, card.number);
    }
    return r;
}

} // namespace vlm::words
