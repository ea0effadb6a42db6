#include "support/storefixture.h"

using namespace vlm::store;
using vlm::test::errorOf;

namespace {

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override {
        vlm::test::makeBase(dir.file("s.vlm"))->close();
        db = vlm::test::openBase(dir.file("s.vlm"));
    }
    // Adds one row to `table` with the given field values; returns the store error number.
    int addRow(const QString& table, const QList<std::pair<QString, QVariant>>& values) {
        auto rs = db->openRecordset(table);
        return errorOf([&] {
            rs->addNew();
            for (const auto& [f, v] : values)
                rs->setValue(f, v);
            rs->update();
        });
    }
    vlm::test::TempDir dir;
    std::unique_ptr<Database> db;
};

TEST_F(SchemaTest, ANewBaseHoldsOnlyTheSeededTypes) {
    for (const TableDef& t : db->tableDefs())
        EXPECT_EQ(db->openRecordset(t.name)->recordCount(), t.name == "TYPES" ? 13 : 0)
            << t.name.toStdString();

    // Seeded in this order; the TYPE index reads them alphabetically.
    auto types = db->openRecordset("Types");
    auto walk = [&](const char* index) {
        QStringList out;
        types->setIndex(index);
        for (types->moveFirst(); !types->eof(); types->moveNext())
            out << types->value("TYPE").toString();
        return out;
    };
    EXPECT_EQ(walk(""), seedTypes());
    QStringList sorted = seedTypes();
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(walk("TYPE"), sorted);
}

TEST_F(SchemaTest, TheStoreEnforcesTheSchema) {
    using V = QList<std::pair<QString, QVariant>>;
    EXPECT_EQ(addRow("TYPES", V{{"TYPE", "Book"}}), err::DuplicateKey);
    EXPECT_EQ(addRow("CGROUP1", V{{"GROUPE", "Paris"}}), 0);
    EXPECT_EQ(addRow("CGROUP1", V{{"GROUPE", "PARIS"}}), err::DuplicateKey);
    EXPECT_EQ(addRow("CGROUP1", V{{"GROUPE", QString(31, 'k')}}), err::FieldTooSmall);
    EXPECT_EQ(addRow("CGROUP1", V{{"GROUPE", QString(30, 'k')}}), 0);
    EXPECT_EQ(addRow("CGROUP1", V{{"GROUPE", ""}}), err::ZeroLength);
    EXPECT_EQ(addRow("GROUP2", V{{"GROUPE", "a"}, {"GROUPE2", "b"}}), 0);
    EXPECT_EQ(addRow("GROUP2", V{{"GROUPE", "a"}, {"GROUPE2", "b"}}), err::DuplicateKey);
    EXPECT_EQ(addRow("GROUP2", V{{"GROUPE", "b"}, {"GROUPE2", "a"}}), 0);
    EXPECT_EQ(addRow("NOTE", V{{"TITRE1", "no number"}}), err::NullInRequiredIndex);
    EXPECT_EQ(addRow("CIT", V{{"TITRE1", "no number"}}), err::NullInRequiredIndex);
    EXPECT_EQ(addRow("NOTE", V{{"CIT", "LI__0001.TXT"}, {"TITRE1", ""}, {"TEXTE", ""}}), 0);
    EXPECT_EQ(addRow("NOTE", V{{"CIT", "li__0001.txt"}}), err::DuplicateKey);
    EXPECT_EQ(addRow("GRBIB", V{{"GROUPE", ""}, {"NDX", ""}}), 0);
    EXPECT_EQ(addRow("words", V{{"Word", "the"}}), 0);
    EXPECT_EQ(addRow("Words", V{{"word", "The"}}), err::DuplicateKey);
    auto revue = db->openRecordset("REVUE");
    EXPECT_EQ(errorOf([&] { revue->seek("=", "x"); }), err::NoCurrentIndex);
}

TEST_F(SchemaTest, SharedRecordsetsOpenWithDefaultIndexesAndLiveHandles) {
    auto s = openSharedRecordsets(*db);
    EXPECT_EQ(s->NOTE->index(), "NoteNDX");
    EXPECT_EQ(s->CGROUP1->index(), "Groupe");
    EXPECT_EQ(s->GROUP2->index(), "");
    EXPECT_EQ(s->words->index(), "WNDX");
    s->TYPES->seek("=", "movie");
    ASSERT_FALSE(s->TYPES->noMatch());
    EXPECT_EQ(s->TYPES.TYPE.text(), "Movie");
    s->TYPES->moveNext();
    EXPECT_EQ(s->TYPES.TYPE.text(), "No Ref");
    vlm::test::addRow(*s->NOTE, {{"CIT", "LI__0001.TXT"}, {"TEXTE", "text"}});
    s->NOTE->seek("=", "LI__0001.TXT");
    EXPECT_EQ(s->NOTE.TEXTE.text(), "text");
    EXPECT_EQ(s->NOTE.NoteCount.value().toInt(), 1);
}

} // namespace
