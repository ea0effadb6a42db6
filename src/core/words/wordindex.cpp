#include "core/words/wordindex.h"

#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "core/words/exclusionlist.h"
#include "core/words/tokenizer.h"

#include <QHash>
#include <algorithm>

namespace vlm::words {

namespace {

const QString kEq = QStringLiteral("=");

store::WordsIndexRs& indexTable(Session& ctx, CardKind kind) {
    return kind == CardKind::Quote ? ctx.rs().WordsCitIndex : ctx.rs().WordsNoteIndex;
}
store::WordsAllRs& totalsTable(Session& ctx, CardKind kind) {
    return kind == CardKind::Quote ? ctx.rs().WordsCitAll : ctx.rs().WordsNoteAll;
}

bool hasRowsFor(store::WordsIndexRs& index, const QString& number) {
    index->seek(kEq, number);
    return !index->noMatch();
}

// Progress is told every so many rows of the aggregation, not at each one.
constexpr qint64 kRowsPerStep = 4096;

} // namespace

QString indexTableOf(CardKind kind) {
    return kind == CardKind::Quote ? QStringLiteral("WordsCitIndex")
                                   : QStringLiteral("WordsNoteIndex");
}
QString totalsTableOf(CardKind kind) {
    return kind == CardKind::Quote ? QStringLiteral("WordsCitAll") : QStringLiteral("WordsNoteAll");
}

Result<IndexRun> indexAllCards(Session& ctx, CardKind kind, Progress* progress) {
    if (kind == CardKind::Reference) return IndexRun{};
    const Result<ExclusionList> excluded = loadExclusionList(ctx);
    if (!excluded) return excluded.status();
    return store::guard([&]() -> Result<IndexRun> {
        IndexRun run;
        store::Transaction trans(*ctx.base.BaseDb);
        const KindSources& src = sourcesOf(kind);
        store::Recordset& cards = cardTable(ctx, kind);
        store::WordsIndexRs& index = indexTable(ctx, kind);
        index->setIndex(QStringLiteral("Index"));
        cards.setIndex(src.numberIndex);

        // First the cards without rows, then their words: the walk of the cards never
        // meets the writes.
        QStringList todo;
        const qint64 cardCount = cards.recordCount();
        if (cardCount > 0) {
            const store::Field number = cards.field(src.numberField);
            for (cards.moveFirst(); !cards.eof(); cards.moveNext()) {
                const QString n = number.text();
                if (!hasRowsFor(index, n)) todo << n;
            }
        }
        const store::Field text = cards.field(QStringLiteral("TEXTE"));
        for (const QString& n : std::as_const(todo)) {
            if (progress) progress->phase(n);
            if (progress &&
                !progress->step(run.cardsIndexed, percentOf(run.cardsIndexed, todo.size()),
                                todo.size())) {
                run = IndexRun{};
                run.cancelled = true;
                return run; // the transaction rolls back
            }
            cards.seek(kEq, n);
            if (cards.noMatch()) continue;
            for (const WordCount& w : splitTextForIndex(text.text(), *excluded)) {
                index->addNew();
                // A word too long for the field leaves Mot empty; the row keeps its count.
                if (w.word.size() <= kIndexWordLength) index.Mot = w.word;
                index.Index = n;
                index.NboccurIndex = w.count;
                index->update();
                ++run.rowsAdded;
            }
            ++run.cardsIndexed;
        }
        if (progress)
            progress->step(run.cardsIndexed, percentOf(run.cardsIndexed, todo.size()), todo.size());
        trans.commit();
        return run;
    });
}

Result<AggregateRun> aggregateWords(Session& ctx, CardKind kind, Progress* progress) {
    if (kind == CardKind::Reference) return AggregateRun{};
    return store::guard([&]() -> Result<AggregateRun> {
        AggregateRun run;
        store::Transaction trans(*ctx.base.BaseDb);
        store::WordsIndexRs& index = indexTable(ctx, kind);
        store::WordsAllRs& totals = totalsTable(ctx, kind);

        struct Total {
            QString word; // the first spelling met
            qint64 count = 0;
        };
        std::vector<Total> sums;
        QHash<QString, qsizetype> slotOf;    // exact word -> its total
        QHash<QString, qsizetype> slotOfKey; // the store's key -> its total
        index->setIndex({});
        const qint64 rows = index->recordCount();
        if (rows > 0) {
            for (index->moveFirst(); !index->eof(); index->moveNext()) {
                if (progress && run.rowsRead % kRowsPerStep == 0 &&
                    !progress->step(run.rowsRead, percentOf(run.rowsRead, rows), rows)) {
                    run = AggregateRun{};
                    run.cancelled = true;
                    return run; // the transaction rolls back
                }
                QString word = index.Mot.text();
                // The total's field is shorter than the index's: a longer word is counted
                // under the empty word, as the words too long for the index are.
                if (word.size() > kTotalWordLength) word.clear();
                auto it = slotOf.constFind(word);
                if (it == slotOf.cend()) {
                    const QString key = ExclusionList::keyOf(word);
                    auto k = slotOfKey.constFind(key);
                    if (k == slotOfKey.cend()) {
                        k = slotOfKey.insert(key, qsizetype(sums.size()));
                        sums.push_back({word, 0});
                    }
                    it = slotOf.insert(word, k.value());
                }
                sums[size_t(it.value())].count += index.NboccurIndex.value().toLongLong();
                ++run.rowsRead;
            }
        }
        // The totals are rebuilt from empty: a second run gives the same totals.
        totals->setIndex({});
        if (totals->recordCount() > 0)
            for (totals->moveFirst(); !totals->eof(); totals->moveNext())
                totals->remove();
        for (const Total& t : sums) {
            totals->addNew();
            totals.Mot = t.word;
            totals.Occurences = t.count;
            totals->update();
        }
        run.words = qint64(sums.size());
        if (progress) progress->step(rows, 100, rows);
        trans.commit();
        return run;
    });
}

std::vector<IndexRow> indexRowsByOccurrence(Session& ctx, CardKind kind) {
    std::vector<IndexRow> out;
    if (kind == CardKind::Reference) return out;
    store::WordsIndexRs& index = indexTable(ctx, kind);
    index->setIndex(QStringLiteral("NbOccurIndex"));
    if (index->recordCount() == 0) return out;
    out.reserve(size_t(index->recordCount()));
    for (index->moveLast(); !index->bof(); index->movePrevious())
        out.push_back(
            {index.Mot.text(), index.Index.text(), index.NboccurIndex.value().toLongLong()});
    return out;
}

IndexRowList::IndexRowList(Session& ctx, CardKind kind, Progress* progress, int block) : ctx_(ctx) {
    if (kind == CardKind::Reference) return;
    table_ = indexTableOf(kind);
    // The occurrence index walked backwards (ties by row id, the latest first), a block of keys
    // per statement from where the last one ended, then the rows without a count, which that
    // index holds first.
    const QString from = QStringLiteral(" FROM \"") + table_ + QStringLiteral("\" WHERE ");
    const QString order = QStringLiteral(" ORDER BY NboccurIndex DESC, rowid DESC LIMIT ");
    qint64 count = 0, rowid = 0;
    // The rows of one block, `limit` at most, where `where` says; how many there were.
    const auto fetch = [&](const QString& where, const QVariantList& binds, int limit) {
        int read = 0;
        ctx_.base.BaseDb->each(QStringLiteral("SELECT NboccurIndex, rowid") + from + where + order +
                                   QString::number(limit),
                               binds, [&](const store::SqlRow& r) {
                                   count = r.integer(0);
                                   rowid = r.integer(1);
                                   ids_.push_back(rowid);
                                   ++read;
                               });
        if (progress) progress->step(qint64(ids_.size()), 100);
        return read;
    };
    // The rest of the rows of the last count first, then the lower counts: each statement
    // starts where the last one ended, however many rows share a count.
    int read = fetch(QStringLiteral("NboccurIndex IS NOT NULL"), {}, block);
    while (read == block) {
        const qint64 lastCount = count, lastRow = rowid;
        read =
            fetch(QStringLiteral("NboccurIndex = ?1 AND rowid < ?2"), {lastCount, lastRow}, block);
        if (read < block)
            read += fetch(QStringLiteral("NboccurIndex < ?1"), {lastCount}, block - read);
    }
    ctx_.base.BaseDb->each(QStringLiteral("SELECT rowid") + from +
                               QStringLiteral("NboccurIndex IS NULL ORDER BY rowid DESC"),
                           {}, [this](const store::SqlRow& r) { ids_.push_back(r.integer(0)); });
}

IndexRow IndexRowList::at(qint64 i) const {
    if (i < 0 || i >= size() || !ctx_.base.isOpen()) return {};
    const auto rows =
        ctx_.base.BaseDb->query(QStringLiteral("SELECT Mot, \"Index\", NboccurIndex FROM \"") +
                                    table_ + QStringLiteral("\" WHERE rowid = ?1"),
                                {ids_[size_t(i)]});
    if (rows.empty()) return {};
    return {rows[0][0].toString(), rows[0][1].toString(), rows[0][2].toLongLong()};
}

std::vector<WordTotal> totalsByOccurrence(Session& ctx, CardKind kind) {
    std::vector<WordTotal> out;
    if (kind == CardKind::Reference) return out;
    store::WordsAllRs& totals = totalsTable(ctx, kind);
    totals->setIndex(QStringLiteral("Occurences"));
    if (totals->recordCount() == 0) return out;
    for (totals->moveLast(); !totals->bof(); totals->movePrevious())
        out.push_back({totals.Mot.text(), totals.Occurences.value().toLongLong()});
    return out;
}

QStringList cardsHoldingWord(Session& ctx, CardKind kind, const QString& word) {
    QStringList out;
    if (kind == CardKind::Reference) return out;
    store::WordsIndexRs& index = indexTable(ctx, kind);
    index->setIndex(QStringLiteral("Mot"));
    index->seek(kEq, word);
    if (index->noMatch()) return out;
    QSet<QString> seen;
    for (; !index->eof() && store::equalText(index.Mot.text(), word); index->moveNext()) {
        const QString n = index.Index.text();
        if (!seen.contains(ExclusionList::keyOf(n))) {
            seen.insert(ExclusionList::keyOf(n));
            out << n;
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return store::compareText(a, b) < 0;
    });
    return out;
}

} // namespace vlm::words
