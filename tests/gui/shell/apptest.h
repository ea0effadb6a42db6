#pragma once

#include "core/session/session.h"
#include "gui/shell/frame.h"
#include "support/scriptedprompter.h"
#include "support/tempdir.h"

#include <QAbstractButton>
#include <QObject>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

namespace vlm::test {

// The window tests of the frame are Qt Test classes gathered into one program.
std::vector<std::function<std::unique_ptr<QObject>()>>& appTestClasses();

template <class T> struct RegisterAppTest {
    RegisterAppTest() {
        appTestClasses().push_back([] { return std::make_unique<T>(); });
    }
};

#define VLM_APP_TEST(Class) static ::vlm::test::RegisterAppTest<Class> registered##Class;

// A program as main() makes it, in a temporary working folder, with a scripted prompter and
// a quit that is only counted.
struct Program {
    TempDir dir;
    ScriptedPrompter prompter;
    Session ctx{prompter};
    std::unique_ptr<Frame> frame;
    int quits = 0;

    Program() { makeFrame(); }
    virtual ~Program() = default;

    void makeFrame() {
        frame = std::make_unique<Frame>(ctx, dir.path());
        frame->setQuitHandler([this] { ++quits; });
    }
    // Start-up with the animation driven tick by tick instead of by the timer.
    void startNow() {
        frame->start(false);
        for (int i = 0; i < 65; ++i)
            frame->startWindow()->tick();
    }
    // How often the program was ended, once the work under way is over.
    int quitsNow() {
        QCoreApplication::sendPostedEvents();
        return quits;
    }
    MainWindow* main() const { return frame->mainWindow(); }
    WelcomeDialog* welcome() const { return frame->welcome(); }
    QString file(const QString& name) const { return dir.file(name); }
};

// The keyword names of the open base, in index order.
QStringList keywordNames(Session& ctx);

// Names, sizes and contents of the files of a folder, to tell whether anything was touched.
QMap<QString, QByteArray> snapshot(const QString& folder);

// Clicks a push button or tool button as the user would.
void click(QAbstractButton* button);

} // namespace vlm::test
