#include "core/cards/baseexport.h"

#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace vlm::cards {

namespace {

// Thrown when the progress asks to stop.
struct Stopped {};

QJsonValue jsonOf(store::FieldType type, const QVariant& v) {
    if (v.isNull() || !v.isValid()) return QJsonValue::Null;
    switch (type) {
    case store::FieldType::Long:
    case store::FieldType::Integer:
        return v.toLongLong();
    case store::FieldType::Boolean:
        return v.toBool();
    case store::FieldType::DateTime:
        return v.toDateTime().toString(Qt::ISODate);
    case store::FieldType::Text:
    case store::FieldType::Memo:
        break;
    }
    return v.toString();
}

// Every field of the current record, under its stored name.
QJsonObject rowObject(store::Recordset& rs) {
    QJsonObject o;
    const auto& fields = rs.tableDef().fields;
    for (int i = 0; i < int(fields.size()); ++i)
        o.insert(fields[size_t(i)].name, jsonOf(fields[size_t(i)].type, rs.fieldValue(i)));
    return o;
}

// Reads the base through recordsets of its own.
class BaseReader {
public:
    BaseReader(store::Database& db, Progress* progress) : db_(db), progress_(progress) {}

    std::unique_ptr<store::Recordset> open(const QString& table, const QString& index = {}) {
        auto rs = db_.openRecordset(table);
        rs->setIndex(index);
        return rs;
    }
    // Calls f on every record, in the order of the index.
    template <class F> static void each(store::Recordset& rs, F f) {
        if (rs.recordCount() == 0) return;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            f(rs);
    }
    // The rows of `index` equal to `key` (as the store compares), in order.
    template <class F>
    static void matching(store::Recordset& rs, const QString& field, const QString& key, F f) {
        if (key.isEmpty()) return;
        rs.seek(u"="_s, key);
        if (rs.noMatch()) return;
        for (; !rs.eof() && store::equalText(rs.value(field).toString(), key); rs.moveNext())
            f(rs);
    }
    QStringList column(const QString& table, const QString& index, const QString& field) {
        QStringList out;
        auto rs = open(table, index);
        each(*rs, [&](store::Recordset& r) { out << r.value(field).toString(); });
        return out;
    }
    QJsonArray rows(const QString& table, const QString& index = {}) {
        QJsonArray out;
        auto rs = open(table, index);
        each(*rs, [&](store::Recordset& r) { out.append(rowObject(r)); });
        return out;
    }
    // The keywords of a card, in the order they were attached.
    static QJsonArray keywords(store::Recordset& links, const QString& number) {
        QJsonArray out;
        matching(links, u"NDX"_s, number,
                 [&](store::Recordset& r) { out.append(r.value(u"GROUPE"_s).toString()); });
        return out;
    }
    void startCards(const QStringList& tables) {
        total_ = 0;
        for (const QString& t : tables)
            total_ += open(t)->recordCount();
    }
    // One card more is done; throws Stopped when the user asked to stop.
    void cardDone() {
        ++done_;
        if (progress_ && !progress_->step(done_, percentOf(done_, total_), total_)) throw Stopped{};
    }

private:
    store::Database& db_;
    Progress* progress_;
    qint64 done_ = 0;
    qint64 total_ = 0;
};

QJsonArray namesOf(const QStringList& names) {
    return QJsonArray::fromStringList(names);
}

QJsonObject baseDocument(store::Database& db, Progress* progress) {
    BaseReader in(db, progress);
    in.startCards({u"NOTE"_s, u"CIT"_s, u"BIBLIO"_s});

    QJsonObject doc;
    doc.insert(u"format"_s, u"Velmora base"_s);
    doc.insert(u"version"_s, 1);

    auto noteLinks = in.open(u"GRNOTE"_s, u"GrNoteNDX"_s);
    QJsonArray notes;
    auto noteRs = in.open(u"NOTE"_s, u"NoteNDX"_s);
    BaseReader::each(*noteRs, [&](store::Recordset& r) {
        QJsonObject note = rowObject(r);
        note.insert(u"keywords"_s, BaseReader::keywords(*noteLinks, r.value(u"CIT"_s).toString()));
        notes.append(note);
        in.cardDone();
    });
    doc.insert(u"notes"_s, notes);

    // The Quotes, gathered under the number of their Reference.
    auto quoteLinks = in.open(u"GRCIT"_s, u"GrCitNDX"_s);
    QHash<QString, QJsonArray> quotesOf;
    auto quoteRs = in.open(u"CIT"_s, u"CitNDX"_s);
    BaseReader::each(*quoteRs, [&](store::Recordset& r) {
        QJsonObject quote = rowObject(r);
        quote.insert(u"keywords"_s,
                     BaseReader::keywords(*quoteLinks, r.value(u"CIT"_s).toString()));
        quotesOf[r.value(u"NDX"_s).toString().toCaseFolded()].append(quote);
        in.cardDone();
    });

    auto refLinks = in.open(u"GRBIB"_s, u"GrBibNDX"_s);
    auto authors = in.open(u"AUTNDX"_s, u"AutNDX"_s);
    auto publishers = in.open(u"EDITEUR"_s, u"NOM"_s);
    auto review = in.open(u"RevueArticle"_s, u"NDX"_s);
    QJsonArray references;
    auto refRs = in.open(u"BIBLIO"_s, u"BibNDX"_s);
    BaseReader::each(*refRs, [&](store::Recordset& r) {
        const QString number = r.value(u"NDX"_s).toString();
        QJsonObject ref = rowObject(r);
        ref.insert(u"keywords"_s, BaseReader::keywords(*refLinks, number));
        QJsonArray names;
        BaseReader::matching(*authors, u"NDX"_s, number, [&](store::Recordset& a) {
            names.append(a.value(u"AUTEUR"_s).toString());
        });
        ref.insert(u"authors"_s, names);
        QJsonValue publisher = QJsonValue::Null;
        BaseReader::matching(*publishers, u"NOM"_s, r.value(u"EDITEUR"_s).toString(),
                             [&](store::Recordset& p) {
                                 if (publisher.isNull()) publisher = rowObject(p);
                             });
        ref.insert(u"publisher"_s, publisher);
        QJsonArray articles;
        BaseReader::matching(*review, u"NDX"_s, number,
                             [&](store::Recordset& a) { articles.append(rowObject(a)); });
        ref.insert(u"review"_s, articles);
        ref.insert(u"quotes"_s, quotesOf.take(number.toCaseFolded()));
        references.append(ref);
        in.cardDone();
    });
    doc.insert(u"references"_s, references);

    // Quotes whose Reference has gone: kept, in number order.
    std::vector<QJsonObject> gone;
    for (auto it = quotesOf.cbegin(); it != quotesOf.cend(); ++it)
        for (const QJsonValue& q : it.value())
            gone.push_back(q.toObject());
    std::sort(gone.begin(), gone.end(), [](const QJsonObject& a, const QJsonObject& b) {
        return store::compareText(a[u"CIT"_s].toString(), b[u"CIT"_s].toString()) < 0;
    });
    QJsonArray orphans;
    for (const QJsonObject& q : gone)
        orphans.append(q);
    doc.insert(u"quotes"_s, orphans);

    doc.insert(u"keywords"_s, namesOf(in.column(u"CGROUP1"_s, u"Groupe"_s, u"GROUPE"_s)));
    QJsonArray links;
    auto linkRs = in.open(u"GROUP2"_s, u"GrUpDown"_s);
    BaseReader::each(*linkRs, [&](store::Recordset& r) {
        links.append(QJsonObject{{u"subset"_s, r.value(u"GROUPE"_s).toString()},
                                 {u"superset"_s, r.value(u"GROUPE2"_s).toString()}});
    });
    doc.insert(u"links"_s, links);
    doc.insert(u"exclusionList"_s, namesOf(in.column(u"words"_s, u"WNDX"_s, u"Word"_s)));
    doc.insert(u"noteAuthors"_s, namesOf(in.column(u"AUTNOTE"_s, u"AutNoteNom"_s, u"NOM"_s)));
    doc.insert(u"referenceAuthors"_s, namesOf(in.column(u"AUTEURS"_s, u"Nom"_s, u"NOM"_s)));
    doc.insert(u"types"_s, namesOf(in.column(u"TYPES"_s, u"TYPE"_s, u"TYPE"_s)));
    doc.insert(u"publishers"_s, in.rows(u"EDITEUR"_s, u"NOM"_s));
    doc.insert(u"reviews"_s, in.rows(u"REVUE"_s));
    return doc;
}

Status fileFailure(const QString& path, const QString& why) {
    return Status::error(ErrorCode::DiskError, u"The file "_s + QDir::toNativeSeparators(path) +
                                                   u" cannot be written: "_s + why);
}

// A text as a YAML double-quoted scalar (the escapes JSON uses).
QString quoted(const QString& text) {
    QString out = u"\""_s;
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += u"\\n"_s;
        else if (c == u'\r')
            out += u"\\r"_s;
        else if (c == u'\t')
            out += u"\\t"_s;
        else if (c.unicode() < 0x20)
            out += u"\\u%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out + u'"';
}

// A card number as part of a file name: no folder separators, no characters other systems
// refuse.
QString fileNamePart(const QString& number) {
    QString out = number.trimmed();
    for (QChar& c : out)
        if (c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c)) c = u'_';
    return out.isEmpty() ? u"_"_s : out;
}

QString markdownOf(store::Recordset& card, const QJsonArray& keywords, bool quote) {
    QString md = u"---\n"_s;
    auto line = [&md, &card](const QString& key, const QString& field) {
        const QString value = card.value(field).toString();
        if (!value.isEmpty()) md += key + u": "_s + quoted(value) + u'\n';
    };
    line(u"number"_s, u"CIT"_s);
    line(u"title"_s, u"TITRE1"_s);
    line(u"author"_s, u"AUTEUR"_s);
    const QVariant day = card.value(u"JOUR"_s);
    if (!day.isNull()) md += u"date: "_s + day.toDateTime().toString(Qt::ISODate) + u'\n';
    if (quote) line(u"reference"_s, u"NDX"_s);
    if (keywords.isEmpty())
        md += u"tags: []\n"_s;
    else {
        md += u"tags:\n"_s;
        for (const QJsonValue& k : keywords)
            md += u"  - "_s + quoted(k.toString()) + u'\n';
    }
    QString text = card.value(u"TEXTE"_s).toString();
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    md += u"---\n\n"_s + text;
    if (!text.endsWith(u'\n')) md += u'\n';
    return md;
}

} // namespace

Result<bool> exportJson(store::Database& db, const QString& path, Progress* progress) {
    return store::guard([&]() -> Result<bool> {
        // Written over the base file itself, the export would take the base with it.
        if (QFileInfo(path).canonicalFilePath() == QFileInfo(db.path()).canonicalFilePath() &&
            QFileInfo::exists(path))
            return fileFailure(path, u"it is the open base"_s);
        QJsonObject doc;
        try {
            doc = baseDocument(db, progress);
        } catch (const Stopped&) {
            return false;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return fileFailure(path, file.errorString());
        file.write(QJsonDocument(doc).toJson(QJsonDocument::Indented));
        if (!file.commit()) return fileFailure(path, file.errorString());
        return true;
    });
}

Result<bool> exportMarkdown(store::Database& db, const QString& folder, Progress* progress) {
    return store::guard([&]() -> Result<bool> {
        if (!QDir().mkpath(folder)) return fileFailure(folder, u"no such folder"_s);
        QTemporaryDir staging(QDir(folder).filePath(u".velmora-export-XXXXXX"_s));
        if (!staging.isValid()) return fileFailure(folder, staging.errorString());

        BaseReader in(db, progress);
        in.startCards({u"NOTE"_s, u"CIT"_s});
        QStringList names;
        QSet<QString> taken; // folded, for file systems that ignore case
        Status failed;
        auto write = [&](store::Recordset& card, store::Recordset& links, const QString& prefix,
                         bool quote) {
            const QString number = card.value(u"CIT"_s).toString();
            const QString base = prefix + fileNamePart(number);
            QString name = base + u".md"_s;
            for (int n = 2; taken.contains(name.toCaseFolded()); ++n)
                name = base + u" ("_s + QString::number(n) + u").md"_s;
            taken.insert(name.toCaseFolded());
            QFile file(staging.filePath(name));
            if (failed.ok() &&
                (!file.open(QIODevice::WriteOnly) ||
                 file.write(markdownOf(card, BaseReader::keywords(links, number), quote).toUtf8()) <
                     0))
                failed = fileFailure(file.fileName(), file.errorString());
            names << name;
            in.cardDone();
        };
        try {
            auto noteLinks = in.open(u"GRNOTE"_s, u"GrNoteNDX"_s);
            auto notes = in.open(u"NOTE"_s, u"NoteNDX"_s);
            BaseReader::each(*notes,
                             [&](store::Recordset& r) { write(r, *noteLinks, u"Note "_s, false); });
            auto quoteLinks = in.open(u"GRCIT"_s, u"GrCitNDX"_s);
            auto quotes = in.open(u"CIT"_s, u"CitNDX"_s);
            BaseReader::each(
                *quotes, [&](store::Recordset& r) { write(r, *quoteLinks, u"Quote "_s, true); });
        } catch (const Stopped&) {
            return false;
        }
        if (!failed.ok()) return failed;
        QDir target(folder);
        for (const QString& name : names) {
            if (target.exists(name)) target.remove(name);
            if (!QFile::rename(staging.filePath(name), target.filePath(name)))
                return fileFailure(target.filePath(name), u"it cannot be replaced"_s);
        }
        return true;
    });
}

} // namespace vlm::cards
