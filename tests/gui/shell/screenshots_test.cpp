// Pictures of the windows, for a person to look at. Set VELMORA_SCREENSHOTS to a folder and
// run app_tests (scripts/screenshots.sh does both): the PNG files are written there.
#include "gui/shell/apptest.h"

#include "gui/shell/aboutdialog.h"
#include "gui/shell/mainwindow.h"
#include "gui/shell/startwindow.h"
#include "gui/shell/welcomedialog.h"

#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

using namespace vlm;
using namespace vlm::test;

namespace {

void save(QWidget* w, const QString& folder, const QString& name) {
    QCoreApplication::sendPostedEvents(); // pending layouts, as the event loop would
    const QPixmap shot = w->grab();
    QVERIFY(!shot.isNull());
    QVERIFY(shot.save(QDir(folder).filePath(name + QStringLiteral(".png"))));
}

} // namespace

class ScreenshotsTest : public QObject {
    Q_OBJECT
private slots:
    void saveScreenshots() {
        const QString folder = qEnvironmentVariable("VELMORA_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("VELMORA_SCREENSHOTS is not set");
        QVERIFY(QDir().mkpath(folder));

        Program p;
        p.frame->start(false);
        StartWindow* start = p.frame->startWindow();
        for (int i = 0; i < 4; ++i)
            start->tick();
        save(start, folder, QStringLiteral("start-growing"));
        for (int i = 4; i < 12; ++i)
            start->tick();
        save(start, folder, QStringLiteral("start-window"));
        for (int i = 12; i < 65; ++i)
            start->tick();

        MainWindow* w = p.main();
        QMdiSubWindow* child =
            w->mdiArea()->addSubWindow(new QTextEdit(QStringLiteral("A child window")));
        child->setWindowTitle(QStringLiteral("Note 1"));
        child->resize(300, 200);
        child->show();
        w->KWSel->setText(QStringLiteral("No Keyword"));
        save(w, folder, QStringLiteral("main-search"));
        QTest::mouseClick(w->SwitchOther, Qt::LeftButton);
        save(w, folder, QStringLiteral("main-other"));
        QTest::mouseClick(w->SwitchKW, Qt::LeftButton);
        save(w, folder, QStringLiteral("main-keywords-simple"));
        QTest::mouseClick(w->SwitchDoubleBrowser, Qt::LeftButton);
        save(w, folder, QStringLiteral("main-keywords-double"));

        w->action(QStringLiteral("mCopyright"))->trigger();
        auto* about = w->findChild<AboutDialog*>();
        QVERIFY(about);
        save(about, folder, QStringLiteral("about"));
        about->close();

        w->action(QStringLiteral("mNewBase"))->trigger();
        save(p.welcome(), folder, QStringLiteral("welcome"));
        p.welcome()->setRetryMode();
        save(p.welcome(), folder, QStringLiteral("welcome-retry"));
    }
};

VLM_APP_TEST(ScreenshotsTest)
#include "screenshots_test.moc"
