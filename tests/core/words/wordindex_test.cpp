#include "core/cards/cardstore.h"
#include "core/words/wordindex.h"
#include "support/retrievalbase.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

using namespace vlm;
using namespace vlm::words;

namespace {

class WordIndex : public ::testing::Test, public test::RetrievalBase {
protected:
    // The index rows as "word|card|count", in the order they were written.
    QStringList indexRows(CardKind kind = CardKind::Note) {
        auto rs = ctx.base.BaseDb->openRecordset(indexTableOf(kind));
        QStringList out;
        const QStringList words = column(*rs, "Mot"), cards = column(*rs, "Index"),
                          counts = column(*rs, "NboccurIndex");
        for (int i = 0; i < words.size(); ++i)
            out << words[i] + "|" + cards[i] + "|" + counts[i];
        return out;
    }
    QStringList totals() {
        QStringList out;
        for (const WordTotal& t : totalsByOccurrence(ctx, CardKind::Note))
            out << t.word + "|" + QString::number(t.count);
        return out;
    }
    qint64 indexNotes(Progress* progress = nullptr) {
        const auto run = indexAllCards(ctx, CardKind::Note, progress);
        EXPECT_TRUE(run.ok()) << run.status().message().toStdString();
        return run.ok() ? run->rowsAdded : -1;
    }
};

// Stops at the n-th step.
struct StopAt : Progress {
    int left;
    explicit StopAt(int n) : left(n) {}
    bool step(qint64, int, qint64) override { return --left > 0; }
};

} // namespace

TEST_F(WordIndex, IndexesEachCardOnceWithItsOwnWords) {
    const QString longWord(50, QChar('w'));
    noteText("A", "chat chats chat, le chat");
    noteText("B", "le la un et");
    const QString textC = longWord + " arbre " + QString(49, QChar('v'));
    noteText("C", textC);
    quoteText("Q", "citation");
    EXPECT_EQ(indexNotes(), 5);
    const QStringList expected{"chat|A|4", "chats|A|0", "arbre|C|1",
                               QString(49, QChar('v')) + "|C|1", "|C|1"};
    EXPECT_EQ(indexRows(), expected);
    EXPECT_EQ(indexNotes(), 0);
    EXPECT_EQ(indexRows(), expected);
    EXPECT_EQ(indexRows(CardKind::Quote), QStringList{});
    ASSERT_TRUE(indexAllCards(ctx, CardKind::Quote).ok());
    EXPECT_EQ(indexRows(CardKind::Quote), QStringList{"citation|Q|1"});

    // A changed text or a deleted card loses its rows; the next run indexes the change.
    ASSERT_TRUE(cards::storeNote(ctx, "A", {"", "", "une souris", ""}).ok());
    ASSERT_TRUE(cards::storeNote(ctx, "C", {"x", "", textC, ""}).ok()); // same text: kept
    ASSERT_TRUE(cards::deleteNote(ctx, "B").ok());
    EXPECT_EQ(indexRows(), expected.mid(2));
    EXPECT_EQ(indexNotes(), 2);
    EXPECT_EQ(indexRows(), expected.mid(2) + QStringList({"souris|A|1", "une|A|1"}));
    ASSERT_TRUE(cards::deleteNote(ctx, "C").ok());
    EXPECT_EQ(indexRows(), (QStringList{"souris|A|1", "une|A|1"}));

    const auto rows = indexRowsByOccurrence(ctx, CardKind::Note);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].word, "une"); // equal counts: the reverse of the index's order
}

TEST_F(WordIndex, TotalsAreRebuiltEachTimeAndWordsTheStoreFindsEqualShareOne) {
    noteText("A", "chat chat souris");
    noteText("B", "chat chat chat");
    noteText("C", "Chat " + QString(45, QChar('x')) + " " + QString(60, QChar('y')));
    indexNotes();
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(aggregateWords(ctx, CardKind::Note).ok());
        EXPECT_EQ(totals(), (QStringList{"chat|6", "|2", "souris|1"}));
    }
    EXPECT_EQ(cardsHoldingWord(ctx, CardKind::Note, "CHAT"), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(cardsHoldingWord(ctx, CardKind::Note, "rat"), QStringList{});
}

// "All KW" reads its rows one by one from the base: the same rows in the same order as the walk
// of the occurrence index backwards, ties included, on random texts of a small vocabulary.
TEST_F(WordIndex, TheRowListReadsTheRowsOfTheIndexWalkInItsOrder) {
    std::mt19937 rng(7);
    const QStringList words{"chat", "chien", "souris", "rat", "loup", "ours"};
    for (int n = 0; n < 40; ++n) {
        QString text;
        for (int w = int(rng() % 12); w >= 0; --w)
            text += words[int(rng() % words.size())] + " ";
        noteText(QString::number(1000 + n), text);
    }
    indexNotes();
    // A row without a count (another base's index, merged) comes last.
    ctx.base.BaseDb->execute(
        R"(INSERT INTO WordsNoteIndex (Mot, "Index") VALUES ('zèbre', '1000'))");
    const auto plain = indexRowsByOccurrence(ctx, CardKind::Note);
    const IndexRowList list(ctx, CardKind::Note, nullptr, 7); // blocks end amid equal counts
    ASSERT_EQ(size_t(list.size()), plain.size());
    ASSERT_GT(plain.size(), 100u);
    for (size_t i = 0; i < plain.size(); ++i) {
        const IndexRow r = list.at(qint64(i));
        ASSERT_EQ(std::tie(r.word, r.number, r.count),
                  std::tie(plain[i].word, plain[i].number, plain[i].count))
            << i;
    }
    EXPECT_EQ(list.at(qint64(plain.size())).word, QString());
}

TEST_F(WordIndex, ACancelLeavesTheBaseAsItWas) {
    noteText("A", "chat chat souris");
    noteText("B", "chien");
    StopAt second(2);
    const auto run = indexAllCards(ctx, CardKind::Note, &second);
    EXPECT_TRUE(run.ok() && run->cancelled);
    EXPECT_EQ(indexRows(), QStringList{});

    indexNotes();
    ASSERT_TRUE(aggregateWords(ctx, CardKind::Note).ok());
    noteText("C", "chat");
    indexNotes();
    StopAt first(1);
    const auto agg = aggregateWords(ctx, CardKind::Note, &first);
    EXPECT_TRUE(agg.ok() && agg->cancelled);
    EXPECT_EQ(totals(), (QStringList{"chat|2", "chien|1", "souris|1"}));
}
