// The store against what goes wrong with files: damaged and foreign files, crash journals,
// processes killed while writing, and disks that fail reads, writes and syncs.

#include "core/store/basecheck.h"
#include "core/store/collation.h"
#include "support/storefixture.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <array>
#include <atomic>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace vlm::store;
using vlm::test::addRow;
using vlm::test::errorOf;
using vlm::test::readAll;
using vlm::test::writeAll;

namespace {

// The default VFS with a switch: it counts the reads, writes and syncs of every file opened
// through it and fails the n-th one of a chosen kind, or dies there (in a forked child, a kill
// at that very point). Real syncs are skipped: a killed process loses nothing it wrote, and the
// tests stay fast.
class FaultyVfs {
public:
    enum Kind { Read, Write, Sync };
    FaultyVfs() : real_(sqlite3_vfs_find(nullptr)), vfs_(*real_) {
        vfs_.zName = "vlm-faulty";
        vfs_.pNext = nullptr;
        vfs_.pAppData = this;
        vfs_.szOsFile = int(sizeof(File)) + real_->szOsFile;
        vfs_.xOpen = &FaultyVfs::open;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~FaultyVfs() { sqlite3_vfs_unregister(&vfs_); }
    void arm(Kind kind, int n, bool die = false) {
        for (auto& c : counts_)
            c = 0;
        std::tie(kind_, at_, die_, fired_) = std::tuple(kind, n, die, false);
    }
    void disarm() { at_ = 0; }
    int count(Kind kind) const { return counts_[kind]; }
    bool fired() const { return fired_; }

private:
    struct File {
        sqlite3_file base;
        FaultyVfs* owner;
        sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
    };
    static sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<File*>(f)->real(); }
    static bool hit(sqlite3_file* f, Kind kind) {
        FaultyVfs& v = *reinterpret_cast<File*>(f)->owner;
        if (++v.counts_[kind] != v.at_ || v.kind_ != kind) return false;
        if (v.die_) _exit(0);
        v.fired_ = true;
        return true;
    }
    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* f, int flags, int* out) {
        File* file = reinterpret_cast<File*>(f);
        file->owner = static_cast<FaultyVfs*>(vfs->pAppData);
        const int rc =
            file->owner->real_->xOpen(file->owner->real_, name, file->real(), flags, out);
        f->pMethods = rc == SQLITE_OK ? &kMethods : nullptr;
        return rc;
    }
    // The method of the real file a member of sqlite3_io_methods names, called with `args`.
    template <auto Method>
    static constexpr auto forward = [](sqlite3_file* f, auto... args) {
        return (real(f)->pMethods->*Method)(real(f), args...);
    };
    using M = sqlite3_io_methods;
    static int read(sqlite3_file* f, void* p, int n, sqlite3_int64 at) {
        return hit(f, Read) ? SQLITE_IOERR_READ : forward<&M::xRead>(f, p, n, at);
    }
    static int write(sqlite3_file* f, const void* p, int n, sqlite3_int64 at) {
        return hit(f, Write) ? SQLITE_IOERR_WRITE : forward<&M::xWrite>(f, p, n, at);
    }
    static int sync(sqlite3_file* f, int) { return hit(f, Sync) ? SQLITE_IOERR_FSYNC : SQLITE_OK; }
    // The slots of sqlite3_io_methods in their order.
    // clang-format off
    static constexpr M kMethods = {
        3, forward<&M::xClose>, read, write, forward<&M::xTruncate>, sync, forward<&M::xFileSize>,
        forward<&M::xLock>, forward<&M::xUnlock>, forward<&M::xCheckReservedLock>,
        forward<&M::xFileControl>, forward<&M::xSectorSize>, forward<&M::xDeviceCharacteristics>,
        forward<&M::xShmMap>, forward<&M::xShmLock>, forward<&M::xShmBarrier>,
        forward<&M::xShmUnmap>, forward<&M::xFetch>, forward<&M::xUnfetch>};
    // clang-format on

    sqlite3_vfs* real_;
    sqlite3_vfs vfs_;
    std::array<std::atomic<int>, 3> counts_{}; // the check at open reads in two threads
    Kind kind_ = Read;
    int at_ = 0;
    bool die_ = false;
    bool fired_ = false;
};

// A raw key spares these tests the key derivation of a password at every open.
const QString kKey = ";pwd=x'000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f'";

std::unique_ptr<Database> makeBase(const QString& p) {
    return Database::create(p, kKey, Encrypt, [](Database& db) {
        createSchema(db);
        writeSeedTypes(db);
    });
}
std::unique_ptr<Database> openBase(const QString& p, bool readOnly = false) {
    return Database::open(p, false, readOnly, kKey, velmoraSchema());
}

class StoreFaultTest : public ::testing::Test {
protected:
    QString path(const QString& name = "f.vlm") const { return dir.file(name); }
    int openError(const QString& p, bool readOnly = false) {
        return errorOf([&] { openBase(p, readOnly); });
    }
    // A connection of the store's own kind, outside the store, to damage a base.
    static sqlite3* rawOpen(const QString& p) {
        sqlite3* raw = nullptr;
        sqlite3_open(QFile::encodeName(p).constData(), &raw);
        const QByteArray key = Database::passwordOf(kKey).toUtf8();
        sqlite3_key(raw, key.constData(), int(key.size()));
        sqlite3_exec(raw, "PRAGMA cipher_page_size = 4096", nullptr, nullptr, nullptr);
        registerCollation(raw);
        return raw;
    }
    // Transaction k of a writer: Note Tk and k % 4 + 1 links to it, all or nothing.
    static void writeTransaction(Database& db, SharedRecordsets& s, int k) {
        Transaction t(db);
        const QString cit = QStringLiteral("T%1").arg(k);
        addRow(*s.NOTE,
               {{"CIT", cit}, {"TEXTE", QString(300 + k % 7 * 900, QChar(u'a' + k % 26))}});
        for (int i = 0; i <= k % 4; ++i)
            addRow(*s.GRNOTE, {{"GROUPE", QStringLiteral("K%1").arg(i)}, {"NDX", cit}});
        t.commit();
    }
    // The number of whole transactions in a base; fails the test on a half one.
    int wholeTransactions(const QString& p) {
        auto db = openBase(p);
        auto s = openSharedRecordsets(*db);
        const int notes = int(s->NOTE->recordCount());
        long links = 0; // transaction k wrote k % 4 + 1
        for (int k = 1; k <= notes; ++k)
            links += k % 4 + 1;
        EXPECT_EQ(s->GRNOTE->recordCount(), links) << notes << " notes";
        return notes;
    }
    vlm::test::TempDir dir;
    FaultyVfs vfs;
};

TEST_F(StoreFaultTest, IndexesThatDisagreeWithTheirTableAndUnreadableFilesAreRefused) {
    makeBase(path())->close();
    // The check at open as a large base has it, the tables read on a second connection.
    const auto checked = [](const QString& p) {
        sqlite3* raw = rawOpen(p);
        const bool intact = baseIntact(raw, [&p] { return rawOpen(p); });
        sqlite3_close(raw);
        return intact;
    };
    EXPECT_TRUE(checked(path()));
    // Indexes that disagree with their table: while a definition was altered, rows went in
    // (the index of Note numbers holds titles; the index of links misses a row; the index of
    // types is in the reverse order; the unique index of Note numbers holds one twice).
    const std::array<const char*, 4> damage[] = {
        {"NOTE.NoteNDX", "replace(sql, '(\"CIT\")', '(\"TITRE1\")')",
         "INSERT INTO NOTE(CIT, TITRE1) VALUES ('A1', 't1'), ('A2', 't2')",
         "replace(sql, '(\"TITRE1\")', '(\"CIT\")')"},
        {"GRNOTE.GrNoteNDX", "sql || ' WHERE 0'",
         "INSERT INTO GRNOTE(GROUPE, NDX) VALUES ('K', 'A1')", "replace(sql, ' WHERE 0', '')"},
        {"TYPES.TYPE", "replace(sql, '\")', '\" DESC)')", "REINDEX \"TYPES.TYPE\"",
         "replace(sql, ' DESC', '')"},
        {"NOTE.NoteNDX", "replace(sql, 'UNIQUE ', '')", "INSERT INTO NOTE(CIT) VALUES ('A'), ('A')",
         "replace(sql, 'INDEX', 'UNIQUE INDEX')"}};
    for (const auto& [index, alter, insert, restore] : damage) {
        QFile::remove(path("x.vlm"));
        QFile::copy(path(), path("x.vlm"));
        const std::string set = "; PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = ",
                          where = std::string(" WHERE name = '") + index + "';";
        for (const std::string& sql :
             {set.substr(2) + alter + where, insert + set + restore + where}) {
            sqlite3* raw = rawOpen(path("x.vlm"));
            EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                << sqlite3_errmsg(raw);
            sqlite3_close(raw);
        }
        EXPECT_EQ(openError(path("x.vlm")), err::CannotOpen) << index;
        EXPECT_FALSE(checked(path("x.vlm"))) << index;
    }
    // The check tells how far it has read; a reopen without it (a base the program has just
    // closed itself) trusts the file.
    struct Count : vlm::Progress {
        int steps = 0;
        bool step(qint64, int, qint64) override { return ++steps; }
    } count;
    Database::open(path(), false, false, kKey, velmoraSchema(), Database::Check::Full, &count);
    EXPECT_GT(count.steps, 0);
    EXPECT_NO_THROW(
        Database::open(path("x.vlm"), false, false, kKey, velmoraSchema(), Database::Check::None));
    // A file this program may not read (as root, a kernel switch that can only be written).
    const QString unreadable =
        ::geteuid() == 0 ? QStringLiteral("/proc/sys/vm/compact_memory") : path("bad.vlm");
    writeAll(path("bad.vlm"), "x");
    QFile::setPermissions(path("bad.vlm"), QFile::WriteOwner);
    if (QFileInfo::exists(unreadable)) {
        EXPECT_EQ(openError(unreadable), err::CannotRead);
    }
}

TEST_F(StoreFaultTest, ACrashJournalIsPlayedBackOrNamedWhenTheMediaIsReadOnly) {
    makeBase(path())->close();
    // A writer stopped in the middle of a transaction, its cache spilled into the file: a
    // copy of both files then is what a crash leaves, plus a torn last page.
    sqlite3* raw = rawOpen(path());
    const std::string fill = "PRAGMA cache_size = 8; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION "
                             "ALL SELECT i + 1 FROM n WHERE i < 60) INSERT INTO NOTE(CIT, TEXTE) "
                             "SELECT 'C' || i, hex(randomblob(1500)) FROM n";
    ASSERT_EQ(sqlite3_exec(raw, fill.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    for (const QString& suffix : {QString(), QStringLiteral("-journal")})
        ASSERT_TRUE(QFile::copy(path() + suffix, path("c.vlm") + suffix));
    sqlite3_close(raw);
    writeAll(path("c.vlm"), readAll(path("c.vlm")) + QByteArray(100, 'x'));

    EXPECT_EQ(openError(path("c.vlm"), /*readOnly*/ true), err::NeedsRecovery);
    QFile::setPermissions(path("c.vlm"), QFile::ReadOwner); // read-only even for root
    EXPECT_EQ(openError(path("c.vlm")), err::NeedsRecovery);
    QFile::setPermissions(path("c.vlm"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(wholeTransactions(path("c.vlm")), 0);
    EXPECT_FALSE(QFile::exists(path("c.vlm-journal")));
    EXPECT_EQ(QFileInfo(path("c.vlm")).size() % Database::kPageSize, 0);
}

// Killed at any write or sync, a creation leaves no file under the base's name or a whole base.
TEST_F(StoreFaultTest, CreationKilledAnywhereLeavesNoHalfMadeBase) {
    vfs.arm(FaultyVfs::Write, 0);
    makeBase(path("count.vlm"))->close();
    // Ten points spread over the writes and ten over the syncs, the last of each among them.
    std::vector<std::pair<FaultyVfs::Kind, int>> points;
    for (FaultyVfs::Kind kind : {FaultyVfs::Write, FaultyVfs::Sync}) {
        const int count = vfs.count(kind);
        ASSERT_GT(count, 10);
        for (int i = 1; i <= 10; ++i)
            points.push_back({kind, count * i / 10});
    }
    for (const auto& [kind, n] : points) {
        QFile::remove(path());
        const pid_t child = fork();
        if (child == 0) {
            vfs.arm(kind, n, /*die*/ true);
            errorOf([&] { makeBase(path()); });
            _exit(1); // not reached: the point is inside the creation
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << kind << " " << n;
        if (QFile::exists(path())) {
            auto db = openBase(path());
            EXPECT_EQ(db->openRecordset("TYPES")->recordCount(), 13) << kind << " " << n;
        }
    }
}

// A writer killed at random points, again and again: every transaction it committed is there
// whole, and nothing of the one it was writing. VELMORA_CRASH_ROUNDS sets the number of kills.
TEST_F(StoreFaultTest, AKilledWriterLosesNoCommittedTransactionAndLeavesNoHalfOne) {
    makeBase(path())->close();
    int rounds = qEnvironmentVariableIntValue("VELMORA_CRASH_ROUNDS");
    if (rounds <= 0) rounds = 24;
    std::mt19937 rng(20);
    int committed = 0;
    for (int round = 0; round < rounds; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            errorOf([&] {
                auto db = openBase(path());
                auto s = openSharedRecordsets(*db);
                for (int k = int(s->NOTE->recordCount()) + 1;; ++k) {
                    writeTransaction(*db, *s, k);
                    if (write(pipeEnds[1], &k, sizeof k) != sizeof k) break;
                }
            });
            _exit(1);
        }
        close(pipeEnds[1]);
        const int target = int(rng() % 6) + 1;
        int acked = committed, k = 0;
        for (int got = 0; got < target && read(pipeEnds[0], &k, sizeof k) == sizeof k; ++got)
            acked = k;
        for (unsigned i = rng() % 200000; i > 0; --i) // a random stretch into the next one
            std::atomic_signal_fence(std::memory_order_seq_cst);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        while (read(pipeEnds[0], &k, sizeof k) == sizeof k)
            acked = k;
        close(pipeEnds[0]);
        ASSERT_GT(acked, committed) << "the writer died before its first commit";
        committed = wholeTransactions(path());
        ASSERT_TRUE(committed == acked || committed == acked + 1) << acked << " " << committed;
    }
}

// Every n-th read, write or sync of a small workload fails in turn: the failure reaches the
// caller, and the base still opens with what was committed before it.
TEST_F(StoreFaultTest, EveryFailedReadWriteOrSyncIsReportedAndTheBaseKeepsItsCommits) {
    makeBase(path())->close();
    const QByteArray start = readAll(path());
    // The workload: open, two transactions, close. Returns how many transactions committed,
    // and whether a store error came back.
    auto work = [&](bool& failed) {
        int done = 0;
        failed = errorOf([&] {
                     auto db = openBase(path());
                     auto s = openSharedRecordsets(*db);
                     for (int k = 1; k <= 2; ++k, ++done)
                         writeTransaction(*db, *s, k);
                 }) != 0;
        return done;
    };
    for (FaultyVfs::Kind kind : {FaultyVfs::Read, FaultyVfs::Write, FaultyVfs::Sync}) {
        for (int n = 1;; ++n) {
            writeAll(path(), start);
            vfs.arm(kind, n);
            bool failed = false;
            const int done = work(failed);
            vfs.disarm();
            if (!vfs.fired()) {
                EXPECT_FALSE(failed);
                EXPECT_GT(n, 3) << kind;
                break;
            }
            EXPECT_TRUE(failed) << kind << " " << n;
            EXPECT_EQ(wholeTransactions(path()), done) << kind << " " << n;
        }
    }
}

} // namespace
