#include "core/cards/referenceexport.h"

#include "core/cards/cardstore.h"
#include "core/cards/referencedetails.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

namespace vlm::cards {
namespace {

bool seekReference(Session& ctx, const QString& number) {
    auto& bib = ctx.rs().BIBLIO;
    bib->setIndex(QStringLiteral("BibNDX"));
    bib->seek(QStringLiteral("="), number);
    return !bib->noMatch();
}

QStringList allReferenceNumbers(Session& ctx) {
    auto& bib = ctx.rs().BIBLIO;
    bib->setIndex(QStringLiteral("BibNDX"));
    QStringList out;
    if (bib->recordCount() == 0) return out;
    for (bib->moveFirst(); !bib->eof(); bib->moveNext())
        out << bib.NDX.text();
    return out;
}

// Every value goes on one line, without blanks at either end.
QStringList oneLine(const QStringList& values) {
    QStringList out;
    for (const QString& v : values)
        if (QString line = keywords::oneLineName(v); !line.isEmpty()) out << line;
    return out;
}

// Braces a BibTeX reader can count in pairs are kept as \{ \}; any other brace is spelt out.
bool bracesPair(const QString& text) {
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'{') ++depth;
        if (c == u'}' && --depth < 0) return false;
    }
    return depth == 0;
}

// A key holds no blank and none of the characters that end or split an entry.
QString bibtexKey(const QString& number, QSet<QString>& taken) {
    QString key = number;
    for (QChar& c : key)
        if (c.isSpace() || QStringView(u",{}()\"#%'=\\~").contains(c)) c = u'_';
    if (key.isEmpty()) key = QStringLiteral("_");
    const QString base = key;
    for (int n = 2; taken.contains(key.toLower()); ++n)
        key = base + QLatin1Char('_') + QString::number(n);
    taken.insert(key.toLower());
    return key;
}

QString bibtexMonth(const QString& month) {
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    bool ok = false;
    const int m = month.toInt(&ok);
    if (ok && m >= 1 && m <= 12) return QLatin1String(names[m - 1]);
    return QLatin1Char('{') + bibtexEscaped(month) + QLatin1Char('}');
}

// Start and end of a page range written "12-34", "12--34" or with a dash; the whole text as
// the start page otherwise.
std::pair<QString, QString> pageRange(const QString& pages) {
    static const QRegularExpression range(
        QStringLiteral("^\\s*(\\S+?)\\s*(?:-+|\u2013|\u2014)\\s*(\\S+)\\s*$"));
    const QRegularExpressionMatch m = range.match(pages);
    if (m.hasMatch()) return {m.captured(1), m.captured(2)};
    return {pages, QString()};
}

} // namespace

ExportFormat exportFormatOf(const QString& path) {
    return path.endsWith(QLatin1String(".ris"), Qt::CaseInsensitive) ? ExportFormat::Ris
                                                                     : ExportFormat::BibTeX;
}

QList<ExportedReference> readForExport(Session& ctx, const QStringList& numbers) {
    QList<ExportedReference> out;
    for (const QString& n : numbers.isEmpty() ? allReferenceNumbers(ctx) : numbers) {
        if (!seekReference(ctx, n)) continue;
        const auto& bib = ctx.rs().BIBLIO;
        ExportedReference r;
        r.number = bib.NDX.text();
        r.type = bib.Type.text();
        r.title = bib.TITRE1.text();
        r.subtitle = bib.TITRE2.text();
        r.publisher = bib.EDITEUR.text();
        r.town = bib.LIEU.text();
        r.year = bib.ANNEE.text();
        r.isbn = bib.ISBN.text();
        const QString joined = bib.AUTEUR.text().trimmed();
        r.authors = oneLine(referenceAuthors(ctx, r.number));
        // A Reference brought from elsewhere may hold its names without author rows.
        if (r.authors.isEmpty() && !joined.isEmpty()) r.authors << joined;
        if (const auto article = readArticleDetails(ctx, r.number)) {
            r.review = article->review;
            r.issue = article->number;
            r.month = article->month;
            r.pages = article->pages;
            if (!article->year.isEmpty()) r.year = article->year;
        }
        r.keywords = oneLine(sortedKeywords(cardKeywords(ctx, CardKind::Reference, r.number)));
        for (QString* v : {&r.type, &r.title, &r.subtitle, &r.publisher, &r.town, &r.year, &r.isbn,
                           &r.review, &r.issue, &r.month, &r.pages})
            *v = keywords::oneLineName(*v);
        out << r;
    }
    return out;
}

QStringList referencesOfResultList(Session& ctx) {
    QStringList out;
    QSet<QString> seen;
    for (const retrieval::ResultLine& line : ctx.Result.ResultGrid) {
        if (line.ndx.isEmpty() || !seekReference(ctx, line.ndx)) continue;
        const QString number = ctx.rs().BIBLIO.NDX.text();
        if (seen.contains(number)) continue;
        seen.insert(number);
        out << number;
    }
    return out;
}

QString bibtexEscaped(const QString& text) {
    const bool pairs = bracesPair(text);
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\textbackslash{}");
            break;
        case u'{':
            out += pairs ? QLatin1String("\\{") : QLatin1String("\\textbraceleft{}");
            break;
        case u'}':
            out += pairs ? QLatin1String("\\}") : QLatin1String("\\textbraceright{}");
            break;
        case u'^':
            out += QLatin1String("\\^{}");
            break;
        case u'~':
            out += QLatin1String("\\~{}");
            break;
        case u'%':
        case u'&':
        case u'$':
        case u'#':
        case u'_':
            out += QLatin1Char('\\');
            out += c;
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString bibtexText(const QList<ExportedReference>& refs) {
    QString out;
    QSet<QString> keys;
    for (const ExportedReference& r : refs) {
        const QString entry = r.type == QLatin1String("Book")      ? QStringLiteral("book")
                              : r.type == QLatin1String("Article") ? QStringLiteral("article")
                                                                   : QStringLiteral("misc");
        out += QLatin1Char('@') + entry + QLatin1Char('{') + bibtexKey(r.number, keys);
        auto field = [&out](const char* name, const QString& value, bool braced = true) {
            if (value.isEmpty()) return;
            out += QLatin1String(",\n  ") + QLatin1String(name) + QLatin1String(" = ");
            out += braced ? QString(QLatin1Char('{') + bibtexEscaped(value) + QLatin1Char('}'))
                          : value;
        };
        QStringList authors;
        for (const QString& a : r.authors) {
            static const QRegularExpression andWord(QStringLiteral("\\band\\b"),
                                                    QRegularExpression::CaseInsensitiveOption);
            // A name holding the word "and" is braced whole, or it would read as two people.
            const QString e = bibtexEscaped(a);
            authors << (a.contains(andWord) ? QString(QLatin1Char('{') + e + QLatin1Char('}')) : e);
        }
        if (!authors.isEmpty())
            out += QLatin1String(",\n  author = {") + authors.join(QLatin1String(" and ")) +
                   QLatin1Char('}');
        field("title", r.title);
        field("subtitle", r.subtitle);
        field("publisher", r.publisher);
        field("address", r.town);
        field("year", r.year);
        field("isbn", r.isbn);
        field("journal", r.review);
        field("number", r.issue);
        if (!r.month.isEmpty()) field("month", bibtexMonth(r.month), false);
        field("pages", r.pages);
        field("keywords", r.keywords.join(QLatin1String(", ")));
        out += QLatin1String("\n}\n\n");
    }
    return out;
}

QString risText(const QList<ExportedReference>& refs) {
    QString out;
    auto tag = [&out](const char* name, const QString& value) {
        if (!value.isEmpty())
            out += QLatin1String(name) + QLatin1String("  - ") + value + QLatin1String("\r\n");
    };
    for (const ExportedReference& r : refs) {
        tag("TY", r.type == QLatin1String("Book")      ? QStringLiteral("BOOK")
                  : r.type == QLatin1String("Article") ? QStringLiteral("JOUR")
                                                       : QStringLiteral("GEN"));
        tag("ID", r.number);
        for (const QString& a : r.authors)
            tag("AU", a);
        // RIS has no subtitle of its own: it follows the title.
        const QString title = r.subtitle.isEmpty() || r.title.isEmpty()
                                  ? QString(r.title + r.subtitle)
                                  : QString(r.title + QStringLiteral(": ") + r.subtitle);
        tag("TI", title);
        tag("PB", r.publisher);
        tag("CY", r.town);
        tag("PY", r.year);
        if (!r.year.isEmpty() && !r.month.isEmpty())
            tag("DA",
                r.year + QLatin1Char('/') + r.month.rightJustified(2, u'0') + QStringLiteral("//"));
        tag("SN", r.isbn);
        tag("T2", r.review);
        tag("IS", r.issue);
        const auto [start, end] = pageRange(r.pages);
        tag("SP", start);
        tag("EP", end);
        for (const QString& k : r.keywords)
            tag("KW", k);
        out += QLatin1String("ER  - \r\n\r\n");
    }
    return out;
}

Result<int> exportReferences(Session& ctx, const QString& path, const QStringList& numbers) {
    const Result<QList<ExportedReference>> refs =
        store::guard([&] { return readForExport(ctx, numbers); });
    if (!refs.ok()) return refs.status();
    const QString text =
        exportFormatOf(path) == ExportFormat::Ris ? risText(*refs) : bibtexText(*refs);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return Status::error(ErrorCode::DiskError,
                             QStringLiteral("The References could not be written to %1: %2")
                                 .arg(path, file.errorString()));
    return int(refs->size());
}

} // namespace vlm::cards
