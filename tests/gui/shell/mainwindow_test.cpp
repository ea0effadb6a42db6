// The main window: menus, title and status bar, Save As, Quit, the Windows menu, About.
#include "gui/shell/apptest.h"

#include "core/common/twips.h"
#include "gui/shell/aboutdialog.h"
#include "gui/shell/mainwindow.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

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
    void loadsWithTitleSizeAndPlace() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
        QCOMPARE(w->objectName(), QStringLiteral("fVelmora"));
        QCOMPARE(w->width(), twipsToPixels(11730));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w->x(), (screen.width() - w->width()) / 2);
        QCOMPARE(w->y(), (screen.height() - w->height()) / 2);
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("StatusBar1")));
    }

    void saveAsCancelledKeepsTheFile() {
        Program p;
        p.startNow();
        const QByteArray before = readAll(p.file(QStringLiteral("NewBase001.vlm")));
        p.prompter.choose(QString());
        p.main()->action(QStringLiteral("mSaveAs"))->trigger();
        QCOMPARE(p.prompter.shown().back().title, QStringLiteral("Please select a base"));
        QCOMPARE(readAll(p.file(QStringLiteral("NewBase001.vlm"))), before);
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));
        QVERIFY(p.ctx.base.isOpen());
        QCOMPARE(p.quitsNow(), 0);
    }

    void saveAsMovesTheBaseAndTheTitleFollows() {
        Program p;
        p.startNow();
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

    void closeAllKeepsTheMainWindowAndTheFirstChild() {
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
    }

    void windowsMenuListsTheChildWindows() {
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
    }

    void cascadeAndArrangeIcons() {
        Program p;
        p.startNow();
        MainWindow* w = p.main();
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

    void closingTheMainWindowEndsTheProgram() {
        Program p;
        p.startNow();
        addChild(p.main(), QStringLiteral("card"));
        QVERIFY(p.main()->close());
        QVERIFY(childTitles(p.main()).isEmpty());
        QCOMPARE(p.quitsNow(), 1);
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
    }
};

VLM_APP_TEST(MainWindowTest)
#include "mainwindow_test.moc"
