#include "core/cards/cardstore.h"

#include "core/cards/cardnumbers.h"
#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/storeerror.h"

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

} // namespace

CardResult CreateNoteRecord(Session& ctx, const QStringList& picked) {
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

CardResult CreateReference(Session& ctx, const QStringList& picked) {
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

std::optional<QString> NextQuoteNumber(Session& ctx, const QString& referenceNumber) {
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

CardResult StoreNote(Session& ctx, const QString& number, const NoteContent& content) {
    auto& note = ctx.rs().NOTE;
    const CardResult done = inTransaction(ctx, {note.rs.get()}, [&] {
        if (!seekCard(*note, QStringLiteral("NoteNDX"), number)) return nothing();
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
    return announced(ctx, CardKind::Note, number, done);
}

CardResult DeleteNote(Session& ctx, const QString& number) {
    auto& note = ctx.rs().NOTE;
    auto& gr = ctx.rs().GRNOTE;
    const CardResult done = inTransaction(ctx, {}, [&] {
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
    return announced(ctx, CardKind::Note, number, done);
}

CardResult RemoveNoteKeyword(Session& ctx, const QString& number, const QString& keyword) {
    auto& gr = ctx.rs().GRNOTE;
    const CardResult done = inTransaction(ctx, {}, [&] {
        CardResult r;
        r.number = number;
        if (!seekCard(*gr, QStringLiteral("GrNoteNDX"), number)) return r;
        while (!gr->eof() && store::equalText(gr.NDX.text(), number)) {
            if (store::equalText(gr.GROUPE.text(), keyword)) gr->remove();
            gr->moveNext();
        }
        return r;
    });
    return announced(ctx, CardKind::Note, number, done);
}

} // namespace vlm::cards
