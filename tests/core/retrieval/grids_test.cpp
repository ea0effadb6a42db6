#include "core/retrieval/datelist.h"
#include "core/retrieval/grids.h"
#include "core/retrieval/keywordquery.h"
#include "core/retrieval/memoryguard.h"
#include "core/retrieval/othersearch.h"
#include "support/retrievalbase.h"

#include <QSet>
#include <random>

using namespace vlm;
using namespace vlm::retrieval;
using vlm::test::RetrievalBase;

namespace {

class Grids : public ::testing::Test, public RetrievalBase {
protected:
    // The kind of the result table and its caption, as "kind|caption".
    QString shown() const { return ctx.ResultKind + "|" + ctx.Result.ResultCaption; }
    // The date list as "date|number" lines.
    QStringList dates(CardKind kind) {
        QStringList out;
        for (const auto& l : listByDate(ctx, kind))
            out << l.date + "|" + l.number;
        return out;
    }
};

} // namespace

// How the rows are then sorted and shown is compared on random tables with the result table.
TEST_F(Grids, ACardWithThreeKeywordsGivesThreeRows) {
    note("SMIT0001.TXT", "Smith", "On trees");
    note("JONE0001.TXT", "Jones", "On roots");
    linkNote("SMIT0001.TXT", "Gamma");
    linkNote("JONE0001.TXT", "Zeta");
    linkNote("SMIT0001.TXT", "Beta");
    linkNote("JONE0001.TXT", "Beta");
    linkNote("SMIT0001.TXT", "Alpha");

    ASSERT_TRUE(fillByKeyword(ctx, CardKind::Note, "Beta"));
    EXPECT_EQ(shown(), "Note|Notes - Keyword : Beta");
    EXPECT_EQ(ctx.Result.ResultCount(), 6);
    // Each card with all its keywords, in the order of the links of each card.
    EXPECT_EQ(resultLines(), (QStringList{
                                 "Gamma|SMIT0001.TXT|Smith|On trees|SMIT0001.TXT",
                                 "Beta|SMIT0001.TXT|Smith|On trees|SMIT0001.TXT",
                                 "Alpha|SMIT0001.TXT|Smith|On trees|SMIT0001.TXT",
                                 "Zeta|JONE0001.TXT|Jones|On roots|JONE0001.TXT",
                                 "Beta|JONE0001.TXT|Jones|On roots|JONE0001.TXT",
                             }));
}

TEST_F(Grids, DanglingLinksAreSkippedEachCardIsListedOnceOrNoMatchIsShown) {
    note("ADAM0001.TXT", "Adam", "First");
    note("ADAM0002.TXT", "Adam", "Second");
    linkNote("GONE0001.TXT", "Trees"); // its Note was deleted
    linkNote("ADAM0001.TXT", "Trees");
    linkNote("ADAM0001.TXT", "Trees"); // the same keyword twice on one card
    linkNote("adam0002.txt", "trees"); // the store finds numbers and names whatever the case
    linkNote("ADAM0002.TXT", "Roots");
    linkNote("GONE0002.TXT", "Ghost");

    ASSERT_TRUE(fillByKeyword(ctx, CardKind::Note, "Trees"));
    EXPECT_EQ(resultLines(), (QStringList{
                                 "Trees|ADAM0001.TXT|Adam|First|ADAM0001.TXT",
                                 "Trees|ADAM0001.TXT|Adam|First|ADAM0001.TXT",
                                 "trees|adam0002.txt|Adam|Second|ADAM0002.TXT",
                                 "Roots|ADAM0002.TXT|Adam|Second|ADAM0002.TXT",
                             }));
    EXPECT_EQ(keywordCardNumbers(ctx, CardKind::Note, "TREES"),
              (QStringList{"ADAM0001.TXT", "ADAM0002.TXT"}));
    EXPECT_EQ(keywordCardNumbers(ctx, CardKind::Note, "Leaves"), std::nullopt);
    EXPECT_EQ(keywordCardNumbers(ctx, CardKind::Note, "Ghost"), QStringList{});

    // No link, or only dangling ones: the single row "No Match", sorted on the keyword.
    for (const QString& kw : {QStringLiteral("Nothing"), QStringLiteral("Ghost")}) {
        ctx.Result.ResultSortCol = 3;
        EXPECT_FALSE(fillByKeyword(ctx, CardKind::Note, kw));
        EXPECT_EQ(resultLines(), QStringList{"No Match||||"});
        EXPECT_EQ(ctx.Result.ResultCaption, "Notes - Keyword : " + kw);
        EXPECT_EQ(std::pair(ctx.Result.ResultSortCol, ctx.Result.ResultRow), std::pair(1, 1));
    }

    // Seeking a card makes it current, on the number's index.
    ctx.rs().NOTE->setIndex("Jour");
    EXPECT_TRUE(seekCardNumber(ctx, CardKind::Note, "ADAM0002.TXT"));
    EXPECT_EQ(ctx.rs().NOTE.TITRE1.text(), "Second");
    EXPECT_EQ(ctx.rs().NOTE->index(), "NoteNDX");
    removeNote("ADAM0002.TXT");
    EXPECT_FALSE(seekCardNumber(ctx, CardKind::Note, "ADAM0002.TXT"));
}

TEST_F(Grids, AuthorAndKeywordListsOfQuotesAndReferencesComeFromTheirOwnTables) {
    reference("Smith__001", {"Smith", "Jones"}, "Forests");
    reference("Smith__002", {"Smith"}, "Meadows");
    reference("Jones__001", {"Jones"}, "Rivers");
    for (const char* k : {"Trees", "Botany"})
        linkReference("Smith__001", k);
    test::addRow(*ctx.rs().CIT, {{"CIT", "SMITH001.TXT"},
                                 {"NDX", "Smith__001"},
                                 {"TITRE1", "Oaks"},
                                 {"AUTEUR", "Smith Jones "}});
    quote("SMITH002.TXT", "Smith__001", "Elms");
    quote("SMITH003.TXT", "Smith__002", "Grass");
    quote("JONES001.TXT", "Jones__001", "Water");
    linkQuote("SMITH001.TXT", "Trees");
    linkQuote("SMITH003.TXT", "Grass");
    linkQuote("SMITH003.TXT", "Fields");
    linkQuote("JONES001.TXT", "Water");
    // An author link to a Reference that is gone.
    test::addRow(*ctx.rs().AUTNDX, {{"NDX", "Smith__009"}, {"AUTEUR", "Smith"}});

    ASSERT_TRUE(fillByAuthor(ctx, CardKind::Reference, "Smith"));
    EXPECT_EQ(shown(), "Bib|Reference Author : Smith");
    EXPECT_EQ(resultLines(), (QStringList{"Trees|Smith__001|Smith|Forests|Smith__001",
                                          "Botany|Smith__001|Smith|Forests|Smith__001",
                                          " |Smith__002|Smith|Meadows|Smith__002"}));

    ASSERT_TRUE(fillByAuthor(ctx, CardKind::Quote, "Smith"));
    EXPECT_EQ(shown(), "Cit|Reference Author : Smith");
    EXPECT_EQ(resultLines(), (QStringList{"Trees|SMITH001.TXT|Smith|Oaks|SMITH001.TXT",
                                          " |SMITH002.TXT|Smith|Elms|SMITH002.TXT",
                                          "Grass|SMITH003.TXT|Smith|Grass|SMITH003.TXT",
                                          "Fields|SMITH003.TXT|Smith|Grass|SMITH003.TXT"}));

    // An author with References but no Quote: the single row "No Match".
    reference("Brown__001", {"Brown"}, "Hills");
    ASSERT_TRUE(fillByAuthor(ctx, CardKind::Quote, "Brown"));
    EXPECT_EQ(resultLines(), QStringList{"No Match||||"});

    // An author without any Reference leaves the table as it was.
    EXPECT_FALSE(fillByAuthor(ctx, CardKind::Reference, "Nobody"));
    EXPECT_EQ(resultLines(), QStringList{"No Match||||"});

    // By keyword, a card's author is its own field.
    ASSERT_TRUE(fillByKeyword(ctx, CardKind::Quote, "Trees"));
    EXPECT_EQ(shown(), "Cit|Quote + Keyword : Trees");
    EXPECT_EQ(resultLines(), QStringList{"Trees|SMITH001.TXT|Smith Jones |Oaks|SMITH001.TXT"});
    ASSERT_TRUE(fillByKeyword(ctx, CardKind::Reference, "Trees"));
    EXPECT_EQ(shown(), "Bib|References + Keyword : Trees");
    EXPECT_EQ(resultLines(), (QStringList{"Trees|Smith__001|Smith Jones |Forests|Smith__001",
                                          "Botany|Smith__001|Smith Jones |Forests|Smith__001"}));
}

// ---------------------------------------------------------------- through the keyword graph

// The lists through the graph against a plain breadth-first walk and plain set operations, on
// a random graph with cycles and shared Subsets, cards linked twice (also in another letter
// case) and links to cards that are gone. One keyword without Subsets gives today's rows.
TEST_F(Grids, ListsThroughTheGraphMatchAPlainWalkAndSetOperations) {
    std::mt19937 rng(18);
    auto below = [&rng](int n) { return int(std::uniform_int_distribution<>(0, n - 1)(rng)); };
    QStringList names;
    for (int k = 0; k < 10; ++k)
        names << QString("Kw%1").arg(k);
    ctx.base.BaseDb->beginTrans();
    QSet<QString> pairs;
    QList<std::pair<QString, QString>> graph; // lower, upper
    while (graph.size() < 16) {
        const QString lo = names[below(10)];
        const QString up = names[below(10)];
        if (pairs.contains(lo + "<" + up)) continue;
        pairs.insert(lo + "<" + up);
        graph.push_back({lo, up});
        test::addRow(*ctx.rs().GROUP2, {{"GROUPE", lo}, {"GROUPE2", up}});
    }
    QList<std::pair<QString, QString>> links; // card number, keyword, as stored
    for (int c = 0; c < 14; ++c)
        note(QString("N%1.TXT").arg(c), QString("A%1").arg(c), QString("T%1").arg(c));
    for (int c = 0; c < 86; ++c) // so that few cards are sought, many read in one pass
        note(QString("X%1.TXT").arg(c));
    for (int l = 0; l < 45; ++l) {
        QString number = l % 15 == 0 ? "GONE.TXT" : QString("N%1.TXT").arg(below(14));
        QString kw = names[below(10)];
        if (below(5) == 0) number = number.toLower();
        if (below(5) == 0) kw = kw.toUpper();
        links.push_back({number, kw});
        linkNote(number, kw);
    }
    ctx.base.BaseDb->commitTrans();

    // The plain model: keys in lower case, as the store compares them.
    auto walk = [&](const QString& k) {
        QStringList order{k.toLower()};
        for (int i = 0; i < order.size(); ++i)
            for (const auto& [lo, up] : graph)
                if (up.toLower() == order[i] && !order.contains(lo.toLower()))
                    order << lo.toLower();
        return QSet<QString>(order.begin(), order.end());
    };
    auto cardRow = [](const QString& number, const QString& kw) {
        const QString n = number.toUpper(), i = n.mid(1, n.indexOf('.') - 1);
        return QStringList{kw, number, "A" + i, "T" + i, n}.join('|');
    };
    auto expected = [&](const KeywordQuery& q) {
        QList<QSet<QString>> reach;
        for (const QString& k : q.keywords)
            reach << (q.withSubsets ? walk(k) : QSet<QString>{k.toLower()});
        QStringList rows;
        for (int c = 0; c < 14; ++c) {
            const QString card = QString("n%1.txt").arg(c);
            QStringList mine; // the card's links that some asked keyword brought in, once each
            QSet<QString> hitKeys;
            for (const auto& [number, kw] : links) {
                const QString key = kw.toLower();
                const bool brought = std::any_of(reach.begin(), reach.end(),
                                                 [&](const auto& r) { return r.contains(key); });
                if (number.toLower() == card && brought && !hitKeys.contains(key)) {
                    hitKeys.insert(key);
                    mine << cardRow(number, kw);
                }
            }
            const auto askedHit = std::count_if(
                reach.begin(), reach.end(), [&](const auto& r) { return r.intersects(hitKeys); });
            if (q.keywords.size() == 1 && !q.withSubsets && !mine.isEmpty()) {
                mine.clear(); // today's list: every link of the card
                for (const auto& [number, kw] : links)
                    if (number.toLower() == card) mine << cardRow(number, kw);
            }
            if (!q.allOf || askedHit == reach.size()) rows << mine;
        }
        rows.sort();
        return rows.isEmpty() ? QStringList{"No Match||||"} : rows;
    };

    for (int round = 0; round < 60; ++round) {
        KeywordQuery q;
        QSet<QString> distinct;
        for (int n = 1 + below(3); n > 0; --n)
            if (const QString k = names[below(10)]; !distinct.contains(k)) {
                distinct.insert(k);
                q.keywords << (below(4) == 0 ? k.toLower() : k);
            }
        q.withSubsets = below(2) == 0;
        q.allOf = below(2) == 0;
        const auto found = fillByKeywords(ctx, CardKind::Note, q);
        ASSERT_TRUE(found.ok());
        QStringList got = resultLines();
        got.sort();
        const QStringList want = expected(q);
        EXPECT_EQ(got, want) << qPrintable(q.keywords.join(',')) << q.withSubsets << q.allOf;
        EXPECT_EQ(*found, want.front() != "No Match||||");
    }
    EXPECT_EQ(keywordListCaption(CardKind::Quote, {"Cats", "Europe"}, {true, false}, false),
              "Quote + Keywords : Cats (with Subsets) or Europe");
}

// ---------------------------------------------------------------- date lists

TEST_F(Grids, DateListsAreNewestFirstAndEqualDatesFollowTheIndexBackwards) {
    // A4 and A5 have the date of A3 and were added later; A6 has none.
    for (const auto& [n, d] : {std::pair{"A1", 3}, {"A2", 5}, {"A3", 4}, {"A4", 4}, {"A5", 4}})
        note(n, "", "", day(d));
    note("A6");
    EXPECT_EQ(
        dates(CardKind::Note),
        (QStringList{"2024-01-05 09:00:00|A2", "2024-01-04 09:00:00|A5", "2024-01-04 09:00:00|A4",
                     "2024-01-04 09:00:00|A3", "2024-01-03 09:00:00|A1", "|A6"}));
    EXPECT_EQ(ctx.rs().NOTE->index(), "NoteNDX");

    EXPECT_TRUE(listByDate(ctx, CardKind::Quote).empty());
    EXPECT_EQ(ctx.rs().CIT->index(), "CitNDX");

    // The References' index Jour is on JOURHEURE, which nothing fills: the list is in the
    // reverse of the order the References were added, showing their DATE.
    reference("Smith__001", {"Smith"}, "", day(9));
    reference("Smith__002", {"Smith"}, "", day(2));
    reference("Smith__003", {"Smith"});
    EXPECT_EQ(dates(CardKind::Reference),
              (QStringList{"|Smith__003", "2024-01-02 09:00:00|Smith__002",
                           "2024-01-09 09:00:00|Smith__001"}));
    EXPECT_EQ(ctx.rs().BIBLIO->index(), "BibNDX");
}

// ---------------------------------------------------------------- other-search

TEST_F(Grids, OtherSearchPlans) {
    using A = OtherSearchPlan::Action;
    // Empty base: only the keyword "No Keyword" would be there once the main window opened.
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Note, Criterion::Date).action, A::NoRecords);
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Note, Criterion::Keyword).action, A::NoRecords);
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Note, Criterion::Author).action, A::Nothing);
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Quote, Criterion::Date).action, A::DateList);
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Reference, Criterion::Date).action, A::DateList);
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::CitOpenDate).action, A::DateList);
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::NotebyDate).action, A::NoRecords);
    EXPECT_FALSE(notesListable(ctx));

    const auto bibAuthor = planOtherSearch(ctx, CardKind::Reference, Criterion::Author);
    EXPECT_EQ(bibAuthor.action, A::Select);
    EXPECT_EQ(bibAuthor.selection,
              (SelectionRequest{"AUTEURS", "NOM", "Select Author", "AuthorSel"}));
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Quote, Criterion::Author).selection,
              (SelectionRequest{"AUTEURS", "NOM", "Select Author", "AuthorCit"}));
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::BibOpenAuthor).selection.button, "AuthorSel");
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::CitOpenAuthor).selection.button, "AuthorCit");

    // Quotes linked to keywords, no Reference linked.
    keyword("Trees");
    reference("Smith__001", {"Smith"});
    quote("SMITH001.TXT", "Smith__001");
    linkQuote("SMITH001.TXT", "Trees");
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Reference, Criterion::Keyword).action, A::NoRecords);
    const auto citKw = planOtherSearch(ctx, CardKind::Quote, Criterion::Keyword);
    EXPECT_EQ(citKw.action, A::Select);
    EXPECT_EQ(citKw.selection,
              (SelectionRequest{"CGROUP1", "GROUPE", "Select Keywords", "KWCitSel"}));
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::CitOpenKW).selection, citKw.selection);

    // A Note without any keyword: listable by date, not by keyword.
    note("ADAM0001.TXT");
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Note, Criterion::Date).action, A::DateList);
    EXPECT_EQ(planOtherSearch(ctx, CardKind::Note, Criterion::Keyword).action, A::NoRecords);
    EXPECT_FALSE(notesListable(ctx));
    linkNote("ADAM0001.TXT", "Trees");
    EXPECT_TRUE(notesListable(ctx));
    EXPECT_EQ(planMenu(ctx, RetrievalMenu::NotebyKeyword).selection,
              (SelectionRequest{"CGROUP1", "GROUPE", "Select Keyword", "KWnoteSel"}));
}

// ---------------------------------------------------------------- memory guard

TEST(MemoryGuard, BlocksOnlyWhenBothFiguresAreLow) {
    EXPECT_TRUE(memoryTooLow({1000000, 49, 2000000, 1999}));
    EXPECT_FALSE(memoryTooLow({1000000, 50, 2000000, 10}));
    EXPECT_FALSE(memoryTooLow({1000000, 10, 2000000, 2000}));
    EXPECT_EQ(alertLines({1000, 30, 4000, 1000}),
              (QStringList{"Physical memory free : 3 %", "Virtual memory free : 25 %"}));
    EXPECT_DOUBLE_EQ(freeMemoryShare({1000, 50, 0, 0}), 0.05);

    const MemoryStatus now = readMemoryStatus();
    EXPECT_GT(now.totalPhysicalKB, 0);
    EXPECT_LE(now.availPhysicalKB, now.totalPhysicalKB);
    EXPECT_GE(now.totalVirtualKB, now.totalPhysicalKB);
    EXPECT_FALSE(memoryTooLow(now));
}
