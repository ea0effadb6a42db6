#include "core/retrieval/datelist.h"

#include "core/session/session.h"
#include "core/store/recordset.h"

#include <QDateTime>
#include <cstdio>

namespace vlm::retrieval {

QString dateText(const QVariant& value) {
    if (value.isNull()) return QString();
    const QDateTime dt = value.toDateTime();
    if (!dt.isValid()) return QString();
    // Written by hand: a list of 100,000 dates spends most of its time in a format string.
    const QDate d = dt.date();
    const QTime t = dt.time();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                  t.hour(), t.minute(), t.second());
    return QString::fromLatin1(buf);
}

std::vector<DateLine> listByDate(Session& ctx, CardKind kind) {
    const KindSources& src = sourcesOf(kind);
    store::Recordset& cards = cardTable(ctx, kind);
    const ReadSnapshot snapshot(ctx);
    std::vector<DateLine> out;
    cards.setIndex(QStringLiteral("Jour"));
    if (cards.recordCount() > 0) {
        out.reserve(size_t(cards.recordCount()));
        const store::Field date = cards.field(src.dateField);
        const store::Field number = cards.field(src.numberField);
        for (cards.moveLast(); !cards.bof(); cards.movePrevious())
            out.push_back({dateText(date.value()), number.text()});
    }
    cards.setIndex(src.numberIndex);
    return out;
}

} // namespace vlm::retrieval
