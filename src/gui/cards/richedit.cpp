#include "gui/cards/richedit.h"

#include "core/cards/codepage.h"
#include "core/cards/rtf.h"
#include "core/session/session.h"
#include "gui/cards/cardwindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace vlm::cards {
namespace {

FileRequest rtfRequest() {
    FileRequest r;
    r.filter = rtfFileFilter();
    return r;
}

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A file that is not RTF: UTF-8 when it is valid UTF-8, else the Windows code page.
QString decodePlain(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    CodePageDecoder cp;
    return cp.decode(1252, bytes);
}

} // namespace

bool openTextFile(Session& ctx, QTextEdit* box) {
    const QString path = ctx.prompter.openFile(rtfRequest());
    if (path.isEmpty()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ctx.prompter.message(QStringLiteral("The file %1 could not be read.").arg(shownPath(path)),
                             Buttons::Ok, Icon::Exclamation);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!fromRtf(bytes, *box->document())) setCardText(box, decodePlain(bytes), false);
    box->moveCursor(QTextCursor::Start);
    return true;
}

bool saveTextFile(Session& ctx, const QTextEdit* box) {
    QString path = ctx.prompter.saveFile(rtfRequest());
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) {
        // A name typed without an extension gets the one of the files word processors open;
        // the dialog did not ask about that name, so ask here before replacing it.
        path += QStringLiteral(".rtf");
        if (QFileInfo::exists(path) &&
            ctx.prompter.message(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(shownPath(path)),
                                 Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
            return false;
    }
    QSaveFile file(path);
    const QByteArray rtf = cardRichText(box).toLatin1();
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        ctx.prompter.message(
            QStringLiteral("The file %1 could not be written.").arg(shownPath(path)), Buttons::Ok,
            Icon::Exclamation);
        return false;
    }
    return true;
}

namespace {
// Prints `box` on the printer the dialog set up; a failure is told.
bool printOn(Session& ctx, QPrinter& printer, const QTextEdit* box) {
    if (printer.isValid()) {
        box->print(&printer);
        if (printer.printerState() != QPrinter::Error &&
            printer.printerState() != QPrinter::Aborted)
            return true;
    }
    ctx.prompter.message(printFailedMessage(), Buttons::Ok, Icon::Exclamation);
    return false;
}
} // namespace

bool printText(Session& ctx, QTextEdit* box) {
    QPrinter printer(QPrinter::HighResolution);
    if (!ctx.prompter.printDialog(printer, box->textCursor().hasSelection())) return false;
    return printOn(ctx, printer, box);
}

bool printUnderHeading(Session& ctx, const QTextEdit* box, QTextEdit* buffer,
                       const QStringList& heading) {
    QPrinter printer(QPrinter::HighResolution);
    const QTextCursor selection = box->textCursor();
    if (!ctx.prompter.printDialog(printer, selection.hasSelection())) return false;

    buffer->clear();
    QTextCursor out(buffer->document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (const QString& line : heading) {
        out.insertText(line, bold);
        out.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    const bool onlySelection =
        printer.printRange() == QPrinter::Selection && selection.hasSelection();
    out.insertFragment(onlySelection ? selection.selection()
                                     : QTextDocumentFragment(box->document()));
    // The buffer holds exactly what goes on paper.
    printer.setPrintRange(QPrinter::AllPages);
    return printOn(ctx, printer, buffer);
}

FontChoice currentFont(const QTextEdit* box) {
    const QTextCharFormat f = box->currentCharFormat();
    const QFont font = f.font().resolve(box->document()->defaultFont());
    FontChoice c;
    c.family = font.families().value(0, font.family());
    c.size = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    c.bold = font.bold();
    c.italic = font.italic();
    c.underline = font.underline();
    c.strikethrough = font.strikeOut();
    c.colour = f.foreground().style() != Qt::NoBrush ? f.foreground().color()
                                                     : box->palette().color(QPalette::Text);
    return c;
}

void applyFont(QTextEdit* box, const FontChoice& font) {
    QTextCharFormat f;
    if (!font.family.isEmpty()) f.setFontFamilies({font.family});
    if (font.size > 0) f.setFontPointSize(font.size);
    f.setFontWeight(font.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(font.italic);
    f.setFontUnderline(font.underline);
    f.setFontStrikeOut(font.strikethrough);
    f.setForeground(font.colour);
    box->mergeCurrentCharFormat(f);
}

bool chooseFont(Session& ctx, QTextEdit* box) {
    const auto chosen = ctx.prompter.fontDialog(currentFont(box));
    if (!chosen) return false;
    applyFont(box, *chosen);
    return true;
}

} // namespace vlm::cards
