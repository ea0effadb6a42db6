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

} // namespace

QString pdfText(const QByteArray& pdf) {
    // Every stream, inflated when it is compressed (Qt's writer compresses all of them).
    QStringList streams;
    for (qsizetype at = pdf.indexOf(">>\nstream\n"); at >= 0;
         at = pdf.indexOf(">>\nstream\n", at + 1)) {
        const qsizetype begin = at + 10, end = pdf.indexOf("\nendstream", begin);
        const QByteArray raw = pdf.mid(begin, end - begin);
        const bool deflated = pdf.lastIndexOf("/FlateDecode", at) > pdf.lastIndexOf(" obj", at);
        streams << QString::fromLatin1(deflated ? qUncompress(QByteArray("\0\1\0\0", 4) + raw)
                                                : raw);
    }
    // The fonts' ToUnicode maps: "<first> <last> [<text> ...]" or "<first> <last> <text>".
    static const QRegularExpression range(
        QStringLiteral(R"(<(\w+)>\s*<(\w+)>\s*(\[[^\]]*\]|<\w+>))"));
    static const QRegularExpression hex(QStringLiteral(R"(<(\w*)>)"));
    QHash<uint, QString> glyphs;
    for (const QString& s : streams)
        for (auto r = range.globalMatch(s.section(QStringLiteral("beginbfrange"), 1));
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
    // The glyphs the pages show, four hex digits each, one line per text block.
    static const QRegularExpression block(QStringLiteral("BT(.*?)ET"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QString out;
    for (const QString& s : streams) {
        if (s.contains(QLatin1String("begincmap"))) continue;
        for (auto b = block.globalMatch(s); b.hasNext(); out += QLatin1Char('\n'))
            for (auto h = hex.globalMatch(b.next().captured(1)); h.hasNext();) {
                const QString glyphHex = h.next().captured(1);
                for (qsizetype i = 0; i + 4 <= glyphHex.size(); i += 4) {
                    const QString t = glyphs.value(glyphHex.mid(i, 4).toUInt(nullptr, 16));
                    out += t == QLatin1String("\t") ? QStringLiteral(" ") : t; // Qt's blank
                }
            }
    }
    return out;
}

} // namespace vlm::test
