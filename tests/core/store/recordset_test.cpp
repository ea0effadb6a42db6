#include "core/store/collation.h"
#include "support/storefixture.h"

#include <QDateTime>
#include <algorithm>
#include <map>
#include <random>

using namespace vlm::store;
using vlm::test::errorOf;

namespace {

// A small table: a text key, a second text field, a counter and a number.
TableDef linksTable() {
    TableDef t;
    t.name = "LINKS";
    t.createField("UP", FieldType::Text, 30);
    t.createField("DOWN", FieldType::Text, 30);
    t.createField("Num", FieldType::Long).attributes = AutoIncrField;
    t.createField("Val", FieldType::Integer);
    t.createField("Day", FieldType::DateTime);
    t.createIndex("Up", {"UP"});
    IndexDef& ud = t.createIndex("UpDown", {"UP", "DOWN"});
    ud.unique = true;
    t.createIndex("Num", {"Num"});
    return t;
}

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = Database::create(dir.file("t.vlm"), ";pwd=Rt48Kw27");
        db->appendTable(linksTable());
        rs = db->openRecordset("links");
    }
    void add(const QString& up, const QString& down, int val = 0) {
        vlm::test::addRow(*rs, {{"UP", up}, {"DOWN", down}, {"Val", val}});
    }
    // Reads field `f` from the current record to the end.
    QStringList walk(const QString& f) {
        QStringList out;
        while (!rs->eof()) {
            out << rs->value(f).toString();
            rs->moveNext();
        }
        return out;
    }

    vlm::test::TempDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Recordset> rs;
};

TEST_F(RecordsetTest, SeekOnLeadingFieldWalksOneBlockInOrder) {
    // "B" is in the same block as "b" for the store.
    for (auto [up, down] : {std::pair{"b", "z"}, {"a", "y"}, {"b", "c"}, {"c", "a"}, {"B", "m"}})
        add(up, down);
    rs->setIndex("updown");
    rs->seek(">=", "b");
    ASSERT_FALSE(rs->noMatch());
    QStringList block;
    while (!rs->eof() && compareText(rs->value("UP").toString(), QStringLiteral("b")) == 0) {
        block << rs->value("DOWN").toString();
        rs->moveNext();
    }
    EXPECT_EQ(block, QStringList({"c", "m", "z"}));
    EXPECT_EQ(rs->value("UP").toString(), "c"); // the walk stopped on the next block

    rs->seek("=", QVariantList{"B", "z"});
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->value("DOWN").toString(), "z");
    rs->seek("=", "bb");
    EXPECT_TRUE(rs->noMatch());
    EXPECT_TRUE(rs->eof());
}

TEST_F(RecordsetTest, EmptyTableAndMissingRecords) {
    EXPECT_TRUE(rs->eof());
    EXPECT_TRUE(rs->bof());
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_EQ(errorOf([&] { rs->moveFirst(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->value("UP"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->edit(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->seek("=", "x"); }), err::NoCurrentIndex);
    EXPECT_EQ(errorOf([&] { rs->setIndex("Nope"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->value("Nope"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->setValue("UP", "x"); }), err::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { db->openRecordset("NOPE"); }), err::NoSuchTable);
}

TEST_F(RecordsetTest, BookmarksSurviveOtherDeletesAndNameADeletedRecord) {
    for (int i = 0; i < 4; ++i)
        add("u", QString::number(i));
    rs->setIndex("UpDown");
    rs->seek("=", QVariantList{"u", "2"});
    const QByteArray two = rs->bookmark();
    rs->seek("=", QVariantList{"u", "1"});
    const QByteArray one = rs->bookmark();
    rs->remove();
    EXPECT_EQ(errorOf([&] { rs->value("DOWN"); }), err::RecordDeleted);
    rs->moveNext(); // the record after the deleted one
    EXPECT_EQ(rs->value("DOWN").toString(), "2");
    rs->moveFirst();
    rs->setBookmark(two);
    EXPECT_EQ(rs->value("DOWN").toString(), "2");
    rs->moveNext();
    EXPECT_EQ(rs->value("DOWN").toString(), "3");
    EXPECT_EQ(errorOf([&] { rs->setBookmark(one); }), err::RecordDeleted);
    EXPECT_EQ(errorOf([&] { rs->setBookmark("bad"); }), err::NotValidBookmark);
}

TEST_F(RecordsetTest, AddNewKeepsTheCurrentRecordAndEditMovesItInTheIndex) {
    for (auto [up, down] : {std::pair{"m", "1"}, {"p", "2"}})
        add(up, down);
    rs->setIndex("Up");
    rs->seek("=", "m");
    add("a", "3");
    EXPECT_EQ(rs->value("UP").toString(), "m");
    rs->setBookmark(rs->lastModified());
    EXPECT_EQ(rs->value("DOWN").toString(), "3");
    rs->seek("=", "m");
    rs->edit();
    rs->setValue("UP", "z");
    EXPECT_EQ(rs->value("UP").toString(), "z"); // the buffer is read while editing
    rs->update();
    EXPECT_EQ(rs->value("UP").toString(), "z");
    EXPECT_EQ(errorOf([&] { rs->moveNext(); }), 0);
    EXPECT_TRUE(rs->eof()); // "z" is now last
    rs->moveFirst();
    EXPECT_EQ(walk("UP"), QStringList({"a", "p", "z"}));
    rs->moveFirst();
    rs->edit();
    rs->setValue("DOWN", "changed");
    rs->cancelUpdate();
    EXPECT_EQ(rs->value("DOWN").toString(), "3");
}

TEST_F(RecordsetTest, CountersIncreaseAreNeverReusedAndAcceptExplicitValues) {
    add("a", "1");
    add("b", "2");
    rs->setIndex("Num");
    rs->moveLast();
    EXPECT_EQ(rs->value("Num").toInt(), 2);
    rs->remove();
    add("c", "3");
    rs->moveLast();
    EXPECT_EQ(rs->value("Num").toInt(), 3); // 2 is not given again
    vlm::test::addRow(*rs, {{"UP", "d"}, {"DOWN", "4"}, {"Num", 40}});
    add("e", "5");
    rs->moveLast();
    EXPECT_EQ(rs->value("Num").toInt(), 41);
    rs->edit();
    EXPECT_EQ(errorOf([&] { rs->setValue("Num", 5); }), err::FieldNotUpdatable);
    rs->cancelUpdate();
    // The counter survives closing the base.
    rs.reset();
    db->close();
    db = Database::open(dir.file("t.vlm"), false, false, ";pwd=Rt48Kw27", {linksTable()});
    rs = db->openRecordset("LINKS");
    rs->setIndex("Num");
    rs->moveLast();
    rs->remove();
    add("f", "6");
    rs->moveLast();
    EXPECT_EQ(rs->value("Num").toInt(), 42);
}

TEST_F(RecordsetTest, ValuesAreCheckedAgainstTheirFields) {
    rs->addNew();
    EXPECT_EQ(errorOf([&] { rs->setValue("UP", QString(31, 'x')); }), err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->setValue("UP", QString(30, QChar(0x00E9))); }), 0);
    EXPECT_EQ(errorOf([&] { rs->setValue("Val", 40000); }), err::NumericOverflow);
    EXPECT_EQ(errorOf([&] { rs->setValue("Val", "abc"); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { rs->setValue("Day", "not a date"); }), err::TypeMismatch);
    rs->setValue("Val", "12");
    rs->setValue("DOWN", "d");
    const QDateTime when(QDate(2024, 2, 29), QTime(13, 14, 15));
    rs->setValue("Day", when);
    rs->setValue("UP", QString());
    EXPECT_EQ(errorOf([&] { rs->update(); }), err::ZeroLength);
    rs->setValue("UP", "u");
    rs->update();
    rs->moveFirst();
    EXPECT_EQ(rs->value("Val").toInt(), 12);
    EXPECT_EQ(rs->value("Day").toDateTime(), when);
    EXPECT_EQ(rs->value("up").toString(), QString(1, 'u')); // names in any case
    Field down = rs->field("down");
    add("u", "other");
    EXPECT_EQ(errorOf([&] { add("U", "D"); }), err::DuplicateKey);
    EXPECT_EQ(down.text(), "D"); // the refused row is still pending
    rs->cancelUpdate();
    EXPECT_EQ(down.text(), "d"); // a held handle follows the current record
    rs->moveNext();
    EXPECT_EQ(down.text(), "other");
}

TEST_F(RecordsetTest, TransactionsCommitOrLeaveNothing) {
    db->beginTrans();
    for (const char* down : {"1", "2"})
        add("t", down);
    db->rollback();
    EXPECT_EQ(rs->recordCount(), 0);
    db->beginTrans();
    add("t", "3");
    db->commitTrans();
    EXPECT_EQ(rs->recordCount(), 1);
    // A walk in progress survives a rollback, and a table appended inside one is gone.
    rs->setIndex("Up");
    rs->moveFirst();
    db->beginTrans();
    TableDef t;
    t.name = "LATER";
    t.createField("A", FieldType::Long);
    db->appendTable(t);
    add("u", "4");
    db->rollback();
    EXPECT_EQ(errorOf([&] { db->openRecordset("LATER"); }), err::NoSuchTable);
    EXPECT_EQ(rs->value("DOWN").toString(), "3");
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
}

TEST_F(RecordsetTest, TransactionGuardUndoesWorkThatFails) {
    add("a", "1");
    // Work that fails after a write leaves nothing of it, and reaches the caller as a Status.
    const vlm::Status s = guard([&] {
                              Transaction t(*db);
                              add("b", "2");
                              vlm::store::raise(err::DiskFull);
                          }).status();
    EXPECT_EQ(s.code(), vlm::ErrorCode::DiskFull);
    EXPECT_EQ(s.message(), errorDescription(err::DiskFull));
    EXPECT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(db->transactionDepth(), 0);
    {
        Transaction t(*db);
        add("c", "3");
        t.commit();
    }
    EXPECT_EQ(rs->recordCount(), 2);
    // A closed base invalidates its recordsets.
    db->close();
    EXPECT_EQ(errorOf([&] { rs->moveFirst(); }), err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { rs->addNew(); }), err::ObjectInvalid);
}

// Random walks, seeks, adds and deletes, compared with a plain sorted list of the rows.
TEST_F(RecordsetTest, MatchesAPlainModelUnderRandomWork) {
    struct Row {
        QString up, down;
        int seq;
    };
    std::vector<Row> model;
    auto ordered = [&] {
        std::vector<Row> v = model;
        std::stable_sort(v.begin(), v.end(),
                         [](const Row& a, const Row& b) { return compareText(a.up, b.up) < 0; });
        return v;
    };
    std::mt19937 rng(42);
    const QStringList keys = {"a", "B", "b", "c", "é", "E", "f", ""};
    rs->setIndex("Up");
    int seq = 0;
    for (int step = 0; step < 600; ++step) {
        const int op = int(rng() % 10);
        if (op < 4 || model.empty()) {
            QString up = keys[int(rng() % (keys.size() - 1))];
            QString down = QString::number(seq);
            add(up, down);
            model.push_back({up, down, seq++});
        } else if (op < 6) {
            // Seek a key, delete the record found, and check the walk goes on after it.
            const QString k = keys[int(rng() % (keys.size() - 1))];
            rs->seek(">=", k);
            auto v = ordered();
            auto it = std::find_if(v.begin(), v.end(),
                                   [&](const Row& r) { return compareText(r.up, k) >= 0; });
            ASSERT_EQ(rs->noMatch(), it == v.end());
            if (it == v.end()) continue;
            ASSERT_EQ(rs->value("DOWN").toString(), it->down);
            rs->remove();
            model.erase(std::find_if(model.begin(), model.end(),
                                     [&](const Row& r) { return r.seq == it->seq; }));
            rs->moveNext();
            if (it + 1 == v.end())
                ASSERT_TRUE(rs->eof());
            else
                ASSERT_EQ(rs->value("DOWN").toString(), (it + 1)->down);
        } else {
            // A full walk in both directions; the position follows the walk.
            auto v = ordered();
            ASSERT_EQ(rs->recordCount(), long(v.size()));
            rs->moveFirst();
            for (size_t i = 0; i < v.size(); ++i, rs->moveNext()) {
                ASSERT_EQ(rs->value("DOWN").toString(), v[i].down);
                ASSERT_DOUBLE_EQ(rs->percentPosition(), 100.0 * double(i + 1) / double(v.size()));
            }
            ASSERT_TRUE(rs->eof());
            ASSERT_DOUBLE_EQ(rs->percentPosition(), 100.0);
            rs->moveLast();
            for (auto r = v.rbegin(); r != v.rend(); ++r, rs->movePrevious())
                ASSERT_EQ(rs->value("DOWN").toString(), r->down);
            ASSERT_TRUE(rs->bof());
            ASSERT_DOUBLE_EQ(rs->percentPosition(), 0.0);
        }
    }
}

} // namespace
