#include "core/session/resulttable.h"

#include <algorithm>
#include <numeric>

namespace vlm::retrieval {

void sortResult(ResultTable& t) {
    if (t.ResultSortCol < 1 || t.ResultSortCol > 4) t.ResultSortCol = 1;
    const int first = t.ResultSortCol;
    const int second = secondSortColumn(first);
    auto& rows = t.ResultGrid;

    // Sorting an order of indexes, then moving each row once, keeps the texts from being
    // copied at every comparison.
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = QString::compare(rows[size_t(a)].cell[size_t(first)],
                                       rows[size_t(b)].cell[size_t(first)], Qt::CaseSensitive);
        if (c != 0) return c < 0;
        return QString::compare(rows[size_t(a)].cell[size_t(second)],
                                rows[size_t(b)].cell[size_t(second)], Qt::CaseSensitive) < 0;
    });
    std::vector<ResultLine> sorted;
    sorted.reserve(rows.size());
    for (const int i : order)
        sorted.push_back(std::move(rows[size_t(i)]));
    rows = std::move(sorted);

    t.ResultRow = 1;
    const auto exact = std::find_if(rows.begin(), rows.end(), [&](const ResultLine& r) {
        return r.cell[size_t(first)] == t.ResultKeyword;
    });
    if (exact != rows.end()) {
        t.ResultRow = int(exact - rows.begin()) + 1;
        return;
    }
    const auto loose = std::find_if(rows.begin(), rows.end(), [&](const ResultLine& r) {
        return r.cell[size_t(first)].compare(t.ResultKeyword, Qt::CaseInsensitive) == 0;
    });
    if (loose != rows.end()) t.ResultRow = int(loose - rows.begin()) + 1;
}

std::array<QString, 5> shownCells(const ResultTable& t, int row) {
    const ResultLine& line = t.ResultGrid[size_t(row - 1)];
    std::array<QString, 5> shown = line.cell;
    if (row < 2) return shown;
    const ResultLine& above = t.ResultGrid[size_t(row - 2)];
    if (line.cell[1] == above.cell[1]) shown[1].clear();
    if (line.cell[2] == above.cell[2]) shown[2].clear();
    if (shown[2].isEmpty()) {
        if (line.cell[3] == above.cell[3]) shown[3].clear();
        if (line.cell[4] == above.cell[4]) shown[4].clear();
    }
    return shown;
}

} // namespace vlm::retrieval
