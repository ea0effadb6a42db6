#include "retrieval/datelist.h"

#include "app/appcontext.h"
#include "store/recordset.h"

#include <QDateTime>

namespace vlm::retrieval {

QString dateText(const QVariant& value) {
    if (value.isNull()) return QString();
    const QDateTime dt = value.toDateTime();
    if (!dt.isValid()) return QString();
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

std::vector<DateLine> ListByDate(AppContext& ctx, CardKind kind) {
    const KindSources& src = sourcesOf(kind);
    store::Recordset& cards = cardTable(ctx, kind);
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
