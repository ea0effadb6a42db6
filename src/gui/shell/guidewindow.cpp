#include "gui/shell/guidewindow.h"

#include "core/common/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vlm {

QString userGuidePath() {
    const QStringList candidates{
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral("../" VELMORA_INSTALL_DOCDIR "/guide.md")),
        QStringLiteral(VELMORA_SOURCE_DIR "/docs/guide.md"),
    };
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).canonicalFilePath();
    return {};
}

GuideWindow::GuideWindow(const QString& path, QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("fGuide"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Velmora - User Guide"));
    setAccessibleName(QStringLiteral("User guide"));
    setOpenExternalLinks(true);
    // Pictures are named relative to the guide's folder.
    setSearchPaths({QFileInfo(path).absolutePath()});
    setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
    resize(760, 820);
}

GuideWindow* showUserGuide(Prompter& prompter, QWidget* parent) {
    const QString path = userGuidePath();
    if (path.isEmpty()) {
        prompter.message(QStringLiteral("The user guide cannot be found: it is installed with "
                                        "the program in share/doc/Velmora/guide.md."),
                         Buttons::Ok, Icon::Exclamation);
        return nullptr;
    }
    auto* w = new GuideWindow(path, parent);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

} // namespace vlm
