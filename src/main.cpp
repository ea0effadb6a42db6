#include "core/session/session.h"
#include "gui/shell/frame.h"
#include "gui/shell/qtprompter.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // The frame decides when the program ends (the moments between two windows do not count).
    QApplication::setQuitOnLastWindowClosed(false);

    vlm::QtPrompter prompter;
    vlm::Session ctx(prompter);
    vlm::Frame frame(ctx, QDir::currentPath());
    if (!frame.start()) return 1;
    return QApplication::exec();
}
