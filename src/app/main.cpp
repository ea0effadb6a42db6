#include "app/appcontext.h"
#include "app/frame.h"
#include "app/qtprompter.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // The frame decides when the program ends (the moments between two windows do not count).
    QApplication::setQuitOnLastWindowClosed(false);

    vlm::QtPrompter prompter;
    vlm::AppContext ctx(prompter);
    vlm::Frame frame(ctx, QDir::currentPath());
    if (!frame.start()) return 1;
    return QApplication::exec();
}
