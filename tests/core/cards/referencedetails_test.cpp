#include "core/cards/cardstore.h"
#include "core/cards/referencedetails.h"
#include "core/cards/referenceexport.h"
#include "support/cardtestbase.h"
#include "support/qstringprint.h"

using namespace vlm;
using namespace vlm::cards;

namespace {

class Details : public ::testing::Test, public test::CardBase {
protected:
    QString reference(const QStringList& authors, const QString& title = {},
                      const QString& type = {}, const QString& subtitle = {}) {
        const QString n = createReference(ctx, authors).number;
        EXPECT_TRUE(storeReference(ctx, n, {title, subtitle, type}).ok());
        return n;
    }
};

TEST_F(Details, BookDetailsGoToTheirOwnReferenceAndAYearIsAWholeNumberOrNothing) {
    const QString book = reference({"Smith"}), other = reference({"Jones"}); // Jones is current
    ASSERT_TRUE(storeBookDetails(ctx, book, {"Gallimard", "Paris", "1987", "2-07", "QA76"}).ok());
    ASSERT_TRUE(storeFirstEdition(ctx, book, {"Les arbres", "Seuil", "Lyon", "1950"}).ok());
    EXPECT_EQ(readBookDetails(ctx, book),
              (BookDetails{"Gallimard", "Paris", "1987", "2-07", "QA76"}));
    EXPECT_EQ(readFirstEdition(ctx, book), (FirstEdition{"Les arbres", "Seuil", "Lyon", "1950"}));
    EXPECT_EQ(column("BIBLIO", "EDITEUR"), (QStringList{"Gallimard", ""}));
    EXPECT_EQ(column("BIBLIO", "TITRE_ORI"), (QStringList{"Les arbres", ""}));

    // The typed year and the one stored; none: refused, the year before stays.
    const std::tuple<const char*, const char*> years[] = {{"19x7", nullptr},  {"", ""},
                                                          {" 1999 ", "1999"}, {"-32768", "-32768"},
                                                          {"32768", nullptr}, {"1987.5", nullptr},
                                                          {"19%3", nullptr},  {"1987", "1987"}};
    QString publisher = "Gallimard"; // nothing of a refused store is written
    for (const auto& [raw, stored] : years) {
        const QStringList before{readBookDetails(ctx, book)->year,
                                 readFirstEdition(ctx, book)->year};
        const QString typed = QString::fromUtf8(raw);
        for (const Status& s : {storeBookDetails(ctx, book, {"P", "T", typed, "", ""}),
                                storeFirstEdition(ctx, book, {"O", "P", "T", typed})}) {
            EXPECT_EQ(s.ok(), stored != nullptr) << raw;
            if (!stored) {
                EXPECT_EQ(s.message(), "Year: \"" + typed +
                                           "\" is not a whole number from -32768 to 32767. "
                                           "Nothing was stored.");
            }
        }
        const QStringList after{readBookDetails(ctx, book)->year,
                                readFirstEdition(ctx, book)->year};
        EXPECT_EQ(after, stored ? QStringList(2, QString::fromUtf8(stored)) : before);
        if (stored) publisher = "P";
        EXPECT_EQ(readBookDetails(ctx, book)->publisher, publisher) << raw;
    }

    // No town of its own: the town of its publisher in the list.
    ASSERT_EQ(*addPublisher(ctx, "Seuil", "Lyon"), Addition::Added);
    ASSERT_TRUE(storeBookDetails(ctx, other, {"Seuil", "", "", "", ""}).ok());
    EXPECT_EQ(readBookDetails(ctx, other)->town, "Lyon");
    ASSERT_TRUE(deleteReference(ctx, other).ok());
    const Status gone = storeBookDetails(ctx, other, {"Seuil", "", "", "", ""});
    EXPECT_EQ(gone.message(), "This record does not exists");
    EXPECT_FALSE(readBookDetails(ctx, other));
}

TEST_F(Details, AnArticleHasOneRowOfReviewDataWhichGoesWithIt) {
    const QString art = reference({"Smith"});
    EXPECT_FALSE(readArticleDetails(ctx, art));
    ASSERT_TRUE(storeArticleDetails(ctx, art, {"Nature", "2001", "5", "12", "3-9"}).ok());
    ASSERT_TRUE(storeArticleDetails(ctx, art, {"Science", "2002", "", "7", "1"}).ok());
    EXPECT_EQ(column("RevueArticle", "NDX"), QStringList{art});
    EXPECT_EQ(readArticleDetails(ctx, art), (ArticleDetails{"Science", "2002", "", "7", "1"}));
    const Status month = storeArticleDetails(ctx, art, {"X", "2003", "May", "", ""});
    EXPECT_TRUE(month.message().startsWith("Month: \"May\" is not a whole number"));
    EXPECT_EQ(readArticleDetails(ctx, art)->review, "Science");

    // A Reference deleted takes its review data along; its number, given again, starts bare.
    ASSERT_TRUE(deleteReference(ctx, art).ok());
    EXPECT_TRUE(column("RevueArticle", "NDX").isEmpty());
    EXPECT_EQ(storeArticleDetails(ctx, art, {"Nature", "", "", "", ""}).code(),
              ErrorCode::NoCurrentRecord);
    EXPECT_EQ(reference({"Smith"}), art);
    EXPECT_FALSE(readArticleDetails(ctx, art));
}

TEST_F(Details, PublishersAndReviewsAreAddedOnceWithTheirTownOrIssn) {
    // The table, its second field, and the calls that add to it and read it.
    const std::tuple<const char*, const char*,
                     Result<Addition> (*)(Session&, const QString&, const QString&),
                     QString (*)(Session&, const QString&)>
        lists[] = {{"EDITEUR", "Ville", addPublisher, publisherTown},
                   {"REVUE", "ISSN", addReview, reviewIssn}};
    for (const auto& [table, second, add, extra] : lists) {
        EXPECT_EQ(*add(ctx, "Zeta Press", "Paris"), Addition::Added);
        EXPECT_EQ(*add(ctx, " Alpha\n Books ", ""), Addition::Added); // made one line
        EXPECT_EQ(*add(ctx, "zeta press", "Lyon"), Addition::Exists);
        EXPECT_EQ(*add(ctx, " \n ", "Lyon"), Addition::EmptyName);
        EXPECT_EQ(column(table, "NOM"), (QStringList{"Zeta Press", "Alpha Books"})) << table;
        EXPECT_EQ(column(table, second), (QStringList{"Paris", ""})) << table;
        EXPECT_EQ(extra(ctx, "Zeta Press"), "Paris");
        EXPECT_EQ(extra(ctx, "Nobody"), "");
    }
    EXPECT_EQ(publisherNames(ctx), (QStringList{"Alpha Books", "Zeta Press"})); // index order
    EXPECT_EQ(reviewNames(ctx), (QStringList{"Zeta Press", "Alpha Books"}));    // table order
}

TEST_F(Details, AReadOnlyBaseRefusesEveryDetailsWrite) {
    const QString ref = reference({"Smith"});
    reopenReadOnly();
    // Each write runs once, in this order, as the list is built.
    for (const Status& s :
         {storeBookDetails(ctx, ref, {"P", "", "1987", "", ""}),
          storeFirstEdition(ctx, ref, {"T", "", "", ""}),
          storeArticleDetails(ctx, ref, {"R", "", "", "", ""}), addPublisher(ctx, "P", "").status(),
          addReview(ctx, "R", "").status()}) {
        EXPECT_TRUE(s.isReadOnly());
        EXPECT_EQ(s.message(), "Fichier en lecture seule !");
    }
    EXPECT_EQ(column("BIBLIO", "EDITEUR"), QStringList{""});
    EXPECT_TRUE(column("RevueArticle", "NDX").isEmpty() && column("EDITEUR", "NOM").isEmpty());
}

TEST_F(Details, ExportWritesEveryFieldAsBibTeXAndRis) {
    const QString book = reference({"Smith", "Jones"}, "On trees", "Book", "and roots");
    ASSERT_TRUE(storeBookDetails(ctx, book, {"Gallimard", "Paris", "1987", "2-07-1", ""}).ok());
    linkReference(book, "Roots");
    linkReference(book, "bark");
    const QString article = reference({"Müller", "Bread and Butter"},
                                      "Über {Bäume} & 100% of $x_1^2$ #1 ~ \\", "Article");
    ASSERT_TRUE(storeArticleDetails(ctx, article, {"Nature", "2001", "5", "12", "3-9"}).ok());
    addReference("de la F001"); // no type, no year, no author, a number with a blank

    const QString bib = bibtexText(readForExport(ctx));
    EXPECT_EQ(bib, "@misc{de_la_F001\n}\n\n"
                   "@article{Müller_001,\n"
                   "  author = {Müller and {Bread and Butter}},\n"
                   "  title = {Über \\{Bäume\\} \\& 100\\% of \\$x\\_1\\^{}2\\$ \\#1 \\~{} "
                   "\\textbackslash{}},\n"
                   "  year = {2001},\n  journal = {Nature},\n  number = {12},\n  month = may,\n"
                   "  pages = {3-9}\n}\n\n"
                   "@book{Smith__001,\n  author = {Smith and Jones},\n  title = {On trees},\n"
                   "  subtitle = {and roots},\n  publisher = {Gallimard},\n  address = {Paris},\n"
                   "  year = {1987},\n  isbn = {2-07-1},\n  keywords = {bark, Roots}\n}\n\n");
    EXPECT_EQ(
        risText(readForExport(ctx, {book, "Gone__001", article})),
        "TY  - BOOK\r\nID  - Smith__001\r\nAU  - Smith\r\nAU  - Jones\r\n"
        "TI  - On trees: and roots\r\nPB  - Gallimard\r\nCY  - Paris\r\nPY  - 1987\r\n"
        "SN  - 2-07-1\r\nKW  - bark\r\nKW  - Roots\r\nER  - \r\n\r\n"
        "TY  - JOUR\r\nID  - Müller_001\r\nAU  - Müller\r\nAU  - Bread and Butter\r\n"
        "TI  - Über {Bäume} & 100% of $x_1^2$ #1 ~ \\\r\nPY  - 2001\r\n"
        "DA  - 2001/05//\r\nT2  - Nature\r\nIS  - 12\r\nSP  - 3\r\nEP  - 9\r\nER  - \r\n\r\n");

    // Braces that do not pair are spelt out, so the entry still ends where it should.
    EXPECT_EQ(bibtexEscaped("a } b {"), "a \\textbraceright{} b \\textbraceleft{}");

    // The file: its name chooses the format; UTF-8.
    for (const char* name : {"refs.RIS", "refs.bib"}) {
        const QString path = dir.file(QString::fromLatin1(name));
        ASSERT_EQ(*exportReferences(ctx, path, {article}), 1);
        const QList<ExportedReference> one = readForExport(ctx, {article});
        EXPECT_EQ(QString::fromUtf8(test::readAll(path)),
                  exportFormatOf(path) == ExportFormat::Ris ? risText(one) : bibtexText(one));
    }
    EXPECT_EQ(exportReferences(ctx, dir.file("none/refs.bib"), {}).status().code(),
              ErrorCode::DiskError);

    // The result list's References, in its order, each once; Quote rows are left out.
    ctx.Result.add("k", "q", "", "", "SMITH001.TXT");
    for (const QString& n : {article, book, article})
        ctx.Result.add("k", n, "", "", n.toLower());
    EXPECT_EQ(referencesOfResultList(ctx), (QStringList{article, book}));
}

} // namespace
