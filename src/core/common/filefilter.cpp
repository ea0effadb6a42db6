#include "core/common/filefilter.h"

namespace vlm {

QStringList qtNameFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString bracket =
            QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        if (description.endsWith(bracket, Qt::CaseInsensitive))
            out << description;
        else if (description.isEmpty())
            out << bracket;
        else
            out << description + QLatin1Char(' ') + bracket;
    }
    return out;
}

} // namespace vlm
