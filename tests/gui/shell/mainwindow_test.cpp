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

// The program started on its new base.
struct Started : Program {
    Started() { startNow(); }
};

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
        Started p;
        MainWindow* w = p.main();
        QCOMPARE(w->width(), twipsToPixels(11730));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w->pos(),
                 QPoint((screen.width() - w->width()) / 2, (screen.height() - w->height()) / 2));
        const QByteArray before = readAll(p.file("NewBase001.vlm"));
        p.prompter.choose(QString());
        p.main()->action("mSaveAs")->trigger();
        QCOMPARE(p.prompter.shown().back().title, QStringLiteral("Please select a base"));
        QCOMPARE(readAll(p.file("NewBase001.vlm")), before);
        QVERIFY(p.main()->isVisible() && p.ctx.base.isOpen());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - NewBase001.vlm"));

        // Save As to a new name moves the base, and the title follows.
        addChild(p.main(), QStringLiteral("card"));
        p.prompter.choose(p.file("moved.vlm"));
        p.main()->action("mSaveAs")->trigger();
        QVERIFY(!QFile::exists(p.file("NewBase001.vlm")) && QFile::exists(p.file("moved.vlm")) &&
                p.main()->isVisible());
        QCOMPARE(p.main()->windowTitle(), QStringLiteral("Velmora - moved.vlm"));
        QCOMPARE(p.main()->statusText(), QStringLiteral("moved.vlm"));
        QVERIFY(childTitles(p.main()).isEmpty()); // child windows closed with the move
        QCOMPARE(keywordNames(p.ctx), QStringList{"No Keyword"});
        QCOMPARE(p.quitsNow(), 0);
    }

    void closeAllKeepsTheFirstChildAndClosingTheMainWindowEnds() {
        Started p;
        MainWindow* w = p.main();
        for (const char* title : {"first", "second", "third"})
            addChild(w, title);
        QCOMPARE(w->loadedWindows().size(), 4);
        w->action("mCloseAll")->trigger();
        QCOMPARE(childTitles(w), QStringList{"first"});
        QVERIFY(w->isVisible());
        QCOMPARE(p.quitsNow(), 0);
        // Closing the main window closes the rest and ends the program.
        QVERIFY(w->close() && childTitles(w).isEmpty());
        QCOMPARE(p.quitsNow(), 1);
    }

    void windowsMenuListsCascadesAndArrangesTheChildWindows() {
        Started p;
        MainWindow* w = p.main();
        addChild(w, "Note 1");
        QMdiSubWindow* second = addChild(w, "Quote 2");
        w->mdiArea()->setActiveSubWindow(second);
        auto* menu = w->findChild<QMenu*>("mWindows");
        // The listed windows, the checked one marked with a star.
        const auto listed = [menu] {
            emit menu->aboutToShow();
            QStringList out;
            for (QAction* a : menu->actions())
                if (a->objectName() == "mWindowList")
                    out << a->text() + (a->isChecked() ? "*" : "");
            return out;
        };
        QCOMPARE(listed(), (QStringList{"&1 Note 1", "&2 Quote 2*"}));
        second->close();
        QCOMPARE(listed(), QStringList{"&1 Note 1*"}); // the list is live

        // Cascade and Arrange Icons.
        QMdiSubWindow *a = addChild(w, "a"), *b = addChild(w, "b");
        for (QMdiSubWindow* s : {a, b})
            s->move(100, 100);
        w->action("mWCascade")->trigger();
        QVERIFY(a->pos() != b->pos());
        for (QMdiSubWindow* s : {a, b}) {
            s->showMinimized();
            s->move(50, 0);
        }
        w->action("mWIcons")->trigger();
        const int bottom = w->mdiArea()->viewport()->height();
        QCOMPARE(QPoint(a->x(), a->geometry().bottom() + 1), QPoint(0, bottom));
        QCOMPARE(QPoint(b->x(), b->geometry().bottom() + 1), QPoint(a->width(), bottom));
    }

    void keywordsListOpensOneListWindow() {
        Started p;
        MainWindow* w = p.main();
        auto listWindows = [w] {
            QList<QWidget*> out;
            for (QMdiSubWindow* s : w->mdiArea()->subWindowList())
                if (s->isVisible() && s->widget()->objectName() == QLatin1String("fKWList"))
                    out << s;
            return out;
        };
        for (int i = 0; i < 2; ++i) {
            w->action("mKWList")->trigger();
            QCOMPARE(listWindows().size(), 1); // a second trigger brings the same window up
            QCOMPARE(w->mdiArea()->activeSubWindow(), listWindows().first());
        }
        listWindows().first()->close();
        QTRY_VERIFY(listWindows().isEmpty());
        w->action("mKWList")->trigger();
        QCOMPARE(listWindows().size(), 1);
    }

    void ctrlQQuitsFromAnywhereInTheMainWindow() {
        Started p;
        MainWindow* w = p.main();
        QMdiSubWindow* child = addChild(w, "card");
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
        // The way out, the answer after a first Cancel, and whether the program ends.
        const std::tuple<const char*, Answer, bool> cases[] = {
            {"mQuit", Answer::Yes, true},     {"Ctrl+Q", Answer::No, true},
            {"close", Answer::Yes, true},     {"mLoad2", Answer::No, false},
            {"mNewBase", Answer::Yes, false}, {"Ctrl+W", Answer::Yes, false},
            {"Ctrl+F4", Answer::No, false},
        };
        for (const auto& [way, second, ends] : cases) {
            Started p;
            MainWindow* w = p.main();
            QVERIFY(cards::createNote(p.ctx, {QStringLiteral("Ada")}));
            QPointer<QMdiSubWindow> sub = w->mdiArea()->subWindowList().value(0);
            auto* note = sub ? qobject_cast<cards::NoteWindow*>(sub->widget()) : nullptr;
            QVERIFY(note);
            note->textBox()->setPlainText(QStringLiteral("typed"));
            const auto wayOut = [&] {
                if (qstrcmp(way, "close") == 0) {
                    w->close();
                } else if (way[0] == 'C') { // a key, pressed in the card's text
                    w->activateWindow();
                    QVERIFY(QTest::qWaitForWindowActive(w));
                    QTest::keySequence(note->textBox(), QKeySequence(QLatin1String(way)));
                } else {
                    w->action(QLatin1String(way))->trigger();
                }
            };
            const auto storedText = [&] {
                auto db = openBase(p.file("NewBase001.vlm"));
                auto rs = db->openRecordset(QStringLiteral("NOTE"));
                rs->moveFirst();
                return rs->value(QStringLiteral("TEXTE")).toString();
            };

            p.prompter.answer(Answer::Cancel);
            wayOut();
            QVERIFY2(sub && sub->isVisible(), way);
            QCOMPARE(note->textBox()->toPlainText(), QStringLiteral("typed"));
            QCOMPARE(p.prompter.messages(),
                     QStringList{"The data have changed - do you want save?"});
            QCOMPARE(p.prompter.shown().back().buttons, Buttons::YesNoCancel);
            QVERIFY(w->isVisible() && p.ctx.base.isOpen());
            QCOMPARE(p.quitsNow(), 0);

            p.prompter.answer(second);
            wayOut();
            QTRY_VERIFY2(!sub, way);
            QCOMPARE(p.prompter.messages().size(), 2); // asked once, not again on closing
            QCOMPARE(storedText(), second == Answer::Yes ? QStringLiteral("typed") : QString());
            QCOMPARE(p.quitsNow(), ends ? 1 : 0);
        }

        // A Cancel in the second window keeps the first open as well; the first, answered
        // already, asks again at its next close.
        Started p;
        QVERIFY(cards::createNote(p.ctx, {"Ada"}) && cards::createNote(p.ctx, {"Bob"}));
        const QList<QMdiSubWindow*> subs = p.main()->mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 2);
        for (QMdiSubWindow* s : subs)
            qobject_cast<cards::NoteWindow*>(s->widget())->textBox()->setPlainText("typed");
        p.prompter.answer(Answer::No);
        p.prompter.answer(Answer::Cancel);
        p.main()->action("mQuit")->trigger();
        QCOMPARE(p.quitsNow(), 0);
        QVERIFY(subs[0]->isVisible() && subs[1]->isVisible());
        p.prompter.clear();
        p.prompter.answer(Answer::Cancel);
        subs[0]->close();
        QCOMPARE(p.prompter.messages().size(), 1);
    }

    // Database > Export...: Yes writes one JSON document, No a folder of Markdown files.
    void exportWritesTheBaseWhereTheUserChose() {
        Started p;
        addRow(*p.ctx.rs().NOTE, {{"CIT", "N1"}, {"TEXTE", "Light"}});
        const std::tuple<Answer, const char*, const char*> cases[] = {
            {Answer::Yes, "base.json", "save"}, {Answer::No, "md", "folder"}};
        for (const auto& [form, target, dialog] : cases) {
            p.prompter.answer(form);
            p.prompter.choose(p.file(QLatin1String(target)));
            p.main()->action("mExport")->trigger();
            QCOMPARE(p.prompter.shown()[1].kind, QLatin1String(dialog));
            QCOMPARE(p.prompter.messages().last(),
                     "The base was exported to " + p.file(QLatin1String(target)) + ".");
            p.prompter.clear();
        }
        const QJsonObject doc = QJsonDocument::fromJson(readAll(p.file("base.json"))).object();
        QCOMPARE(doc["notes"][0]["TEXTE"].toString(), QStringLiteral("Light"));
        QCOMPARE(QDir(p.file("md")).entryList(QDir::Files), QStringList{"Note N1.md"});
    }

    void aboutWindowShowsVersionPagesAndSystemInformation() {
        Started p;
        p.main()->action("mCopyright")->trigger();
        auto* about = p.main()->findChild<AboutDialog*>("frmAbout");
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("À propos de Velmora"));
        QCOMPARE(about->lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                                .arg(VELMORA_VERSION_MAJOR)
                                                .arg(VELMORA_VERSION_MINOR)
                                                .arg(VELMORA_VERSION_PATCH));

        PageCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        click(about->Command1);
        click(about->Command2);
        QDesktopServices::unsetUrlHandler("https");
        QVERIFY(catcher.urls.size() == 2 && catcher.urls[0] != catcher.urls[1]);

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
        QCOMPARE(started, QStringList{"/usr/bin/hardinfo"});
        QCOMPARE(p.prompter.messages().size(), 1);

        // About is a window of the program: closing it leaves the main window.
        click(about->CmdOK);
        QVERIFY(p.main()->isVisible());
        QCOMPARE(p.quitsNow(), 0);

        // F1: the user guide, with every picture it names.
        p.main()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.main()));
        QTest::keyClick(p.main(), Qt::Key_F1);
        auto* guide = p.main()->findChild<GuideWindow*>("fGuide");
        QVERIFY(guide && guide->isVisible() && guide->toPlainText().contains("Subset"));
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
