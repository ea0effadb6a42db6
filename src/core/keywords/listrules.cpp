#include "core/keywords/listrules.h"

#include <QStringView>

namespace vlm::keywords {

namespace {

bool breaksLine(QChar c) {
    switch (c.unicode()) {
    case u'\t':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

QString oneLineName(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (text[i] != u' ' && !breaksLine(text[i])) {
            out += text[i++];
            continue;
        }
        // A run of blanks and breaks: dropped at either end, one blank when it breaks the
        // line, kept as typed otherwise.
        const qsizetype start = i;
        bool breaks = false;
        for (; i < n && (text[i] == u' ' || breaksLine(text[i])); ++i)
            breaks = breaks || breaksLine(text[i]);
        if (start == 0 || i == n) continue;
        if (breaks)
            out += u' ';
        else
            out += QStringView(text).sliced(start, i - start);
    }
    return out;
}

QString capitalFirst(const QString& text) {
    if (text.isEmpty()) return text;
    const char16_t c = text.front().unicode();
    if (c < u'a' || c > u'z') return text;
    QString out = text;
    out[0] = QChar(char16_t(c - 32));
    return out;
}

int findAtOrAfter(const QStringList& rows, const QString& typed) {
    if (typed.isEmpty() || rows.isEmpty()) return -1;
    const qsizetype len = typed.size();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (QStringView(rows[i]).left(len).compare(typed, Qt::CaseSensitive) >= 0) return int(i);
    }
    return int(rows.size() - 1);
}

int findPrefix(const QStringList& rows, const QString& typed) {
    if (typed.isEmpty() || rows.isEmpty()) return -1;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].startsWith(typed, Qt::CaseSensitive)) return int(i);
    }
    return int(rows.size() - 1);
}

std::optional<int> topRowForFound(int row, int count) {
    if (row >= 3 && row < count - 7) return row - 3;
    if (row > count - 7) return row - 7 > 0 ? row - 7 : 0;
    return std::nullopt;
}

int topRowForFourth(int row) {
    return row > 2 ? row - 3 : 0;
}

} // namespace vlm::keywords
