#include "core/session/resulttable.h"
#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <QStringList>
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
    for (int i = 0; i < n; ++i)
        if (g[size_t(i)].cell[size_t(first)] == t.ResultKeyword) {
            t.ResultRow = i + 1;
            break;
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
        const bool keywordListed =
            std::any_of(t.ResultGrid.begin(), t.ResultGrid.end(), [&](auto& r) {
                return r.cell[size_t(t.ResultSortCol)] == t.ResultKeyword;
            });
        if (keywordListed) {
            ASSERT_EQ(t.ResultRow, plain.ResultRow) << "round " << round;
        }
        QStringList a = wholeRows(t), b = wholeRows(plain), c = before;
        a.sort();
        b.sort();
        c.sort();
        ASSERT_EQ(a, b);
        ASSERT_EQ(a, c);
        // Rows equal in both columns keep the order they had.
        for (size_t i = 1; i < t.ResultGrid.size(); ++i) {
            const auto& x = t.ResultGrid[i - 1];
            const auto& y = t.ResultGrid[i];
            const int f = t.ResultSortCol, s = secondSortColumn(f);
            if (x.cell[size_t(f)] == y.cell[size_t(f)] && x.cell[size_t(s)] == y.cell[size_t(s)]) {
                ASSERT_LT(x.ndx.toInt(), y.ndx.toInt());
            }
        }
    }
}

TEST(ResultSort, ComparesByCharacterCodesAndFindsTheKeywordRow) {
    ResultTable t;
    t.add("beta", "N2", "", "", "N2");
    t.add("Beta", "N1", "", "", "N1");
    t.add("alpha", "N3", "", "", "N3");
    t.add("Beta", "N0", "", "", "N0");
    t.ResultKeyword = "beta";
    sortResult(t);
    QStringList order;
    for (const auto& r : t.ResultGrid)
        order << r.keyword() + "/" + r.number();
    // Capitals come before small letters; equal keywords by card number.
    EXPECT_EQ(order, (QStringList{"Beta/N0", "Beta/N1", "alpha/N3", "beta/N2"}));
    EXPECT_EQ(t.ResultRow, 4);

    // Sorted by author (column 3), the second column is the keyword.
    t.ResultGrid[0].cell[3] = "Smith";
    t.ResultGrid[1].cell[3] = "Jones";
    t.ResultGrid[2].cell[3] = "Smith";
    t.ResultGrid[3].cell[3] = "Jones";
    t.ResultSortCol = 3;
    t.ResultKeyword = "Smith";
    sortResult(t);
    order.clear();
    for (const auto& r : t.ResultGrid)
        order << r.cell[3] + "/" + r.keyword();
    EXPECT_EQ(order, (QStringList{"Jones/Beta", "Jones/beta", "Smith/Beta", "Smith/alpha"}));
    EXPECT_EQ(t.ResultRow, 3);

    // No row equal: one equal but for letter case, else row 1.
    t.ResultKeyword = "SMITH";
    sortResult(t);
    EXPECT_EQ(t.ResultRow, 3);
    t.ResultKeyword = "Nobody";
    sortResult(t);
    EXPECT_EQ(t.ResultRow, 1);
}

TEST(ResultDisplay, RepeatedCellsAreLeftEmpty) {
    ResultTable t;
    t.add("Alpha", "SMIT0001.TXT", "Smith", "On trees", "SMIT0001.TXT");
    t.add("Beta", "SMIT0001.TXT", "Smith", "On trees", "SMIT0001.TXT");
    t.add("Beta", "JONE0001.TXT", "Smith", "On trees", "JONE0001.TXT");
    t.add("Gamma", "JONE0001.TXT", "Jones", "On trees", "JONE0001.TXT");
    t.add("Gamma", "JONE0001.TXT", "Jones", "On roots", "JONE0001.TXT");

    auto row = [&](int i) {
        const auto c = shownCells(t, i);
        return QStringList{c[1], c[2], c[3], c[4]};
    };
    EXPECT_EQ(row(1), (QStringList{"Alpha", "SMIT0001.TXT", "Smith", "On trees"}));
    // Same card as above: neither number, author nor title.
    EXPECT_EQ(row(2), (QStringList{"Beta", "", "", ""}));
    // Another card: its number, author and title show even when equal to the row above.
    EXPECT_EQ(row(3), (QStringList{"", "JONE0001.TXT", "Smith", "On trees"}));
    // Same card, another author: only the author shows.
    EXPECT_EQ(row(4), (QStringList{"Gamma", "", "Jones", ""}));
    EXPECT_EQ(row(5), (QStringList{"", "", "", "On roots"}));
}
