#include "core/cards/cardstore.h"
#include "support/cardtestbase.h"

using namespace vlm;
using namespace vlm::cards;

namespace {

class CardStore : public ::testing::Test, public test::CardBase {};

TEST_F(CardStore, AnOpenerReadsTheCurrentNoteWithAllItsKeywords) {
    addNote("LIND0001.TXT", "Lindqvist", "Light", "plain text", "");
    addNote("LIND0002.TXT", "Lindqvist", "Lamp", "plain", "{\\rtf1 rich}");
    QStringList many;
    for (int i = 0; i < 60; ++i) { // more than the 51 the old slots held
        many << QStringLiteral("kw%1").arg(i, 2, 10, QLatin1Char('0'));
        linkNote("LIND0002.TXT", many.back());
    }
    linkNote("LIND0001.TXT", "Optics");
    linkNote("lind0001.txt", "Waves"); // the number as the store compares it

    ctx.FindPos = 0;
    ASSERT_TRUE(noteExists("LIND0001.TXT")); // the Note is the current one
    CardSlots c = readCurrentCard(ctx, CardKind::Note);
    // No rich text: the plain text is shown.
    EXPECT_EQ((QStringList{c.number, c.author, c.title, c.text}),
              (QStringList{"LIND0001.TXT", "Lindqvist", "Light", "plain text"}));
    EXPECT_FALSE(c.richText);
    EXPECT_EQ(c.keywords, (QStringList{"Optics", "Waves"}));

    ctx.FindPos = 3;
    ASSERT_TRUE(noteExists("LIND0002.TXT"));
    c = readCurrentCard(ctx, CardKind::Note);
    EXPECT_TRUE(c.text == "{\\rtf1 rich}" && c.richText);
    EXPECT_EQ(c.keywords, many);
    EXPECT_EQ(c.findPos, 3);
}

TEST_F(CardStore, QuotesAndReferencesCarryEveryAuthorOfTheReference) {
    addReference("Smith__001");
    QStringList authors;
    for (int i = 0; i < 8; ++i) { // more than the 6 the old slots held
        authors << QStringLiteral("Author%1").arg(i);
        addAuthor("Smith__001", authors.back());
    }
    addAuthor("Smith__002", "Other");
    addQuote("SMITH001.TXT", "Smith__001");

    auto& cit = ctx.rs().CIT;
    cit->setIndex("CitNDX");
    cit->seek("=", "SMITH001.TXT");
    const CardSlots q = readCurrentCard(ctx, CardKind::Quote);
    EXPECT_EQ(q.number, "SMITH001.TXT");
    EXPECT_EQ(q.authors, authors);
    EXPECT_TRUE(q.author.isEmpty());

    auto& bib = ctx.rs().BIBLIO;
    bib->setIndex("BibNDX");
    bib->seek("=", "Smith__001");
    const CardSlots r = readCurrentCard(ctx, CardKind::Reference);
    EXPECT_EQ(r.authors, authors);
    EXPECT_TRUE(r.text.isEmpty());
}

TEST_F(CardStore, WindowNumbersCountUpAndOnlyTheLastOneIsGivenBack) {
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(takeWindowNumber(ctx, CardKind::Note), n);
    EXPECT_EQ(ctx.NoteFenNum, 3);
    EXPECT_EQ(takeWindowNumber(ctx, CardKind::Quote), 1); // each kind counts on its own
    EXPECT_EQ(ctx.CitFenNum, 1);

    releaseWindowNumber(ctx, CardKind::Note, 2); // not the last: nothing changes
    EXPECT_EQ(ctx.NoteWinCount, 3);
    releaseWindowNumber(ctx, CardKind::Note, 3);
    EXPECT_EQ(ctx.NoteWinCount, 2);
    EXPECT_EQ(takeWindowNumber(ctx, CardKind::Note), 3);
    EXPECT_EQ(windowCount(ctx, CardKind::Quote), 1);
}

TEST_F(CardStore, StoringWritesTheFourEditableFieldsOnly) {
    addNote("LI__0001.TXT", "Li", "Old", "old", "{\\rtf1 old}");
    linkNote("LI__0001.TXT", "Kept");
    EXPECT_TRUE(storeNote(ctx, "LI__0001.TXT", {"Li Wei", "New", "new", "{\\rtf1 new}"}).ok());
    QStringList stored;
    for (const char* field : {"CIT", "AUTEUR", "TITRE1", "TEXTE", "TEXTRTF"})
        stored << column("NOTE", field);
    EXPECT_EQ(stored, (QStringList{"LI__0001.TXT", "Li Wei", "New", "new", "{\\rtf1 new}"}));
    EXPECT_EQ(column("GRNOTE", "GROUPE"), QStringList{"Kept"});

    // A Note deleted meanwhile (from another window) is not brought back.
    ASSERT_TRUE(deleteNote(ctx, "LI__0001.TXT").ok());
    EXPECT_EQ(storeNote(ctx, "LI__0001.TXT", {"a", "b", "c", "d"}).status, CardStatus::Nothing);
    EXPECT_TRUE(column("NOTE", "CIT").isEmpty());
}

TEST_F(CardStore, ARefusedStoreChangesNothing) {
    addNote("LI__0001.TXT", "Li", "Old", "old", "{\\rtf1 old}");
    const CardResult r = storeNote(ctx, "LI__0001.TXT", {"Li", QString(101, 'x'), "new", "x"});
    EXPECT_EQ(r.status, CardStatus::Failed);
    EXPECT_EQ(r.store.code(), ErrorCode::FieldTooSmall);
    EXPECT_EQ(column("NOTE", "TEXTE"), QStringList{"old"});
    EXPECT_FALSE(ctx.rs().NOTE->editing());

    linkNote("LI__0001.TXT", "x");
    reopenReadOnly();
    const CardResult ro = storeNote(ctx, "LI__0001.TXT", {"Li", "t", "new", "x"});
    EXPECT_TRUE(ro.status == CardStatus::ReadOnly && ro.message == "Fichier en lecture seule !");
    EXPECT_EQ(deleteNote(ctx, "LI__0001.TXT").status, CardStatus::ReadOnly);
    EXPECT_EQ(removeNoteKeyword(ctx, "LI__0001.TXT", "x").status, CardStatus::ReadOnly);
    EXPECT_EQ(column("NOTE", "TEXTE"), QStringList{"old"});
    EXPECT_EQ(column("GRNOTE", "GROUPE"), QStringList{"x"});
}

TEST_F(CardStore, DeletingANoteOrAKeywordTakesOnlyThatNotesLinks) {
    for (const char* n : {"A___0001.TXT", "B___0001.TXT", "C___0001.TXT"})
        addNote(n);
    // "optics" is the same keyword as "Optics" for the store.
    for (const char* k : {"Optics", "Waves", "optics"})
        linkNote("A___0001.TXT", k);
    for (const char* k : {"Optics", "Waves"})
        linkNote("B___0001.TXT", k);
    linkNote("C___0001.TXT", "Waves");
    ASSERT_TRUE(removeNoteKeyword(ctx, "A___0001.TXT", "Optics").ok());
    EXPECT_EQ(cardKeywords(ctx, CardKind::Note, "A___0001.TXT"), QStringList{"Waves"});
    EXPECT_EQ(cardKeywords(ctx, CardKind::Note, "B___0001.TXT"), (QStringList{"Optics", "Waves"}));
    // Nothing to remove is no failure.
    EXPECT_TRUE(removeNoteKeyword(ctx, "A___0001.TXT", "Absent").ok());
    EXPECT_TRUE(removeNoteKeyword(ctx, "Z___0001.TXT", "Waves").ok());

    ASSERT_TRUE(deleteNote(ctx, "B___0001.TXT").ok());
    EXPECT_EQ(column("NOTE", "CIT"), (QStringList{"A___0001.TXT", "C___0001.TXT"}));
    EXPECT_EQ(column("GRNOTE", "NDX"), (QStringList{"A___0001.TXT", "C___0001.TXT"}));
    // The first Note of the table too.
    ASSERT_TRUE(deleteNote(ctx, "A___0001.TXT").ok());
    ASSERT_TRUE(deleteNote(ctx, "C___0001.TXT").ok());
    EXPECT_TRUE(column("NOTE", "CIT").isEmpty());
    EXPECT_TRUE(column("GRNOTE", "NDX").isEmpty());
}

} // namespace
