#pragma once

#include <QStringList>
#include <QTableWidget>

namespace vlm::test {

// The texts of the first column of a grid, an empty text for an empty cell.
inline QStringList rowsOf(const QTableWidget* g) {
    QStringList out;
    for (int i = 0; i < g->rowCount(); ++i)
        out << (g->item(i, 0) ? g->item(i, 0)->text() : QString());
    return out;
}

} // namespace vlm::test
