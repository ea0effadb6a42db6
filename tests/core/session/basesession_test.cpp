#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "support/scriptedprompter.h"
#include "support/storefixture.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

using namespace vlm;
using store::Next;

namespace {

class BaseSessionTest : public ::testing::Test {
protected:
    test::ScriptedPrompter prompter;
    Session ctx{prompter};
    test::TempDir dir;

    // Creates a base with a user password through the welcome-dialog operation.
    void createWithPassword(const QString& p, const QString& pwd) {
        prompter.type(pwd);
        ASSERT_EQ(ctx.base.createBase(p), Next::ShowMainWindow);
    }
    int keywordCount() { return int(ctx.rs().CGROUP1->recordCount()); }
};

TEST_F(BaseSessionTest, StartBaseNamesAreTheFirstFreeNumber) {
    EXPECT_EQ(store::BaseSession::freeStartBaseName(dir.path()), "NewBase001.vlm");
    test::writeAll(dir.file("NewBase001.vlm"), "x");
    test::writeAll(dir.file("NewBase002.vlm"), "x");
    EXPECT_EQ(store::BaseSession::freeStartBaseName(dir.path()), "NewBase003.vlm");
    for (int i = 3; i <= 999; ++i)
        test::writeAll(dir.file(QStringLiteral("NewBase%1.vlm").arg(i, 3, 10, QLatin1Char('0'))),
                       "");
    EXPECT_EQ(store::BaseSession::freeStartBaseName(dir.path()), "NewBase1000.vlm");
}

TEST_F(BaseSessionTest, PasswordsAskOnceThenSwitchToRetryMode) {
    const QString p = dir.file("pw.vlm");
    createWithPassword(p, "opensesame");
    EXPECT_EQ(ctx.base.BaseConnect, ";pwd=Rt48Kw27opensesame");
    EXPECT_EQ(ctx.base.fileName(), "pw.vlm");
    EXPECT_EQ(prompter.shown().back().text, "Enter a Password for your base - or leave it blank");
    EXPECT_EQ(prompter.shown().back().title, "Password");
    ctx.base.closeBase();

    // The fixed part alone fails, the question follows, a wrong answer gives retry mode.
    prompter.clear();
    prompter.type("wrong");
    EXPECT_EQ(ctx.base.openBase(p), Next::RetryMode);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, "Enter the Password for your base");
    EXPECT_FALSE(ctx.base.isOpen());
    EXPECT_TRUE(prompter.messages().isEmpty()); // a wrong password is never an error box

    prompter.type("opensesame");
    EXPECT_EQ(ctx.base.retryBasePassword(), Next::ShowMainWindow);
    EXPECT_TRUE(ctx.base.isOpen());
    EXPECT_EQ(ctx.base.BasePath, p);

    // Reopening asks again on a wrong password; cancelling falls back to the one in use.
    ctx.base.closeBase();
    ctx.base.BasePath = p;
    prompter.clear();
    prompter.type("wrong");
    prompter.type("opensesame");
    EXPECT_EQ(ctx.base.reopenBase(), Next::ShowMainWindow);
    EXPECT_EQ(prompter.shown().size(), 2u);
    EXPECT_TRUE(ctx.base.isOpen());
    ctx.base.closeBase();
    prompter.type(std::nullopt);
    EXPECT_EQ(ctx.base.reopenBase(), Next::ShowMainWindow);
    EXPECT_TRUE(ctx.base.isOpen());
}

TEST_F(BaseSessionTest, FailuresKeepThePreviousBaseOpen) {
    const QString first = dir.file("first.vlm");
    prompter.type(std::nullopt); // cancelling the question gives the empty password
    ASSERT_EQ(ctx.base.createBase(first), Next::ShowMainWindow);
    EXPECT_EQ(ctx.base.BaseConnect, ";pwd=Rt48Kw27");
    EXPECT_EQ(ctx.rs().TYPES->recordCount(), 13);
    test::addRow(*ctx.rs().CGROUP1, {{"GROUPE", "Kept"}});

    // Creating over an existing file: the store's description, no icon, nothing changed.
    const QByteArray zeros(16384, '\0');
    test::writeAll(dir.file("taken.vlm"), zeros);
    prompter.type("");
    EXPECT_EQ(ctx.base.createBase(dir.file("taken.vlm")), Next::StayInWelcome);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0],
              QStringLiteral("Database '%1' already exists.").arg(dir.file("taken.vlm")));
    EXPECT_EQ(prompter.shown().back().icon, Icon::None);
    EXPECT_EQ(test::readAll(dir.file("taken.vlm")), zeros);

    // Opening a file that is not a base is reported as such (no password question), and the
    // first base stays open.
    prompter.clear();
    EXPECT_EQ(ctx.base.openBase(dir.file("taken.vlm")), Next::ShowMainWindow);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("Cannot open the base '%1'. The file is damaged or is not "
                                         "a Velmora base.")
                              .arg(dir.file("taken.vlm"))});
    EXPECT_TRUE(ctx.base.isOpen());
    EXPECT_EQ(ctx.base.BasePath, first);
    EXPECT_EQ(keywordCount(), 1);

    // Creating in a folder that does not exist.
    prompter.clear();
    prompter.type("");
    EXPECT_EQ(ctx.base.createBase(dir.file("none/x.vlm")), Next::ShowMainWindow);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(ctx.base.BasePath, first);

    // With no base open, a failed open leaves the welcome dialog up.
    ctx.base.closeBase();
    prompter.clear();
    EXPECT_EQ(ctx.base.openBase(dir.file("taken.vlm")), Next::StayInWelcome);
    // A base without a password opens without a question.
    prompter.clear();
    EXPECT_EQ(ctx.base.openBase(first), Next::ShowMainWindow);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(BaseSessionTest, SaveAsMovesTheBaseAndKeepsItsPassword) {
    const QString p = dir.file("a.vlm");
    createWithPassword(p, "pw");
    test::addRow(*ctx.rs().CGROUP1, {{"GROUPE", "Moved"}});

    // Cancelled: the file stays where it was and is reopened without a question.
    prompter.clear();
    prompter.choose("");
    EXPECT_EQ(ctx.base.saveBaseAs(), Next::ShowMainWindow);
    EXPECT_EQ(ctx.base.BasePath, p);
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Please select a base");
    EXPECT_EQ(prompter.shown()[0].filter, "Velmora Base (*.vlm)|*.vlm|Access Base (*.mdb)|*.mdb");

    // To a new name.
    const QString q = dir.file("b.vlm");
    prompter.choose(q);
    EXPECT_EQ(ctx.base.saveBaseAs(), Next::ShowMainWindow);
    EXPECT_EQ(ctx.base.BasePath, q);
    EXPECT_EQ(ctx.base.fileName(), "b.vlm");
    EXPECT_FALSE(QFile::exists(p));
    EXPECT_EQ(keywordCount(), 1);

    // Onto a file that exists: refused, nothing overwritten, the base keeps its name.
    test::writeAll(p, "other");
    prompter.clear();
    prompter.choose(p);
    EXPECT_EQ(ctx.base.saveBaseAs(), Next::ShowMainWindow);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(test::readAll(p), "other");
    EXPECT_EQ(ctx.base.BasePath, q);
    EXPECT_EQ(keywordCount(), 1);
}

TEST_F(BaseSessionTest, MovingAcrossFileSystemsCopiesChecksThenRemoves) {
    test::writeAll(dir.file("m.vlm"), QByteArray(10000, 'q'));
    // /dev/shm is another file system than the temporary folder on most machines.
    const QString shm = QStringLiteral("/dev/shm/velmora-move-%1.vlm").arg(::getpid());
    if (!QDir("/dev/shm").exists()) GTEST_SKIP() << "no /dev/shm";
    EXPECT_EQ(store::moveBaseFile(dir.file("m.vlm"), shm), QString());
    EXPECT_FALSE(QFile::exists(dir.file("m.vlm")));
    EXPECT_EQ(test::readAll(shm), QByteArray(10000, 'q'));
    QFile::remove(shm);
    EXPECT_FALSE(store::moveBaseFile(dir.file("gone.vlm"), dir.file("x.vlm")).isEmpty());
}

} // namespace
