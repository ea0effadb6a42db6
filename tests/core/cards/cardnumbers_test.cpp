#include "core/cards/cardnumbers.h"
#include "core/cards/cardstore.h"
#include "core/store/collation.h"
#include "support/cardtestbase.h"

#include <QRandomGenerator>

using namespace vlm;
using namespace vlm::cards;

namespace {

class CardNumbers : public ::testing::Test, public test::CardBase {
protected:
    QString newNote(const QString& author) {
        const CardResult r = createNoteRecord(ctx, {author});
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        return r.number;
    }
    QString newReference(const QStringList& authors) {
        const CardResult r = createReference(ctx, authors);
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        return r.number;
    }

    // The numbering as it is described: try counter 1, 2, ... with a seek each.
    QString plainFirstFree(store::Recordset& rs, const QString& index, const QString& prefix,
                           NumberForm form) {
        rs.setIndex(index);
        for (int c = 1; c <= kMaxCardCounter; ++c) {
            rs.seek(QStringLiteral("="), form(prefix, c));
            if (rs.noMatch()) return form(prefix, c);
        }
        return {};
    }
};

TEST(CardNumberForms, PrefixesArePaddedCutAndCasedByKind) {
    EXPECT_EQ(notePrefix("Li"), "LI__");
    EXPECT_EQ(notePrefix("Lindqvist"), "LIND");
    EXPECT_EQ(notePrefix(""), "____");
    EXPECT_EQ(noteNumber(notePrefix("Li"), 1), "LI__0001.TXT");
    EXPECT_EQ(noteNumber("LIND", 10000), "LIND10000.TXT");

    EXPECT_EQ(referencePrefix("Smith"), "Smith__");
    EXPECT_EQ(referencePrefix("van Beethoven"), "van Bee");
    EXPECT_EQ(referenceNumber("Smith__", 1), "Smith__001");
    EXPECT_EQ(referenceNumber("Smith__", 1000), "Smith__1000");

    EXPECT_EQ(quotePrefix("Smith__001"), "SMITH");
    EXPECT_EQ(quotePrefix("ab"), "AB___");
    EXPECT_EQ(quoteNumber("SMITH", 7), "SMITH007.TXT");

    // Upper case keeps the prefix at its length, and a character outside the basic plane is
    // never cut in half.
    EXPECT_EQ(notePrefix(QString::fromUtf8("straße")), QString::fromUtf8("STRA"));
    EXPECT_EQ(notePrefix(QString::fromUtf8("ßé")), QString::fromUtf8("ßÉ__"));
    EXPECT_EQ(notePrefix(QString::fromUtf8("abc😀")), "ABC_");
    EXPECT_EQ(notePrefix(QString::fromUtf8("ab😀")), QString::fromUtf8("AB😀"));
}

TEST_F(CardNumbers, NotesTakeTheFirstFreeNumberOfTheirAuthor) {
    EXPECT_EQ(newNote("Li"), "LI__0001.TXT");
    EXPECT_EQ(newNote("Lindqvist"), "LIND0001.TXT");
    EXPECT_EQ(newNote("Lindqvist"), "LIND0002.TXT");
    EXPECT_EQ(newNote("lindberg"), "LIND0003.TXT"); // one counter per prefix
    EXPECT_EQ(column("NOTE", "AUTEUR"), (QStringList{"Li", "Lindqvist", "Lindqvist", "lindberg"}));

    // The new Note is the current record, dated now, ready for its window.
    EXPECT_EQ(ctx.rs().NOTE.CIT.text(), "LIND0003.TXT");
    EXPECT_EQ(ctx.rs().NOTE.AUTEUR.text(), "lindberg");
    const QDateTime when = ctx.rs().NOTE.JOUR.value().toDateTime();
    EXPECT_LE(qAbs(when.secsTo(QDateTime::currentDateTime())), 60);

    // Only the first picked author makes a Note, and an empty pick makes none.
    EXPECT_EQ(createNoteRecord(ctx, {"Ada", "Grace"}).number, "ADA_0001.TXT");
    EXPECT_EQ(createNoteRecord(ctx, {}).status, CardStatus::Nothing);
    EXPECT_EQ(createNoteRecord(ctx, {"", "Grace"}).status, CardStatus::Nothing);
    EXPECT_EQ(createReference(ctx, {""}).status, CardStatus::Nothing);
    EXPECT_EQ(ctx.rs().NOTE.AUTEUR.text(), "Ada");
    EXPECT_EQ(column("NOTE", "CIT").size(), 5);
    EXPECT_TRUE(column("BIBLIO", "NDX").isEmpty());
}

TEST_F(CardNumbers, AReferenceKeepsEveryPickedAuthor) {
    EXPECT_EQ(newReference({"Smith", "Jones"}), "Smith__001");
    EXPECT_EQ(column("AUTNDX", "AUTEUR"), (QStringList{"Smith", "Jones"}));
    EXPECT_EQ(column("AUTNDX", "NDX"), (QStringList{"Smith__001", "Smith__001"}));
    EXPECT_EQ(column("BIBLIO", "AUTEUR"), QStringList{"Smith Jones "});
    EXPECT_EQ(ctx.rs().BIBLIO.NDX.text(), "Smith__001"); // current, for the type dialog

    // Seven authors: all are kept, in the order picked.
    const QStringList seven{"A", "B", "C", "D", "E", "F", "G"};
    EXPECT_EQ(newReference(seven), "A______001");
    EXPECT_EQ(referenceAuthors(ctx, "A______001"), seven);
    EXPECT_EQ(ctx.rs().BIBLIO.AUTEUR.text(), "A B C D E F G ");
}

TEST_F(CardNumbers, ARefusedReferenceLeavesNothingBehind) {
    // An author list longer than BIBLIO.AUTEUR holds: the record, and the author links
    // already written, go back out.
    QStringList many;
    for (int i = 0; i < 10; ++i)
        many << QStringLiteral("Author number %1 of many").arg(i);
    const CardResult r = createReference(ctx, many);
    EXPECT_EQ(r.status, CardStatus::Failed);
    EXPECT_EQ(r.store.code(), ErrorCode::FieldTooSmall);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_TRUE(column("BIBLIO", "NDX").isEmpty());
    EXPECT_TRUE(column("AUTNDX", "NDX").isEmpty());
    // The number is still free afterwards.
    EXPECT_EQ(newReference({"Author number 0"}), "Author 001");
}

TEST_F(CardNumbers, AReadOnlyBaseCreatesNothing) {
    addNote("LIND0001.TXT", "Lindqvist");
    reopenReadOnly();
    for (const CardResult& r :
         {createNoteRecord(ctx, {"Lindqvist"}), createReference(ctx, {"Smith", "Jones"})}) {
        EXPECT_EQ(r.status, CardStatus::ReadOnly);
        EXPECT_EQ(r.message, "Fichier en lecture seule !");
    }
    EXPECT_EQ(column("NOTE", "CIT"), QStringList{"LIND0001.TXT"});
    EXPECT_TRUE(column("AUTNDX", "NDX").isEmpty());
}

TEST_F(CardNumbers, AFullPrefixGivesNoNumber) {
    // Every counter of "ZZ__" taken, in one transaction to keep the test quick.
    ctx.base.BaseDb->beginTrans();
    for (int c = 1; c <= kMaxCardCounter; ++c)
        addNote(noteNumber("ZZ__", c));
    ctx.base.BaseDb->commitTrans();
    const CardResult r = createNoteRecord(ctx, {"zz"});
    EXPECT_EQ(r.status, CardStatus::NoNumber);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(newNote("zy"), "ZY__0001.TXT");
}

// The walk over the keys of a prefix gives what the plain counter walk gives, whatever mix of
// cases, accents, foreign forms, gaps and neighbouring prefixes the table holds.
TEST_F(CardNumbers, TheKeyWalkAgreesWithThePlainCounterWalk) {
    QRandomGenerator rng(20260117);
    const QStringList authors{
        "Li",  "li",  "LÌ",    "Lindqvist", "lind", "Lînd",  "Lin", "Lin_",   "Li_", "Lj", "Éva",
        "eva", "Ève", "Smith", "smith",     "Smit", "Smíth", "Smi", "Smitty", "L",   "Z",  "A_"};
    for (int round = 0; round < 6; ++round) {
        ctx.base.BaseDb->beginTrans();
        for (int i = 0; i < 120; ++i) {
            const QString a = authors.at(int(rng.bounded(authors.size())));
            const int c = int(rng.bounded(1, 40));
            QString n;
            switch (rng.bounded(5)) {
            case 0:
                n = noteNumber(notePrefix(a), c).toLower();
                break;
            case 1: // a number of another form that begins the same way
                n = notePrefix(a) + QStringLiteral("%1.DOC").arg(c, 4, 10, QLatin1Char('0'));
                break;
            case 2:
                n = notePrefix(a) + QString::number(c) + QStringLiteral(".TXT");
                break;
            default:
                n = noteNumber(notePrefix(a), c);
            }
            auto& note = ctx.rs().NOTE;
            note->setIndex("NoteNDX");
            note->seek("=", n);
            if (note->noMatch()) addNote(n);
        }
        ctx.base.BaseDb->commitTrans();
        for (const QString& a : authors) {
            const QString p = notePrefix(a);
            const QString plain = plainFirstFree(*ctx.rs().NOTE, "NoteNDX", p, noteNumber);
            const auto walk = firstFreeNumber(*ctx.rs().NOTE, "NoteNDX", "CIT", p, noteNumber);
            ASSERT_TRUE(walk.has_value());
            EXPECT_EQ(*walk, plain) << "round " << round << " author " << a.toStdString();
        }
    }
}

// Reference numbers keep the case of their author while the index ignores it: the first free
// number is taken instead of a duplicate being refused, as the plain counter walk finds it.
TEST_F(CardNumbers, NoDuplicateIsEverRefusedWhateverTheCaseOfTheAuthors) {
    QRandomGenerator rng(7);
    const QStringList names{"Smith", "smith", "SMITH", "sMiTh", "Smíth", "SMÍTH", "Jones"};
    QStringList numbers;
    for (int i = 0; i < 60; ++i) {
        const QString name = names.at(int(rng.bounded(names.size())));
        const QString want =
            plainFirstFree(*ctx.rs().BIBLIO, "BibNDX", referencePrefix(name), referenceNumber);
        const CardResult r = createReference(ctx, {name});
        ASSERT_TRUE(r.ok()) << r.message.toStdString();
        EXPECT_EQ(r.number, want); // the first free counter, in the author's own case
        for (const QString& n : numbers)
            ASSERT_NE(store::compareText(n, r.number), 0) << n.toStdString();
        numbers << r.number;
    }
}

} // namespace
