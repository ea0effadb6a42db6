#include "core/keywords/cardkeywords.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "core/store/collation.h"
#include "support/sessionbase.h"

#include <QRandomGenerator>

using namespace vlm;
using namespace vlm::keywords;

namespace {

// --- Rules shared by the lists ---

TEST(ListRules, CapitalFirstTurnsALowerCaseFirstLetterIntoACapitalAndKeepsTheRest) {
    // Pasted text is not cut; only a to z change.
    const QString cases[][2] = {
        {"p", "P"}, {"Ph", "Ph"}, {"philosophy", "Philosophy"},
        {"z", "Z"}, {"", ""},     {"1a", "1a"},
        {"{", "{"}, {"`", "`"},   {QStringLiteral("éte"), QStringLiteral("éte")}};
    for (const auto& c : cases)
        EXPECT_EQ(capitalFirst(c[0]), c[1]) << qPrintable(c[0]);
}

TEST(ListRules, OneLineNameTurnsLineBreaksAndTabsIntoOneBlankAndTrimsTheEnds) {
    // Blanks next to a break are part of the run, blanks typed as such stay, the ends are
    // trimmed, a no-break space is no break.
    const QString cases[][2] = {{"Red\nBlue", "Red Blue"},
                                {"Red\r\n\tBlue", "Red Blue"},
                                {"Red\rBlue\tGreen", "Red Blue Green"},
                                {QStringLiteral("Red\u2028Blue\u2029Green"), "Red Blue Green"},
                                {"Red \n Blue", "Red Blue"},
                                {"Red  Blue", "Red  Blue"},
                                {"  Red\n\n", "Red"},
                                {" \r\n\t ", ""},
                                {"", ""},
                                {QStringLiteral("\u00a0Red"), QStringLiteral("\u00a0Red")}};
    for (const auto& c : cases)
        EXPECT_EQ(oneLineName(c[0]), c[1]) << qPrintable(c[0]);
}

TEST(ListRules, FindStopsWhereTheTypedTextIsOrWouldBe) {
    const QStringList rows{"Apple", "Peach", "Pear", "Philosophy", "Physics", "Zoo"};
    // "Apples" is after the shorter "Apple"; past the end stays on the last row.
    const std::pair<const char*, int> atOrAfter[] = {{"Ph", 3},     {"Phy", 4}, {"Pi", 5}, {"A", 0},
                                                     {"Apples", 1}, {"Zz", 5},  {"", -1}};
    for (auto [text, row] : atOrAfter)
        EXPECT_EQ(findAtOrAfter(rows, text), row) << text;
    EXPECT_EQ(findAtOrAfter({}, "P"), -1);
    // Exact text order: a lower-case first letter comes after every capital.
    EXPECT_EQ(findAtOrAfter(QStringList{"Apple", "apple", "Banana"}, "B"), 1);

    // A prefix in the same case; "peach" does not match "Pe": the search stays on the last row.
    const QStringList mixed{"Apple", "peach", "Philosophy", "Physics", "Zoo"};
    const std::pair<const char*, int> prefix[] = {{"Ph", 2}, {"Phy", 3}, {"Pe", 4}, {"", -1}};
    for (auto [text, row] : prefix)
        EXPECT_EQ(findPrefix(mixed, text), row) << text;
}

TEST(ListRules, TopRowAfterAnAddFollowsTheScrollingRule) {
    // {found row, rows, top row}; a short list never scrolls above its first row.
    const std::tuple<int, int, std::optional<int>> found[] = {
        {0, 20, std::nullopt},  {2, 20, std::nullopt}, {3, 20, 0}, {12, 20, 9},
        {13, 20, std::nullopt}, {19, 20, 12},          {1, 5, 0}};
    for (auto [i, n, top] : found)
        EXPECT_EQ(topRowForFound(i, n), top) << i << "/" << n;
    for (auto [row, top] : {std::pair{0, 0}, {2, 0}, {3, 0}, {10, 7}})
        EXPECT_EQ(topRowForFourth(row), top) << row;
}

// --- The list editor on a base ---

class ListEditorTest : public ::testing::Test, public test::SessionBase {
protected:
    ListTexts texts = itemTexts();
};

TEST_F(ListEditorTest, FillListsTheNamesInIndexOrderByNamedOrFixedSource) {
    const ListSource kw = keywordSource(ctx);
    EXPECT_TRUE(listFill(kw).isEmpty());
    EXPECT_TRUE(listFill(tableSource(ctx, "AUTEURS", "NOM")).isEmpty());
    keywords({"cherry", "Apple", "banana"});
    put(*ctx.rs().AUTEURS, "NOM", {"Weil", "Arendt", "Simone"});
    put(*ctx.rs().AUTNOTE, "NOM", {"Me", "Colleague"});
    const QStringList kwRows{"Apple", "banana", "cherry"}, authors{"Arendt", "Simone", "Weil"};
    EXPECT_EQ(listFill(kw), kwRows);
    EXPECT_EQ(listFill(referenceAuthorSource(ctx)), authors);
    EXPECT_EQ(listFill(noteAuthorSource(ctx)), (QStringList{"Colleague", "Me"}));
    EXPECT_EQ(listFill(tableSource(ctx, "Cgroup1", "Groupe")), kwRows);
    EXPECT_EQ(listFill(tableSource(ctx, "AUTEURS", "NOM")), authors);
    // The fill works whatever index another operation left the recordset on.
    ctx.rs().CGROUP1->setIndex({});
    EXPECT_EQ(listFill(kw), kwRows);
    // Another table: a recordset of its own, ordered by the field's index.
    const ListSource types = tableSource(ctx, "TYPES", "TYPE");
    EXPECT_EQ(types.index, "TYPE");
    const QStringList all = listFill(types);
    ASSERT_EQ(all.size(), 13);
    EXPECT_EQ(all.front() + "|" + all.back(), "Article|Web");
    prompter.answer(Answer::Yes);
    EXPECT_EQ(listAdd(prompter, types, texts, all, "Thesis").outcome, AddOutcome::Added);
    EXPECT_EQ(ctx.rs().TYPES->recordCount(), 14);
    EXPECT_EQ(test::errorOf([&] { tableSource(ctx, "NOSUCH", "X"); }), store::err::NoSuchTable);
}

TEST_F(ListEditorTest, AddAsksThenStoresAndSelectsTheNewNameOrTellsWhyNot) {
    keywords({"Apple", "Cherry", "Philosophy"});
    const ListSource kw = keywordSource(ctx);
    QStringList rows = listFill(kw);
    const QString fill = " Fill in the text zone to add an item", exists = " This item exists ";
    auto ask = [](const QString& n) { return " Do you want to add " + n + " as a new item? "; };
    const QString xy = QString(15, 'X') + " " + QString(14, 'Y');
    // A name is made one line (breaks and tabs become one blank) before the rules apply, the
    // length included; names equal but for letter case are one keyword.
    const struct {
        QString typed;
        std::optional<Answer> answer;
        AddOutcome outcome;
        int row; // -1: not looked at
        QStringList messages;
        Icon icon;
    } cases[] = {
        {"", {}, AddOutcome::Empty, -1, {fill}, Icon::Information},
        {"Cherry", {}, AddOutcome::Exists, 1, {exists}, Icon::Exclamation},
        {"Banana", Answer::No, AddOutcome::Declined, -1, {ask("Banana")}, Icon::None},
        {"Banana", Answer::Yes, AddOutcome::Added, 1, {ask("Banana")}, Icon::None},
        {"PHILOSOPHY",
         Answer::Yes,
         AddOutcome::Duplicate,
         3,
         {ask("PHILOSOPHY"),
          " Philosophy exists already: names that differ only in letter case are one item "},
         Icon::None},
        {QString(31, 'X'),
         Answer::Yes,
         AddOutcome::TooLong,
         -1,
         {ask(QString(31, 'X')), " An item has at most 30 characters: nothing was added "},
         Icon::None},
        {QString(15, 'X') + "\r\n\r\n" + QString(14, 'Y'),
         Answer::Yes,
         AddOutcome::Added,
         4,
         {ask(xy)},
         Icon::None},
        {"Red\r\n\tBlue\n", Answer::Yes, AddOutcome::Added, 4, {ask("Red Blue")}, Icon::None},
        {"Red\nBlue", {}, AddOutcome::Exists, 4, {exists}, Icon::Exclamation},
        {" \n\t", {}, AddOutcome::Empty, -1, {fill}, Icon::Information},
    };
    for (const auto& c : cases) {
        prompter.clear();
        if (c.answer) prompter.answer(*c.answer);
        const AddResult r = listAdd(prompter, kw, texts, rows, c.typed);
        EXPECT_EQ(r.outcome, c.outcome) << qPrintable(c.typed);
        if (c.row >= 0) {
            EXPECT_EQ(r.row, c.row) << qPrintable(c.typed);
        }
        EXPECT_EQ(prompter.messages(), c.messages);
        EXPECT_EQ(prompter.shown()[0].icon, c.icon);
        EXPECT_EQ(prompter.shown()[0].buttons == Buttons::YesNo, c.answer.has_value());
        if (r.outcome == AddOutcome::Added) rows = r.rows;
        EXPECT_EQ(listFill(kw), rows) << qPrintable(c.typed);
    }
    EXPECT_EQ(rows, (QStringList{"Apple", "Banana", "Cherry", "Philosophy", "Red Blue", xy}));
}

TEST_F(ListEditorTest, AuthorsMayDifferOnlyInLetterCaseAndTheDiscardTakesTheExactOne) {
    const ListSource authors = referenceAuthorSource(ctx);
    put(*ctx.rs().AUTEURS, "NOM", {"Smith", "Arendt"});
    put(*ctx.rs().AUTNDX, "AUTEUR", {"Smith"});
    prompter.answer(Answer::Yes);
    const AddResult r = listAdd(prompter, authors, texts, listFill(authors), "smith");
    ASSERT_EQ(r.outcome, AddOutcome::Added);
    EXPECT_EQ(r.rows, (QStringList{"Arendt", "Smith", "smith"}));
    EXPECT_EQ(r.row, 2);

    // Discarding "smith" must not take "Smith", stored first under an equal key.
    prompter.answer(Answer::Ok);
    const DiscardResult d = listDiscard(prompter, authors, texts, r.rows, 2);
    EXPECT_EQ(d.outcome, DiscardOutcome::Discarded);
    EXPECT_EQ(d.rows, (QStringList{"Arendt", "Smith"}));
    EXPECT_EQ(column(*ctx.rs().AUTEURS, "NOM"), (QStringList{"Smith", "Arendt"}));
    // The author links of References stay.
    EXPECT_EQ(column(*ctx.rs().AUTNDX, "AUTEUR"), QStringList{"Smith"});

    // The same on the Note authors, the first stored of the two.
    put(*ctx.rs().AUTNOTE, "NOM", {"Me", "me"});
    prompter.answer(Answer::Ok);
    listDiscard(prompter, noteAuthorSource(ctx), texts, {"Me", "me"}, 0);
    EXPECT_EQ(column(*ctx.rs().AUTNOTE, "NOM"), QStringList{"me"});
}

TEST_F(ListEditorTest, DiscardAsksWithOkAndCancelAndKeepsLinksAndTheLastName) {
    keywords({"Apple", "Banana", "Cherry"});
    cardLink(*ctx.rs().GRNOTE, "Banana", "N1");
    test::addRow(*ctx.rs().GROUP2, {{"GROUPE", "Banana"}, {"GROUPE2", "Apple"}});
    const ListSource kw = keywordSource(ctx);
    const QStringList rows = listFill(kw);

    prompter.answer(Answer::Cancel);
    DiscardResult d = listDiscard(prompter, kw, texts, rows, 1);
    EXPECT_EQ(d.outcome, DiscardOutcome::Cancelled);
    ASSERT_TRUE(prompter.said({"discard this item ?"}, Icon::Question));
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(d.rows, rows);
    EXPECT_EQ(listFill(kw), rows);

    prompter.answer(Answer::Ok);
    d = listDiscard(prompter, kw, texts, rows, 1);
    EXPECT_TRUE(d.outcome == DiscardOutcome::Discarded && d.name == "Banana");
    EXPECT_EQ(d.rows, (QStringList{"Apple", "Cherry"}));
    EXPECT_EQ(listFill(kw), d.rows);
    EXPECT_EQ(column(*ctx.rs().GRNOTE, "GROUPE") + column(*ctx.rs().GROUP2, "GROUPE"),
              QStringList(2, "Banana"));

    // Down to one name: the question, then the refusal.
    prompter.reply(Answer::Ok);
    d = listDiscard(prompter, kw, texts, QStringList{"Apple"}, 0);
    EXPECT_EQ(d.outcome, DiscardOutcome::LastOne);
    EXPECT_TRUE(
        prompter.said({"discard this item ?", "The list cannot be empty sorry"}, Icon::Critical));
    EXPECT_EQ(ctx.rs().CGROUP1->recordCount(), 2);
}

TEST_F(ListEditorTest, AReadOnlyBaseRefusesAddDiscardAndAttachAndStaysAsItWas) {
    keywords({"Apple", "Banana"});
    cardLink(*ctx.rs().GRNOTE, "Art", "N1");
    reopenReadOnly();
    const ListSource kw = keywordSource(ctx);
    const QStringList rows = listFill(kw);

    prompter.answer(Answer::Yes);
    const AddResult a = listAdd(prompter, kw, texts, rows, "Cherry");
    EXPECT_EQ(a.outcome, AddOutcome::ReadOnly);
    EXPECT_TRUE(prompter.messages().last() == "Fichier en lecture seule !" &&
                prompter.shown().back().icon == Icon::Exclamation);

    prompter.answer(Answer::Ok);
    const DiscardResult d = listDiscard(prompter, kw, texts, rows, 0);
    EXPECT_EQ(d.outcome, DiscardOutcome::ReadOnly);
    EXPECT_EQ(d.rows, rows); // the row stays in the list
    EXPECT_EQ(prompter.messages().last(), "Fichier en lecture seule !");
    EXPECT_EQ(prompter.shown().back().icon, Icon::Critical);
    EXPECT_EQ(listFill(kw), rows);

    const AttachResult r = KWNoteSelect(ctx, "N1", {"Zen", "Ethics"});
    EXPECT_TRUE(r.status == AttachStatus::ReadOnly && r.message == "Fichier en lecture seule !");
    EXPECT_EQ(r.keywords, QStringList{"Art"});
    EXPECT_FALSE(ctx.KWChanged);

    ctx.base.closeBase();
    auto db = test::openBase(path());
    EXPECT_EQ(db->openRecordset("CGROUP1")->recordCount(), 2);
    EXPECT_EQ(db->openRecordset("GRNOTE")->recordCount(), 1);
}

// --- Attaching keywords to a card ---

TEST_F(ListEditorTest, AttachWritesOneLinkPerDistinctKeywordAndReportsTheOnesAlreadyThere) {
    auto& gn = *ctx.rs().GRNOTE;
    for (auto [kw, card] : {std::pair{"Ethics", "N2"}, {"Cinema", "N1"}})
        cardLink(gn, kw, card);
    const AttachResult r =
        KWNoteSelect(ctx, "N1", {"Ethics", "Art", "Ethics", "cinema", "", "Art", "Zen"});
    EXPECT_EQ(r.status, AttachStatus::Done);
    EXPECT_EQ(r.added, (QStringList{"Ethics", "Art", "Zen"})); // no empty name
    EXPECT_EQ(r.message, " This card already carries the Keyword cinema : it was not added again ");
    EXPECT_TRUE(ctx.KWChanged);
    EXPECT_EQ(column(gn, "GROUPE"), (QStringList{"Ethics", "Cinema", "Ethics", "Art", "Zen"}));
    EXPECT_EQ(column(gn, "NDX"), (QStringList{"N2", "N1", "N1", "N1", "N1"}));

    // Everything already there: nothing written, KWChanged untouched.
    ctx.KWChanged = false;
    EXPECT_EQ(KWNoteSelect(ctx, "N1", {"Zen", "Art"}).message,
              " This card already carries the Keywords Zen, Art : they were not added again ");
    EXPECT_FALSE(ctx.KWChanged);

    EXPECT_EQ(KWNoteSelect(ctx, "N1", {"", ""}).status, AttachStatus::Nothing);

    // Quotes and References get their links in their own tables.
    EXPECT_TRUE(KWCitAdd(ctx, "C1", {"Art", "Art"}).ok());
    EXPECT_TRUE(KWBibAdd(ctx, "B1", {"Zen", "Art"}).ok());
    EXPECT_EQ(column(*ctx.rs().GRCIT, "GROUPE") + column(*ctx.rs().GRCIT, "NDX"),
              (QStringList{"Art", "C1"}));
    EXPECT_EQ(column(*ctx.rs().GRBIB, "GROUPE"), (QStringList{"Zen", "Art"}));
    EXPECT_EQ(cardKeywords(ctx, CardKind::Reference, "B1"), (QStringList{"Zen", "Art"}));
    EXPECT_TRUE(cardKeywords(ctx, CardKind::Note, "B1").isEmpty());
    EXPECT_EQ(gn.recordCount(), 5);
}

TEST_F(ListEditorTest, AttachAgreesWithAPlainScanOnRandomPicks) {
    const QStringList pool =
        QStringLiteral("Art art ART Zen zen Ethics Ethic Été été Ete").split(' ');
    QRandomGenerator rnd(20240611);
    auto& gn = *ctx.rs().GRNOTE;
    for (int round = 0; round < 40; ++round) {
        const QString card = QStringLiteral("N%1").arg(round);
        QStringList before;
        for (int i = rnd.bounded(3); i > 0; --i) {
            before << pool[rnd.bounded(pool.size())];
            cardLink(gn, before.back(), card);
        }
        QStringList picks;
        for (int i = rnd.bounded(8); i > 0; --i)
            picks << pool[rnd.bounded(pool.size())];

        // Plain reading: each pick in turn, skipped when the card or an earlier pick has it.
        QStringList expectAdded, expectThere, seen;
        auto has = [](const QStringList& l, const QString& n) {
            return std::any_of(l.begin(), l.end(),
                               [&](auto& x) { return store::compareText(x, n) == 0; });
        };
        for (const QString& p : picks) {
            if (has(seen, p)) continue;
            seen << p;
            (has(before, p) ? expectThere : expectAdded) << p;
        }
        const AttachResult r = KWNoteSelect(ctx, card, picks);
        EXPECT_EQ(r.added, expectAdded) << round;
        EXPECT_EQ(r.alreadyThere, expectThere) << round;
        EXPECT_EQ(r.keywords, before + expectAdded) << round;
    }
}

} // namespace
