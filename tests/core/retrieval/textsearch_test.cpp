#include "core/retrieval/textsearch.h"
#include "support/retrievalbase.h"

#include <numeric>
#include <random>

using namespace vlm;
using namespace vlm::retrieval;

namespace {

class TextSearch : public ::testing::Test, public test::RetrievalBase {
protected:
    QStringList found(CardKind kind, const QString& word) {
        QStringList out;
        for (const TextMatch& m : findCardsContaining(ctx, kind, word))
            out << m.number + "@" + QString::number(m.position);
        return out;
    }
};

} // namespace

TEST_F(TextSearch, MatchesCodeByCodeAndGivesTheFirstOccurrence) {
    noteText("D", "Chat");
    noteText("C", QString::fromUtf8("un château, un chat"));
    noteText("B", "achat");
    noteText("A", "chats chats chats");
    noteText("E", "");
    note("F");
    quoteText("Q", "chat");
    EXPECT_EQ(found(CardKind::Note, "chat"), (QStringList{"A@1", "B@2", "C@16"}));
    EXPECT_EQ(found(CardKind::Quote, "chat"), QStringList{"Q@1"});
    EXPECT_EQ(found(CardKind::Note, ""), QStringList{});
    EXPECT_EQ(found(CardKind::Reference, "chat"), QStringList{});
}

// The scan compares stored bytes; a plain QString search over the same texts is the model.
TEST_F(TextSearch, AgreesWithASearchOfTheTextsOnRandomInput) {
    std::mt19937 rng(7);
    const QStringList pieces =
        QString::fromUtf8("a c h t C _ é 😀 漢").split(' ').replaceInStrings("_", " ");
    QMap<QString, QString> texts; // number -> text, in number order
    std::vector<int> order(600);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), rng);
    store::Transaction batch(*ctx.base.BaseDb);
    for (const int i : order) {
        QString t;
        for (int k = int(rng() % 30); k > 0; --k)
            t += pieces[int(rng() % pieces.size())];
        const QString number = QStringLiteral("N%1").arg(i, 4, 10, QLatin1Char('0'));
        texts[number] = t;
        noteText(number, t);
    }
    batch.commit();
    for (const QString& word :
         QStringList{"ch", "at", "cha", QString::fromUtf8("é😀"), QString::fromUtf8("漢a")}) {
        QStringList model;
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            if (const qsizetype at = it.value().indexOf(word); at >= 0)
                model << it.key() + "@" + QString::number(at + 1);
        EXPECT_EQ(found(CardKind::Note, word), model) << word.toStdString();
    }
    // The scan tells how many cards it has read, and finds nothing once told to stop.
    struct StopAt512 : Progress {
        int steps = 0;
        bool step(qint64 read, int, qint64) override { return ++steps, read < 512; }
    } stop;
    EXPECT_TRUE(findCardsContaining(ctx, CardKind::Note, "ch", &stop).empty());
    EXPECT_EQ(stop.steps, 2);
}

TEST_F(TextSearch, TheGridListsEveryKeywordAndAnEmptyOneForACardWithout) {
    noteText("A", "le chat");
    noteText("B", "un chat");
    for (const char* k : {"Felins", "Animaux"})
        linkNote("B", k);
    const auto matches = findCardsContaining(ctx, CardKind::Note, "chat");
    EXPECT_EQ(fillByText(ctx, CardKind::Note, "chat", matches), 3);
    EXPECT_EQ(resultLines(), (QStringList{"|A|||A", "Felins|B|||B", "Animaux|B|||B"}));
    EXPECT_EQ(ctx.ResultKind + "|" + ctx.Result.ResultCaption, "Note|  Notes containing 'chat'");
    EXPECT_EQ(textSearchCaption(CardKind::Quote, "x"), "  Quotes containing 'x'");
}
