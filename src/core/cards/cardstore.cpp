#include "core/cards/cardstore.h"

#include "core/cards/cardnumbers.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/storeerror.h"

#include <QList>
#include <algorithm>
#include <initializer_list>

namespace vlm::cards {
namespace {

using store::Recordset;

const QString kEq = QStringLiteral("=");

// Runs `work` in a transaction. A refusal of the store rolls everything back, drops the edit
// still pending on `pending` and gives the result the window shows.
template <class Work>
CardResult inTransaction(Session& ctx, std::initializer_list<Recordset*> pending, Work&& work) {
    CardResult r;
    try {
        store::Transaction t(*ctx.base.BaseDb);
        try {
            r = work();
            t.commit();
            return r;
        } catch (const store::StoreError&) {
            // The edit goes before the rollback that the guard makes on its way out.
            for (Recordset* rs : pending)
                if (rs->editing()) rs->cancelUpdate();
            throw;
        }
    } catch (const store::StoreError& e) {
        r = {};
        r.store = store::statusOf(e);
        if (e.number() == store::err::ReadOnly) {
            r.status = CardStatus::ReadOnly;
            r.message = readOnlyMessage();
        } else {
            r.status = CardStatus::Failed;
            r.message = e.description();
        }
        return r;
    }
}

// Tells the open views that a card changed, once its change is in the base.
CardResult announced(Session& ctx, CardKind kind, const QString& number, CardResult r) {
    if (r.status == CardStatus::Done) emit ctx.events.cardChanged(kind, number);
    return r;
}

CardResult nothing() {
    CardResult r;
    r.status = CardStatus::Nothing;
    return r;
}

CardResult noNumber() {
    CardResult r;
    r.status = CardStatus::NoNumber;
    r.message = QStringLiteral("Every number of this author is taken: no card was created.");
    return r;
}

// Seeks a card on its number index; true when found.
bool seekCard(Recordset& rs, const QString& index, const QString& number) {
    rs.setIndex(index);
    rs.seek(kEq, number);
    return !rs.noMatch();
}

// Drops the word index rows of a card whose text changed or that is deleted: the next Index
// All indexes it afresh instead of keeping words it no longer holds.
void dropWordIndexRows(Session& ctx, CardKind kind, const QString& number) {
    Recordset& index = kind == CardKind::Quote ? *ctx.rs().WordsCitIndex : *ctx.rs().WordsNoteIndex;
    if (!seekCard(index, QStringLiteral("Index"), number)) return;
    const int field = index.fieldPos(QStringLiteral("Index"));
    while (!index.eof() && store::equalText(index.fieldValue(field).toString(), number)) {
        index.remove();
        index.moveNext();
    }
}

} // namespace

CardResult createNoteRecord(Session& ctx, const QStringList& picked) {
    if (picked.isEmpty() || picked.first().isEmpty()) return nothing();
    const QString author = picked.first();
    auto& note = ctx.rs().NOTE;
    return inTransaction(ctx, {note.rs.get()}, [&] {
        const auto number = firstFreeNumber(*note, QStringLiteral("NoteNDX"), QStringLiteral("CIT"),
                                            notePrefix(author), noteNumber);
        if (!number) return noNumber();
        note->addNew();
        note.CIT = *number;
        note.AUTEUR = author;
        note.JOUR = QDateTime::currentDateTime();
        note->update();
        note->seek(kEq, *number);
        CardResult r;
        r.number = *number;
        return r;
    });
}

CardResult createReference(Session& ctx, const QStringList& picked) {
    if (picked.isEmpty() || picked.first().isEmpty()) return nothing();
    auto& bib = ctx.rs().BIBLIO;
    auto& aut = ctx.rs().AUTNDX;
    return inTransaction(ctx, {bib.rs.get(), aut.rs.get()}, [&] {
        const auto number = firstFreeNumber(*bib, QStringLiteral("BibNDX"), QStringLiteral("NDX"),
                                            referencePrefix(picked.first()), referenceNumber);
        if (!number) return noNumber();
        bib->addNew();
        bib.NDX = *number;
        bib->update();
        bib->seek(kEq, *number);

        QString authors;
        for (const QString& name : picked) {
            if (name.isEmpty()) continue; // an emptied row of the selection is no author
            aut->addNew();
            aut.AUTEUR = name;
            aut.NDX = *number;
            aut->update();
            authors += name + QLatin1Char(' ');
        }
        bib->edit();
        bib.AUTEUR = authors;
        bib->update();
        CardResult r;
        r.number = *number;
        return r;
    });
}

std::optional<QString> nextQuoteNumber(Session& ctx, const QString& referenceNumber) {
    return firstFreeNumber(*ctx.rs().CIT, QStringLiteral("CitNDX"), QStringLiteral("CIT"),
                           quotePrefix(referenceNumber), quoteNumber);
}

QStringList referenceAuthors(Session& ctx, const QString& referenceNumber) {
    auto& aut = ctx.rs().AUTNDX;
    QStringList out;
    if (!seekCard(*aut, QStringLiteral("AutNDX"), referenceNumber)) return out;
    while (!aut->eof() && store::equalText(aut.NDX.text(), referenceNumber)) {
        out << aut.AUTEUR.text();
        aut->moveNext();
    }
    return out;
}

CardSlots readCurrentCard(Session& ctx, CardKind kind) {
    auto& s = ctx.rs();
    CardSlots c;
    c.kind = kind;
    c.findPos = ctx.FindPos;
    auto takeText = [&c](const store::Field& rtf, const store::Field& plain) {
        c.text = rtf.text();
        c.richText = !c.text.isEmpty();
        if (!c.richText) c.text = plain.text();
    };
    switch (kind) {
    case CardKind::Note:
        c.number = s.NOTE.CIT.text();
        c.author = s.NOTE.AUTEUR.text();
        c.title = s.NOTE.TITRE1.text();
        takeText(s.NOTE.TEXTRTF, s.NOTE.TEXTE);
        c.date = s.NOTE.JOUR.value().toDateTime();
        break;
    case CardKind::Quote:
        c.number = s.CIT.CIT.text();
        c.title = s.CIT.TITRE1.text();
        takeText(s.CIT.TEXTRTF, s.CIT.TEXTE);
        c.date = s.CIT.JOUR.value().toDateTime();
        c.authors = referenceAuthors(ctx, s.CIT.NDX.text());
        break;
    case CardKind::Reference:
        c.number = s.BIBLIO.NDX.text();
        c.title = s.BIBLIO.TITRE1.text();
        c.date = s.BIBLIO.DATE.value().toDateTime();
        c.authors = referenceAuthors(ctx, c.number);
        break;
    }
    c.keywords = cardKeywords(ctx, kind, c.number);
    return c;
}

namespace {
int& counterOf(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Quote:
        return ctx.CitWinCount;
    case CardKind::Reference:
        return ctx.BibWinCount;
    case CardKind::Note:
        break;
    }
    return ctx.NoteWinCount;
}
int& fenNumOf(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Quote:
        return ctx.CitFenNum;
    case CardKind::Reference:
        return ctx.BibFenNum;
    case CardKind::Note:
        break;
    }
    return ctx.NoteFenNum;
}
} // namespace

int takeWindowNumber(Session& ctx, CardKind kind) {
    const int n = ++counterOf(ctx, kind);
    fenNumOf(ctx, kind) = n;
    return n;
}

void releaseWindowNumber(Session& ctx, CardKind kind, int n) {
    int& count = counterOf(ctx, kind);
    if (n == count && count > 0) --count;
}

int windowCount(const Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Quote:
        return ctx.CitWinCount;
    case CardKind::Reference:
        return ctx.BibWinCount;
    case CardKind::Note:
        break;
    }
    return ctx.NoteWinCount;
}

CardResult storeNote(Session& ctx, const QString& number, const NoteContent& content) {
    auto& note = ctx.rs().NOTE;
    const CardResult result = inTransaction(ctx, {note.rs.get()}, [&] {
        if (!seekCard(*note, QStringLiteral("NoteNDX"), number)) return nothing();
        if (note.TEXTE.text() != content.plainText) dropWordIndexRows(ctx, CardKind::Note, number);
        note->edit();
        note.AUTEUR = content.author;
        note.TITRE1 = content.title;
        note.TEXTE = content.plainText;
        note.TEXTRTF = content.richText;
        note->update();
        CardResult r;
        r.number = number;
        return r;
    });
    return announced(ctx, CardKind::Note, number, result);
}

CardResult deleteNote(Session& ctx, const QString& number) {
    auto& note = ctx.rs().NOTE;
    auto& gr = ctx.rs().GRNOTE;
    const CardResult result = inTransaction(ctx, {}, [&] {
        dropWordIndexRows(ctx, CardKind::Note, number);
        if (seekCard(*gr, QStringLiteral("GrNoteNDX"), number)) {
            while (!gr->eof() && store::equalText(gr.NDX.text(), number)) {
                gr->remove();
                gr->moveNext();
            }
        }
        CardResult r;
        r.number = number;
        if (!seekCard(*note, QStringLiteral("NoteNDX"), number)) {
            r.status = CardStatus::Nothing; // deleted from another window already
            return r;
        }
        note->remove();
        try {
            note->movePrevious(); // leave NOTE on a neighbour of the card that went
        } catch (const store::StoreError&) {
            // The deleted Note was the first: there is no previous record to stand on.
        }
        return r;
    });
    return announced(ctx, CardKind::Note, number, result);
}

CardResult removeNoteKeyword(Session& ctx, const QString& number, const QString& keyword) {
    return removeCardKeyword(ctx, CardKind::Note, number, keyword);
}

bool cardExists(Session& ctx, CardKind kind, const QString& number) {
    const KindSources& src = sourcesOf(kind);
    return seekCard(cardTable(ctx, kind), src.numberIndex, number);
}

CardResult removeCardKeyword(Session& ctx, CardKind kind, const QString& number,
                             const QString& keyword) {
    Recordset& gr = linkTable(ctx, kind);
    const QString index = sourcesOf(kind).linkNumberIndex;
    const CardResult result = inTransaction(ctx, {}, [&] {
        CardResult r;
        r.number = number;
        if (!seekCard(gr, index, number)) return r;
        const int ndx = gr.fieldPos(QStringLiteral("NDX"));
        const int groupe = gr.fieldPos(QStringLiteral("GROUPE"));
        while (!gr.eof() && store::equalText(gr.fieldValue(ndx).toString(), number)) {
            if (store::equalText(gr.fieldValue(groupe).toString(), keyword)) gr.remove();
            gr.moveNext();
        }
        return r;
    });
    return announced(ctx, kind, number, result);
}

namespace {

// Deletes every row of `rs` whose NDX equals `number`, walking index `index`.
void removeRowsOf(Recordset& rs, const QString& index, const QString& number) {
    if (!seekCard(rs, index, number)) return;
    const int ndx = rs.fieldPos(QStringLiteral("NDX"));
    while (!rs.eof() && store::equalText(rs.fieldValue(ndx).toString(), number)) {
        rs.remove();
        rs.moveNext();
    }
}

// Leaves `rs` on a neighbour of the record just deleted, when there is one before it.
void stepBack(Recordset& rs) {
    try {
        rs.movePrevious();
    } catch (const store::StoreError&) {
        // The deleted card was the first: there is no previous record to stand on.
    }
}

CardResult done(const QString& number) {
    CardResult r;
    r.number = number;
    return r;
}

} // namespace

CardResult storeQuote(Session& ctx, const QString& number, const QuoteContent& content) {
    auto& cit = ctx.rs().CIT;
    return announced(ctx, CardKind::Quote, number, inTransaction(ctx, {cit.rs.get()}, [&] {
                         if (!seekCard(*cit, QStringLiteral("CitNDX"), number)) return nothing();
                         if (cit.TEXTE.text() != content.plainText)
                             dropWordIndexRows(ctx, CardKind::Quote, number);
                         cit->edit();
                         cit.TITRE1 = content.title;
                         cit.TEXTE = content.plainText;
                         cit.TEXTRTF = content.richText;
                         cit->update();
                         return done(number);
                     }));
}

CardResult deleteQuote(Session& ctx, const QString& number) {
    auto& cit = ctx.rs().CIT;
    return announced(ctx, CardKind::Quote, number, inTransaction(ctx, {}, [&] {
                         removeRowsOf(*ctx.rs().GRCIT, QStringLiteral("GrCitNDX"), number);
                         dropWordIndexRows(ctx, CardKind::Quote, number);
                         CardResult r = done(number);
                         if (!seekCard(*cit, QStringLiteral("CitNDX"), number)) {
                             r.status = CardStatus::Nothing; // deleted from another window already
                             return r;
                         }
                         cit->remove();
                         stepBack(*cit);
                         return r;
                     }));
}

CardResult addQuoteToReference(Session& ctx, const QString& referenceNumber) {
    auto& cit = ctx.rs().CIT;
    auto& bib = ctx.rs().BIBLIO;
    const CardResult added = inTransaction(ctx, {cit.rs.get()}, [&] {
        if (!seekCard(*bib, QStringLiteral("BibNDX"), referenceNumber)) return nothing();
        const QString authors = bib.AUTEUR.text();
        const QString title = bib.TITRE1.text();
        const auto number = nextQuoteNumber(ctx, referenceNumber);
        if (!number) return noNumber();
        cit->addNew();
        cit.NDX = referenceNumber;
        cit.CIT = *number;
        cit.AUTEUR = authors;
        cit.JOUR = QDateTime::currentDateTime();
        cit.TITRE1 = title;
        cit.TEXTE = QString();
        cit->update();
        cit->seek(kEq, *number);
        return done(*number);
    });
    // The Reference's Quotes list shows the new Quote.
    return announced(ctx, CardKind::Reference, referenceNumber, added);
}

namespace {
template <class Write>
CardResult editReference(Session& ctx, const QString& number, Write&& write) {
    auto& bib = ctx.rs().BIBLIO;
    return announced(ctx, CardKind::Reference, number, inTransaction(ctx, {bib.rs.get()}, [&] {
                         if (!seekCard(*bib, QStringLiteral("BibNDX"), number)) return nothing();
                         bib->edit();
                         write(bib);
                         bib->update();
                         return done(number);
                     }));
}
} // namespace

CardResult storeReference(Session& ctx, const QString& number, const ReferenceContent& content) {
    return editReference(ctx, number, [&](store::BiblioRs& bib) {
        bib.TITRE1 = content.title;
        bib.TITRE2 = content.subtitle;
        bib.Type = content.type;
    });
}

CardResult storeReferenceTitle(Session& ctx, const QString& number, const QString& title) {
    return editReference(ctx, number, [&](store::BiblioRs& bib) { bib.TITRE1 = title; });
}

CardResult setReferenceType(Session& ctx, const QString& number, const QString& type) {
    return editReference(ctx, number, [&](store::BiblioRs& bib) { bib.Type = type; });
}

CardResult deleteReference(Session& ctx, const QString& number) {
    auto& cit = ctx.rs().CIT;
    if (seekCard(*cit, QStringLiteral("BibNDX"), number)) {
        CardResult r = done(number);
        r.status = CardStatus::HasQuotes;
        r.message = referenceHasQuotesMessage();
        return r;
    }
    auto& bib = ctx.rs().BIBLIO;
    return announced(ctx, CardKind::Reference, number, inTransaction(ctx, {}, [&] {
                         removeRowsOf(*ctx.rs().GRBIB, QStringLiteral("GrBibNDX"), number);
                         removeRowsOf(*ctx.rs().AUTNDX, QStringLiteral("AutNDX"), number);
                         // Its review data too: a later Reference may get the same number.
                         removeRowsOf(*ctx.rs().RevueArticle, QStringLiteral("NDX"), number);
                         CardResult r = done(number);
                         if (!seekCard(*bib, QStringLiteral("BibNDX"), number)) {
                             r.status = CardStatus::Nothing;
                             return r;
                         }
                         bib->remove();
                         stepBack(*bib);
                         return r;
                     }));
}

QStringList referenceTypes(Session& ctx) {
    // Table order, not the order of the index: a fresh recordset walks the rows as added.
    auto rs = ctx.base.BaseDb->openRecordset(QStringLiteral("TYPES"));
    QStringList out;
    if (rs->recordCount() == 0) return out;
    const int pos = rs->fieldPos(QStringLiteral("TYPE"));
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        out << rs->fieldValue(pos).toString();
    return out;
}

QString shownType(const QStringList& types, const QString& type) {
    return types.contains(type) ? type : noTypeText();
}

QStringList sortedKeywords(QStringList keywords) {
    std::stable_sort(keywords.begin(), keywords.end(),
                     [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
    return keywords;
}

QList<QuoteRow> referenceQuotes(Session& ctx, const QString& number) {
    auto& cit = ctx.rs().CIT;
    QStringList quotes;
    if (seekCard(*cit, QStringLiteral("BibNDX"), number)) {
        while (!cit->eof() && store::equalText(cit.NDX.text(), number)) {
            quotes << cit.CIT.text();
            cit->moveNext();
        }
    }
    QList<QuoteRow> rows;
    for (const QString& quote : quotes) {
        const QStringList keywords = cardKeywords(ctx, CardKind::Quote, quote);
        if (keywords.isEmpty()) rows.append({QString(), quote});
        for (const QString& k : keywords)
            rows.append({k, quote});
    }
    return rows;
}

} // namespace vlm::cards
