#include "core/session/resulttable.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace vlm::retrieval {

namespace {

// The first eight UTF-16 codes of a text as two numbers that compare as the codes do, a text
// that ends early padded with zeros: where the numbers differ they order the texts as
// QString::compare (by character codes) does, and only where they tie are the texts compared.
struct SortKey {
    quint64 head = 0, next = 0;
    const QString* text = nullptr;

    explicit SortKey(const QString& s) : text(&s) {
        const qsizetype n = s.size();
        const ushort* p = s.utf16();
        for (qsizetype i = 0; i < 8; ++i) {
            const quint64 c = i < n ? p[i] : 0;
            (i < 4 ? head : next) = ((i < 4 ? head : next) << 16) | c;
        }
    }
    bool operator<(const SortKey& o) const {
        if (head != o.head) return head < o.head;
        if (next != o.next) return next < o.next;
        return QString::compare(*text, *o.text, Qt::CaseSensitive) < 0;
    }
};

// The rank of each row's text in column `col` among the column's distinct texts, in the
// order of QString::compare (by character codes): equal texts get equal ranks. Sorting by
// ranks compares integers held together rather than texts scattered over the heap, which on
// a few hundred thousand rows is the difference between a tenth of a second and a second.
std::vector<int> columnRanks(const std::vector<ResultLine>& rows, int col, int& distinctCount) {
    QHash<QString, int> ids;
    std::vector<SortKey> distinct;
    std::vector<int> rank(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString& text = rows[i].cell[size_t(col)];
        auto it = ids.constFind(text);
        if (it == ids.cend()) {
            it = ids.insert(text, int(distinct.size()));
            distinct.emplace_back(text);
        }
        rank[i] = *it;
    }
    std::vector<int> order(distinct.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return distinct[size_t(a)] < distinct[size_t(b)]; });
    std::vector<int> rankOfId(distinct.size());
    for (size_t r = 0; r < order.size(); ++r)
        rankOfId[size_t(order[r])] = int(r);
    for (int& r : rank)
        r = rankOfId[size_t(r)];
    distinctCount = int(distinct.size());
    return rank;
}

// `order` sorted by `rank`, rows of equal rank keeping their order: one counting pass.
std::vector<int> stableByRank(const std::vector<int>& order, const std::vector<int>& rank,
                              int ranks) {
    std::vector<int> start(size_t(ranks) + 1, 0);
    for (const int i : order)
        ++start[size_t(rank[size_t(i)]) + 1];
    for (size_t r = 1; r < start.size(); ++r)
        start[r] += start[r - 1];
    std::vector<int> out(order.size());
    for (const int i : order)
        out[size_t(start[size_t(rank[size_t(i)])]++)] = i;
    return out;
}

} // namespace

void sortResult(ResultTable& t, Progress* progress) {
    if (t.ResultSortCol < 1 || t.ResultSortCol > 4) t.ResultSortCol = 1;
    const int first = t.ResultSortCol;
    const int second = secondSortColumn(first);
    auto& rows = t.ResultGrid;

    // Sorting an order of indexes, then moving each row once, keeps the texts from being
    // copied at every comparison.
    // By the second column, then stably by the first: rows equal in both keep their order.
    int firstRanks = 0, secondRanks = 0;
    const std::vector<int> firstRank = columnRanks(rows, first, firstRanks);
    if (progress) progress->step(-1, 30);
    const std::vector<int> secondRank = columnRanks(rows, second, secondRanks);
    if (progress) progress->step(-1, 60);
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    order = stableByRank(stableByRank(order, secondRank, secondRanks), firstRank, firstRanks);
    std::vector<ResultLine> sorted;
    sorted.reserve(rows.size());
    for (const int i : order)
        sorted.push_back(std::move(rows[size_t(i)]));
    rows = std::move(sorted);
    if (progress) progress->step(-1, 90);

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
