// Draws Velmora's emblem as the PNG icons the desktop shows in its menus and file managers:
// rendericons <folder> <size>... writes <folder>/<size>x<size>/apps/org.velmora.Velmora.png.
#include "gui/shell/startwindow.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: rendericons <folder> <size>...\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) return 2;
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        vlm::Emblem::paint(p, QRectF(0, 0, size, size));
        p.end();
        const QString file = folder.filePath(sub + QStringLiteral("/org.velmora.Velmora.png"));
        if (!folder.mkpath(sub) || !image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
