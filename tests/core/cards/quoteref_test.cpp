#include "core/cards/cardstore.h"
#include "support/cardtestbase.h"
#include "support/qstringprint.h"

using namespace vlm;
using namespace vlm::cards;

namespace {

class QuoteRef : public ::testing::Test, public test::CardBase {
protected:
    QString newReference(const QStringList& authors, const QString& title = {}) {
        const CardResult r = createReference(ctx, authors);
        EXPECT_TRUE(r.ok());
        if (!title.isEmpty()) {
            EXPECT_TRUE(storeReference(ctx, r.number, {title, {}, {}}).ok());
        }
        return r.number;
    }
    QString addQuote(const QString& reference) {
        const CardResult r = addQuoteToReference(ctx, reference);
        EXPECT_TRUE(r.ok()) << r.message.toStdString();
        return r.number;
    }
    // Every row of the tables a Quote or Reference touches, to see that nothing changed.
    QStringList snapshot() {
        QStringList out;
        for (const QString& f : QStringLiteral("BIBLIO.NDX BIBLIO.TITRE1 BIBLIO.Type AUTNDX.NDX "
                                               "GRBIB.GROUPE CIT.CIT CIT.TITRE1 CIT.TEXTE "
                                               "GRCIT.GROUPE")
                                    .split(' '))
            out << column(f.section('.', 0, 0), f.section('.', 1));
        return out;
    }
};

TEST_F(QuoteRef, QuotesTakeTheirNumberTitleAndAuthorsFromTheReference) {
    const QString ref = newReference({"Smith", "Jones"}, "On trees");
    ASSERT_EQ(ref, "Smith__001");
    ASSERT_EQ(addQuote(ref), "SMITH001.TXT");
    // CIT is left on the new Quote, as the opener wants it.
    auto& cit = ctx.rs().CIT;
    EXPECT_EQ((QStringList{cit.CIT.text(), cit.NDX.text(), cit.TITRE1.text(), cit.AUTEUR.text(),
                           cit.TEXTE.text()}),
              (QStringList{"SMITH001.TXT", "Smith__001", "On trees", "Smith Jones ", ""}));
    EXPECT_TRUE(cit.JOUR.value().toDateTime().isValid());

    // References sharing five letters share the Quote counter, and a gap left by a deleted
    // Quote is filled again, whichever Reference asks.
    const QString smithson = newReference({"Smithson"});
    ASSERT_EQ(smithson, "Smithso001");
    EXPECT_EQ(addQuote(smithson), "SMITH002.TXT");
    EXPECT_EQ(addQuote(ref), "SMITH003.TXT");
    ASSERT_TRUE(deleteQuote(ctx, "SMITH002.TXT").ok());
    EXPECT_EQ(addQuote(ref), "SMITH002.TXT");
}

TEST_F(QuoteRef, AReferenceWithAQuoteIsNeverDeletedAndWithoutOneGoesWholly) {
    const QString ref = newReference({"Smith", "Jones"});
    const QString other = newReference({"Adam"});
    for (const QString& r : {ref, other})
        linkReference(r, "Trees");
    const QString quote = addQuote(ref);
    linkQuote(quote, "Leaves");

    const QStringList before = snapshot();
    const CardResult refused = deleteReference(ctx, ref);
    EXPECT_EQ(refused.status, CardStatus::HasQuotes);
    EXPECT_EQ(refused.message, "Quotes belong to this reference. Please delete these quotes first");
    EXPECT_EQ(snapshot(), before);

    ASSERT_TRUE(deleteQuote(ctx, quote).ok());
    EXPECT_TRUE(column("GRCIT", "NDX").isEmpty());
    ASSERT_TRUE(deleteReference(ctx, ref).ok());
    EXPECT_EQ(column("BIBLIO", "NDX") + column("AUTNDX", "AUTEUR") + column("GRBIB", "NDX"),
              (QStringList{"Adam___001", "Adam", "Adam___001"}));

    // Cards deleted meanwhile (from another window) are not written back.
    EXPECT_EQ(storeReference(ctx, ref, {"t", "", ""}).status, CardStatus::Nothing);
    EXPECT_EQ(addQuoteToReference(ctx, ref).status, CardStatus::Nothing);
    EXPECT_EQ(storeQuote(ctx, quote, {"t", "", ""}).status, CardStatus::Nothing);
    EXPECT_EQ(column("BIBLIO", "NDX"), QStringList{"Adam___001"});
    EXPECT_TRUE(column("CIT", "CIT").isEmpty());
}

TEST_F(QuoteRef, TheTypeBoxShowsAStoredTypeOnlyWhenItIsInTheList) {
    const QStringList types = referenceTypes(ctx);
    EXPECT_EQ(types, store::seedTypes()); // table order: "No Type" before "No Ref"
    const QString ref = newReference({"Smith"});
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {{"Article", "Article"},
                 {"Nonsense", "No Type"},
                 {"", "No Type"},
                 {"article", "No Type"},
                 {"Web", "Web"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(setReferenceType(ctx, ref, QString::fromUtf8(c.stored)).ok());
        ASSERT_TRUE(cardExists(ctx, CardKind::Reference, ref));
        EXPECT_EQ(shownType(types, ctx.rs().BIBLIO.Type.text()), c.shown) << c.stored;
    }
}

TEST_F(QuoteRef, TheQuotesListHasARowPerKeywordAndOneForAQuoteWithout) {
    const QString ref = newReference({"Smith"});
    const QString first = addQuote(ref), second = addQuote(ref);
    addQuote(newReference({"Smithson"})); // another Reference's Quote stays out
    for (const char* k : {"Roots", "Bark"})
        linkQuote(first, k);
    EXPECT_EQ(referenceQuotes(ctx, ref),
              (QList<QuoteRow>{{"Roots", first}, {"Bark", first}, {"", second}}));
    EXPECT_EQ(sortedKeywords({"beta", "Alpha", "gamma", "alpha", "Beta"}),
              (QStringList{"Alpha", "alpha", "beta", "Beta", "gamma"}));
}

TEST_F(QuoteRef, AReadOnlyBaseRefusesEveryWriteAndKeepsItsRows) {
    const QString ref = newReference({"Smith"}, "Title");
    const QString bare = newReference({"Jones"});
    const QString quote = addQuote(ref);
    linkQuote(quote, "Bark");
    linkReference(ref, "Trees");
    reopenReadOnly();
    const QStringList before = snapshot();
    const std::function<CardResult()> writes[] = {
        [&] {
            return storeQuote(ctx, quote, {"t", "p", "r"});
        },
        [&] { return deleteQuote(ctx, quote); },
        [&] { return addQuoteToReference(ctx, ref); },
        [&] {
            return storeReference(ctx, ref, {"t", "s", "Book"});
        },
        [&] { return storeReferenceTitle(ctx, ref, "t"); },
        [&] { return setReferenceType(ctx, ref, "Book"); },
        [&] { return deleteReference(ctx, bare); },
        [&] { return removeCardKeyword(ctx, CardKind::Quote, quote, "Bark"); },
        [&] { return removeCardKeyword(ctx, CardKind::Reference, ref, "Trees"); },
    };
    for (const auto& write : writes) {
        const CardResult r = write();
        EXPECT_TRUE(r.status == CardStatus::ReadOnly && r.message == "Fichier en lecture seule !")
            << qPrintable(r.message);
    }
    EXPECT_EQ(snapshot(), before);
}

} // namespace
