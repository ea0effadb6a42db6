#include "core/retrieval/keywordquery.h"

#include "core/keywords/keywordstore.h"
#include "core/retrieval/grids.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vlm::retrieval {

namespace {

// The store finds two names or card numbers equal when each character of one, case-folded,
// is that of the other: texts it finds equal hash alike here, without building a folded copy.
struct StoreHash {
    size_t operator()(const QString& s) const noexcept {
        size_t h = 14695981039346656037ull;
        const qsizetype n = s.size();
        const QChar* p = s.constData();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = p[i].unicode();
            if (c >= 'A' && c <= 'Z') {
                c += 32;
            } else if (c >= 0x80) {
                if (p[i].isHighSurrogate() && i + 1 < n && p[i + 1].isLowSurrogate()) {
                    c = QChar::surrogateToUcs4(p[i], p[i + 1]);
                    ++i;
                }
                c = QChar::toCaseFolded(c);
            }
            h = (h ^ c) * 1099511628211ull;
        }
        return h;
    }
};
struct StoreEqual {
    bool operator()(const QString& a, const QString& b) const {
        return a == b || keywords::compareNames(a, b) == 0;
    }
};
// Texts as the store tells them apart, each with a number.
using StoreIndex = std::unordered_map<QString, int, StoreHash, StoreEqual>;
using StoreSet = std::unordered_set<QString, StoreHash, StoreEqual>;

using SubsetCache = std::unordered_map<QString, keywords::NameList, StoreHash, StoreEqual>;

// `keyword` and every keyword below it, breadth-first over the Subsets, each keyword once
// however many paths or cycles lead to it. The Subsets read for one keyword are kept in
// `cache`, so that several asked keywords sharing a part of the graph read it once.
QStringList walkDown(Session& ctx, const QString& keyword, SubsetCache& cache) {
    QStringList order{keyword};
    StoreSet seen{keyword};
    for (qsizetype next = 0; next < order.size(); ++next) {
        auto it = cache.find(order[next]);
        if (it == cache.end())
            it = cache.emplace(order[next], keywords::keywordSubsets(ctx, order[next])).first;
        for (const QString& sub : it->second)
            if (seen.insert(sub).second) order.push_back(sub);
    }
    return order;
}

// A card some walked keyword brought in.
struct FoundCard {
    QString linked;                // its number as the first link row holds it
    int lastKeyword = -1;          // the walked keyword that brought it in last
    int askedHits = 0;             // how many asked keywords brought it in
    bool wanted = true;            // it goes into the list if it exists
    bool exists = false;           // the card is in its table
    QString number, author, title; // from the card table
};

// A link row that brought a card in: one per card and walked keyword.
struct Hit {
    int card;
    QString keyword, number; // as the link row holds them
};

// Reads number, author and title of each wanted card that is still in its table. Many cards
// are read in one pass over the table; a few are sought one by one.
void readCards(Session& ctx, CardKind kind, const StoreIndex& index, std::vector<FoundCard>& found,
               long wanted) {
    const KindSources& src = sourcesOf(kind);
    store::Recordset& cards = cardTable(ctx, kind);
    const store::Field number = cards.field(src.numberField);
    const store::Field author = cards.field(src.authorField);
    const store::Field title = cards.field(src.titleField);
    auto take = [&](FoundCard& c) {
        c.exists = true;
        c.number = number.text();
        c.author = author.text();
        c.title = title.text();
    };
    // A seek costs about as much as stepping over ten rows.
    constexpr long kSeekCost = 10;
    const long rows = cards.recordCount();
    if (rows > 0 && wanted * kSeekCost > rows) {
        cards.setIndex(QString());
        for (cards.moveFirst(); !cards.eof(); cards.moveNext()) {
            const auto at = index.find(number.text());
            if (at == index.end()) continue;
            FoundCard& c = found[size_t(at->second)];
            if (c.wanted && !c.exists) take(c);
        }
        cards.setIndex(src.numberIndex);
        return;
    }
    cards.setIndex(src.numberIndex);
    for (FoundCard& c : found) {
        if (!c.wanted) continue;
        cards.seek(QStringLiteral("="), c.linked);
        if (!cards.noMatch()) take(c);
    }
}

bool fill(Session& ctx, CardKind kind, const KeywordQuery& query, Progress* progress) {
    QStringList asked;
    StoreSet askedKeys;
    for (const QString& k : query.keywords)
        if (askedKeys.insert(k).second) asked.push_back(k);
    if (asked.size() <= 1 && !query.withSubsets)
        return fillByKeyword(ctx, kind, asked.value(0), progress);

    const ReadSnapshot snapshot(ctx);
    const KindSources& src = sourcesOf(kind);

    // The keywords to walk, each once, and which asked keywords each one stands for.
    QStringList walked;
    std::vector<std::vector<int>> standsFor;
    StoreIndex walkedIndex;
    std::vector<bool> widened(size_t(asked.size()), false);
    SubsetCache cache;
    for (int a = 0; a < asked.size(); ++a) {
        const QStringList reach =
            query.withSubsets ? walkDown(ctx, asked[a], cache) : QStringList{asked[a]};
        widened[size_t(a)] = reach.size() > 1;
        for (const QString& name : reach) {
            const auto [at, added] = walkedIndex.try_emplace(name, int(walked.size()));
            if (added) {
                walked.push_back(name);
                standsFor.emplace_back();
            }
            standsFor[size_t(at->second)].push_back(a);
        }
    }

    // The link rows of each walked keyword: the cards they bring in, each card once per keyword.
    StoreIndex cardIndex;
    std::vector<FoundCard> found;
    std::vector<Hit> hits;
    // Which asked keywords brought each card in, for "all of them".
    const bool countAsked = query.allOf && asked.size() > 1;
    std::vector<char> askedBy;
    store::Recordset& links = linkTable(ctx, kind);
    links.setIndex(src.linkKeywordIndex);
    const store::Field linkKeyword = links.field(src.linkKeywordField);
    const store::Field linkNumber = links.field(src.linkNumberField);
    for (int w = 0; w < walked.size(); ++w) {
        // The link rows are most of the work: they make the first 80 percent.
        if (progress && w % 32 == 0)
            progress->step(qint64(hits.size()), percentOf(w, walked.size()) * 8 / 10);
        links.seek(QStringLiteral("="), walked[w]);
        if (links.noMatch()) continue;
        for (; !links.eof(); links.moveNext()) {
            QString keyword = linkKeyword.text();
            if (keywords::compareNames(keyword, walked[w]) != 0) break;
            QString number = linkNumber.text();
            const auto [at, added] = cardIndex.try_emplace(number, int(found.size()));
            const int c = at->second;
            if (added) {
                found.emplace_back().linked = number;
                if (countAsked) askedBy.resize(askedBy.size() + size_t(asked.size()), 0);
            }
            FoundCard& card = found[size_t(c)];
            if (card.lastKeyword == w) continue; // linked twice to the same keyword
            card.lastKeyword = w;
            hits.push_back({c, std::move(keyword), std::move(number)});
            if (!countAsked) continue;
            for (const int a : standsFor[size_t(w)]) {
                char& hit = askedBy[size_t(c) * size_t(asked.size()) + size_t(a)];
                if (!hit) ++card.askedHits;
                hit = 1;
            }
        }
    }
    // "all of them": only the cards that every asked keyword brought in are read.
    long wanted = long(found.size());
    if (countAsked)
        for (FoundCard& card : found)
            if (card.askedHits < asked.size()) {
                card.wanted = false;
                --wanted;
            }
    if (progress) progress->step(qint64(hits.size()), 80);
    readCards(ctx, kind, cardIndex, found, wanted);
    if (progress) progress->step(qint64(hits.size()), 90);

    ResultTable& table = ctx.Result;
    table.clear();
    table.ResultGrid.reserve(hits.size());
    for (const Hit& h : hits) {
        const FoundCard& card = found[size_t(h.card)];
        if (!card.exists) continue;
        table.add(h.keyword, h.number, card.author, card.title, card.number);
    }
    const bool any = !table.ResultGrid.empty();
    if (!any) table.add(noMatchText(), QString(), QString(), QString(), QString());

    ctx.ResultKind = kindText(kind);
    table.ResultKeyword = asked.value(0);
    table.ResultCaption = keywordListCaption(kind, asked, widened, query.allOf);
    table.ResultSortCol = 1;
    table.ResultRow = 1;
    return any;
}

} // namespace

Result<bool> fillByKeywords(Session& ctx, CardKind kind, const KeywordQuery& query,
                            Progress* progress) {
    return store::guard([&] { return fill(ctx, kind, query, progress); });
}

QString keywordListCaption(CardKind kind, const QStringList& keywords,
                           const std::vector<bool>& widened, bool allOf) {
    QString prefix = sourcesOf(kind).captionPrefix;
    if (keywords.size() > 1)
        prefix.replace(QStringLiteral("Keyword : "), QStringLiteral("Keywords : "));
    QStringList parts;
    for (qsizetype i = 0; i < keywords.size(); ++i)
        parts.push_back(size_t(i) < widened.size() && widened[size_t(i)]
                            ? keywords[i] + withSubsetsText()
                            : keywords[i]);
    return prefix + parts.join(allOf ? QStringLiteral(" + ") : QStringLiteral(" or "));
}

} // namespace vlm::retrieval
