// The welcome dialog: its two modes, new and existing bases, passwords, quitting.
#include "gui/shell/apptest.h"

#include "core/common/twips.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/welcomedialog.h"

#include <QtTest>
#include <QtWidgets>

using namespace vlm;
using namespace vlm::test;

namespace {

QList<QPushButton*> retryButtons(WelcomeDialog* w) {
    return {w->CommandAgain, w->CommandOther, w->CommandNew, w->CommandQuit};
}

// The program started, and one of its main window's menu items chosen.
void startAndChoose(Program& p, const char* action) {
    p.startNow();
    p.main()->action(QString::fromLatin1(action))->trigger();
}

// A base with the password "sesame", then Load of it with a wrong one: the retry mode.
void intoRetryMode(Program& p) {
    startAndChoose(p, "mNewBase");
    p.prompter.choose(p.file(QStringLiteral("secret.vlm")));
    p.prompter.type(QStringLiteral("sesame"));
    click(p.welcome()->Command1);
    QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - secret.vlm"));
    p.main()->action(QStringLiteral("mLoad2"))->trigger();
    QVERIFY(!p.main()->isVisible() && !p.ctx.base.isOpen());
    p.prompter.clear();
    p.prompter.choose(p.file(QStringLiteral("secret.vlm")));
    p.prompter.type(QStringLiteral("wrong"));
    click(p.welcome()->Command2);
    QVERIFY(p.welcome()->retryMode());
}

} // namespace

class WelcomeTest : public QObject {
    Q_OBJECT
private slots:
    void normalModeHasTwoButtonsAndTheDefaultOne() {
        Program p;
        startAndChoose(p, "mNewBase");
        WelcomeDialog* w = p.welcome();
        QVERIFY(w && w->isVisible());
        QVERIFY(p.main()->isVisible()); // New keeps the main window
        QCOMPARE(w->windowTitle(), QStringLiteral("Velmora"));
        QCOMPARE(w->size(), twipsSize(4710, 2145));
        QCOMPARE(w->Command1->geometry(), twipsRect(1680, 960, 2655, 375));
        QCOMPARE(w->Command2->geometry(), twipsRect(1680, 1560, 2655, 375));
        QVERIFY(w->Command2->isDefault() && !w->Command1->isDefault());
        for (QPushButton* b : retryButtons(w))
            QVERIFY(!b->isVisible());
    }

    void newBaseCancelledCreatesNothing() {
        Program p;
        p.startNow();
        const auto before = snapshot(p.dir.path());
        p.main()->action(QStringLiteral("mNewBase"))->trigger();
        p.prompter.choose(QString());
        click(p.welcome()->Command1);
        QCOMPARE(snapshot(p.dir.path()), before);
        QVERIFY(p.welcome()->isVisible() && !p.welcome()->retryMode());
        const auto& shown = p.prompter.shown().back();
        QCOMPARE(shown.title, QStringLiteral(" Enter a name for your new base "));
        QCOMPARE(shown.filter,
                 QStringLiteral("Velmora Base (*.vlm)|*.vlm|Access Base (*.mdb)|*.mdb"));
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
    }

    void newBaseReplacesTheOpenOneUnderTheSameMainWindow() {
        Program p;
        startAndChoose(p, "mNewBase");
        p.prompter.choose(p.file(QStringLiteral("second.vlm")));
        p.prompter.type(QString());
        click(p.welcome()->Command1);
        QVERIFY(!p.welcome()->isVisible() && p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - second.vlm"));
        QCOMPARE(p.main()->statusText(), QStringLiteral("second.vlm"));
        // The new base gets its keyword though the main window stayed loaded.
        QCOMPARE(keywordNames(p.ctx), QStringList{QStringLiteral("No Keyword")});
        QCOMPARE(p.prompter.shown().back().text,
                 QStringLiteral("Enter a Password for your base - or leave it blank"));
    }

    void newBaseOverAnExistingFileKeepsTheDialogAndTheFile() {
        Program p;
        writeAll(p.file(QStringLiteral("taken.vlm")), "precious");
        startAndChoose(p, "mNewBase");
        p.prompter.choose(p.file(QStringLiteral("taken.vlm")));
        p.prompter.type(QString());
        click(p.welcome()->Command1);
        QCOMPARE(p.prompter.messages().size(), 1);
        QCOMPARE(p.prompter.shown().back().icon, Icon::None);
        QCOMPARE(readAll(p.file(QStringLiteral("taken.vlm"))), QByteArray("precious"));
        QVERIFY(p.welcome()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
    }

    void wrongPasswordsLeadToRetryModeAndTheRightOneOpens() {
        Program p;
        intoRetryMode(p);
        WelcomeDialog* w = p.welcome();
        QCOMPARE(p.prompter.shown().back().text,
                 QStringLiteral("Enter the Password for your base"));
        QCOMPARE(p.prompter.shown().back().title, QStringLiteral("Password"));
        QVERIFY(p.prompter.messages().isEmpty()); // a wrong password is never an error message
        QVERIFY(w->isVisible());
        QCOMPARE(w->Label1->text(),
                 QStringLiteral("Invalid Password - Please select an operation :"));
        QCOMPARE(w->size(), twipsSize(6290, 3915));
        QVERIFY(!w->Command1->isVisible() && !w->Command2->isVisible());
        const QList<QRect> places{twipsRect(600, 840, 5235, 495), twipsRect(600, 1440, 5235, 495),
                                  twipsRect(600, 2100, 5235, 495), twipsRect(600, 2760, 5235, 495)};
        for (int i = 0; i < 4; ++i)
            QVERIFY(retryButtons(w)[i]->isVisible() && retryButtons(w)[i]->geometry() == places[i]);
        QVERIFY(!p.main()->isVisible()); // closed after Load, and stays so

        p.prompter.type(QStringLiteral("wrong again"));
        click(w->CommandAgain);
        QVERIFY(w->isVisible() && w->retryMode() && !p.ctx.base.isOpen());

        p.prompter.type(QStringLiteral("sesame"));
        click(w->CommandAgain);
        QVERIFY(!w->isVisible() && p.main()->isVisible() && p.ctx.base.isOpen());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - secret.vlm"));
        QCOMPARE(p.quitsNow(), 0);
    }

    void quitInRetryModeTouchesNoFile() {
        Program p;
        intoRetryMode(p);
        const auto before = snapshot(p.dir.path());
        click(p.welcome()->CommandQuit);
        QCOMPARE(p.quitsNow(), 1);
        QCOMPARE(snapshot(p.dir.path()), before);
    }

    void cancellingOrClosingTheDialogEndsTheProgramOnlyAfterLoad() {
        // Closing the dialog after Load ends the program as well.
        const struct {
            const char* action;
            bool close; // the dialog closed, else its file dialog cancelled
            int quits;
        } runs[] = {{"mNewBase", false, 0}, {"mLoad2", false, 1}, {"mLoad2", true, 1}};
        for (const auto& r : runs) {
            Program p;
            startAndChoose(p, r.action);
            QCOMPARE(p.quitsNow(), 0);
            if (r.close) {
                p.welcome()->close();
            } else {
                p.prompter.choose(QString());
                click(p.welcome()->Command2);
            }
            QCOMPARE(p.quitsNow(), r.quits);
            if (!r.quits) QVERIFY(p.main()->isVisible() && p.ctx.base.isOpen());
        }
    }

    void openingAnotherBaseInRetryMode() {
        Program p;
        intoRetryMode(p);
        p.prompter.choose(p.file(QStringLiteral("NewBase001.vlm")));
        click(p.welcome()->CommandOther);
        QVERIFY(p.main()->isVisible() && !p.welcome()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
        // Shown again later, the dialog is back in normal mode.
        p.main()->action(QStringLiteral("mNewBase"))->trigger();
        QVERIFY(!p.welcome()->retryMode() && p.welcome()->Command1->isVisible());
    }
};

VLM_APP_TEST(WelcomeTest)
#include "welcome_test.moc"
