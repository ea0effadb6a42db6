#include "core/retrieval/datelist.h"

#include "core/session/session.h"
#include "core/store/database.h"
#include "core/store/recordset.h"

#include <QDateTime>
#include <QHash>
#include <cstdio>
#include <limits>

namespace vlm::retrieval {

namespace {

QString writeDate(const QDateTime& dt) {
    if (!dt.isValid()) return QString();
    // Written by hand: a list of 100,000 dates spends most of its time in a format string.
    const QDate d = dt.date();
    const QTime t = dt.time();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                  t.hour(), t.minute(), t.second());
    return QString::fromLatin1(buf);
}

// Writes stored dates as dateText() writes the local date and time the store reads from them,
// without making that local date and time for every card: it costs a look at the time zone
// each. A day on which the local clock does not change (asked once per day) keeps every date
// and time as stored, so its cards' dates are written straight from the stored value; any
// other day (a clock change, a date out of the usual range) goes the long way.
class DateWriter {
public:
    QString text(double stored) {
        const auto parts = store::splitStoredDate(stored);
        if (!parts) return QString();
        const auto& [date, time] = *parts;
        int y = 0, m = 0, d = 0;
        date.getDate(&y, &m, &d);
        if (y < 1 || y > 9999 || !steadyDay(date)) return writeDate(QDateTime(date, time));
        const int s = time.msecsSinceStartOfDay() / 1000;
        char16_t buf[19];
        const auto put = [&buf](int at, int value, int digits) {
            for (int i = digits - 1; i >= 0; --i, value /= 10)
                buf[at + i] = char16_t(u'0' + value % 10);
        };
        put(0, y, 4);
        buf[4] = u'-';
        put(5, m, 2);
        buf[7] = u'-';
        put(8, d, 2);
        buf[10] = u' ';
        put(11, s / 3600, 2);
        buf[13] = u':';
        put(14, s / 60 % 60, 2);
        buf[16] = u':';
        put(17, s % 60, 2);
        return QString(reinterpret_cast<const QChar*>(buf), 19);
    }

private:
    bool steadyDay(QDate date) {
        const qint64 day = date.toJulianDay();
        if (day != lastDay_) {
            auto it = days_.constFind(day);
            if (it == days_.cend()) it = days_.insert(day, checkDay(date));
            lastDay_ = day;
            lastSteady_ = *it;
        }
        return lastSteady_;
    }
    // The first and the last second of the day exist as they are and share one offset from
    // UTC: the clock does not change that day.
    static bool checkDay(QDate date) {
        const QTime first(0, 0), last(23, 59, 59);
        const QDateTime a(date, first), b(date, last);
        return a.isValid() && b.isValid() && a.date() == date && a.time() == first &&
               b.date() == date && b.time() == last && a.offsetFromUtc() == b.offsetFromUtc();
    }

    QHash<qint64, bool> days_;
    qint64 lastDay_ = std::numeric_limits<qint64>::min();
    bool lastSteady_ = false;
};

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

QString dateText(const QVariant& value) {
    if (value.isNull()) return QString();
    return writeDate(value.toDateTime());
}

std::vector<DateLine> listByDate(Session& ctx, CardKind kind, Progress* progress) {
    const KindSources& src = sourcesOf(kind);
    store::Recordset& cards = cardTable(ctx, kind);
    const ReadSnapshot snapshot(ctx);
    std::vector<DateLine> out;
    const long count = cards.recordCount();
    if (count > 0) {
        // The walk backwards along Jour, as one statement: the index's fields, then the order
        // the rows were added, both descending.
        const store::TableDef& def = cards.tableDef();
        QString order;
        for (const QString& f : def.indexes[size_t(def.indexPos(QStringLiteral("Jour")))].fields)
            order += quoted(f) + QStringLiteral(" DESC, ");
        const QString sql = QStringLiteral("SELECT ") + quoted(src.dateField) + QLatin1Char(',') +
                            quoted(src.numberField) + QStringLiteral(" FROM ") +
                            quoted(src.cardTable) + QStringLiteral(" ORDER BY ") + order +
                            QStringLiteral("rowid DESC");
        out.reserve(size_t(count));
        DateWriter writer;
        ctx.base.BaseDb->each(sql, {}, [&](const store::SqlRow& row) {
            out.push_back({row.isNull(0) ? QString() : writer.text(row.real(0)), row.text(1)});
            if (progress && out.size() % 4096 == 0)
                progress->step(qint64(out.size()), percentOf(qint64(out.size()), count), count);
        });
    }
    // The table is left as the walk along Jour left it: on its number index, no record current.
    cards.setIndex(QStringLiteral("Jour"));
    cards.setIndex(src.numberIndex);
    return out;
}

} // namespace vlm::retrieval
