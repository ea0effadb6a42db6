#include "core/cards/referencedetails.h"

#include "core/cards/cardstore.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/storeerror.h"

#include <limits>

namespace vlm::cards {
namespace {

using store::Recordset;

const QString kEq = QStringLiteral("=");

bool seekReference(Session& ctx, const QString& number) {
    auto& bib = ctx.rs().BIBLIO;
    bib->setIndex(QStringLiteral("BibNDX"));
    bib->seek(kEq, number);
    return !bib->noMatch();
}

// The value a number box stores: null when empty, else a whole number from lo to hi.
template <class Int> Result<QVariant> boxNumber(const QString& text, const QString& box) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return QVariant();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    const qlonglong lo = std::numeric_limits<Int>::min(), hi = std::numeric_limits<Int>::max();
    if (ok && n >= lo && n <= hi) return QVariant(int(n));
    return Status::error(ErrorCode::TypeMismatch,
                         QStringLiteral("%1: \"%2\" is not a whole number from %3 to %4. "
                                        "Nothing was stored.")
                             .arg(box, text, QString::number(lo), QString::number(hi)));
}

// Runs the writes of `work` in one transaction. A refusal of the store drops the edit still
// pending on `pending`, rolls everything back and becomes the Status the window shows.
template <class Work> Status written(Session& ctx, Recordset& pending, Work&& work) {
    try {
        store::Transaction t(*ctx.base.BaseDb);
        try {
            Status s = work();
            if (s.ok()) t.commit();
            return s;
        } catch (const store::StoreError&) {
            if (pending.editing()) pending.cancelUpdate();
            throw;
        }
    } catch (const store::StoreError& e) {
        if (e.number() == store::err::ReadOnly)
            return Status::error(ErrorCode::ReadOnly, readOnlyMessage());
        return store::statusOf(e);
    }
}

Status missing() {
    return Status::error(ErrorCode::NoCurrentRecord, missingRecordMessage());
}

// Edits BIBLIO of Reference `number` with `write`; the number boxes were read before.
template <class Write> Status editReference(Session& ctx, const QString& number, Write&& write) {
    auto& bib = ctx.rs().BIBLIO;
    const Status s = written(ctx, *bib, [&] {
        if (!seekReference(ctx, number)) return missing();
        bib->edit();
        write(bib);
        bib->update();
        return Status();
    });
    if (s.ok()) emit ctx.events.cardChanged(CardKind::Reference, number);
    return s;
}

// The names of a list table's NOM field in the order of `index` (table order when empty).
QStringList names(Recordset& rs, const QString& index) {
    QStringList out;
    rs.setIndex(index);
    if (rs.recordCount() == 0) return out;
    const int nom = rs.fieldPos(QStringLiteral("NOM"));
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const QString n = rs.fieldValue(nom).toString();
        if (!n.isEmpty()) out << n;
    }
    return out;
}

// REVUE has no index: the first row called `name`, walking in table order.
bool findReview(Session& ctx, const QString& name) {
    auto& revue = ctx.rs().REVUE;
    revue->setIndex({});
    if (revue->recordCount() == 0) return false;
    for (revue->moveFirst(); !revue->eof(); revue->moveNext())
        if (store::equalText(revue.NOM.text(), name)) return true;
    return false;
}

bool findPublisher(Session& ctx, const QString& name) {
    auto& ed = ctx.rs().EDITEUR;
    ed->setIndex(QStringLiteral("NOM"));
    ed->seek(kEq, name);
    return !ed->noMatch();
}

// Adds `name` to a list table with one more field, unless `exists` finds it there.
template <class Find>
Result<Addition> addToList(Session& ctx, Recordset& rs, Find&& exists, const QString& typed,
                           const QString& field, const QString& value) {
    const QString name = keywords::oneLineName(typed);
    if (name.isEmpty()) return Addition::EmptyName;
    Addition how = Addition::Added;
    const Status s = written(ctx, rs, [&] {
        if (exists(ctx, name)) {
            how = Addition::Exists;
            return Status();
        }
        rs.addNew();
        rs.setValue(QStringLiteral("NOM"), name);
        if (!value.isEmpty()) rs.setValue(field, value);
        rs.update();
        return Status();
    });
    if (!s.ok()) return s;
    return how;
}

} // namespace

QString addPublisherQuestion(const QString& name, const QString& town) {
    return QStringLiteral("do you want to add ") + name + QLatin1Char('-') + town +
           QStringLiteral(" in Publisher's list ?");
}

QString addReviewQuestion(const QString& name, const QString& issn) {
    return QStringLiteral("do you want to add ") + name + QLatin1Char('-') + issn +
           QStringLiteral(" in Review's list ?");
}

DetailsView detailsViewOf(const QString& type) {
    if (type == QLatin1String("Book")) return DetailsView::Book;
    if (type == QLatin1String("Article")) return DetailsView::Article;
    return DetailsView::Other;
}

std::optional<BookDetails> readBookDetails(Session& ctx, const QString& number) {
    if (!seekReference(ctx, number)) return std::nullopt;
    const auto& bib = ctx.rs().BIBLIO;
    BookDetails b{bib.EDITEUR.text(), bib.LIEU.text(), bib.ANNEE.text(), bib.ISBN.text(),
                  bib.Congress.text()};
    // A town stored with the book wins over the list's: it was typed for this book.
    if (b.town.isEmpty() && !b.publisher.isEmpty()) b.town = publisherTown(ctx, b.publisher);
    return b;
}

std::optional<FirstEdition> readFirstEdition(Session& ctx, const QString& number) {
    if (!seekReference(ctx, number)) return std::nullopt;
    const auto& bib = ctx.rs().BIBLIO;
    return FirstEdition{bib.TITRE_ORI.text(), bib.EDITEUROR.text(), bib.LIEU_ORIG.text(),
                        bib.DATE_ORIG.text()};
}

std::optional<ArticleDetails> readArticleDetails(Session& ctx, const QString& number) {
    auto& art = ctx.rs().RevueArticle;
    art->setIndex(QStringLiteral("NDX"));
    art->seek(kEq, number);
    if (art->noMatch()) return std::nullopt;
    return ArticleDetails{art.RevueTitre.text(), art.Annee.text(), art.Mois.text(),
                          art.RevueNumero.text(), art.Pages.text()};
}

Status storeBookDetails(Session& ctx, const QString& number, const BookDetails& book) {
    const Result<QVariant> year = boxNumber<qint16>(book.year, yearBoxName());
    if (!year.ok()) return year.status();
    return editReference(ctx, number, [&](store::BiblioRs& bib) {
        bib.EDITEUR = book.publisher;
        bib.LIEU = book.town;
        bib.ANNEE = *year;
        bib.ISBN = book.isbn;
        bib.Congress = book.congress;
    });
}

Status storeFirstEdition(Session& ctx, const QString& number, const FirstEdition& first) {
    const Result<QVariant> year = boxNumber<qint16>(first.year, yearBoxName());
    if (!year.ok()) return year.status();
    return editReference(ctx, number, [&](store::BiblioRs& bib) {
        bib.TITRE_ORI = first.title;
        bib.EDITEUROR = first.publisher;
        bib.LIEU_ORIG = first.town;
        bib.DATE_ORIG = *year;
    });
}

Status storeArticleDetails(Session& ctx, const QString& number, const ArticleDetails& article) {
    const Result<QVariant> year = boxNumber<qint32>(article.year, yearBoxName());
    if (!year.ok()) return year.status();
    const Result<QVariant> month = boxNumber<qint32>(article.month, monthBoxName());
    if (!month.ok()) return month.status();
    auto& art = ctx.rs().RevueArticle;
    const Status s = written(ctx, *art, [&] {
        if (!seekReference(ctx, number)) return missing();
        art->setIndex(QStringLiteral("NDX"));
        art->seek(kEq, number);
        if (art->noMatch()) {
            art->addNew();
            art.NDX = number;
        } else {
            art->edit();
        }
        art.RevueTitre = article.review;
        art.Annee = *year;
        art.Mois = *month;
        art.RevueNumero = article.number;
        art.Pages = article.pages;
        art->update();
        return Status();
    });
    if (s.ok()) emit ctx.events.cardChanged(CardKind::Reference, number);
    return s;
}

QStringList publisherNames(Session& ctx) {
    return names(*ctx.rs().EDITEUR, QStringLiteral("NOM"));
}

QString publisherTown(Session& ctx, const QString& name) {
    return !name.isEmpty() && findPublisher(ctx, name) ? ctx.rs().EDITEUR.Ville.text() : QString();
}

QStringList reviewNames(Session& ctx) {
    return names(*ctx.rs().REVUE, {});
}

QString reviewIssn(Session& ctx, const QString& name) {
    return !name.isEmpty() && findReview(ctx, name) ? ctx.rs().REVUE.ISSN.text() : QString();
}

Result<Addition> addPublisher(Session& ctx, const QString& name, const QString& town) {
    return addToList(ctx, *ctx.rs().EDITEUR, findPublisher, name, QStringLiteral("Ville"), town);
}

Result<Addition> addReview(Session& ctx, const QString& name, const QString& issn) {
    return addToList(ctx, *ctx.rs().REVUE, findReview, name, QStringLiteral("ISSN"), issn);
}

} // namespace vlm::cards
