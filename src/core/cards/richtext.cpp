#include "core/cards/richtext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace vlm::cards {

namespace {

// Characters of a document that mark its structure (frames, objects) rather than text.
bool isStructureChar(QChar c) {
    return c.unicode() == 0xFFFC || c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1;
}

CharFormat effectiveFormat(const QTextCharFormat& cf, const QFont& docFont) {
    const QFont f = cf.font().resolve(docFont);
    CharFormat out;
    out.font = f.families().value(0, f.family());
    double size = f.pointSizeF();
    if (size <= 0 && f.pixelSize() > 0) size = f.pixelSize() * 0.75;
    if (size <= 0) size = 12.0;
    out.pointSize = std::round(size * 2) / 2;
    out.bold = f.bold();
    out.italic = f.italic();
    out.underline = f.underline();
    out.strikeOut = f.strikeOut();
    const QBrush fg = cf.foreground();
    if (cf.hasProperty(QTextFormat::ForegroundBrush) && fg.style() != Qt::NoBrush) {
        const QColor c = fg.color();
        out.color = QColor(c.red(), c.green(), c.blue());
    }
    return out;
}

QTextCharFormat documentFormat(const CharFormat& f) {
    QTextCharFormat cf;
    if (!f.font.isEmpty()) cf.setFontFamilies(QStringList{f.font});
    if (f.pointSize > 0) cf.setFontPointSize(f.pointSize);
    cf.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    cf.setFontItalic(f.italic);
    cf.setFontUnderline(f.underline);
    cf.setFontStrikeOut(f.strikeOut);
    if (f.color.isValid()) cf.setForeground(f.color);
    return cf;
}

} // namespace

QString Paragraph::text() const {
    QString s;
    for (const TextRun& r : runs)
        s += r.text;
    return s;
}

QString plainText(const RichText& text) {
    QString s;
    for (qsizetype i = 0; i < text.paragraphs.size(); ++i) {
        if (i > 0) s += u'\n';
        s += text.paragraphs[i].text();
    }
    for (QChar& c : s) {
        if (c == QChar::LineSeparator)
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    }
    return s;
}

QString plainText(const QTextDocument& doc) {
    return plainText(fromTextDocument(doc));
}

RichText fromTextDocument(const QTextDocument& doc) {
    RichText out;
    const QFont docFont = doc.defaultFont();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        Paragraph para;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            QString text = frag.text();
            text.removeIf(isStructureChar);
            if (text.isEmpty()) continue;
            CharFormat f = effectiveFormat(frag.charFormat(), docFont);
            if (!para.runs.isEmpty() && para.runs.back().format == f)
                para.runs.back().text += text;
            else
                para.runs.append(TextRun{text, std::move(f)});
        }
        out.paragraphs.append(std::move(para));
    }
    if (out.paragraphs.isEmpty()) out.paragraphs.append(Paragraph{});
    return out;
}

void toTextDocument(const RichText& text, QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    bool first = true;
    for (const Paragraph& p : text.paragraphs) {
        if (!first) cursor.insertBlock();
        first = false;
        for (const TextRun& r : p.runs)
            cursor.insertText(r.text, documentFormat(r.format));
    }
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

} // namespace vlm::cards
