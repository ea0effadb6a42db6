#include "core/session/resulttable.h"
#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <random>

using vlm::retrieval::ResultLine;
using vlm::retrieval::ResultTable;
using vlm::retrieval::secondSortColumn;
using vlm::retrieval::shownCells;
using vlm::retrieval::sortResult;

namespace {

// The sort exactly as the result window was first written: a selection sort that finds the
// smallest value from position p on and swaps every row equal to it to position p, p
// advancing; first by the sort column over all rows, then by the second column within each
// run of rows equal in the first.
void plainSelectionSort(std::vector<ResultLine>& g, int lo, int hi, int col) {
    if (hi <= lo) return;
    int p = lo;
    while (p != hi) {
        QString smallest = g[size_t(p)].cell[size_t(col)];
        for (int q = p; q <= hi; ++q)
            if (g[size_t(q)].cell[size_t(col)] < smallest)
                smallest = g[size_t(q)].cell[size_t(col)];
        for (int q = p; q <= hi; ++q) {
            if (g[size_t(q)].cell[size_t(col)] == smallest) {
                std::swap(g[size_t(q)], g[size_t(p)]);
                if (p < hi) ++p;
            }
        }
    }
}

void plainSort(ResultTable& t) {
    auto& g = t.ResultGrid;
    const int first = t.ResultSortCol, second = secondSortColumn(first);
    const int n = int(g.size());
    plainSelectionSort(g, 0, n - 1, first);
    // The row of the keyword: the first equal one, else the first equal but for letter case.
    t.ResultRow = 1;
    for (const auto cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        const auto it = std::find_if(g.begin(), g.end(), [&](const ResultLine& r) {
            return r.cell[size_t(first)].compare(t.ResultKeyword, cs) == 0;
        });
        if (it != g.end()) {
            t.ResultRow = int(it - g.begin()) + 1;
            break;
        }
    }
    int a = 0;
    while (a < n) {
        int b = a;
        while (b + 1 < n &&
               g[size_t(b + 1)].cell[size_t(first)] == g[size_t(a)].cell[size_t(first)])
            ++b;
        plainSelectionSort(g, a, b, second);
        a = b + 1;
    }
}

QString pick(std::mt19937& rng, const QStringList& values) {
    return values[int(rng() % values.size())];
}

QStringList keys(const ResultTable& t) {
    QStringList out;
    const int f = t.ResultSortCol, s = secondSortColumn(f);
    for (const auto& r : t.ResultGrid)
        out << r.cell[size_t(f)] + QChar(0x1f) + r.cell[size_t(s)];
    return out;
}

QStringList wholeRows(const ResultTable& t) {
    QStringList out;
    for (const auto& r : t.ResultGrid)
        out << QStringList{r.cell[1], r.cell[2], r.cell[3], r.cell[4], r.ndx}.join('|');
    return out;
}

} // namespace

TEST(ResultSort, MatchesThePlainSelectionSortOnRandomTables) {
    std::mt19937 rng(20240607);
    // Few values, with case and prefix variants, so that ties in one and both columns abound.
    const QStringList words{"", " ", "a", "A", "ab", "Ab", "b", "B", "ba", "z", "Z", "é"};
    for (int round = 0; round < 400; ++round) {
        ResultTable t;
        const int n = int(rng() % 60);
        for (int i = 0; i < n; ++i)
            t.add(pick(rng, words), pick(rng, words), pick(rng, words), pick(rng, words),
                  QString::number(i));
        t.ResultSortCol = 1 + int(rng() % 4);
        t.ResultKeyword = pick(rng, words);
        t.ResultRow = 1;
        ResultTable plain = t;
        const QStringList before = wholeRows(t);

        plainSort(plain);
        sortResult(t);

        ASSERT_EQ(keys(t), keys(plain)) << "round " << round;
        ASSERT_EQ(t.ResultRow, plain.ResultRow) << "round " << round;
        QStringList after = wholeRows(t), all = before;
        after.sort();
        all.sort();
        ASSERT_EQ(after, all); // the same rows
        // Rows equal in both columns keep the order they had.
        const QStringList k = keys(t);
        for (int i = 1; i < k.size(); ++i)
            ASSERT_TRUE(k[i - 1] != k[i] || t.ResultGrid[size_t(i - 1)].ndx.toInt() <
                                                t.ResultGrid[size_t(i)].ndx.toInt())
                << "round " << round;
    }
}

TEST(ResultDisplay, RepeatedCellsAreLeftEmpty) {
    ResultTable t;
    t.add("Alpha", "SMIT0001.TXT", "Smith", "On trees", "SMIT0001.TXT");
    t.add("Beta", "SMIT0001.TXT", "Smith", "On trees", "SMIT0001.TXT");
    t.add("Beta", "JONE0001.TXT", "Smith", "On trees", "JONE0001.TXT");
    t.add("Gamma", "JONE0001.TXT", "Jones", "On trees", "JONE0001.TXT");
    t.add("Gamma", "JONE0001.TXT", "Jones", "On roots", "JONE0001.TXT");

    QStringList shown;
    for (int i = 1; i <= 5; ++i) {
        const auto c = shownCells(t, i);
        shown << QStringList{c[1], c[2], c[3], c[4]}.join('|');
    }
    EXPECT_EQ(shown, (QStringList{
                         "Alpha|SMIT0001.TXT|Smith|On trees",
                         "Beta|||",                      // same card: no number, author, title
                         "|JONE0001.TXT|Smith|On trees", // another card: all shown
                         "Gamma||Jones|",                // same card, another author
                         "|||On roots",
                     }));
}
