#include "core/session/session.h"
#include "gui/shell/frame.h"
#include "gui/shell/qtprompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(VELMORA_VERSION_MAJOR)
                                            .arg(VELMORA_VERSION_MINOR)
                                            .arg(VELMORA_VERSION_PATCH));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velmora.Velmora"));
    // The frame decides when the program ends (the moments between two windows do not count).
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("A knowledge base for notes, quotations and references."));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(QStringLiteral("base"),
                                  QStringLiteral("The base (.vlm) to open; without it a new start "
                                                 "base is made in the current folder."),
                                  QStringLiteral("[base]"));
    options.process(app);

    vlm::QtPrompter prompter;
    vlm::Session ctx(prompter);
    vlm::Frame frame(ctx, QDir::currentPath());
    if (!options.positionalArguments().isEmpty())
        frame.setStartFile(options.positionalArguments().constFirst());
    if (!frame.start()) return 1;
    return QApplication::exec();
}
