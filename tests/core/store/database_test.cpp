#include "core/store/collation.h"
#include "support/storefixture.h"

#include <sqlite3.h>

#include <QFile>
#include <random>

using namespace vlm::store;
using vlm::test::errorOf;
using vlm::test::openBase;
using vlm::test::readAll;
using vlm::test::writeAll;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    QString path(const QString& name = "d.vlm") const { return dir.file(name); }
    // A base holding one keyword and one Note.
    void makeFilled(const QString& p, const QString& user = {}) {
        auto db = vlm::test::makeBase(p, user);
        auto s = openSharedRecordsets(*db);
        vlm::test::addRow(*s->CGROUP1, {{"GROUPE", "Philosophy"}});
        vlm::test::addRow(*s->NOTE, {{"CIT", "LI__0001.TXT"}, {"TEXTE", "plaintext-marker-xyzzy"}});
    }
    int openError(const QString& p, const QString& user = {}) {
        return errorOf([&] { openBase(p, user); });
    }
    vlm::test::TempDir dir;
};

TEST_F(DatabaseTest, TheFileHoldsNoPlaintextAndNeedsItsPassword) {
    makeFilled(path(), "secret");
    const QByteArray bytes = readAll(path());
    ASSERT_GT(bytes.size(), 0);
    EXPECT_EQ(bytes.size() % Database::kPageSize, 0);
    for (const char* plain : {"plaintext-marker-xyzzy", "Philosophy", "CGROUP1", "SQLite format 3"})
        EXPECT_FALSE(bytes.contains(plain)) << plain;
    EXPECT_EQ(openError(path()), err::WrongPassword);
    EXPECT_EQ(openError(path(), "Secret"), err::WrongPassword);
    auto db = openBase(path(), "secret");
    auto note = db->openRecordset("NOTE");
    note->setIndex("NoteNDX");
    note->seek("=", "LI__0001.TXT");
    EXPECT_EQ(note->value("TEXTE").toString(), "plaintext-marker-xyzzy");
}

TEST_F(DatabaseTest, CreatingOverAFileThatExistsLeavesItUntouched) {
    writeAll(path(), "precious");
    // The message naming the file is checked where the session shows it.
    EXPECT_EQ(errorOf([&] { Database::create(path(), ";pwd=Rt48Kw27"); }), err::DatabaseExists);
    EXPECT_EQ(readAll(path()), "precious");
    EXPECT_EQ(errorOf([&] { Database::create(dir.file("no/such/dir.vlm"), ";pwd=x"); }),
              err::FileNotFound);
}

TEST_F(DatabaseTest, ForeignDamagedAndAlteredFilesAreRefused) {
    makeFilled(path());
    const QByteArray good = readAll(path());

    std::mt19937 rng(1);
    QByteArray noise(8 * Database::kPageSize, '\0');
    for (char& c : noise)
        c = char(rng());
    QByteArray flipped = good;
    flipped[Database::kPageSize + 100] = char(flipped[Database::kPageSize + 100] ^ 0x55);
    // Each damaged copy with its error; 0 stands for any error. Zeros and text are never
    // taken for a base with another password.
    const std::pair<QByteArray, int> damaged[] = {
        {"", err::UnrecognizedFormat},
        {QByteArray(4 * Database::kPageSize, '\0'), err::CannotOpen},
        {QByteArray("Notes on things, plain text.\n").repeated(300).left(2 * Database::kPageSize),
         err::CannotOpen},
        {good.left(good.size() - 100), err::CannotOpen},
        {good.left(good.size() / Database::kPageSize / 2 * Database::kPageSize), 0},
        {noise, 0},
        {flipped, 0}};
    for (const auto& [bytes, want] : damaged) {
        writeAll(path("bad.vlm"), bytes);
        const int e = openError(path("bad.vlm"));
        EXPECT_TRUE(want ? e == want : e != 0) << bytes.size() << " bytes gave " << e;
    }

    // A plain SQLite file, and a base with an object the program never makes.
    sqlite3* raw = nullptr;
    sqlite3_open(QFile::encodeName(path("plain.vlm")).constData(), &raw);
    sqlite3_exec(raw, "CREATE TABLE t(a)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(openError(path("plain.vlm")), err::UnrecognizedFormat);

    for (const char* extra :
         {"CREATE TRIGGER tr AFTER INSERT ON NOTE BEGIN DELETE FROM CGROUP1; END",
          "CREATE VIEW v AS SELECT 1", "CREATE TABLE extra(a)", "DROP TABLE words"}) {
        QFile::remove(path("x.vlm"));
        QFile::copy(path(), path("x.vlm"));
        sqlite3_open(QFile::encodeName(path("x.vlm")).constData(), &raw);
        sqlite3_key(raw, "Rt48Kw27", 8);
        sqlite3_exec(raw, "PRAGMA cipher_page_size = 4096", nullptr, nullptr, nullptr);
        vlm::store::registerCollation(raw);
        ASSERT_EQ(sqlite3_exec(raw, extra, nullptr, nullptr, nullptr), SQLITE_OK) << extra;
        sqlite3_close(raw);
        EXPECT_EQ(openError(path("x.vlm")), err::UnrecognizedFormat) << extra;
    }
    EXPECT_EQ(openError(path("missing.vlm")), err::FileNotFound);
    EXPECT_EQ(openError(dir.path()), err::CannotOpen);
    EXPECT_EQ(openError(path()), 0); // the original is still fine
}

TEST_F(DatabaseTest, AReadOnlyBaseRefusesEveryWriteAndChangesNothing) {
    makeFilled(path());
    const QByteArray before = readAll(path());
    auto db = openBase(path(), {}, /*readOnly*/ true);
    EXPECT_TRUE(db->isReadOnly());
    auto s = openSharedRecordsets(*db);
    s->CGROUP1->moveFirst();
    EXPECT_EQ(s->CGROUP1.GROUPE.text(), "Philosophy");
    TableDef t;
    t.name = "MORE";
    t.createField("A", FieldType::Long);
    const std::function<void()> writes[] = {
        [&] { s->CGROUP1->addNew(); }, [&] { s->CGROUP1->edit(); }, [&] { s->CGROUP1->remove(); },
        [&] { db->appendTable(t); }};
    for (const auto& write : writes)
        EXPECT_EQ(errorOf(write), err::ReadOnly);
    s.reset();
    db->close();
    EXPECT_EQ(readAll(path()), before);

    // A file without write permission opens read-only by itself, for root too.
    QFile::setPermissions(path(), QFile::ReadOwner);
    EXPECT_TRUE(openBase(path())->isReadOnly());
}

TEST_F(DatabaseTest, WritesAreDurableWhileAWalkIsOpen) {
    makeFilled(path());
    {
        auto db = openBase(path());
        auto s = openSharedRecordsets(*db);
        s->TYPES->moveFirst(); // a walk in progress on another table
        s->CGROUP1->addNew();
        s->CGROUP1.GROUPE = "Added";
        s->CGROUP1->update();
        // Another connection sees the row before this one closes.
        auto other = openBase(path());
        auto kw = other->openRecordset("CGROUP1");
        EXPECT_EQ(kw->recordCount(), 2);
        s->TYPES->moveNext();
        EXPECT_EQ(s->TYPES.TYPE.text(), "Book");
    }
}

} // namespace
