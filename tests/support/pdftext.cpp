#include "support/pdftext.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

#include <zlib.h>

namespace vlm::test {
namespace {

QByteArray inflate(const QByteArray& in) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return {};
    QByteArray out;
    char buf[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        rc = ::inflate(&z, Z_NO_FLUSH);
        out.append(buf, qsizetype(sizeof buf - z.avail_out));
    }
    inflateEnd(&z);
    return out;
}

// The streams of the file, decompressed when they are Flate-encoded, by object number.
QList<std::pair<int, QByteArray>> streams(const QByteArray& pdf) {
    QList<std::pair<int, QByteArray>> out;
    static const QRegularExpression objNumber(QStringLiteral("(\\d+)\\s+\\d+\\s+$"));
    qsizetype from = 0;
    for (;;) {
        const qsizetype s = pdf.indexOf("stream", from);
        if (s < 0) break;
        if (s >= 3 && pdf.mid(s - 3, 3) == "end") { // "endstream"
            from = s + 6;
            continue;
        }
        qsizetype begin = s + 6;
        if (begin < pdf.size() && pdf.at(begin) == '\r') ++begin;
        if (begin < pdf.size() && pdf.at(begin) == '\n') ++begin;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0) break;
        const qsizetype dict = pdf.lastIndexOf("obj", s);
        const QByteArray head = pdf.mid(dict, s - dict);
        const QByteArray raw = pdf.mid(begin, end - begin);
        const auto m = objNumber.match(QString::fromLatin1(
            pdf.mid(std::max<qsizetype>(0, dict - 16), std::min<qsizetype>(dict, 16))));
        out.append({m.hasMatch() ? m.captured(1).toInt() : -1,
                    head.contains("/FlateDecode") ? inflate(raw) : raw});
        from = end + 9;
    }
    return out;
}

QString utf16Hex(const QByteArray& hex) {
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString s;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        s += QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1])));
    return s;
}

void readCMap(const QByteArray& cmap, QHash<uint, QString>& map) {
    static const QRegularExpression chars(QStringLiteral("beginbfchar(.*?)endbfchar"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression ranges(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression pair(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    static const QRegularExpression triple(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    const QString text = QString::fromLatin1(cmap);
    for (auto m = chars.globalMatch(text); m.hasNext();) {
        const QString body = m.next().captured(1);
        for (auto p = pair.globalMatch(body); p.hasNext();) {
            const auto pm = p.next();
            map.insert(pm.captured(1).toUInt(nullptr, 16), utf16Hex(pm.captured(2).toLatin1()));
        }
    }
    static const QRegularExpression list(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*\\[([^\\]]*)\\]"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (auto m = ranges.globalMatch(text); m.hasNext();) {
        QString body = m.next().captured(1);
        // <lo> <hi> [<u> <u> ...]: one text per glyph of the range.
        for (auto l = list.globalMatch(body); l.hasNext();) {
            const auto lm = l.next();
            uint g = lm.captured(1).toUInt(nullptr, 16);
            for (auto h = hex.globalMatch(lm.captured(3)); h.hasNext(); ++g)
                map.insert(g, utf16Hex(h.next().captured(1).toLatin1()));
        }
        // <lo> <hi> <u>: consecutive characters.
        body.remove(list);
        for (auto t = triple.globalMatch(body); t.hasNext();) {
            const auto tm = t.next();
            const uint lo = tm.captured(1).toUInt(nullptr, 16);
            const uint hi = tm.captured(2).toUInt(nullptr, 16);
            const QString first = utf16Hex(tm.captured(3).toLatin1());
            for (uint g = lo; g <= hi && g - lo < 65536 && !first.isEmpty(); ++g) {
                QString s = first;
                s.back() = QChar(char16_t(s.back().unicode() + (g - lo)));
                map.insert(g, s);
            }
        }
    }
}

} // namespace

QString pdfText(const QByteArray& pdf) {
    const QList<std::pair<int, QByteArray>> all = streams(pdf);
    // Each font has its own glyph numbers: the maps are kept per ToUnicode stream, and the
    // font resources (/F7 7 0 R) lead from a font name to its font object and its map.
    QHash<int, QHash<uint, QString>> maps;
    QHash<uint, QString> merged; // for a name no resource leads from
    for (const auto& [obj, s] : all)
        if (s.contains("begincmap")) {
            readCMap(s, maps[obj]);
            readCMap(s, merged);
        }
    const QString text = QString::fromLatin1(pdf);
    QHash<int, int> cmapOfFont;
    static const QRegularExpression font(QStringLiteral(
        "(\\d+)\\s+0\\s+obj\\s*<<\\s*/Type\\s*/Font[^>]*?/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    for (auto m = font.globalMatch(text); m.hasNext();) {
        const auto fm = m.next();
        cmapOfFont.insert(fm.captured(1).toInt(), fm.captured(2).toInt());
    }
    QHash<QString, int> fontOfName;
    static const QRegularExpression resource(QStringLiteral("/(F\\d+)\\s+(\\d+)\\s+0\\s+R"));
    for (auto m = resource.globalMatch(text); m.hasNext();) {
        const auto rm = m.next();
        fontOfName.insert(rm.captured(1), rm.captured(2).toInt());
    }
    // Qt's writer maps the blank glyph to a tab in its ToUnicode maps.
    auto blanks = [](QHash<uint, QString>& map) {
        for (QString& t : map)
            if (t == QLatin1String("\t")) t = QStringLiteral(" ");
    };
    blanks(merged);
    for (auto& map : maps)
        blanks(map);

    static const QRegularExpression textBlock(QStringLiteral("BT(.*?)ET"),
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression token(
        QStringLiteral("/(F\\d+)\\s+[-\\d.]+\\s+Tf|<([0-9A-Fa-f]*)>"));
    QString out;
    for (const auto& [obj, s] : all) {
        if (s.contains("begincmap")) continue;
        const QString content = QString::fromLatin1(s);
        const QHash<uint, QString>* map = &merged;
        for (auto b = textBlock.globalMatch(content); b.hasNext();) {
            const QString block = b.next().captured(1);
            for (auto t = token.globalMatch(block); t.hasNext();) {
                const auto tm = t.next();
                if (!tm.captured(1).isEmpty()) {
                    const int cmap = cmapOfFont.value(fontOfName.value(tm.captured(1), -1), -1);
                    map = maps.contains(cmap) ? &maps[cmap] : &merged;
                    continue;
                }
                const QString hex = tm.captured(2);
                for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
                    out += map->value(hex.mid(i, 4).toUInt(nullptr, 16));
            }
            out += QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace vlm::test
