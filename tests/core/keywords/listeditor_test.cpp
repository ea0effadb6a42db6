#include "core/keywords/cardkeywords.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/storeerror.h"
#include "support/sessionbase.h"

#include <QRandomGenerator>

using namespace vlm;
using namespace vlm::keywords;

namespace {

// --- Rules shared by the lists ---

TEST(ListRules, CapitalFirstTurnsALowerCaseFirstLetterIntoACapitalAndKeepsTheRest) {
    EXPECT_EQ(capitalFirst("p"), "P");
    EXPECT_EQ(capitalFirst("Ph"), "Ph");
    EXPECT_EQ(capitalFirst("philosophy"), "Philosophy"); // pasted text is not cut
    EXPECT_EQ(capitalFirst("z"), "Z");
    EXPECT_EQ(capitalFirst(""), "");
    EXPECT_EQ(capitalFirst("1a"), "1a");
    EXPECT_EQ(capitalFirst(QStringLiteral("éte")), QStringLiteral("éte")); // a to z only
    EXPECT_EQ(capitalFirst("{"), "{");
    EXPECT_EQ(capitalFirst("`"), "`");
}

TEST(ListRules, OneLineNameTurnsLineBreaksAndTabsIntoOneBlankAndTrimsTheEnds) {
    const struct {
        QString in, out;
    } cases[] = {
        {"Red\nBlue", "Red Blue"},
        {"Red\r\n\tBlue", "Red Blue"},
        {"Red\rBlue\tGreen", "Red Blue Green"},
        {QStringLiteral("Red\u2028Blue\u2029Green"), "Red Blue Green"},
        {"Red \n Blue", "Red Blue"}, // blanks next to a break are part of the run
        {"Red  Blue", "Red  Blue"},  // blanks typed as such stay
        {"  Red\n\n", "Red"},        // the ends are trimmed
        {" \r\n\t ", ""},
        {"", ""},
        {QStringLiteral("\u00a0Red"), QStringLiteral("\u00a0Red")}, // a no-break space is no break
    };
    for (const auto& c : cases)
        EXPECT_EQ(oneLineName(c.in), c.out) << qPrintable(c.in);
}

TEST(ListRules, FindAtOrAfterStopsWhereTheTypedTextIsOrWouldBe) {
    const QStringList rows{"Apple", "Peach", "Pear", "Philosophy", "Physics", "Zoo"};
    EXPECT_EQ(findAtOrAfter(rows, "Ph"), 3);
    EXPECT_EQ(findAtOrAfter(rows, "Phy"), 4);
    EXPECT_EQ(findAtOrAfter(rows, "Pi"), 5); // between Physics and Zoo
    EXPECT_EQ(findAtOrAfter(rows, "A"), 0);
    EXPECT_EQ(findAtOrAfter(rows, "Apples"), 1); // "Apple" is shorter, so smaller
    EXPECT_EQ(findAtOrAfter(rows, "Zz"), 5);     // past the end: the last row
    EXPECT_EQ(findAtOrAfter(rows, ""), -1);
    EXPECT_EQ(findAtOrAfter({}, "P"), -1);
    // Exact text order: a lower-case first letter comes after every capital.
    EXPECT_EQ(findAtOrAfter(QStringList{"Apple", "apple", "Banana"}, "B"), 1);
}

TEST(ListRules, FindPrefixWantsTheSameBeginningInTheSameCase) {
    const QStringList rows{"Apple", "peach", "Philosophy", "Physics", "Zoo"};
    EXPECT_EQ(findPrefix(rows, "Ph"), 2);
    EXPECT_EQ(findPrefix(rows, "Phy"), 3);
    EXPECT_EQ(findPrefix(rows, "Pe"), 4); // "peach" does not match: stays on the last row
    EXPECT_EQ(findPrefix(rows, ""), -1);
}

TEST(ListRules, TopRowAfterAnAddFollowsTheScrollingRule) {
    EXPECT_EQ(topRowForFound(0, 20), std::nullopt);
    EXPECT_EQ(topRowForFound(2, 20), std::nullopt);
    EXPECT_EQ(topRowForFound(3, 20), 0);
    EXPECT_EQ(topRowForFound(12, 20), 9);
    EXPECT_EQ(topRowForFound(13, 20), std::nullopt); // i == n - 7
    EXPECT_EQ(topRowForFound(19, 20), 12);
    EXPECT_EQ(topRowForFound(1, 5), 0); // a short list never scrolls above its first row
    EXPECT_EQ(topRowForFourth(0), 0);
    EXPECT_EQ(topRowForFourth(2), 0);
    EXPECT_EQ(topRowForFourth(3), 0);
    EXPECT_EQ(topRowForFourth(10), 7);
}

// --- The list editor on a base ---

class ListEditorTest : public ::testing::Test, public test::SessionBase {
protected:
    ListTexts texts = itemTexts();
};

TEST_F(ListEditorTest, FillListsTheNamesInIndexOrderAndNothingForAnEmptyTable) {
    const ListSource kw = keywordSource(ctx);
    EXPECT_TRUE(listFill(kw).isEmpty());
    keywords({"cherry", "Apple", "banana"});
    EXPECT_EQ(listFill(kw), (QStringList{"Apple", "banana", "cherry"}));

    const ListSource authors = referenceAuthorSource(ctx);
    EXPECT_TRUE(listFill(authors).isEmpty());
    put(*ctx.rs().AUTEURS, "NOM", {"Weil", "Arendt", "Simone"});
    EXPECT_EQ(listFill(authors), (QStringList{"Arendt", "Simone", "Weil"}));

    put(*ctx.rs().AUTNOTE, "NOM", {"Me", "Colleague"});
    EXPECT_EQ(listFill(noteAuthorSource(ctx)), (QStringList{"Colleague", "Me"}));
    // The fill works whatever index another operation left the recordset on.
    ctx.rs().CGROUP1->setIndex({});
    EXPECT_EQ(listFill(kw).front(), "Apple");
}

TEST_F(ListEditorTest, ACallerNamesTheSourceByTableAndField) {
    keywords({"Zen", "Art"});
    put(*ctx.rs().AUTNOTE, "NOM", {"Me"});
    EXPECT_EQ(listFill(tableSource(ctx, "Cgroup1", "Groupe")), (QStringList{"Art", "Zen"}));
    EXPECT_EQ(listFill(tableSource(ctx, "AUTNOTE", "NOM")), QStringList{"Me"});
    EXPECT_TRUE(listFill(tableSource(ctx, "AUTEURS", "NOM")).isEmpty());
    // Another table: a recordset of its own, ordered by the field's index.
    const ListSource types = tableSource(ctx, "TYPES", "TYPE");
    EXPECT_EQ(types.index, "TYPE");
    const QStringList all = listFill(types);
    ASSERT_EQ(all.size(), 13);
    EXPECT_EQ(all.front(), "Article");
    EXPECT_EQ(all.back(), "Web");
    prompter.answer(Answer::Yes);
    EXPECT_EQ(listAdd(prompter, types, texts, all, "Thesis").outcome, AddOutcome::Added);
    EXPECT_EQ(ctx.rs().TYPES->recordCount(), 14);
    EXPECT_EQ(test::errorOf([&] { tableSource(ctx, "NOSUCH", "X"); }), store::err::NoSuchTable);
}

TEST_F(ListEditorTest, AddAsksThenStoresAndSelectsTheNewName) {
    keywords({"Apple", "Cherry"});
    const ListSource kw = keywordSource(ctx);
    const QStringList rows = listFill(kw);

    AddResult r = listAdd(prompter, kw, texts, rows, "");
    EXPECT_EQ(r.outcome, AddOutcome::Empty);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, " Fill in the text zone to add an item");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Information);

    prompter.clear();
    r = listAdd(prompter, kw, texts, rows, "Cherry");
    EXPECT_EQ(r.outcome, AddOutcome::Exists);
    EXPECT_EQ(r.row, 1);
    ASSERT_EQ(prompter.shown().size(), 1u); // no question asked
    EXPECT_EQ(prompter.shown()[0].text, " This item exists ");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Exclamation);

    prompter.clear();
    prompter.answer(Answer::No);
    r = listAdd(prompter, kw, texts, rows, "Banana");
    EXPECT_EQ(r.outcome, AddOutcome::Declined);
    EXPECT_EQ(prompter.messages(), QStringList{" Do you want to add Banana as a new item? "});
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.shown()[0].icon, Icon::None);
    EXPECT_EQ(listFill(kw), rows);

    prompter.clear();
    prompter.answer(Answer::Yes);
    r = listAdd(prompter, kw, texts, rows, "Banana");
    EXPECT_EQ(r.outcome, AddOutcome::Added);
    EXPECT_EQ(r.rows, (QStringList{"Apple", "Banana", "Cherry"}));
    EXPECT_EQ(r.row, 1);
    EXPECT_EQ(prompter.messages().size(), 1); // the question only
    EXPECT_EQ(listFill(kw), r.rows);

    // A name is one line: breaks and tabs become one blank before the rules apply.
    prompter.clear();
    prompter.answer(Answer::Yes);
    r = listAdd(prompter, kw, texts, r.rows, "Red\r\n\tBlue\n");
    EXPECT_EQ(r.outcome, AddOutcome::Added);
    EXPECT_EQ(prompter.messages(), QStringList{" Do you want to add Red Blue as a new item? "});
    EXPECT_EQ(r.rows.at(r.row), "Red Blue");
    EXPECT_EQ(listAdd(prompter, kw, texts, r.rows, "Red\nBlue").outcome, AddOutcome::Exists);
    EXPECT_EQ(listAdd(prompter, kw, texts, r.rows, " \n\t").outcome, AddOutcome::Empty);
    EXPECT_EQ(prompter.messages().last(), " Fill in the text zone to add an item");
    EXPECT_EQ(ctx.rs().CGROUP1->recordCount(), 4);
}

TEST_F(ListEditorTest, AKeywordEqualButForLetterCaseIsRefusedAndTheUserIsToldWhich) {
    keywords({"Apple", "Philosophy"});
    const ListSource kw = keywordSource(ctx);
    const QStringList rows = listFill(kw);
    prompter.answer(Answer::Yes);
    const AddResult r = listAdd(prompter, kw, texts, rows, "PHILOSOPHY");
    EXPECT_EQ(r.outcome, AddOutcome::Duplicate);
    EXPECT_EQ(r.rows, rows);
    EXPECT_EQ(r.row, 1);
    EXPECT_EQ(prompter.messages().last(),
              " Philosophy exists already: names that differ only in letter case are one item ");
    EXPECT_EQ(column(*ctx.rs().CGROUP1, "GROUPE"), (QStringList{"Apple", "Philosophy"}));

    prompter.answer(Answer::Yes);
    const AddResult tooLong = listAdd(prompter, kw, texts, rows, QString(31, 'X'));
    EXPECT_EQ(tooLong.outcome, AddOutcome::TooLong);
    EXPECT_EQ(prompter.messages().last(), " An item has at most 30 characters: nothing was added ");
    EXPECT_EQ(ctx.rs().CGROUP1->recordCount(), 2);
    // The length counted is that of the name made one line.
    prompter.answer(Answer::Yes);
    const QString folded = QString(15, 'X') + "\r\n\r\n" + QString(14, 'Y');
    EXPECT_EQ(listAdd(prompter, kw, texts, rows, folded).outcome, AddOutcome::Added);
}

TEST_F(ListEditorTest, AuthorsMayDifferOnlyInLetterCaseAndTheDiscardTakesTheExactOne) {
    const ListSource authors = referenceAuthorSource(ctx);
    put(*ctx.rs().AUTEURS, "NOM", {"Smith", "Arendt"});
    put(*ctx.rs().AUTNDX, "AUTEUR", {"Smith"});
    QStringList rows = listFill(authors);
    prompter.answer(Answer::Yes);
    AddResult r = listAdd(prompter, authors, texts, rows, "smith");
    ASSERT_EQ(r.outcome, AddOutcome::Added);
    EXPECT_EQ(r.rows, (QStringList{"Arendt", "Smith", "smith"}));
    EXPECT_EQ(r.row, 2);

    // Discarding "smith" must not take "Smith", stored first under an equal key.
    prompter.answer(Answer::Ok);
    DiscardResult d = listDiscard(prompter, authors, texts, r.rows, 2);
    EXPECT_EQ(d.outcome, DiscardOutcome::Discarded);
    EXPECT_EQ(d.rows, (QStringList{"Arendt", "Smith"}));
    EXPECT_EQ(column(*ctx.rs().AUTEURS, "NOM"), (QStringList{"Smith", "Arendt"}));
    // The author links of References stay.
    EXPECT_EQ(column(*ctx.rs().AUTNDX, "AUTEUR"), QStringList{"Smith"});

    // The same on the Note authors.
    const ListSource noteAuthors = noteAuthorSource(ctx);
    put(*ctx.rs().AUTNOTE, "NOM", {"Me", "me"});
    rows = listFill(noteAuthors);
    ASSERT_EQ(rows, (QStringList{"Me", "me"}));
    prompter.answer(Answer::Ok);
    d = listDiscard(prompter, noteAuthors, texts, rows, 0);
    EXPECT_EQ(d.outcome, DiscardOutcome::Discarded);
    EXPECT_EQ(column(*ctx.rs().AUTNOTE, "NOM"), QStringList{"me"});
}

TEST_F(ListEditorTest, DiscardAsksWithOkAndCancelAndKeepsLinksAndTheLastName) {
    keywords({"Apple", "Banana", "Cherry"});
    cardLink(*ctx.rs().GRNOTE, "Banana", "N1");
    auto& g = ctx.rs().GROUP2;
    g->addNew();
    g.GROUPE = "Banana";
    g.GROUPE2 = "Apple";
    g->update();

    const ListSource kw = keywordSource(ctx);
    QStringList rows = listFill(kw);

    prompter.answer(Answer::Cancel);
    DiscardResult d = listDiscard(prompter, kw, texts, rows, 1);
    EXPECT_EQ(d.outcome, DiscardOutcome::Cancelled);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "discard this item ?");
    EXPECT_EQ(prompter.shown()[0].icon, Icon::Question);
    EXPECT_EQ(prompter.shown()[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(d.rows, rows);
    EXPECT_EQ(listFill(kw), rows);

    prompter.answer(Answer::Ok);
    d = listDiscard(prompter, kw, texts, rows, 1);
    EXPECT_EQ(d.outcome, DiscardOutcome::Discarded);
    EXPECT_EQ(d.name, "Banana");
    EXPECT_EQ(d.rows, (QStringList{"Apple", "Cherry"}));
    EXPECT_EQ(listFill(kw), d.rows);
    EXPECT_EQ(column(*ctx.rs().GRNOTE, "GROUPE"), QStringList{"Banana"});
    EXPECT_EQ(column(*ctx.rs().GROUP2, "GROUPE"), QStringList{"Banana"});

    // Down to one name: the question, then the refusal.
    prompter.clear();
    prompter.answer(Answer::Ok);
    d = listDiscard(prompter, kw, texts, QStringList{"Apple"}, 0);
    EXPECT_EQ(d.outcome, DiscardOutcome::LastOne);
    EXPECT_EQ(prompter.messages(),
              (QStringList{"discard this item ?", "The list cannot be empty sorry"}));
    EXPECT_EQ(prompter.shown()[1].icon, Icon::Critical);
    EXPECT_EQ(ctx.rs().CGROUP1->recordCount(), 2);
}

TEST_F(ListEditorTest, AReadOnlyBaseRefusesAddAndDiscardAndStaysAsItWas) {
    keywords({"Apple", "Banana"});
    reopenReadOnly();
    const ListSource kw = keywordSource(ctx);
    const QStringList rows = listFill(kw);

    prompter.answer(Answer::Yes);
    const AddResult a = listAdd(prompter, kw, texts, rows, "Cherry");
    EXPECT_EQ(a.outcome, AddOutcome::ReadOnly);
    EXPECT_EQ(prompter.messages().last(), "Fichier en lecture seule !");
    EXPECT_EQ(prompter.shown().back().icon, Icon::Exclamation);

    prompter.answer(Answer::Ok);
    const DiscardResult d = listDiscard(prompter, kw, texts, rows, 0);
    EXPECT_EQ(d.outcome, DiscardOutcome::ReadOnly);
    EXPECT_EQ(d.rows, rows); // the row stays in the list
    EXPECT_EQ(prompter.messages().last(), "Fichier en lecture seule !");
    EXPECT_EQ(prompter.shown().back().icon, Icon::Critical);
    EXPECT_EQ(listFill(kw), rows);

    ctx.base.closeBase();
    auto db = test::openBase(path());
    auto rs = db->openRecordset("CGROUP1");
    EXPECT_EQ(rs->recordCount(), 2);
}

// --- Attaching keywords to a card ---

TEST_F(ListEditorTest, AttachWritesOneLinkPerDistinctKeywordAndReportsTheOnesAlreadyThere) {
    auto& gn = *ctx.rs().GRNOTE;
    cardLink(gn, "Ethics", "N2");
    cardLink(gn, "Cinema", "N1");
    const AttachResult r =
        KWNoteSelect(ctx, "N1", {"Ethics", "Art", "Ethics", "cinema", "", "Art", "Zen"});
    EXPECT_EQ(r.status, AttachStatus::Done);
    EXPECT_EQ(r.added, (QStringList{"Ethics", "Art", "Zen"}));
    EXPECT_EQ(r.alreadyThere, QStringList{"cinema"});
    EXPECT_EQ(r.message, " This card already carries the Keyword cinema : it was not added again ");
    EXPECT_EQ(r.keywords, (QStringList{"Cinema", "Ethics", "Art", "Zen"}));
    EXPECT_TRUE(ctx.KWChanged);
    EXPECT_EQ(column(gn, "GROUPE"), (QStringList{"Ethics", "Cinema", "Ethics", "Art", "Zen"}));
    EXPECT_EQ(column(gn, "NDX"), (QStringList{"N2", "N1", "N1", "N1", "N1"}));

    // Everything already there: nothing written, KWChanged untouched.
    ctx.KWChanged = false;
    const AttachResult again = KWNoteSelect(ctx, "N1", {"Zen", "Art"});
    EXPECT_TRUE(again.added.isEmpty());
    EXPECT_EQ(again.message,
              " This card already carries the Keywords Zen, Art : they were not added again ");
    EXPECT_FALSE(ctx.KWChanged);
    EXPECT_EQ(gn.recordCount(), 5);

    EXPECT_EQ(KWNoteSelect(ctx, "N1", {"", ""}).status, AttachStatus::Nothing);
}

TEST_F(ListEditorTest, QuotesAndReferencesGetTheirLinksInTheirOwnTables) {
    EXPECT_TRUE(KWCitAdd(ctx, "C1", {"Art", "Art"}).ok());
    EXPECT_TRUE(KWBibAdd(ctx, "B1", {"Zen", "Art"}).ok());
    EXPECT_EQ(column(*ctx.rs().GRCIT, "GROUPE"), QStringList{"Art"});
    EXPECT_EQ(column(*ctx.rs().GRCIT, "NDX"), QStringList{"C1"});
    EXPECT_EQ(column(*ctx.rs().GRBIB, "GROUPE"), (QStringList{"Zen", "Art"}));
    EXPECT_EQ(cardKeywords(ctx, CardKind::Reference, "B1"), (QStringList{"Zen", "Art"}));
    EXPECT_EQ(ctx.rs().GRNOTE->recordCount(), 0);
    EXPECT_TRUE(cardKeywords(ctx, CardKind::Note, "B1").isEmpty());
}

TEST_F(ListEditorTest, AttachOnAReadOnlyBaseWritesNothing) {
    cardLink(*ctx.rs().GRNOTE, "Art", "N1");
    reopenReadOnly();
    const AttachResult r = KWNoteSelect(ctx, "N1", {"Zen", "Ethics"});
    EXPECT_EQ(r.status, AttachStatus::ReadOnly);
    EXPECT_EQ(r.message, "Fichier en lecture seule !");
    EXPECT_EQ(r.keywords, QStringList{"Art"});
    EXPECT_FALSE(ctx.KWChanged);
    EXPECT_EQ(ctx.rs().GRNOTE->recordCount(), 1);
}

TEST_F(ListEditorTest, AttachAgreesWithAPlainScanOnRandomPicks) {
    const QStringList pool{"Art",
                           "art",
                           "ART",
                           "Zen",
                           "zen",
                           "Ethics",
                           "Ethic",
                           QStringLiteral("Été"),
                           QStringLiteral("été"),
                           "Ete"};
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
            for (const QString& x : l)
                if (store::compareText(x, n) == 0) return true;
            return false;
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
