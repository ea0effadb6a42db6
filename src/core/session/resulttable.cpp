#include "core/session/resulttable.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace vlm::retrieval {

namespace {

// The rank of each row's text in column `col` among the column's distinct texts, in the
// order of QString::compare (by character codes): equal texts get equal ranks. Sorting by
// ranks compares integers held together rather than texts scattered over the heap, which on
// a few hundred thousand rows is the difference between a tenth of a second and a second.
std::vector<int> columnRanks(const std::vector<ResultLine>& rows, int col) {
    QHash<QString, int> ids;
    std::vector<const QString*> distinct;
    std::vector<int> rank(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString& text = rows[i].cell[size_t(col)];
        auto it = ids.constFind(text);
        if (it == ids.cend()) {
            it = ids.insert(text, int(distinct.size()));
            distinct.push_back(&text);
        }
        rank[i] = *it;
    }
    std::vector<int> order(distinct.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return QString::compare(*distinct[size_t(a)], *distinct[size_t(b)], Qt::CaseSensitive) < 0;
    });
    std::vector<int> rankOfId(distinct.size());
    for (size_t r = 0; r < order.size(); ++r)
        rankOfId[size_t(order[r])] = int(r);
    for (int& r : rank)
        r = rankOfId[size_t(r)];
    return rank;
}

} // namespace

void sortResult(ResultTable& t) {
    if (t.ResultSortCol < 1 || t.ResultSortCol > 4) t.ResultSortCol = 1;
    const int first = t.ResultSortCol;
    const int second = secondSortColumn(first);
    auto& rows = t.ResultGrid;

    // Sorting an order of indexes, then moving each row once, keeps the texts from being
    // copied at every comparison.
    const std::vector<int> firstRank = columnRanks(rows, first);
    const std::vector<int> secondRank = columnRanks(rows, second);
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int fa = firstRank[size_t(a)], fb = firstRank[size_t(b)];
        if (fa != fb) return fa < fb;
        return secondRank[size_t(a)] < secondRank[size_t(b)];
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
