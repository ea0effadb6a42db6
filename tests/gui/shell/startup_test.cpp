// Start-up: the start window and its animation, the start base, "Mémoire insuffisante".
#include "gui/shell/apptest.h"

#include "core/common/twips.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/startwindow.h"
#include "gui/shell/welcomedialog.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <new>

using namespace vlm;
using namespace vlm::test;

namespace {

// A frame whose start window cannot be made for want of memory.
class StarvedFrame : public Frame {
public:
    using Frame::Frame;

protected:
    StartWindow* createStartWindow() override { throw std::bad_alloc(); }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void startWindowAnimatesOverSixtyFiveTicks() {
        StartWindow w;
        QCOMPARE(w.objectName(), QStringLiteral("fDebut"));
        QCOMPARE(w.Label2->text(), QStringLiteral("Velmora"));
        QVERIFY(!w.Label1->text().isEmpty());
        QCOMPARE(w.Timer1->interval(), 10);
        w.show();
        const QRect design = w.designedPicture();
        const QPoint centre(design.left() + design.width() / 2, design.top() + design.height() / 2);
        QVERIFY(!w.Picture1->isVisible());
        QVERIFY(!w.Label1->isVisible() && !w.Label2->isVisible());
        QCOMPARE(w.Label2->x(), 0);

        QSignalSpy finished(&w, &StartWindow::finished);
        w.tick();
        QVERIFY(w.Picture1->isVisible());
        QCOMPARE(w.Picture1->width(), design.width() / 7);
        QCOMPARE(w.Picture1->geometry().left(), centre.x() - design.width() / 7 / 2);
        for (int i = 1; i < 7; ++i)
            w.tick();
        QCOMPARE(w.Picture1->geometry(), design);
        w.tick(); // n = 7
        QVERIFY(!w.Label2->isVisible());
        w.tick(); // n = 8
        QVERIFY(w.Label2->isVisible());
        QVERIFY(!w.Label1->isVisible());
        for (int n = 9; n <= 14; ++n)
            w.tick();
        QVERIFY(w.Label1->isVisible());
        QCOMPARE(w.Label2->x(), w.designedTitleLeft());
        QCOMPARE(w.Label1->x(), w.designedSecondLeft());
        for (int n = 15; n < 64; ++n)
            w.tick();
        QCOMPARE(finished.count(), 0);
        w.tick(); // n = 64: the 65th tick
        QCOMPARE(finished.count(), 1);
        QVERIFY(!w.Timer1->isActive());
        w.tick();
        QCOMPARE(finished.count(), 1);
    }

    void startOpensTheFirstFreeStartBaseSeededOnce() {
        Program p;
        writeAll(p.file(QStringLiteral("NewBase001.vlm")), "one");
        writeAll(p.file(QStringLiteral("NewBase002.vlm")), "two");
        QVERIFY(p.frame->start(false));
        StartWindow* start = p.frame->startWindow();
        QVERIFY(start && start->isVisible());
        for (int i = 0; i < 64; ++i)
            start->tick();
        QVERIFY(!p.main() || !p.main()->isVisible()); // not before the 65th tick
        QVERIFY(!QFile::exists(p.file(QStringLiteral("NewBase003.vlm"))));
        start->tick();

        QVERIFY(p.main() && p.main()->isVisible());
        QVERIFY(!p.frame->startWindow() || !p.frame->startWindow()->isVisible());
        QVERIFY(QFile::exists(p.file(QStringLiteral("NewBase003.vlm"))));
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase003.vlm"));
        QCOMPARE(p.main()->statusText(), QStringLiteral("NewBase003.vlm"));
        QCOMPARE(keywordNames(p.ctx), QStringList{QStringLiteral("No Keyword")});
        // The other files are left alone, and nothing was asked.
        QCOMPARE(readAll(p.file(QStringLiteral("NewBase001.vlm"))), QByteArray("one"));
        QVERIFY(p.prompter.shown().empty());
        QCOMPARE(p.quitsNow(), 0);
        QCOMPARE(p.ctx.mdiArea, p.main()->mdiArea());

        // Database > Load, "an existing base", the same file: the seed is not added again.
        p.main()->action(QStringLiteral("mLoad2"))->trigger();
        p.prompter.choose(p.file(QStringLiteral("NewBase003.vlm")));
        click(p.welcome()->Command2);
        QVERIFY(p.main()->isVisible());
        QCOMPARE(keywordNames(p.ctx), QStringList{QStringLiteral("No Keyword")});
        QCOMPARE(p.quitsNow(), 0);
    }

    void startBaseThatCannotBeCreatedOffersTheWelcomeDialog() {
        Program p;
        // The working folder is not a folder: the base cannot be made there.
        writeAll(p.file(QStringLiteral("plain")), "x");
        p.frame.reset();
        p.frame = std::make_unique<Frame>(p.ctx, p.file(QStringLiteral("plain")));
        p.frame->setQuitHandler([&p] { ++p.quits; });
        p.startNow();
        QCOMPARE(p.prompter.messages().size(), 1);
        QVERIFY(p.welcome() && p.welcome()->isVisible());
        QVERIFY(!p.welcome()->retryMode());
        QVERIFY(!p.main() || !p.main()->isVisible());
        QCOMPARE(p.quitsNow(), 0);
    }

    void aBaseNamedAtStartOpensInsteadOfAStartBase() {
        // A base with a password opens after the question; a missing file or a folder says so.
        for (const char* file : {"given.vlm", "missing.vlm", "folder.vlm"}) {
            const bool opens = QByteArray(file) == "given.vlm";
            Program p;
            p.prompter.type(QStringLiteral("sesame"));
            p.ctx.base.createBase(p.file(QStringLiteral("given.vlm")));
            p.ctx.base.closeBase();
            QDir(p.dir.path()).mkdir(QStringLiteral("folder.vlm"));
            p.prompter.clear();
            if (opens) p.prompter.type(QStringLiteral("sesame"));
            p.frame->setStartFile(p.file(QString::fromLatin1(file)));
            p.startNow();
            QVERIFY(!QFile::exists(p.file(QStringLiteral("NewBase001.vlm"))));
            if (opens) {
                QVERIFY(p.main() && p.main()->isVisible());
                QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - given.vlm"));
                QVERIFY(p.prompter.messages().isEmpty());
                continue;
            }
            QCOMPARE(p.prompter.messages().size(), 1);
            QVERIFY2(p.prompter.messages()[0].startsWith(QLatin1String("The base ")), file);
            QVERIFY(p.welcome() && p.welcome()->isVisible());
            QVERIFY(!p.main() || !p.main()->isVisible());
            QCOMPARE(p.quitsNow(), 0);
        }
    }

    void outOfMemoryAtStartSaysSo() {
        TempDir dir;
        ScriptedPrompter prompter;
        Session ctx(prompter);
        StarvedFrame frame(ctx, dir.path());
        frame.setQuitHandler([] {});
        QVERIFY(!frame.start(false));
        QCOMPARE(prompter.shown().size(), 1u);
        QCOMPARE(prompter.shown()[0].text, QStringLiteral("Mémoire insuffisante"));
        QCOMPARE(prompter.shown()[0].icon, Icon::Exclamation);
        QCOMPARE(prompter.shown()[0].buttons, Buttons::Ok);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

VLM_APP_TEST(StartupTest)
#include "startup_test.moc"
