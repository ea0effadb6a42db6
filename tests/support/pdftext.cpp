#include "support/pdftext.h"

#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

namespace vlm::test {
namespace {

QString utf16(const QString& hex) {
    const QByteArray b = QByteArray::fromHex(hex.toLatin1());
    QString s;
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        s += QChar(qFromBigEndian<char16_t>(b.constData() + i));
    return s;
}

// A font's ToUnicode map: "<first> <last> [<text> ...]" or "<first> <last> <text>".
QHash<uint, QString> glyphMap(const QString& cmap) {
    static const QRegularExpression range(
        QStringLiteral(R"(<(\w+)>\s*<(\w+)>\s*(\[[^\]]*\]|<\w+>))"));
    static const QRegularExpression hex(QStringLiteral(R"(<(\w*)>)"));
    QHash<uint, QString> glyphs;
    for (auto r = range.globalMatch(cmap.section(QStringLiteral("beginbfrange"), 1));
         r.hasNext();) {
        const auto m = r.next();
        uint g = m.captured(1).toUInt(nullptr, 16);
        const uint last = m.captured(2).toUInt(nullptr, 16);
        if (m.captured(3).startsWith(QLatin1Char('['))) {
            for (auto t = hex.globalMatch(m.captured(3)); t.hasNext(); ++g)
                glyphs.insert(g, utf16(t.next().captured(1)));
        } else {
            const QString first = utf16(m.captured(3));
            for (uint i = 0; g + i <= last && !first.isEmpty(); ++i)
                glyphs.insert(g + i, first.chopped(1) + QChar(first.back().unicode() + i));
        }
    }
    return glyphs;
}

} // namespace

QString pdfText(const QByteArray& pdf) {
    // Every object with its stream, inflated when compressed (Qt's writer compresses them all).
    static const QRegularExpression object(QStringLiteral(R"((\d+) 0 obj(.*?)endobj)"),
                                           QRegularExpression::DotMatchesEverythingOption);
    QHash<int, QString> dicts, streams;
    const QString all = QString::fromLatin1(pdf);
    for (auto o = object.globalMatch(all); o.hasNext();) {
        const auto m = o.next();
        const int n = m.captured(1).toInt();
        const QString body = m.captured(2);
        const qsizetype s = body.indexOf(QLatin1String("stream\n"));
        dicts.insert(n, body.left(s));
        if (s < 0) continue;
        const QByteArray raw =
            body.mid(s + 7, body.lastIndexOf(QLatin1String("\nendstream")) - s - 7).toLatin1();
        streams.insert(n, QString::fromLatin1(dicts[n].contains(QLatin1String("/FlateDecode"))
                                                  ? qUncompress(QByteArray("\0\1\0\0", 4) + raw)
                                                  : raw));
    }
    // Font resource names ("/F5 7 0 R") to the glyph map of that font's ToUnicode stream.
    static const QRegularExpression toUnicode(QStringLiteral(R"(/ToUnicode (\d+) 0 R)"));
    static const QRegularExpression resource(QStringLiteral(R"(/(F\d+) (\d+) 0 R)"));
    QHash<QString, QHash<uint, QString>> fonts;
    for (auto r = resource.globalMatch(all); r.hasNext();) {
        const auto m = r.next();
        const auto t = toUnicode.match(dicts.value(m.captured(2).toInt()));
        if (t.hasMatch())
            fonts.insert(m.captured(1), glyphMap(streams.value(t.captured(1).toInt())));
    }
    // The glyphs the pages show, four hex digits each, in the font last chosen; one line per
    // text block.
    static const QRegularExpression block(QStringLiteral("BT(.*?)ET"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression token(QStringLiteral(R"(/(F\d+)\s+[\d.]+\s+Tf|<(\w*)>)"));
    QString out;
    const QHash<uint, QString>* font = nullptr;
    for (const QString& s : std::as_const(streams)) {
        if (s.contains(QLatin1String("begincmap"))) continue;
        for (auto b = block.globalMatch(s); b.hasNext(); out += QLatin1Char('\n'))
            for (auto t = token.globalMatch(b.next().captured(1)); t.hasNext();) {
                const auto m = t.next();
                if (!m.captured(1).isEmpty()) {
                    font = &fonts[m.captured(1)];
                    continue;
                }
                for (qsizetype i = 0; font && i + 4 <= m.captured(2).size(); i += 4) {
                    const QString c = font->value(m.captured(2).mid(i, 4).toUInt(nullptr, 16));
                    out += c == QLatin1String("\t") ? QStringLiteral(" ") : c; // Qt's blank
                }
            }
    }
    return out;
}

} // namespace vlm::test
