#include "core/cards/importbase.h"

#include "core/cards/cardnumbers.h"
#include "core/common/prompter.h"
#include "core/session/basesession.h"
#include "core/store/collation.h"
#include "core/store/database.h"
#include "core/store/schema.h"
#include "core/store/storeerror.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <map>
#include <optional>

using namespace Qt::StringLiterals;

namespace vlm::cards {
namespace {

// The other base, as the statements name it.
const QString kSource = u"vlm_import"_s;

// How the rows of a table are merged.
enum class Merge {
    Unique, // a unique index refuses what the open base has already
    Equal,  // no unique index: a row equal to one of the open base is not added
    Card,   // cards: by number, renumbered when the number is another card's
};

struct TableCopy {
    const char* label; // nullptr: the label of the table before stays
    const char* table;
    const char* what;
    std::vector<const char*> fields;
    Merge merge;
    std::vector<const char*> equalOn = {}; // Equal: the fields that make two rows equal (all)
    const char* numberField = nullptr;     // a field that holds a card number...
    CardKind numberKind = CardKind::Note;  // ...of this kind
};

// The tables in the order they are copied, with the fields copied. TYPES is not imported.
const std::vector<TableCopy>& tableCopies() {
    using enum Merge;
    using enum CardKind;
    static const std::vector<TableCopy> copies = {
        {"Import Keywords List", "CGROUP1", "Keywords", {"GROUPE"}, Unique},
        {"Import Keywords Relations", "GROUP2", "Keyword links", {"GROUPE", "GROUPE2"}, Unique},
        {"Import Quotes",
         "CIT",
         "Quotes",
         {"CIT", "AUTEUR", "NDX", "JOUR", "CitCount", "TITRE1", "TEXTE", "TEXTRTF"},
         Card,
         {},
         "NDX",
         Reference},
        {"Import Quotes Keywords",
         "GRCIT",
         "Quote keywords",
         {"GROUPE", "NDX", "WordsNb"},
         Equal,
         {"GROUPE", "NDX"},
         "NDX",
         Quote},
        {"Import References",
         "BIBLIO",
         "References",
         {"NDX", "DATE", "BiblioCount", "AUTEUR", "TITRE1", "TITRE2", "Type", "EDITEUR", "LIEU",
          "ANNEE", "ISBN", "Congress", "TITRE_ORI", "EDITEUROR", "LIEU_ORIG", "DATE_ORIG"},
         Card},
        {"Import References Keywords",
         "GRBIB",
         "Reference keywords",
         {"GROUPE", "NDX"},
         Equal,
         {},
         "NDX",
         Reference},
        {nullptr, "AUTNDX", "Reference authors", {"NDX", "AUTEUR"}, Equal, {}, "NDX", Reference},
        {"Import Authors", "AUTEURS", "Authors", {"NOM"}, Equal},
        {"Import Editors", "EDITEUR", "Publishers", {"NOM", "Ville"}, Equal},
        {"Import Reviews", "REVUE", "Reviews", {"NOM", "Ville", "ISSN"}, Equal},
        {"Import Articles",
         "RevueArticle",
         "Articles",
         {"NDX", "RevueTitre", "RevueNumero", "RevueEditeur", "Lieu", "Annee", "Mois", "Pages"},
         Equal,
         {},
         "NDX",
         Reference},
        {"Import Notes",
         "NOTE",
         "Notes",
         {"CIT", "AUTEUR", "TITRE1", "TEXTE", "TEXTRTF", "JOUR", "NoteCount"},
         Card},
        {"Import Notes Keywords",
         "GRNOTE",
         "Note keywords",
         {"GROUPE", "NDX", "GrNoteCount", "WordsNb"},
         Equal,
         {"GROUPE", "NDX"},
         "NDX",
         Note},
        {nullptr, "AUTNOTE", "Note authors", {"NOM"}, Equal},
        {"Import List of Words", "words", "Excluded words", {"Word"}, Unique},
        {nullptr,
         "WordsCitIndex",
         "Quote word index rows",
         {"N°", "Mot", "TypeFichier", "Index", "NboccurIndex", "AsKW"},
         Equal,
         {},
         "Index",
         Quote},
        {nullptr,
         "WordsNoteIndex",
         "Note word index rows",
         {"N°", "Mot", "TypeFichier", "Index", "NboccurIndex", "AsKW"},
         Equal,
         {},
         "Index",
         Note},
        {nullptr, "WordsCitAll", "Quote word totals", {"Mot", "Occurences"}, Unique},
        {nullptr, "WordsNoteAll", "Note word totals", {"Mot", "Occurences"}, Unique},
    };
    return copies;
}

// A card kind: its table, its number, what makes two cards the same, and its numbering.
struct CardTable {
    CardKind kind;
    const char* table;
    const char* number;
    std::vector<const char*> same;
    QString (*prefix)(const QString&);
    NumberForm form;
};

// Planned in this order: a Quote is the same card only if its Reference is.
const std::vector<CardTable>& cardTables() {
    static const std::vector<CardTable> tables = {
        {CardKind::Reference,
         "BIBLIO",
         "NDX",
         {"AUTEUR", "TITRE1", "TITRE2", "Type", "EDITEUR", "LIEU", "ANNEE", "ISBN", "Congress",
          "TITRE_ORI", "EDITEUROR", "LIEU_ORIG", "DATE_ORIG"},
         referencePrefix,
         referenceNumber},
        {CardKind::Quote,
         "CIT",
         "CIT",
         {"AUTEUR", "TITRE1", "TEXTE", "TEXTRTF", "NDX"},
         quotePrefix,
         quoteNumber},
        {CardKind::Note,
         "NOTE",
         "CIT",
         {"AUTEUR", "TITRE1", "TEXTE", "TEXTRTF"},
         notePrefix,
         noteNumber},
    };
    return tables;
}

QString name(const char* n) {
    return QString::fromUtf8(n);
}
QString quoted(const char* n) {
    return u'"' + name(n) + u'"';
}
QString sourceTable(const char* table) {
    return kSource + u'.' + quoted(table);
}
QString mainTable(const char* table) {
    return u"main."_s + quoted(table);
}

const store::FieldDef& fieldDef(const char* table, const char* field) {
    for (const store::TableDef& t : store::velmoraSchema())
        if (t.name == name(table))
            for (const store::FieldDef& f : t.fields)
                if (f.name == name(field)) return f;
    store::raise(store::err::ItemNotFound, name(field));
}

// The counter field of a table, or nullptr.
const store::FieldDef* counterOfTable(const char* table) {
    for (const store::TableDef& t : store::velmoraSchema())
        if (t.name == name(table))
            for (const store::FieldDef& f : t.fields)
                if (f.isCounter()) return &f;
    return nullptr;
}

struct Cancelled {};

class Merger {
public:
    Merger(store::Database& db, Progress* progress) : db_(db), progress_(progress) {}

    void run(ImportReport& report) {
        db_.execute(u"CREATE TEMP TABLE IF NOT EXISTS vlm_renumbered (kind INTEGER, old TEXT "_s +
                    u"COLLATE "_s + QLatin1String(store::kCollationName) +
                    u", new TEXT, rid INTEGER, fresh INTEGER, PRIMARY KEY (kind, old))"_s);
        db_.execute(u"DELETE FROM temp.vlm_renumbered"_s);
        if (progress_) progress_->phase(u"Import from table..."_s);
        tell(0);
        for (const CardTable& c : cardTables())
            plan(c, report);
        for (const TableCopy& t : tableCopies()) {
            if (t.label && progress_) progress_->phase(name(t.label));
            tell(0);
            report.tables.push_back(copy(t));
        }
        db_.execute(u"DROP TABLE temp.vlm_renumbered"_s);
    }

private:
    void tell(int percent) {
        if (progress_ && !progress_->step(-1, percent)) throw Cancelled{};
    }

    qint64 scalar(const QString& sql, const QVariantList& binds = {}) {
        const auto rows = db_.query(sql, binds);
        return rows.empty() || rows[0].isEmpty() ? 0 : rows[0][0].toLongLong();
    }

    // The value a field of source row `s` takes in the open base: a card number follows its
    // card when the card was renumbered.
    QString valueOf(const char* field, const char* numberField, CardKind kind) const {
        const QString plain = u"s."_s + quoted(field);
        if (!numberField || qstrcmp(field, numberField) != 0 || !renumbered_[int(kind)])
            return plain;
        return u"coalesce((SELECT m.new FROM temp.vlm_renumbered m WHERE m.kind = %1 AND "
               u"m.old = %2), %2)"_s.arg(int(kind))
                   .arg(plain);
    }

    // Finds the source cards whose number the open base gives to another card and gives each
    // the next free number of its prefix; one equal to a card of that prefix (imported before
    // under a new number) is that card.
    void plan(const CardTable& c, ImportReport& report) {
        const TableCopy* copy = nullptr;
        for (const TableCopy& t : tableCopies())
            if (qstrcmp(t.table, c.table) == 0) copy = &t;
        QStringList same, theirs, mine;
        for (const char* f : c.same) {
            const store::FieldDef& d = fieldDef(c.table, f);
            const QString t = u"t."_s + quoted(f);
            const QString s = valueOf(f, copy->numberField, copy->numberKind);
            if (d.type == store::FieldType::Text || d.type == store::FieldType::Memo)
                same << u"coalesce(%1, '') = coalesce(%2, '') COLLATE BINARY"_s.arg(t, s);
            else
                same << t + u" IS "_s + s;
            theirs << u"coalesce(%1, '')"_s.arg(s);
            mine << u"coalesce(%1, '')"_s.arg(t);
        }
        const QString num = quoted(c.number);
        const auto rows = db_.query(
            u"SELECT s.rowid, s.%1, %4 FROM %2 s JOIN %3 t ON t.%1 = s.%1 WHERE NOT (%5)"_s.arg(
                num, sourceTable(c.table), mainTable(c.table), theirs.join(u", "_s),
                same.join(u" AND "_s)));
        std::vector<QVariantList> map;
        for (const QVariantList& r : rows) {
            const QString from = r[1].toString();
            Prefix& p = prefix(c, from, mine.join(u", "_s));
            const auto known = p.byContent.find(contentKey(r, 2));
            const bool fresh = known == p.byContent.end();
            const QString to = fresh ? freeNumber(c, p, from) : known->second;
            if (fresh) report.renumbered.push_back({c.kind, from, to});
            map.push_back({int(c.kind), from, to, r[0], fresh});
        }
        db_.executeEach(
            u"INSERT INTO temp.vlm_renumbered (kind, old, new, rid, fresh) VALUES (?1, ?2, ?3, ?4, ?5)"_s,
            map);
        renumbered_[int(c.kind)] = !rows.empty();
    }

    static QString contentKey(const QVariantList& row, int from) {
        QString key;
        for (int i = from; i < row.size(); ++i)
            key += row[i].toString() + QChar(0x1f);
        return key;
    }

    // The numbers of a prefix in both bases, and the cards of the open base by content.
    struct Prefix {
        std::vector<char> used;
        int next = 1;
        std::map<QString, QString> byContent;
    };

    Prefix& prefix(const CardTable& c, const QString& number, const QString& content) {
        const QString text = c.prefix(number);
        Prefix& p = prefixes_[int(c.kind)][text.toCaseFolded()];
        if (!p.used.empty()) return p;
        p.used.assign(kMaxCardCounter + 1, 0);
        const char32_t last = 0x10FFFF;
        const QString bound = text + QString::fromUcs4(&last, 1);
        const QVariantList range{text, bound};
        const QString num = quoted(c.number);
        const QString where = u" WHERE t.%1 >= ?1 AND t.%1 <= ?2"_s.arg(num);
        for (const QVariantList& r :
             db_.query(u"SELECT t.%1 FROM %2 t"_s.arg(num, mainTable(c.table)) + where, range))
            if (const int k = counterOf(r[0].toString(), text, c.form)) p.used[size_t(k)] = 1;
        // A card imported before under a new number has a number the other base lacks.
        for (const QVariantList& r : db_.query(
                 u"SELECT t.%1, %2 FROM %3 t"_s.arg(num, content, mainTable(c.table)) + where +
                     u" AND NOT EXISTS (SELECT 1 FROM %1 s WHERE s.%2 = t.%2)"_s.arg(
                         sourceTable(c.table), num),
                 range))
            p.byContent.emplace(contentKey(r, 1), r[0].toString());
        for (const QVariantList& r :
             db_.query(u"SELECT t.%1 FROM %2 t"_s.arg(num, sourceTable(c.table)) + where, range))
            if (const int k = counterOf(r[0].toString(), text, c.form)) p.used[size_t(k)] = 1;
        return p;
    }

    // The first number of the prefix that neither base holds and no other card of this import
    // was given.
    QString freeNumber(const CardTable& c, Prefix& p, const QString& number) {
        const QString text = c.prefix(number);
        while (p.next <= kMaxCardCounter && p.used[size_t(p.next)])
            ++p.next;
        if (p.next > kMaxCardCounter)
            throw store::StoreError(
                store::err::NumericOverflow,
                u"Every number of %1 is taken: the card %2 cannot be imported."_s.arg(text,
                                                                                      number));
        p.used[size_t(p.next)] = 1;
        return c.form(text, p.next);
    }

    // Copies one table, a slice of source rows at a time.
    ImportedTable copy(const TableCopy& t) {
        ImportedTable out{name(t.table), name(t.what)};
        const qint64 total = scalar(u"SELECT count(*) FROM "_s + sourceTable(t.table));
        const qint64 first = scalar(u"SELECT min(rowid) FROM "_s + sourceTable(t.table));
        const qint64 last = scalar(u"SELECT max(rowid) FROM "_s + sourceTable(t.table));
        const qint64 before =
            scalar(u"SELECT coalesce(max(rowid), 0) FROM "_s + mainTable(t.table));

        // Counter values: the source's when free, else new ones above every value in use.
        const store::FieldDef* counter = counterOfTable(t.table);
        const bool counterCopied =
            counter && std::find_if(t.fields.begin(), t.fields.end(), [&](const char* f) {
                           return name(f) == counter->name;
                       }) != t.fields.end();
        qint64 base = 0;
        if (counter) {
            const QString c = u'"' + counter->name + u'"';
            base = scalar(u"SELECT max(coalesce((SELECT next FROM main.vlm_counter WHERE name = "_s
                          u"?1), 1), coalesce((SELECT max(%1) FROM %2), 0) + 1, "_s
                          u"coalesce((SELECT max(%1) FROM %3), 0) + 1)"_s.arg(c, mainTable(t.table),
                                                                              sourceTable(t.table)),
                          {name(t.table)}) -
                   first;
            if (base + last > std::numeric_limits<qint32>::max())
                store::raise(store::err::NumericOverflow, counter->name);
        }

        // A card number follows its card: the renumbered ones are joined once per row.
        const bool mapped = t.numberField && renumbered_[int(t.numberKind)];
        const QString join =
            mapped ? u" LEFT JOIN temp.vlm_renumbered m ON m.kind = %1 AND m.old = s.%2"_s
                         .arg(int(t.numberKind))
                         .arg(quoted(t.numberField))
                   : QString();
        QStringList columns, values, inner;
        for (const char* f : t.fields) {
            columns << quoted(f);
            values << u"x."_s + quoted(f);
            const bool follows = mapped && qstrcmp(f, t.numberField) == 0;
            inner << (follows ? u"coalesce(m.new, s.%1)"_s.arg(quoted(f)) : u"s."_s + quoted(f)) +
                         u" AS "_s + quoted(f);
        }
        if (counter) {
            const QString c = u'"' + counter->name + u'"';
            const QString fresh = u"%1 + x.vlm_rid"_s.arg(base);
            if (counterCopied) {
                const int pos =
                    int(std::find_if(t.fields.begin(), t.fields.end(),
                                     [&](const char* f) { return name(f) == counter->name; }) -
                        t.fields.begin());
                values[pos] = u"CASE WHEN x.%1 IS NULL OR EXISTS (SELECT 1 FROM %2 t WHERE t.%1 "_s
                              u"= x.%1 AND t.rowid <= %3) THEN %4 ELSE x.%1 END"_s.arg(
                                  c, mainTable(t.table), QString::number(before), fresh);
            } else {
                columns << c;
                values << fresh;
            }
        }

        QString where;
        if (t.merge == Merge::Equal) {
            QStringList equal;
            const std::vector<const char*>& on = t.equalOn.empty() ? t.fields : t.equalOn;
            for (const char* f : on)
                if (!counter || name(f) != counter->name) equal << u"t.%1 IS x.%1"_s.arg(quoted(f));
            where = u" WHERE NOT EXISTS (SELECT 1 FROM %1 t WHERE t.rowid <= %2 AND %3)"_s.arg(
                mainTable(t.table), QString::number(before), equal.join(u" AND "_s));
        } else if (t.merge == Merge::Card) {
            where = u" WHERE NOT EXISTS (SELECT 1 FROM %1 t WHERE t.%2 = x.%2)"_s.arg(
                mainTable(t.table), quoted(t.fields[0]));
        }
        // OR FAIL: a row refused here (none should be) fails the import, whose transaction then
        // rolls back; a statement that could undo itself alone would first copy every index page
        // it touches, and each slice touches most of them.
        const QString insert =
            (t.merge == Merge::Unique ? u"INSERT OR IGNORE INTO "_s : u"INSERT OR FAIL INTO "_s) +
            mainTable(t.table) + u" ("_s + columns.join(u", "_s) + u") SELECT "_s +
            values.join(u", "_s) + u" FROM (SELECT s.rowid "_s + u"AS vlm_rid, "_s +
            inner.join(u", "_s) + u" FROM %1) x"_s;
        const QString slice =
            sourceTable(t.table) + u" s"_s + join + u" WHERE s.rowid BETWEEN ?1 AND ?2"_s;

        // Slices of source rows, so that the progress window moves and Cancel is heard.
        constexpr qint64 kSlice = 50000;
        if (total > 0) {
            for (qint64 lo = first; lo <= last; lo += kSlice) {
                out.added += db_.execute(insert.arg(slice) + where, {lo, lo + kSlice - 1});
                tell(int((std::min(lo + kSlice, last + 1) - first) * 100 / (last - first + 1)));
            }
        }
        if (t.merge == Merge::Card) {
            const CardTable& c =
                *std::find_if(cardTables().begin(), cardTables().end(),
                              [&](const CardTable& k) { return qstrcmp(k.table, t.table) == 0; });
            if (renumbered_[int(c.kind)]) {
                // The renumbered cards, under their new numbers.
                QString renumberedInsert =
                    insert.arg(u"temp.vlm_renumbered r JOIN "_s + sourceTable(t.table) +
                               u" s ON s.rowid = r.rid"_s + join +
                               u" WHERE r.fresh AND r.kind = "_s + QString::number(int(c.kind)));
                renumberedInsert.replace(u"s."_s + quoted(c.number) + u" AS "_s, u"r.new AS "_s);
                out.added += db_.execute(renumberedInsert);
            }
        }
        out.skipped = int(total) - out.added;
        return out;
    }

    store::Database& db_;
    Progress* progress_;
    bool renumbered_[3] = {false, false, false};
    std::map<QString, Prefix> prefixes_[3];
};

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    return x.exists() && y.exists() && x.canonicalFilePath() == y.canonicalFilePath();
}

// What the user reads when the other base cannot be opened.
QString unreadable(const store::StoreError& e, const QString& file) {
    if (e.number() == store::err::UnrecognizedFormat)
        return u"%1 is not a Velmora base: nothing was imported."_s.arg(file);
    if (e.number() == store::err::CannotOpen)
        return u"%1 is damaged or is not a Velmora base: nothing was imported."_s.arg(file);
    return e.description();
}

// Detaches the other base however the merge ends.
struct Attached {
    store::Database& db;
    ~Attached() {
        try {
            db.detach(kSource);
        } catch (const store::StoreError&) {
        }
    }
};

} // namespace

QString renumberedList(const ImportReport& report) {
    QString out;
    for (const RenumberedCard& r : report.renumbered) {
        const QString kind = r.kind == CardKind::Note    ? u"Note"_s
                             : r.kind == CardKind::Quote ? u"Quote"_s
                                                         : u"Reference"_s;
        out += kind + u' ' + r.from + u" → "_s + r.to + u'\n';
    }
    return out;
}

QString importSummary(const ImportReport& report) {
    QString out = u"Imported from %1:\n"_s.arg(report.source);
    for (const ImportedTable& t : report.tables)
        if (t.added || t.skipped)
            out +=
                u"%1: %2 added, %3 already in the base\n"_s.arg(t.what).arg(t.added).arg(t.skipped);
    if (report.renumbered.empty()) return out + u"No card was renumbered.\n"_s;
    return out +
           u"Cards renumbered, their numbers being taken in this base: %1\n"_s.arg(
               report.renumbered.size()) +
           renumberedList(report);
}

Result<ImportReport> importBase(store::Database& target, const QString& sourcePath,
                                Prompter& prompter, Progress* progress) {
    ImportReport report;
    const QString file = QFileInfo(sourcePath).fileName();
    report.source = file;
    if (sameFile(target.path(), sourcePath))
        return Status::error(
            ErrorCode::InvalidArgument,
            u"%1 is the open base: a base cannot be imported into itself."_s.arg(file));

    // The other base is opened once on its own, so that the store checks its tables and its
    // pages before anything is copied; its password is asked when the fixed one fails.
    const QString fixed = u";pwd="_s + store::BaseSession::fixedPassword();
    QString connect = fixed;
    for (int tries = 0;; ++tries) {
        try {
            store::Database::open(sourcePath, false, true, connect, store::velmoraSchema())
                ->close();
            break;
        } catch (const store::StoreError& e) {
            if (e.number() != store::err::WrongPassword)
                return Status::error(e.code(), unreadable(e, file));
            if (tries == 3)
                return Status::error(
                    e.code(), u"The password of %1 is wrong: nothing was imported."_s.arg(file));
        } catch (const std::bad_alloc&) {
            return store::outOfMemory();
        }
        const std::optional<QString> typed =
            prompter.input(u"Enter the Password of the base to import"_s, u"Password"_s, QString());
        if (!typed) {
            report.cancelled = true;
            return report;
        }
        connect = fixed + *typed;
    }

    const Status done = store::guard([&]() -> Status {
        target.attach(sourcePath, connect, kSource);
        Attached attached{target};
        try {
            store::Transaction transaction(target);
            Merger(target, progress).run(report);
            transaction.commit();
        } catch (const Cancelled&) {
            report = ImportReport{true, file, {}, {}};
            return {};
        } catch (const store::StoreError& e) {
            return Status::error(e.code(), e.description() + u" Nothing was imported."_s);
        }
        target.tablesChanged();
        return {};
    });
    if (!done.ok()) return done;
    return report;
}

} // namespace vlm::cards
