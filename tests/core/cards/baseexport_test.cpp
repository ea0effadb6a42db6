// Taking a base out: the JSON document read back against the rows it came from, field by
// field, and the Markdown files of its cards.
#include "core/cards/baseexport.h"
#include "support/cardtestbase.h"
#include "support/qstringprint.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace vlm;
using namespace vlm::test;

namespace {

// A value told apart by table, field and type, cut to the field's size.
QVariant sample(const store::TableDef& t, const store::FieldDef& f) {
    using T = store::FieldType;
    const QString text = (t.name + QLatin1Char(' ') + f.name + " é\"\n").left(f.size ? f.size : 99);
    return f.type == T::Long || f.type == T::Integer
               ? QVariant(int(t.name.size() * 100 + f.name.size()))
           : f.type == T::DateTime
               ? QVariant(QDateTime(QDate(2024, 3, int(f.name.size())), QTime(10, 20, 30)))
           : f.type == T::Boolean ? QVariant(true)
                                  : QVariant(text);
}

QJsonValue at(QJsonValue v, const QString& path) {
    for (const QString& step : path.split(QLatin1Char('/'))) {
        bool index = false;
        const int i = step.toInt(&index);
        v = index ? v.toArray().at(i) : v.toObject().value(step);
    }
    return v;
}

struct BaseExportTest : ::testing::Test {
    CardBase b;
    // Every row written, with the places where the document must show it.
    std::vector<std::pair<QVariantMap, QStringList>> written;

    // Adds a row of `table` with a sample in every field but the counters, `set` over them.
    void row(const QString& table, const QVariantMap& set, const QStringList& paths) {
        auto rs = b.ctx.base.BaseDb->openRecordset(table);
        QVariantMap values;
        for (const store::FieldDef& f : rs->tableDef().fields)
            if (!f.isCounter()) values[f.name] = set.value(f.name, sample(rs->tableDef(), f));
        rs->addNew();
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            rs->setValue(it.key(), it.value());
        rs->update();
        written.push_back({values, paths});
    }
    void SetUp() override {
        b.keywords({"Alpha", "Beta"});
        addRow(*b.ctx.rs().GROUP2, {{"GROUPE", "Beta"}, {"GROUPE2", "Alpha"}});
        row("NOTE", {{"CIT", "N/1"}, {"TITRE1", "Light \"on\""}, {"TEXTE", "Line 1\r\nLine 2"}},
            {"notes/0"});
        row("BIBLIO", {{"NDX", "B1"}, {"EDITEUR", "Pub"}}, {"references/0"});
        row("CIT", {{"CIT", "Q1"}, {"NDX", "b1"}}, {"references/0/quotes/0"});
        row("CIT", {{"CIT", "Q2"}, {"NDX", "gone"}}, {"quotes/0"});
        row("EDITEUR", {{"NOM", "Pub"}}, {"references/0/publisher", "publishers/0"});
        row("RevueArticle", {{"NDX", "B1"}}, {"references/0/review/0"});
        row("REVUE", {}, {"reviews/0"});
        b.linkNote("N/1", "Beta");
        b.linkNote("N/1", "Alpha");
        b.linkQuote("Q1", "Beta");
        b.linkReference("B1", "Alpha");
        b.addAuthor("B1", "Smith");
        SessionBase::put(*b.ctx.rs().words, "Word", {"the"});
        SessionBase::put(*b.ctx.rs().AUTNOTE, "NOM", {"Ann"});
        SessionBase::put(*b.ctx.rs().AUTEURS, "NOM", {"Smith"});
    }
};

TEST_F(BaseExportTest, JsonHoldsEveryRowFieldByFieldAndTheLinksBetweenThem) {
    const QString path = b.dir.file("base.json");
    ASSERT_TRUE(*cards::exportJson(*b.ctx.base.BaseDb, path));
    const QJsonValue doc = QJsonDocument::fromJson(readAll(path)).object();

    for (const auto& [values, paths] : written)
        for (const QString& path : paths)
            for (auto it = values.cbegin(); it != values.cend(); ++it) {
                const QJsonValue v = at(doc, path + QLatin1Char('/') + it.key());
                const QString want = it.value().typeId() == QMetaType::QDateTime
                                         ? it.value().toDateTime().toString(Qt::ISODate)
                                         : it.value().toString();
                EXPECT_EQ(v.toVariant().toString(), want)
                    << qPrintable(path + QLatin1Char('/') + it.key());
            }
    const std::pair<const char*, const char*> derived[] = {
        {"notes/0/keywords", R"(["Beta", "Alpha"])"},
        {"references/0/keywords", R"(["Alpha"])"},
        {"references/0/authors", R"(["Smith"])"},
        {"references/0/quotes/0/keywords", R"(["Beta"])"},
        {"quotes/0/keywords", "[]"},
        {"keywords", R"(["Alpha", "Beta"])"},
        {"links", R"([{"subset": "Beta", "superset": "Alpha"}])"},
        {"exclusionList", R"(["the"])"},
        {"noteAuthors", R"(["Ann"])"},
        {"referenceAuthors", R"(["Smith"])"},
    };
    for (const auto& [where, json] : derived)
        EXPECT_EQ(at(doc, QLatin1String(where)).toArray(), QJsonDocument::fromJson(json).array())
            << where;
    EXPECT_EQ(at(doc, "types").toArray().size(), 13);
}

TEST_F(BaseExportTest, MarkdownGivesOneFileACardWithItsKeywordsAsTags) {
    const QString folder = b.dir.file("md");
    ASSERT_TRUE(*cards::exportMarkdown(*b.ctx.base.BaseDb, folder));
    const QDir out(folder);
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"Note N_1.md", "Quote Q1.md", "Quote Q2.md"}));
    EXPECT_EQ(QString::fromUtf8(readAll(out.filePath("Note N_1.md"))),
              QStringLiteral("---\nnumber: \"N/1\"\ntitle: \"Light \\\"on\\\"\"\n"
                             "author: \"NOTE AUTEUR é\\\"\\n\"\ndate: 2024-03-04T10:20:30\n"
                             "tags:\n  - \"Beta\"\n  - \"Alpha\"\n---\n\nLine 1\nLine 2\n"));
}

// A stop asked halfway leaves what was there as it was.
TEST_F(BaseExportTest, StoppedExportLeavesTheTargetAsItWas) {
    const QString path = b.dir.file("base.json"), folder = b.dir.file("md");
    struct : Progress {
        QList<qint64> seen;
        bool step(qint64 done, int, qint64 total) override {
            seen << done << total;
            return done < 2;
        }
    } stop;
    EXPECT_FALSE(*cards::exportJson(*b.ctx.base.BaseDb, path, &stop));
    EXPECT_FALSE(*cards::exportMarkdown(*b.ctx.base.BaseDb, folder, &stop));
    EXPECT_EQ(stop.seen, (QList<qint64>{1, 4, 2, 4, 1, 3, 2, 3}));
    EXPECT_FALSE(QFile::exists(path));
    const QByteArray base = readAll(b.path());
    EXPECT_FALSE(cards::exportJson(*b.ctx.base.BaseDb, b.path()).ok()); // never over the base
    EXPECT_EQ(readAll(b.path()), base);
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

} // namespace
