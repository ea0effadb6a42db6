#pragma once

// File dialog filters: the "Description|pattern|..." form turned into Qt's named filters.

#include <QString>
#include <QStringList>

namespace vlm {

// Turns a filter written as "Description|patterns|Description|patterns..." (patterns separated
// by ';') into the named filters of a Qt file dialog, one per pair: "Velmora Base (*.vlm)".
// A description that already ends with its own patterns in brackets is kept as it is;
// otherwise the patterns are added in brackets, so the dialog filters on them.
QStringList qtNameFilters(const QString& filter);

} // namespace vlm
