#pragma once

// The complete description of a Reference: the details of a book (publisher, town, year,
// ISBN, Library of Congress reference) and of its first edition in BIBLIO, the review data of
// an article in RevueArticle, and the lists of publishers (EDITEUR) and reviews (REVUE) the
// Reference window offers.
//
// Every operation finds its Reference by number; none relies on the current record of BIBLIO,
// which another window may have moved. Writes run in one transaction: a refusal leaves the
// base as it was. They return a Status whose message() is what the window shows:
//   ReadOnly         readOnlyMessage()
//   NoCurrentRecord  missingRecordMessage() (the Reference was deleted meanwhile)
//   TypeMismatch     a number box holds something else than a whole number in its range; the
//                    message names the box and nothing is written
//   other codes      the store's description
// Reads throw the store's StoreError; windows run them through runGuarded.

#include "core/common/status.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace vlm {
struct Session;
}

namespace vlm::cards {

// Shown when a name is to be added to a list but its box is empty (information icon).
inline QString enterNameFirstMessage() {
    return QStringLiteral("Enter the name in the box first");
}
inline QString publisherExistsMessage() {
    return QStringLiteral("This Publisher exists");
}
inline QString reviewExistsMessage() {
    return QStringLiteral("This Review exists");
}
// The question asked before a publisher is added (question icon, OK only).
QString addPublisherQuestion(const QString& name, const QString& town);
QString addReviewQuestion(const QString& name, const QString& issn);

// The number boxes, as their windows name them in messages.
inline QString yearBoxName() {
    return QStringLiteral("Year");
}
inline QString monthBoxName() {
    return QStringLiteral("Month");
}

// The details view a type shows: exactly "Book" and exactly "Article"; any other text,
// "book" among them, shows the other view.
enum class DetailsView { Book, Article, Other };
DetailsView detailsViewOf(const QString& type);

// Number fields hold the text of their boxes: empty when the field is empty.
struct BookDetails {
    QString publisher; // EDITEUR
    QString town;      // LIEU
    QString year;      // ANNEE (16-bit)
    QString isbn;      // ISBN
    QString congress;  // Congress

    friend bool operator==(const BookDetails&, const BookDetails&) = default;
};

struct FirstEdition {
    QString title;     // TITRE_ORI
    QString publisher; // EDITEUROR
    QString town;      // LIEU_ORIG
    QString year;      // DATE_ORIG (16-bit)

    friend bool operator==(const FirstEdition&, const FirstEdition&) = default;
};

struct ArticleDetails {
    QString review; // RevueTitre
    QString year;   // Annee
    QString month;  // Mois
    QString number; // RevueNumero
    QString pages;  // Pages

    friend bool operator==(const ArticleDetails&, const ArticleDetails&) = default;
};

// The book details of Reference `number`. The town is the stored LIEU, or, when none is
// stored, the town of its publisher in the list. Nothing when the Reference is not there.
std::optional<BookDetails> readBookDetails(Session& ctx, const QString& number);
std::optional<FirstEdition> readFirstEdition(Session& ctx, const QString& number);
// The review data of Reference `number`; nothing when it has no RevueArticle row.
std::optional<ArticleDetails> readArticleDetails(Session& ctx, const QString& number);

// Writes EDITEUR, LIEU, ANNEE, ISBN and Congress of Reference `number`; an empty year box
// stores no year.
Status storeBookDetails(Session& ctx, const QString& number, const BookDetails& book);
// Writes TITRE_ORI, EDITEUROR, LIEU_ORIG and DATE_ORIG of Reference `number`.
Status storeFirstEdition(Session& ctx, const QString& number, const FirstEdition& first);
// Writes the RevueArticle row of Reference `number`, adding it when there is none: a Reference
// has at most one.
Status storeArticleDetails(Session& ctx, const QString& number, const ArticleDetails& article);

// Publishers, EDITEUR.NOM in the order of its index.
QStringList publisherNames(Session& ctx);
// The town (Ville) of publisher `name`; empty when it has none or is not in the list.
QString publisherTown(Session& ctx, const QString& name);
// Reviews, REVUE.NOM in the order they were added.
QStringList reviewNames(Session& ctx);
// The ISSN of the first review called `name`; empty when none.
QString reviewIssn(Session& ctx, const QString& name);

// How an addition to a list ended, when the store refused nothing.
enum class Addition { Added, Exists, EmptyName };
// Adds publisher `name` (made one line) with its town when it has one. Names compare as the
// store compares them: an existing name adds nothing.
Result<Addition> addPublisher(Session& ctx, const QString& name, const QString& town);
// Adds review `name` (made one line) with its ISSN when it has one, as addPublisher does.
Result<Addition> addReview(Session& ctx, const QString& name, const QString& issn);

} // namespace vlm::cards
