// The main window: menus, title and status bar, Save As, Quit, the Windows menu, About.
#include "gui/shell/apptest.h"
#include "gui/shell/guidewindow.h"

#include "core/common/twips.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/notewindow.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/mainwindow.h"
#include "support/storefixture.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>

using namespace vlm;
using namespace vlm::test;

namespace {

QMdiSubWindow* addChild(MainWindow* w, const QString& title) {
    auto* content = new QWidget;
    content->setWindowTitle(title);
    QMdiSubWindow* sub = w->mdiArea()->addSubWindow(content);
    sub->resize(200, 120);
    sub->show();
    return sub;
}

QStringList childTitles(MainWindow* w) {
    QStringList out;
    for (QMdiSubWindow* s : w->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        if (s->isVisible()) out << s->windowTitle();
    return out;
}

// Receives the pages the About window opens.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void loadsInPlaceAndSaveAsMovesTheBaseOrNothingWhenCancelled() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        QCOMPARE(w->width(), twipsToPixels(11730));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w->x(), (screen.width() - w->width()) / 2);
        QCOMPARE(w->y(), (screen.height() - w->height()) / 2);
        const QByteArray before = readAll(p.file(QStringLiteral("NewBase001.vlm")));
        p.prompter.choose(QString());
        p.main()->action(QStringLiteral("mSaveAs"))->trigger();
        QCOMPARE(p.prompter.shown().back().title, QStringLiteral("Please select a base"));
        QCOMPARE(readAll(p.file(QStringLiteral("NewBase001.vlm"))), before);
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
        QVERIFY(p.ctx.base.isOpen());

        // Save As to a new name moves the base, and the title follows.
        addChild(p.main(), QStringLiteral("card"));
        p.prompter.choose(p.file(QStringLiteral("moved.vlm")));
        p.main()->action(QStringLiteral("mSaveAs"))->trigger();
        QVERIFY(!QFile::exists(p.file(QStringLiteral("NewBase001.vlm"))));
        QVERIFY(QFile::exists(p.file(QStringLiteral("moved.vlm"))));
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - moved.vlm"));
        QCOMPARE(p.main()->statusText(), QStringLiteral("moved.vlm"));
        QVERIFY(childTitles(p.main()).isEmpty()); // child windows closed with the move
        QCOMPARE(keywordNames(p.ctx), QStringList{QStringLiteral("No Keyword")});
        QCOMPARE(p.quitsNow(), 0);
    }

    void closeAllKeepsTheFirstChildAndClosingTheMainWindowEnds() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        addChild(w, QStringLiteral("first"));
        addChild(w, QStringLiteral("second"));
        addChild(w, QStringLiteral("third"));
        QCOMPARE(w->loadedWindows().size(), 4);
        w->action(QStringLiteral("mCloseAll"))->trigger();
        QCOMPARE(childTitles(w), QStringList{QStringLiteral("first")});
        QVERIFY(w->isVisible());
        QCOMPARE(p.quitsNow(), 0);
        // Closing the main window closes the rest and ends the program.
        QVERIFY(w->close());
        QVERIFY(childTitles(w).isEmpty());
        QCOMPARE(p.quitsNow(), 1);
    }

    void windowsMenuListsCascadesAndArrangesTheChildWindows() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        addChild(w, QStringLiteral("Note 1"));
        QMdiSubWindow* second = addChild(w, QStringLiteral("Quote 2"));
        w->mdiArea()->setActiveSubWindow(second);
        auto* menu = w->findChild<QMenu*>(QStringLiteral("mWindows"));
        emit menu->aboutToShow();
        QStringList listed;
        QAction* checked = nullptr;
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("mWindowList")) {
                listed << a->text();
                if (a->isChecked()) checked = a;
            }
        QCOMPARE(listed, (QStringList{QStringLiteral("&1 Note 1"), QStringLiteral("&2 Quote 2")}));
        QVERIFY(checked && checked->text().endsWith(QLatin1String("Quote 2")));
        second->close();
        emit menu->aboutToShow(); // the list is live
        listed.clear();
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("mWindowList")) listed << a->text();
        QCOMPARE(listed, QStringList{QStringLiteral("&1 Note 1")});

        // Cascade and Arrange Icons.
        QMdiSubWindow* a = addChild(w, QStringLiteral("a"));
        QMdiSubWindow* b = addChild(w, QStringLiteral("b"));
        a->move(100, 100);
        b->move(100, 100);
        w->action(QStringLiteral("mWCascade"))->trigger();
        QVERIFY(a->pos() != b->pos());
        a->showMinimized();
        b->showMinimized();
        a->move(50, 0);
        b->move(50, 0);
        w->action(QStringLiteral("mWIcons"))->trigger();
        const int bottom = w->mdiArea()->viewport()->height();
        QCOMPARE(a->geometry().bottom() + 1, bottom);
        QCOMPARE(b->geometry().bottom() + 1, bottom);
        QCOMPARE(a->x(), 0);
        QCOMPARE(b->x(), a->width());
    }

    void keywordsListOpensOneListWindow() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        auto listWindows = [w] {
            QList<QWidget*> out;
            for (QMdiSubWindow* s : w->mdiArea()->subWindowList())
                if (s->isVisible() && s->widget()->objectName() == QLatin1String("fKWList"))
                    out << s;
            return out;
        };
        for (int i = 0; i < 2; ++i) {
            w->action(QStringLiteral("mKWList"))->trigger();
            QCOMPARE(listWindows().size(), 1); // a second trigger brings the same window up
            QCOMPARE(w->mdiArea()->activeSubWindow(), listWindows().first());
        }
        listWindows().first()->close();
        QTRY_VERIFY(listWindows().isEmpty());
        w->action(QStringLiteral("mKWList"))->trigger();
        QCOMPARE(listWindows().size(), 1);
    }

    void ctrlQQuitsFromAnywhereInTheMainWindow() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        QMdiSubWindow* child = addChild(w, QStringLiteral("card"));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        child->widget()->setFocus();
        QTest::keyClick(child->widget(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(p.quitsNow(), 1);
        QVERIFY(!p.ctx.base.isOpen()); // the base is closed before the end
    }

    // Every way out of the program or its base asks the changed card windows first: Cancel
    // keeps the program and the window with its text, Yes stores the text, No lets it go.
    void everyWayOutAsksTheChangedCardWindowsFirst() {
        const struct {
            const char* way;
            Answer second; // the answer after a first Cancel
            bool ends;
        } cases[] = {
            {"mQuit", Answer::Yes, true},     {"Ctrl+Q", Answer::No, true},
            {"close", Answer::Yes, true},     {"mLoad2", Answer::No, false},
            {"mNewBase", Answer::Yes, false}, {"Ctrl+W", Answer::Yes, false},
            {"Ctrl+F4", Answer::No, false},
        };
        for (const auto& c : cases) {
            Program p;
            p.startNow();
            MainWindow* w = p.main();
            QVERIFY(cards::createNote(p.ctx, {QStringLiteral("Ada")}));
            QPointer<QMdiSubWindow> sub = w->mdiArea()->subWindowList().value(0);
            QVERIFY(sub);
            auto* note = qobject_cast<cards::NoteWindow*>(sub->widget());
            QVERIFY(note);
            note->textBox()->setPlainText(QStringLiteral("typed"));
            const auto wayOut = [&] {
                if (qstrcmp(c.way, "close") == 0) {
                    w->close();
                } else if (c.way[0] == 'C') { // a key, pressed in the card's text
                    w->activateWindow();
                    QVERIFY(QTest::qWaitForWindowActive(w));
                    QTest::keySequence(note->textBox(), QKeySequence(QLatin1String(c.way)));
                } else {
                    w->action(QLatin1String(c.way))->trigger();
                }
            };
            const auto storedText = [&] {
                auto db = openBase(p.file(QStringLiteral("NewBase001.vlm")));
                auto rs = db->openRecordset(QStringLiteral("NOTE"));
                rs->moveFirst();
                return rs->value(QStringLiteral("TEXTE")).toString();
            };

            p.prompter.answer(Answer::Cancel);
            wayOut();
            QVERIFY2(sub && sub->isVisible(), c.way);
            QCOMPARE(note->textBox()->toPlainText(), QStringLiteral("typed"));
            QCOMPARE(p.prompter.messages(),
                     QStringList{QStringLiteral("The data have changed - do you want save?")});
            QCOMPARE(p.prompter.shown().back().buttons, Buttons::YesNoCancel);
            QVERIFY(w->isVisible());
            QVERIFY(p.ctx.base.isOpen());
            QCOMPARE(p.quitsNow(), 0);

            p.prompter.answer(c.second);
            wayOut();
            QTRY_VERIFY2(!sub, c.way);
            QCOMPARE(p.prompter.messages().size(), 2); // asked once, not again on closing
            QCOMPARE(storedText(), c.second == Answer::Yes ? QStringLiteral("typed") : QString());
            QCOMPARE(p.quitsNow(), c.ends ? 1 : 0);
        }

        // A Cancel in the second window keeps the first open as well; the first, answered
        // already, asks again at its next close.
        Program p;
        p.startNow();
        QVERIFY(cards::createNote(p.ctx, {QStringLiteral("Ada")}));
        QVERIFY(cards::createNote(p.ctx, {QStringLiteral("Bob")}));
        const QList<QMdiSubWindow*> subs = p.main()->mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 2);
        for (QMdiSubWindow* s : subs)
            qobject_cast<cards::NoteWindow*>(s->widget())->textBox()->setPlainText("typed");
        p.prompter.answer(Answer::No);
        p.prompter.answer(Answer::Cancel);
        p.main()->action(QStringLiteral("mQuit"))->trigger();
        QCOMPARE(p.quitsNow(), 0);
        QVERIFY(subs[0]->isVisible() && subs[1]->isVisible());
        p.prompter.clear();
        p.prompter.answer(Answer::Cancel);
        subs[0]->close();
        QCOMPARE(p.prompter.messages().size(), 1);
    }

    // Database > Export...: Yes writes one JSON document, No a folder of Markdown files.
    void exportWritesTheBaseWhereTheUserChose() {
        Program p;
        p.startNow();
        addRow(*p.ctx.rs().NOTE, {{"CIT", "N1"}, {"TEXTE", "Light"}});
        const struct {
            Answer form;
            const char* target;
            const char* dialog;
        } cases[] = {{Answer::Yes, "base.json", "save"}, {Answer::No, "md", "folder"}};
        for (const auto& c : cases) {
            p.prompter.answer(c.form);
            p.prompter.choose(p.file(QLatin1String(c.target)));
            p.main()->action(QStringLiteral("mExport"))->trigger();
            QCOMPARE(p.prompter.shown()[1].kind, QLatin1String(c.dialog));
            QCOMPARE(p.prompter.messages().last(),
                     "The base was exported to " + p.file(QLatin1String(c.target)) + ".");
            p.prompter.clear();
        }
        const QJsonObject doc = QJsonDocument::fromJson(readAll(p.file("base.json"))).object();
        QCOMPARE(doc["notes"][0]["TEXTE"].toString(), QStringLiteral("Light"));
        QCOMPARE(QDir(p.file("md")).entryList(QDir::Files), QStringList{"Note N1.md"});
    }

    void aboutWindowShowsVersionPagesAndSystemInformation() {
        Program p;
        p.startNow();
        p.main()->action(QStringLiteral("mCopyright"))->trigger();
        auto* about = p.main()->findChild<AboutDialog*>(QStringLiteral("frmAbout"));
        QVERIFY(about && about->isVisible());
        QVERIFY(!about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("À propos de Velmora"));
        QCOMPARE(about->lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                                .arg(VELMORA_VERSION_MAJOR)
                                                .arg(VELMORA_VERSION_MINOR)
                                                .arg(VELMORA_VERSION_PATCH));

        PageCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        click(about->Command1);
        click(about->Command2);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.urls.size(), 2);
        QVERIFY(catcher.urls[0] != catcher.urls[1]);

        QStringList started;
        about->setStarter([&](const QString& program) {
            started << program;
            return true;
        });
        about->setToolFinder([] { return QString(); });
        click(about->cmdSysInfo);
        QVERIFY(started.isEmpty());
        QCOMPARE(p.prompter.messages(),
                 QStringList{QStringLiteral(
                     "Les informations système ne sont pas disponibles actuellement")});
        QCOMPARE(p.prompter.shown().back().icon, Icon::Information);

        about->setToolFinder([] { return QStringLiteral("/usr/bin/hardinfo"); });
        click(about->cmdSysInfo);
        QCOMPARE(started, QStringList{QStringLiteral("/usr/bin/hardinfo")});
        QCOMPARE(p.prompter.messages().size(), 1);

        // About is a window of the program: closing it leaves the main window.
        click(about->CmdOK);
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.quitsNow(), 0);

        // F1: the user guide, with every picture it names.
        p.main()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.main()));
        QTest::keyClick(p.main(), Qt::Key_F1);
        auto* guide = p.main()->findChild<GuideWindow*>(QStringLiteral("fGuide"));
        QVERIFY(guide && guide->isVisible());
        QVERIFY(guide->toPlainText().contains(QStringLiteral("Subset")));
        const QString markdown = QString::fromUtf8(readAll(userGuidePath()));
        static const QRegularExpression picture(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
        int pictures = 0;
        for (const auto& m : picture.globalMatch(markdown)) {
            ++pictures;
            const QVariant image =
                guide->document()->resource(QTextDocument::ImageResource, QUrl(m.captured(1)));
            QVERIFY2(!image.value<QImage>().isNull(), qPrintable(m.captured(1)));
        }
        QVERIFY(pictures > 0);
        guide->close();
    }
};

VLM_APP_TEST(MainWindowTest)
#include "mainwindow_test.moc"
