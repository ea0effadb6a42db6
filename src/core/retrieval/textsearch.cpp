#include "core/retrieval/textsearch.h"

#include "core/retrieval/grids.h"
#include "core/session/session.h"
#include "core/store/recordset.h"

namespace vlm::retrieval {

QString textSearchCaption(CardKind kind, const QString& word) {
    const QString prefix = kind == CardKind::Quote ? QStringLiteral("  Quotes containing ")
                                                   : QStringLiteral("  Notes containing ");
    return prefix + QLatin1Char('\'') + word + QLatin1Char('\'');
}

std::vector<TextMatch> findCardsContaining(Session& ctx, CardKind kind, const QString& word,
                                           Progress* progress) {
    std::vector<TextMatch> out;
    if (kind == CardKind::Reference || word.isEmpty()) return out;
    const KindSources& src = sourcesOf(kind);
    store::Recordset& cards = cardTable(ctx, kind);
    const qint64 total = progress ? cards.recordCount() : 0;
    const auto going = [&](qint64 read) { return progress->step(read, percentOf(read, total)); };
    for (auto& hit : cards.findText(src.numberField, QStringLiteral("TEXTE"), word,
                                    progress ? std::function<bool(qint64)>(going) : nullptr))
        out.push_back({std::move(hit.key), hit.position});
    return out;
}

bool hasCards(Session& ctx, CardKind kind) {
    return cardTable(ctx, kind).recordCount() > 0;
}

int fillByText(Session& ctx, CardKind kind, const QString& word,
               const std::vector<TextMatch>& matches) {
    const ReadSnapshot snapshot(ctx);
    const KindSources& src = sourcesOf(kind);
    ResultTable& table = ctx.Result;
    table.clear();
    store::Recordset& cards = cardTable(ctx, kind);
    for (const TextMatch& m : matches) {
        if (!seekCardNumber(ctx, kind, m.number)) continue;
        const QString number = cards.field(src.numberField).text();
        const QString author = cards.field(src.authorField).text();
        const QString title = cards.field(src.titleField).text();
        const QStringList keywords = cardKeywords(ctx, kind, number);
        if (keywords.isEmpty()) table.add(QString(), number, author, title, number);
        for (const QString& k : keywords)
            table.add(k, number, author, title, number);
    }
    ctx.ResultKind = kindText(kind);
    table.ResultKeyword.clear();
    table.ResultCaption = textSearchCaption(kind, word);
    table.ResultSortCol = 1;
    table.ResultRow = 1;
    return int(table.ResultGrid.size());
}

} // namespace vlm::retrieval
