#pragma once

// The word analysis done the plain way: lists counted from 1 whose entry 0 is an empty dummy,
// a linear lookup of every word, the Exclusion List sought word by word with the store's
// comparison, and selection sorts. Slow on purpose: the tests and the words bench check the
// fast analysis against it.

#include "core/cards/codepage.h"
#include "core/store/collation.h"
#include "core/words/tokenizer.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

namespace vlm::test {

class LiteralWords {
public:
    QStringList w{QString()};
    QList<int> c{0};
    int U() const { return int(w.size()) - 1; }

    static int code(QChar ch) {
        const char16_t u = ch.unicode();
        if (u < 0x80) return u;
        if (unsigned char b = cards::cp1252Byte(u)) return b;
        return u < 0xA0 && cards::cp1252Char(static_cast<unsigned char>(u)) == u ? u : 63;
    }

    // False when the text is too short to be analysed.
    bool split(QString t, words::SplitVariant v, bool all) {
        using V = words::SplitVariant;
        if (v == V::Index) all = false;
        w = {QString()};
        c = {0};
        while (!t.isEmpty() && t[0] == QLatin1Char(' '))
            t.remove(0, 1);
        if (t.size() < 3) return false;
        if (code(t.back()) < 33) t.chop(1);
        t += QLatin1Char(' ');
        for (QChar& ch : t)
            if (code(ch) < 65 || (code(ch) >= 91 && code(ch) <= 96)) ch = QLatin1Char(' ');
        const std::vector<int> lead = v == V::Export ? std::vector<int>{'~', '\'', '('}
                                                     : std::vector<int>{'~', '\'', '(', 171};
        const std::vector<int> trail =
            v == V::Analysis
                ? std::vector<int>{',', ';', '.', '?', '~', ')', 's', 13, 10, 9, 8, 181}
            : v == V::Export ? std::vector<int>{',', ';', '.', '?', '~', ')', 13, 10, 9, 8}
                             : std::vector<int>{',', ';', '.', '?', '~', ')', 10, 13, 8, 9, 187};
        auto in = [](const std::vector<int>& set, QChar ch) {
            return std::ranges::find(set, code(ch)) != set.end();
        };
        qsizetype pos = 0;
        while (pos < t.size()) {
            const qsizetype blank = t.indexOf(QLatin1Char(' '), pos);
            if (blank == pos) {
                ++pos;
                continue;
            }
            QString tok = t.mid(pos, blank - pos);
            pos = blank + 1;
            if (!all) {
                while (tok.size() > 2) {
                    if (in(lead, tok[0]))
                        tok.remove(0, 1);
                    else if (in(trail, tok.back()))
                        tok.chop(1);
                    else
                        break;
                }
                if (tok.size() < 3) continue;
            }
            if (const auto at = std::ranges::find(w, tok); at != w.end()) {
                ++c[at - w.begin()];
            } else {
                w.push_back(tok);
                c.push_back(1);
            }
        }
        return true;
    }

    void removeExcluded(const QStringList& excluded) {
        for (int i = 1; i <= U();) {
            if (std::ranges::none_of(excluded,
                                     [&](const QString& x) { return store::equalText(x, w[i]); })) {
                ++i;
                continue;
            }
            swapEntries(i, U()); // the last entry takes its place
            w.pop_back();
            c.pop_back();
        }
    }

    static bool less(const QString& a, const QString& b) {
        for (qsizetype i = 0; i < a.size() && i < b.size(); ++i)
            if (code(a[i]) != code(b[i])) return code(a[i]) < code(b[i]);
        return a.size() < b.size();
    }

    void swapEntries(int a, int b) {
        w.swapItemsAt(a, b);
        c.swapItemsAt(a, b);
    }

    // Swaps the entries from p on that `picked` chooses to p, p + 1, ... one by one.
    template <class F> void gather(int& p, F picked) {
        for (int q = p; q <= U(); ++q) {
            if (!picked(q)) continue;
            swapEntries(q, p);
            if (p < U()) ++p;
        }
    }

    void sortAlpha() {
        for (int p = 1; p < U();) {
            int m = p;
            for (int q = p + 1; q <= U(); ++q)
                if (less(w[q], w[m])) m = q;
            const QString min = w[m];
            gather(p, [&](int q) { return w[q] == min; });
        }
    }

    void foldPlurals() {
        for (int i = 2; i <= U(); ++i) {
            const QString& s = w[i];
            if (s.endsWith(QLatin1Char('s')) && w[i - 1] == s.chopped(1)) {
                c[i] = 0;
                ++c[i - 1];
            }
        }
    }

    void sortByFrequency() {
        for (int p = 1; p < U();) {
            int max = c[p];
            for (int q = p; q <= U(); ++q)
                max = std::max(max, c[q]);
            gather(p, [&](int q) { return c[q] == max; });
        }
        for (int p = 1; p <= U();) {
            int b = p;
            while (b < U() && c[b + 1] == c[p])
                ++b;
            for (int f = p; f < b; ++f) {
                int m = f;
                for (int j = f + 1; j <= b; ++j)
                    if (less(w[j].toLower(), w[m].toLower())) m = j;
                swapEntries(f, m);
            }
            p = b + 1;
        }
    }

    words::WordList list() const {
        words::WordList out;
        for (int i = 1; i <= U(); ++i)
            out.push_back({w[i], c[i]});
        return out;
    }

    // The whole analysis of a variant; the export and the index go through the same steps as
    // the word window (the Exclusion List unless all words are wanted, then the alphabetical
    // sort the folding needs), the index without the frequency sort.
    std::optional<words::WordList> analyse(const QString& text, words::SplitVariant v, bool all,
                                           const QStringList& excluded) {
        if (v == words::SplitVariant::Index) all = false;
        if (!split(text, v, all)) return std::nullopt;
        if (!all) removeExcluded(excluded);
        sortAlpha();
        foldPlurals();
        if (v != words::SplitVariant::Index) sortByFrequency();
        return list();
    }
};

} // namespace vlm::test
