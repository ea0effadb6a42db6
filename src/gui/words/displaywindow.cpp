#include "gui/words/displaywindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm::words {

namespace {

QFont fixedFont() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

// The pieces of `line` that fit in `width`, broken after blanks; a word wider than the page on
// its own is cut where it overflows.
QStringList fitLine(const QString& line, const QFontMetrics& fm, int width) {
    QStringList out;
    QString rest = line;
    while (fm.horizontalAdvance(rest) > width && rest.size() > 1) {
        qsizetype fit = 1;
        while (fit < rest.size() && fm.horizontalAdvance(rest.left(fit + 1)) <= width)
            ++fit;
        const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), fit - 1);
        const qsizetype cut = blank > 0 ? blank + 1 : fit;
        out << rest.left(cut);
        rest = rest.mid(cut);
    }
    out << rest;
    return out;
}

} // namespace

DisplayWindow::DisplayWindow(Session& ctx, const QString& path, QWidget* parent)
    : QWidget(parent), ctx_(ctx), path_(path), Text1(new QPlainTextEdit(this)),
      Command1(new QPushButton(QStringLiteral("Print"), this)) {
    setObjectName(QStringLiteral("Display"));
    setWindowTitle(QStringLiteral("Display"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(fixedFont());
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Command1->setObjectName(QStringLiteral("Command1"));
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly)) Text1->setPlainText(QString::fromUtf8(file.readAll()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addWidget(Command1, 0, Qt::AlignLeft);
    resize(twipsToPixels(7200), twipsToPixels(6000));
    connect(Command1, &QPushButton::clicked, this, &DisplayWindow::print);
}

void DisplayWindow::print() {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) {
        ctx_.prompter.message(printFailedMessage(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    QPrinter printer;
    if (!ctx_.prompter.printDialog(printer, false)) return;
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        painter.setFont(fixedFont());
        const QFontMetrics fm(painter.font(), &printer);
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        const int width = page.width(), lineHeight = fm.lineSpacing();
        int y = fm.ascent();
        for (const QString& line : lines) {
            for (const QString& piece : fitLine(line, fm, width)) {
                if (y > page.height()) {
                    printed = printed && printer.newPage();
                    y = fm.ascent();
                }
                painter.drawText(0, y, piece);
                y += lineHeight;
            }
        }
        printed = painter.end() && printed;
    }
    if (!printed) ctx_.prompter.message(printFailedMessage(), Buttons::Ok, Icon::Exclamation);
}

} // namespace vlm::words
