#include "core/retrieval/grids.h"

#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <QSet>
#include <vector>

namespace vlm::retrieval {

ReadSnapshot::ReadSnapshot(Session& ctx) {
    try {
        trans_.emplace(*ctx.base.BaseDb);
    } catch (const store::StoreError&) {
        // Without the transaction every read still works, only each takes the lock anew.
    }
}

ReadSnapshot::~ReadSnapshot() {
    if (!trans_) return;
    try {
        trans_->commit();
    } catch (const store::StoreError&) {
        // The guard rolls back: a read-only transaction loses nothing.
    }
}

namespace {

// The link rows that name `key` in the field `field` of the index just selected and sought,
// handed to `f` one by one, in index order.
template <typename F> void walkEqual(store::Recordset& rs, const QString& key, F&& f) {
    rs.seek(QStringLiteral("="), key);
    if (rs.noMatch()) return;
    const store::Field keyField =
        rs.field(rs.tableDef().indexes[size_t(rs.tableDef().indexPos(rs.index()))].fields.front());
    while (!rs.eof() && store::equalText(keyField.text(), key)) {
        f();
        rs.moveNext();
    }
}

// Adds the rows of the card that is the current record of `cards`: one per link row of the
// card (its keyword and the number the link holds), or one with a single blank for a card
// without any keyword when `blankWhenNone` is set.
void addCardRows(ResultTable& table, store::Recordset& links, const KindSources& src,
                 store::Recordset& cards, const QString& author, bool blankWhenNone) {
    const QString number = cards.field(src.numberField).text();
    const QString title = cards.field(src.titleField).text();
    const QString shownAuthor = author.isNull() ? cards.field(src.authorField).text() : author;
    const store::Field kw = links.field(src.linkKeywordField);
    const store::Field ndx = links.field(src.linkNumberField);
    bool any = false;
    walkEqual(links, number, [&] {
        any = true;
        table.add(kw.text(), ndx.text(), shownAuthor, title, number);
    });
    if (!any && blankWhenNone) table.add(QStringLiteral(" "), number, shownAuthor, title, number);
}

} // namespace

std::optional<QStringList> keywordCardNumbers(Session& ctx, CardKind kind, const QString& keyword) {
    const ReadSnapshot snapshot(ctx);
    const KindSources& src = sourcesOf(kind);
    store::Recordset& links = linkTable(ctx, kind);
    store::Recordset& cards = cardTable(ctx, kind);

    // First the link rows of the keyword, then each card: the two walks never take turns on
    // one recordset, so neither has to find its place again.
    links.setIndex(src.linkKeywordIndex);
    QStringList linked;
    bool any = false;
    const store::Field ndx = links.field(src.linkNumberField);
    walkEqual(links, keyword, [&] {
        any = true;
        linked.push_back(ndx.text());
    });
    if (!any) return std::nullopt;

    cards.setIndex(src.numberIndex);
    const store::Field number = cards.field(src.numberField);
    QStringList out;
    QSet<QString> seen;
    for (const QString& n : linked) {
        cards.seek(QStringLiteral("="), n);
        if (cards.noMatch()) continue; // a link to a card that no longer exists
        const QString real = number.text();
        if (seen.contains(real)) continue;
        seen.insert(real);
        out.push_back(real);
    }
    return out;
}

namespace {
QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}
} // namespace

bool fillByKeyword(Session& ctx, CardKind kind, const QString& keyword, Progress* progress) {
    const ReadSnapshot snapshot(ctx);
    const KindSources& src = sourcesOf(kind);
    ResultTable& table = ctx.Result;
    table.clear();

    // One statement does the walk of the links and the seeks: the cards the keyword's link
    // rows name (links to cards that are gone drop out of the join), each once, in the order
    // of its first such link on the keyword index (equal keys in the order they were added);
    // then each card's own link rows, in the same order on the number index. The store's
    // collation of the columns makes every comparison the one a seek makes.
    const QString cards = quoted(src.cardTable), links = quoted(src.linkTable);
    const QString number = quoted(src.numberField), linkNumber = quoted(src.linkNumberField);
    const QString linkKeyword = quoted(src.linkKeywordField);
    const QString sql =
        QStringLiteral("WITH found AS (SELECT c.rowid AS card, min(k.rowid) AS first FROM ") +
        links + QStringLiteral(" k JOIN ") + cards + QStringLiteral(" c ON c.") + number +
        QStringLiteral(" = k.") + linkNumber + QStringLiteral(" WHERE k.") + linkKeyword +
        QStringLiteral(" = ?1 GROUP BY c.rowid) SELECT l.") + linkKeyword + QStringLiteral(", l.") +
        linkNumber + QStringLiteral(", c.") + quoted(src.authorField) + QStringLiteral(", c.") +
        quoted(src.titleField) + QStringLiteral(", c.") + number +
        QStringLiteral(" FROM found f JOIN ") + cards +
        QStringLiteral(" c ON c.rowid = f.card JOIN ") + links + QStringLiteral(" l ON l.") +
        linkNumber + QStringLiteral(" = c.") + number +
        QStringLiteral(" ORDER BY f.first, l.rowid");
    // The keyword is sought on the link table first, as the walk always began: a name the
    // store refuses fails as it did, and a keyword without links reads nothing more.
    store::Recordset& keywordLinks = linkTable(ctx, kind);
    keywordLinks.setIndex(src.linkKeywordIndex);
    keywordLinks.seek(QStringLiteral("="), keyword);
    if (!keywordLinks.noMatch())
        ctx.base.BaseDb->each(sql, {keyword}, [&](const store::SqlRow& row) {
            table.add(row.text(0), row.text(1), row.text(2), row.text(3), row.text(4));
            // How many rows will come is known only at the end.
            if (progress && table.ResultGrid.size() % 4096 == 0)
                progress->step(qint64(table.ResultGrid.size()), 0);
        });
    const bool found = !table.ResultGrid.empty();
    if (!found) table.add(noMatchText(), QString(), QString(), QString(), QString());

    ctx.ResultKind = kindText(kind);
    table.ResultKeyword = keyword;
    table.ResultCaption = src.captionPrefix + keyword;
    table.ResultSortCol = 1;
    table.ResultRow = 1;
    return found;
}

bool fillByAuthor(Session& ctx, CardKind kind, const QString& author) {
    const ReadSnapshot snapshot(ctx);
    store::Recordset& autndx = *ctx.rs().AUTNDX;
    autndx.setIndex(QStringLiteral("AutBib"));
    std::vector<QString> refs;
    const store::Field refNdx = autndx.field(QStringLiteral("NDX"));
    bool any = false;
    walkEqual(autndx, author, [&] {
        any = true;
        refs.push_back(refNdx.text());
    });
    if (!any) return false;

    ResultTable& table = ctx.Result;
    table.clear();
    const KindSources& bibSrc = sourcesOf(CardKind::Reference);
    store::Recordset& biblio = cardTable(ctx, CardKind::Reference);
    biblio.setIndex(bibSrc.numberIndex);

    if (kind == CardKind::Reference) {
        store::Recordset& grbib = linkTable(ctx, CardKind::Reference);
        grbib.setIndex(bibSrc.linkNumberIndex);
        QSet<QString> seen;
        for (const QString& r : refs) {
            biblio.seek(QStringLiteral("="), r);
            if (biblio.noMatch()) continue; // an author link to a Reference that is gone
            const QString real = biblio.field(bibSrc.numberField).text();
            if (seen.contains(real)) continue;
            seen.insert(real);
            addCardRows(table, grbib, bibSrc, biblio, author, true);
        }
    } else {
        // The Quotes of each of the author's References, with their own keywords.
        const KindSources& citSrc = sourcesOf(CardKind::Quote);
        store::Recordset& cit = cardTable(ctx, CardKind::Quote);
        store::Recordset& grcit = linkTable(ctx, CardKind::Quote);
        QSet<QString> seenRefs;
        std::vector<QString> quotes;
        for (const QString& r : refs) {
            biblio.seek(QStringLiteral("="), r);
            if (biblio.noMatch()) continue;
            const QString real = biblio.field(bibSrc.numberField).text();
            if (seenRefs.contains(real)) continue;
            seenRefs.insert(real);
            cit.setIndex(QStringLiteral("BibNDX"));
            const store::Field quoteNumber = cit.field(citSrc.numberField);
            walkEqual(cit, real, [&] { quotes.push_back(quoteNumber.text()); });
        }
        cit.setIndex(citSrc.numberIndex);
        grcit.setIndex(citSrc.linkNumberIndex);
        for (const QString& q : quotes) {
            cit.seek(QStringLiteral("="), q);
            if (cit.noMatch()) continue;
            addCardRows(table, grcit, citSrc, cit, author, true);
        }
    }
    if (table.ResultGrid.empty())
        table.add(noMatchText(), QString(), QString(), QString(), QString());

    ctx.ResultKind = kindText(kind);
    table.ResultKeyword = author;
    table.ResultCaption = authorCaptionPrefix() + author;
    table.ResultSortCol = 1;
    table.ResultRow = 1;
    return true;
}

bool seekCardNumber(Session& ctx, CardKind kind, const QString& number) {
    store::Recordset& cards = cardTable(ctx, kind);
    cards.setIndex(sourcesOf(kind).numberIndex);
    cards.seek(QStringLiteral("="), number);
    return !cards.noMatch();
}

} // namespace vlm::retrieval
