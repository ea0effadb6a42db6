#include "core/cards/cardnumbers.h"

#include "core/store/collation.h"
#include "core/store/recordset.h"

#include <QChar>
#include <vector>

namespace vlm::cards {
namespace {

// The first `width` characters of `name`, padded on the right with "_". A character outside
// the basic plane is never cut in half: when it would be, it is left out and padded instead.
QString fixedPrefix(const QString& name, int width) {
    QString p = name.left(width);
    if (p.size() == width && p.back().isHighSurrogate()) p.chop(1);
    while (p.size() < width)
        p += QLatin1Char('_');
    return p;
}

// Upper case one character at a time, so that the prefix keeps its length ("ß" stays "ß").
QString upperKeepingLength(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            const char32_t up = QChar::toUpper(QChar::surrogateToUcs4(c, s.at(i + 1)));
            out += QString::fromUcs4(&up, 1);
            ++i;
        } else {
            out += c.toUpper();
        }
    }
    return out;
}

QString counterText(int counter, int width) {
    return QStringLiteral("%1").arg(counter, width, 10, QLatin1Char('0'));
}

bool numberExists(store::Recordset& rs, const QString& number) {
    rs.seek(QStringLiteral("="), number);
    return !rs.noMatch();
}

} // namespace

QString notePrefix(const QString& author) {
    return upperKeepingLength(fixedPrefix(author, 4));
}

QString referencePrefix(const QString& firstAuthor) {
    return fixedPrefix(firstAuthor, 7);
}

QString quotePrefix(const QString& referenceNumber) {
    return upperKeepingLength(fixedPrefix(referenceNumber, 5));
}

QString noteNumber(const QString& prefix, int counter) {
    return prefix + counterText(counter, 4) + QStringLiteral(".TXT");
}

QString referenceNumber(const QString& prefix, int counter) {
    return prefix + counterText(counter, 3);
}

QString quoteNumber(const QString& prefix, int counter) {
    return prefix + counterText(counter, 3) + QStringLiteral(".TXT");
}

int counterOf(const QString& key, const QString& prefix, NumberForm form) {
    qsizetype i = prefix.size();
    int value = 0, digits = 0;
    while (i < key.size() && digits < 6 && key.at(i) >= QLatin1Char('0') &&
           key.at(i) <= QLatin1Char('9')) {
        value = value * 10 + (key.at(i).unicode() - '0');
        ++i;
        ++digits;
    }
    if (digits == 0 || value < 1 || value > kMaxCardCounter) return 0;
    return store::equalText(key, form(prefix, value)) ? value : 0;
}

std::optional<QString> firstFreeNumber(store::Recordset& rs, const QString& indexName,
                                       const QString& numberField, const QString& prefix,
                                       NumberForm form) {
    rs.setIndex(indexName);
    std::vector<char> used(kMaxCardCounter + 1, 0);

    // Every key that begins with the prefix lies between the prefix and the prefix followed by
    // the last character there is.
    const char32_t last = 0x10FFFF;
    const QString bound = prefix + QString::fromUcs4(&last, 1);
    const int pos = rs.fieldPos(numberField);
    rs.seek(QStringLiteral(">="), prefix);
    if (!rs.noMatch()) {
        while (!rs.eof()) {
            const QString key = rs.fieldValue(pos).toString();
            if (store::compareText(key, bound) > 0) break;
            if (const int c = counterOf(key, prefix, form)) used[size_t(c)] = 1;
            rs.moveNext();
        }
    }

    // The walk gives the candidate; a seek confirms it, so that a key the walk could not
    // recognise (an unusual spelling the store finds equal) never leads to a duplicate.
    for (int c = 1; c <= kMaxCardCounter; ++c) {
        if (used[size_t(c)]) continue;
        const QString number = form(prefix, c);
        if (!numberExists(rs, number)) return number;
    }
    return std::nullopt;
}

} // namespace vlm::cards
