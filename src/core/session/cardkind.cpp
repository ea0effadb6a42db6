#include "core/session/cardkind.h"

#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/recordset.h"

namespace vlm {

QString kindText(CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return QStringLiteral("Note");
    case CardKind::Quote:
        return QStringLiteral("Cit");
    case CardKind::Reference:
        break;
    }
    return QStringLiteral("Bib");
}

std::optional<CardKind> kindFromText(const QString& text) {
    if (text == QLatin1String("Note")) return CardKind::Note;
    if (text == QLatin1String("Cit")) return CardKind::Quote;
    if (text == QLatin1String("Bib")) return CardKind::Reference;
    return std::nullopt;
}

const KindSources& sourcesOf(CardKind kind) {
    static const KindSources note{"NOTE",
                                  "NoteNDX",
                                  "CIT",
                                  "GRNOTE",
                                  "GrNote",
                                  "GrNoteNDX",
                                  "Groupe",
                                  "NDX",
                                  "AUTEUR",
                                  "TITRE1",
                                  "Notes - Keyword : ",
                                  "JOUR"};
    static const KindSources cit{"CIT",
                                 "CitNDX",
                                 "Cit",
                                 "GRCIT",
                                 "GrCit",
                                 "GrCitNDX",
                                 "Groupe",
                                 "NDX",
                                 "Auteur",
                                 "Titre1",
                                 "Quote + Keyword : ",
                                 "JOUR"};
    static const KindSources bib{"BIBLIO",
                                 "BibNDX",
                                 "NDX",
                                 "GRBIB",
                                 "GrBib",
                                 "GrBibNDX",
                                 "GROUPE",
                                 "NDX",
                                 "AUTEUR",
                                 "TITRE1",
                                 "References + Keyword : ",
                                 "DATE"};
    switch (kind) {
    case CardKind::Note:
        return note;
    case CardKind::Quote:
        return cit;
    case CardKind::Reference:
        break;
    }
    return bib;
}

store::Recordset& cardTable(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return *ctx.rs().NOTE;
    case CardKind::Quote:
        return *ctx.rs().CIT;
    case CardKind::Reference:
        break;
    }
    return *ctx.rs().BIBLIO;
}

store::Recordset& linkTable(Session& ctx, CardKind kind) {
    switch (kind) {
    case CardKind::Note:
        return *ctx.rs().GRNOTE;
    case CardKind::Quote:
        return *ctx.rs().GRCIT;
    case CardKind::Reference:
        break;
    }
    return *ctx.rs().GRBIB;
}

QStringList cardKeywords(Session& ctx, CardKind kind, const QString& cardNumber) {
    QStringList out;
    store::Recordset& links = linkTable(ctx, kind);
    links.setIndex(sourcesOf(kind).linkNumberIndex);
    links.seek(QStringLiteral("="), cardNumber);
    if (links.noMatch()) return out;
    const store::Field ndx = links.field(sourcesOf(kind).linkNumberField);
    const store::Field keyword = links.field(sourcesOf(kind).linkKeywordField);
    while (!links.eof() && store::equalText(ndx.text(), cardNumber)) {
        out.push_back(keyword.text());
        links.moveNext();
    }
    return out;
}

} // namespace vlm
