#include "core/cards/codepage.h"
#include "core/cards/rtf.h"

#include <QHash>
#include <QTextDocument>

#include <cmath>

namespace vlm::cards {

namespace {

// The format state of the output, compared with each run's so that only changes are written.
struct OutState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int color = 0;
};

int halfPointsOf(double pointSize) {
    if (!(pointSize > 0)) return 24;
    const double hp = std::round(pointSize * 2);
    return hp > 3276 ? 3276 : hp < 1 ? 1 : static_cast<int>(hp);
}

void appendNumber(QByteArray& out, long n) {
    out += QByteArray::number(static_cast<qlonglong>(n));
}

// Appends text as RTF: ASCII as is, the rest of Windows-1252 as \'hh, everything else as
// \uN? (a signed 16-bit number for each UTF-16 unit, so two for a character beyond the BMP).
void appendText(QByteArray& out, const QString& text) {
    static constexpr char hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        case 0x2028:
            out += "\\line ";
            continue;
        case 0x00A0:
            out += "\\~";
            continue;
        case 0x00AD:
            out += "\\-";
            continue;
        case 0x2011:
            out += "\\_";
            continue;
        default:
            break;
        }
        if (c < 0x20) continue; // control characters have no place in a card text
        if (c < 0x7F) {
            out += static_cast<char>(c);
        } else if (const unsigned char b = cp1252Byte(c)) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            out += "\\u";
            appendNumber(out, static_cast<int16_t>(c));
            out += '?';
        }
    }
}

} // namespace

QByteArray writeRtf(const RichText& text) {
    // Font and colour tables, in order of first use; colour 0 is the automatic colour.
    QList<QString> fonts;
    QHash<QString, int> fontIndex;
    QList<QColor> colors;
    QHash<QRgb, int> colorIndex;
    for (const Paragraph& p : text.paragraphs) {
        for (const TextRun& r : p.runs) {
            if (!fontIndex.contains(r.format.font)) {
                fontIndex.insert(r.format.font, int(fonts.size()));
                fonts.append(r.format.font);
            }
            if (r.format.color.isValid() && !colorIndex.contains(r.format.color.rgb())) {
                colorIndex.insert(r.format.color.rgb(), int(colors.size()) + 1);
                colors.append(r.format.color);
            }
        }
    }
    if (fonts.isEmpty()) fonts.append(QString());

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f";
        appendNumber(out, long(i));
        out += "\\fnil\\fcharset0 ";
        QString name = fonts[i];
        name.remove(u';');
        appendText(out, name);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colors) {
        out += "\\red";
        appendNumber(out, c.red());
        out += "\\green";
        appendNumber(out, c.green());
        out += "\\blue";
        appendNumber(out, c.blue());
        out += ';';
    }
    out += "}\n\\pard\\plain\\f0\\fs24 ";

    OutState cur;
    for (const Paragraph& p : text.paragraphs) {
        for (const TextRun& r : p.runs) {
            if (r.text.isEmpty()) continue;
            const CharFormat& f = r.format;
            const int font = fontIndex.value(f.font);
            const int hp = halfPointsOf(f.pointSize);
            const int color = f.color.isValid() ? colorIndex.value(f.color.rgb()) : 0;
            const qsizetype before = out.size();
            if (font != cur.font) out += "\\f" + QByteArray::number(font);
            if (hp != cur.halfPoints) out += "\\fs" + QByteArray::number(hp);
            if (f.bold != cur.bold) out += f.bold ? "\\b" : "\\b0";
            if (f.italic != cur.italic) out += f.italic ? "\\i" : "\\i0";
            if (f.underline != cur.underline) out += f.underline ? "\\ul" : "\\ulnone";
            if (f.strikeOut != cur.strikeOut) out += f.strikeOut ? "\\strike" : "\\strike0";
            if (color != cur.color) out += "\\cf" + QByteArray::number(color);
            if (out.size() != before) out += ' ';
            cur = OutState{font, hp, f.bold, f.italic, f.underline, f.strikeOut, color};
            appendText(out, r.text);
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

QString toRtf(const QTextDocument& doc) {
    return QString::fromLatin1(writeRtf(fromTextDocument(doc)));
}

bool fromRtf(const QByteArray& rtf, QTextDocument& doc) {
    RichText text;
    if (!readRtf(rtf, text)) return false;
    toTextDocument(text, doc);
    return true;
}

bool fromRtf(const QString& rtf, QTextDocument& doc) {
    // Characters above 255 are not RTF; keep them as \u escapes rather than lose them.
    QByteArray bytes;
    bytes.reserve(rtf.size());
    for (const QChar c : rtf) {
        if (c.unicode() < 0x100) {
            bytes += static_cast<char>(c.unicode());
        } else {
            bytes += "\\u";
            bytes += QByteArray::number(static_cast<int16_t>(c.unicode()));
            bytes += '?';
        }
    }
    return fromRtf(bytes, doc);
}

} // namespace vlm::cards
