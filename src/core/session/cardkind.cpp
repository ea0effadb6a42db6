#include "core/session/cardkind.h"

#include "core/session/session.h"
#include "core/store/collation.h"
#include "core/store/recordset.h"

using namespace Qt::StringLiterals;

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
    static const KindSources note{u"NOTE"_s,
                                  u"NoteNDX"_s,
                                  u"CIT"_s,
                                  u"GRNOTE"_s,
                                  u"GrNote"_s,
                                  u"GrNoteNDX"_s,
                                  u"Groupe"_s,
                                  u"NDX"_s,
                                  u"AUTEUR"_s,
                                  u"TITRE1"_s,
                                  u"Notes - Keyword : "_s,
                                  u"JOUR"_s};
    static const KindSources cit{u"CIT"_s,
                                 u"CitNDX"_s,
                                 u"Cit"_s,
                                 u"GRCIT"_s,
                                 u"GrCit"_s,
                                 u"GrCitNDX"_s,
                                 u"Groupe"_s,
                                 u"NDX"_s,
                                 u"Auteur"_s,
                                 u"Titre1"_s,
                                 u"Quote + Keyword : "_s,
                                 u"JOUR"_s};
    static const KindSources bib{u"BIBLIO"_s,
                                 u"BibNDX"_s,
                                 u"NDX"_s,
                                 u"GRBIB"_s,
                                 u"GrBib"_s,
                                 u"GrBibNDX"_s,
                                 u"GROUPE"_s,
                                 u"NDX"_s,
                                 u"AUTEUR"_s,
                                 u"TITRE1"_s,
                                 u"References + Keyword : "_s,
                                 u"DATE"_s};
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
