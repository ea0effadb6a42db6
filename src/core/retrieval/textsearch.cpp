#include "core/retrieval/textsearch.h"

#include "core/retrieval/grids.h"
#include "core/session/session.h"
#include "core/store/database.h"
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
               const std::vector<TextMatch>& matches, Progress* progress) {
    const ReadSnapshot snapshot(ctx);
    const KindSources& src = sourcesOf(kind);
    ResultTable& table = ctx.Result;
    table.clear();
    // A statement for a few hundred cards at a time does the seeks: the cards found, in number
    // order as they came (a card gone meanwhile drops out of the join), each with its links in
    // the order of the number index, or one row without a keyword. The number is unique in its
    // table and the store's collation makes every comparison the one a seek makes.
    const auto quoted = [](const QString& name) -> QString {
        return QLatin1Char('"') + name + QLatin1Char('"');
    };
    const QString number = quoted(src.numberField);
    constexpr size_t kChunk = 400;
    for (size_t from = 0; from < matches.size(); from += kChunk) {
        const size_t to = std::min(matches.size(), from + kChunk);
        QString marks;
        QVariantList numbers;
        for (size_t i = from; i < to; ++i) {
            marks += (i == from ? QStringLiteral("?") : QStringLiteral(", ?"));
            numbers << matches[i].number;
        }
        ctx.base.BaseDb->each(
            QStringLiteral("SELECT l.") + quoted(src.linkKeywordField) + QStringLiteral(", c.") +
                number + QStringLiteral(", c.") + quoted(src.authorField) + QStringLiteral(", c.") +
                quoted(src.titleField) + QStringLiteral(" FROM ") + quoted(src.cardTable) +
                QStringLiteral(" c LEFT JOIN ") + quoted(src.linkTable) +
                QStringLiteral(" l ON l.") + quoted(src.linkNumberField) + QStringLiteral(" = c.") +
                number + QStringLiteral(" WHERE c.") + number + QStringLiteral(" IN (") + marks +
                QStringLiteral(") ORDER BY c.") + number + QStringLiteral(", l.rowid"),
            numbers, [&](const store::SqlRow& row) {
                const QString n = row.text(1);
                table.add(row.isNull(0) ? QString() : row.text(0), n, row.text(2), row.text(3), n);
            });
        if (progress) progress->step(qint64(to), percentOf(qint64(to), qint64(matches.size())));
    }
    ctx.ResultKind = kindText(kind);
    table.ResultKeyword.clear();
    table.ResultCaption = textSearchCaption(kind, word);
    table.ResultSortCol = 1;
    table.ResultRow = 1;
    return int(table.ResultGrid.size());
}

} // namespace vlm::retrieval
