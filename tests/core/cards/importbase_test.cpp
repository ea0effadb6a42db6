// Importing another base: every listed field once, nothing twice, cards whose number is taken
// renumbered with their links, authors and Quotes, passwords, and faults that change nothing.
#include "core/cards/importbase.h"

#include "support/sessionbase.h"

#include <gtest/gtest.h>

#include <set>

using namespace vlm;
using namespace vlm::test;
using namespace Qt::StringLiterals;

namespace {

// Fields an import leaves out: no operation uses them, or they are counters given new values.
const std::set<QString> kNotCopied = {
    u"NOTE.NOTE"_s,          u"NOTE.MATIERE"_s,       u"NOTE.SOUS_MATI"_s,
    u"AUTNOTE.AUTNOTENDX"_s, u"CIT.NOTE"_s,           u"CIT.COMMENT"_s,
    u"BIBLIO.MOIS"_s,        u"BIBLIO.REVUE"_s,       u"BIBLIO.NUMERO"_s,
    u"BIBLIO.CITATION"_s,    u"BIBLIO.ISSN"_s,        u"BIBLIO.NOTE"_s,
    u"BIBLIO.COMMENT"_s,     u"BIBLIO.COLLECTION"_s,  u"BIBLIO.NUMEROCOLL"_s,
    u"BIBLIO.JOURHEURE"_s,   u"AUTNDX.AuteurCount"_s, u"AUTNDX.BiblioCount"_s,
    u"EDITEUR.ADRESSE"_s,    u"EDITEUR.COMMENTAIR"_s, u"REVUE.ADRESSE"_s,
    u"REVUE.PERIODICIT"_s,   u"REVUE.DEBUT_PARU"_s,   u"REVUE.FIN_PARUTI"_s,
    u"CGROUP1.GrCount"_s,    u"GRCIT.GrCitCount"_s,   u"GRBIB.GrBibCount"_s,
    u"AUTEURS.AuteurCount"_s};

// Every row of every table, field by field; `all` keeps the fields an import does not copy.
QStringList dump(store::Database& db, bool all = true) {
    QStringList out;
    for (const store::TableDef& t : store::velmoraSchema()) {
        QStringList cols;
        for (const store::FieldDef& f : t.fields)
            if (all || !kNotCopied.count(t.name + u'.' + f.name)) cols << u'"' + f.name + u'"';
        for (const QVariantList& r : db.query(u"SELECT "_s + cols.join(u", "_s) + u" FROM \""_s +
                                              t.name + u"\" ORDER BY rowid"_s)) {
            QStringList v;
            for (const QVariant& x : r)
                v << (x.isNull() ? u"-"_s : x.toString());
            out << t.name + u": "_s + v.join(u'|');
        }
    }
    return out;
}

QStringList rows(store::Database& db, const QString& sql) {
    QStringList out;
    for (const QVariantList& r : db.query(sql)) {
        QStringList v;
        for (const QVariant& x : r)
            v << x.toString();
        out << v.join(u'|');
    }
    return out;
}

// A second base in the test's folder, written through its own recordsets.
struct Other {
    QString path;
    std::unique_ptr<store::Database> db;
    std::unique_ptr<store::SharedRecordsets> rs;
    Other(const SessionBase& b, const QString& password = {})
        : path(b.dir.file(u"other.vlm"_s)), db(makeBase(path, password)),
          rs(store::openSharedRecordsets(*db)) {}
    void close() {
        rs.reset();
        db.reset();
    }
};

// One row in each table of a base, every copied field set.
void fillEveryTable(store::Database& db) {
    for (const store::TableDef& t : store::velmoraSchema()) {
        if (t.name == u"TYPES"_s) continue;
        auto rs = db.openRecordset(t.name);
        if (t.name == u"CGROUP1"_s) addRow(*rs, {{"GROUPE", u"No Keyword"_s}});
        rs->addNew();
        for (const store::FieldDef& f : t.fields) {
            if (kNotCopied.count(t.name + u'.' + f.name)) continue;
            using T = store::FieldType;
            const QVariant v =
                f.type == T::Long || f.type == T::Integer ? QVariant(17)
                : f.type == T::DateTime ? QVariant(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)))
                : f.type == T::Boolean  ? QVariant(true)
                                        : QVariant((t.name + f.name).left(f.size ? f.size : 100));
            rs->setValue(f.name, v);
        }
        rs->update();
    }
}

// Keeps the labels of the phases; stops at the phase `stopAt`.
struct Phases : Progress {
    QString stopAt;
    std::vector<QString> labels;
    void phase(const QString& label, const QString&) override { labels.push_back(label); }
    bool step(qint64, int, qint64) override { return labels.empty() || labels.back() != stopAt; }
};

Result<cards::ImportReport> import(SessionBase& b, const QString& path,
                                   Progress* progress = nullptr) {
    return cards::importBase(*b.ctx.base.BaseDb, path, b.prompter, progress);
}

} // namespace

TEST(ImportBase, CopiesEveryListedFieldOnceAndNothingTheSecondTime) {
    SessionBase b;
    b.keywords({u"No Keyword"_s});
    Other other(b);
    fillEveryTable(*other.db);
    const QStringList source = dump(*other.db, false);
    other.close();

    Phases phases;
    const auto first = import(b, other.path, &phases);
    ASSERT_TRUE(first.ok()) << first.status().message().toStdString();
    EXPECT_EQ(dump(*b.ctx.base.BaseDb, false), source);
    EXPECT_EQ(phases.labels.front(), u"Import from table..."_s);
    EXPECT_EQ(phases.labels.back(), u"Import List of Words"_s);
    EXPECT_EQ(first->tables.front().skipped, 1); // "No Keyword"

    const QStringList once = dump(*b.ctx.base.BaseDb);
    const auto second = import(b, other.path);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(dump(*b.ctx.base.BaseDb), once);
    for (const cards::ImportedTable& t : second->tables)
        EXPECT_EQ(t.added, 0) << t.table.toStdString();
}

TEST(ImportBase, ACardWhoseNumberIsTakenIsRenumberedWithItsLinksAuthorsAndQuotes) {
    SessionBase b;
    auto& s = b.ctx.rs();
    // SMIT0005.TXT is the same card in both bases; the other numbers name different cards.
    auto cardsOf = [](store::SharedRecordsets& r, const QString& text, const QString& title,
                      const QString& keyword, const QStringList& authors) {
        addRow(*r.NOTE, {{"CIT", u"SMIT0001.TXT"_s}, {"AUTEUR", u"Smith"_s}, {"TEXTE", text}});
        addRow(*r.NOTE, {{"CIT", u"SMIT0005.TXT"_s}, {"AUTEUR", u"Smith"_s}, {"TEXTE", u"S"_s}});
        SessionBase::cardLink(*r.GRNOTE, keyword, u"SMIT0001.TXT"_s);
        SessionBase::cardLink(*r.GRNOTE, u"K5"_s, u"SMIT0005.TXT"_s);
        addRow(*r.BIBLIO, {{"NDX", u"Smith__001"_s}, {"TITRE1", title}});
        for (const QString& a : authors)
            addRow(*r.AUTNDX, {{"NDX", u"Smith__001"_s}, {"AUTEUR", a}});
        addRow(*r.CIT, {{"CIT", u"SMITH001.TXT"_s}, {"NDX", u"Smith__001"_s}, {"TEXTE", text}});
        SessionBase::cardLink(*r.GRCIT, keyword, u"SMITH001.TXT"_s);
    };
    cardsOf(s, u"A"_s, u"X"_s, u"K1"_s, {u"Smith"_s});
    Other other(b);
    cardsOf(*other.rs, u"B"_s, u"Y"_s, u"K2"_s, {u"Smith"_s, u"Jones"_s});
    addRow(*other.rs->RevueArticle, {{"NDX", u"Smith__001"_s}, {"RevueTitre", u"Review"_s}});
    other.close();

    const auto report = import(b, other.path);
    ASSERT_TRUE(report.ok()) << report.status().message().toStdString();
    EXPECT_EQ(cards::renumberedList(*report), u"Reference Smith__001 → Smith__002\n"
                                              u"Quote SMITH001.TXT → SMITH002.TXT\n"
                                              u"Note SMIT0001.TXT → SMIT0002.TXT\n"_s);
    store::Database& db = *b.ctx.base.BaseDb;
    const std::pair<QString, QStringList> tables[] = {
        {u"SELECT CIT, TEXTE FROM NOTE ORDER BY 1"_s,
         {u"SMIT0001.TXT|A"_s, u"SMIT0002.TXT|B"_s, u"SMIT0005.TXT|S"_s}},
        {u"SELECT NDX, GROUPE FROM GRNOTE ORDER BY 1, 2"_s,
         {u"SMIT0001.TXT|K1"_s, u"SMIT0002.TXT|K2"_s, u"SMIT0005.TXT|K5"_s}},
        {u"SELECT NDX, TITRE1 FROM BIBLIO ORDER BY 1"_s, {u"Smith__001|X"_s, u"Smith__002|Y"_s}},
        {u"SELECT NDX, AUTEUR FROM AUTNDX ORDER BY 1, 2"_s,
         {u"Smith__001|Smith"_s, u"Smith__002|Jones"_s, u"Smith__002|Smith"_s}},
        {u"SELECT CIT, NDX, TEXTE FROM CIT ORDER BY 1"_s,
         {u"SMITH001.TXT|Smith__001|A"_s, u"SMITH002.TXT|Smith__002|B"_s}},
        {u"SELECT NDX, GROUPE FROM GRCIT ORDER BY 1, 2"_s,
         {u"SMITH001.TXT|K1"_s, u"SMITH002.TXT|K2"_s}},
        {u"SELECT NDX, RevueTitre FROM RevueArticle"_s, {u"Smith__002|Review"_s}}};
    for (const auto& [query, expected] : tables)
        EXPECT_EQ(rows(db, query), expected) << query.toStdString();
    // The store's counters go on from the imported ones: a new row is not refused.
    EXPECT_EQ(rows(db, u"SELECT count(DISTINCT NoteCount), count(DISTINCT GrNoteCount) FROM NOTE, "
                       u"GRNOTE"_s),
              QStringList{u"3|3"_s});
    addRow(*s.GRNOTE, {{"GROUPE", u"K9"_s}, {"NDX", u"SMIT0002.TXT"_s}});

    // Imported again: the renumbered cards are found under their new numbers.
    const QStringList once = dump(db);
    ASSERT_TRUE(import(b, other.path).ok());
    EXPECT_EQ(dump(db), once);
}

TEST(ImportBase, APasswordIsAskedThreeTimesAndFaultsChangeNothing) {
    SessionBase b;
    b.keywords({u"Mine"_s});
    Other other(b, u"pw"_s);
    addRow(*other.rs->CGROUP1, {{"GROUPE", u"Theirs"_s}});
    addRow(*other.rs->NOTE, {{"CIT", u"N1"_s}});
    other.close();
    const QStringList before = dump(*b.ctx.base.BaseDb);
    const QString notABase = b.dir.file(u"text.vlm"_s), damaged = b.dir.file(u"damaged.vlm"_s);
    writeAll(notABase, QByteArray(8192, 'x').prepend("SQLite format 3"));
    writeAll(damaged, readAll(other.path).chopped(100));

    const auto nothing = [](const QString& why) { return why + u": nothing was imported."_s; };
    Phases atNotes;
    atNotes.stopAt = u"Import Notes"_s;
    // The base, the passwords typed, the progress and the message; an empty one: cancelled.
    const std::tuple<QString, std::vector<std::optional<QString>>, Progress*, QString> faults[] = {
        {b.path(), {}, {}, u"test.vlm is the open base: a base cannot be imported into itself."_s},
        {notABase, {}, {}, nothing(u"text.vlm is not a Velmora base"_s)},
        {damaged, {}, {}, nothing(u"damaged.vlm is damaged or is not a Velmora base"_s)},
        {other.path,
         {u"a"_s, u"b"_s, u"c"_s},
         {},
         nothing(u"The password of other.vlm is wrong"_s)},
        {other.path, {std::nullopt}, {}, {}},
        {other.path, {u"pw"_s}, &atNotes, {}},
    };
    for (const auto& [path, typed, progress, message] : faults) {
        for (const auto& t : typed)
            b.prompter.type(t);
        const auto r = import(b, path, progress);
        EXPECT_EQ(r.ok() ? QString() : r.status().message(), message);
        EXPECT_EQ(r.ok() && r->cancelled, message.isEmpty());
        EXPECT_EQ(dump(*b.ctx.base.BaseDb), before) << path.toStdString();
    }
    b.prompter.type(u"pw"_s);
    ASSERT_TRUE(import(b, other.path).ok());
    EXPECT_EQ(SessionBase::column(*b.ctx.rs().CGROUP1, u"GROUPE"_s),
              (QStringList{u"Mine"_s, u"Theirs"_s}));
}
