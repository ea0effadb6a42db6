#include "core/words/tokenizer.h"

#include "core/cards/codepage.h"

#include <QHash>
#include <QStringView>
#include <algorithm>
#include <array>
#include <numeric>
#include <set>
#include <string>

namespace vlm::words {

namespace {

// The Windows-1252 code of a character; a character the code page cannot write counts as
// 63 ('?'), a separator. The five bytes the code page leaves unassigned keep their value, as
// the code page decoder gives them.
unsigned char ansiCode(char16_t ch) {
    if (ch < 0x80) return static_cast<unsigned char>(ch);
    if (unsigned char b = cards::cp1252Byte(ch)) return b;
    if (ch < 0xA0 && cards::cp1252Char(static_cast<unsigned char>(ch)) == ch)
        return static_cast<unsigned char>(ch);
    return 63;
}

bool isWordCode(unsigned char c) {
    return c >= 65 && !(c >= 91 && c <= 96);
}

using CodeSet = std::array<bool, 256>;

CodeSet codeSet(std::initializer_list<unsigned char> codes) {
    CodeSet s{};
    for (unsigned char c : codes)
        s[c] = true;
    return s;
}

struct StripSets {
    CodeSet leading;
    CodeSet trailing;
};

const StripSets& stripSetsOf(SplitVariant variant) {
    static const StripSets analysis{
        codeSet({'~', '\'', '(', 171}),
        codeSet({',', ';', '.', '?', '~', ')', 's', 13, 10, 9, 8, 181})};
    static const StripSets exportSets{codeSet({'~', '\'', '('}),
                                      codeSet({',', ';', '.', '?', '~', ')', 13, 10, 9, 8})};
    static const StripSets index{codeSet({'~', '\'', '(', 171}),
                                 codeSet({',', ';', '.', '?', '~', ')', 10, 13, 8, 9, 187})};
    switch (variant) {
    case SplitVariant::Analysis:
        return analysis;
    case SplitVariant::Export:
        return exportSets;
    case SplitVariant::Index:
        break;
    }
    return index;
}

// The word as Windows-1252 bytes: the order of the alphabetical sort is the order of these.
std::string ansiBytes(const QString& word) {
    std::string out(size_t(word.size()), '\0');
    for (qsizetype i = 0; i < word.size(); ++i)
        out[size_t(i)] = char(ansiCode(word[i].unicode()));
    return out;
}

// The word lower-cased, as Windows-1252 bytes (the code page holds the lower case of each of
// its letters).
std::string lowerBytes(const QString& word) {
    static const std::array<unsigned char, 256> lower = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char16_t ch = cards::cp1252Char(static_cast<unsigned char>(b));
            const char16_t lc = QChar::toLower(ch);
            t[size_t(b)] = lc == ch ? static_cast<unsigned char>(b) : ansiCode(lc);
        }
        return t;
    }();
    std::string out = ansiBytes(word);
    for (char& c : out)
        c = char(lower[static_cast<unsigned char>(c)]);
    return out;
}

// Puts the entries of `list` in the order of `order` (indexes into the list as it is).
void permute(WordList& list, const std::vector<int>& order) {
    WordList sorted;
    sorted.reserve(list.size());
    for (int i : order)
        sorted.push_back(std::move(list[size_t(i)]));
    list = std::move(sorted);
}

// The order the lower-cased selection sort of a run of equal counts gives. It repeatedly finds
// the smallest key among the unsorted entries (the first one in their current order when
// several share it) and swaps it with the first unsorted entry; the swap moves that entry,
// which is what orders words that differ only by case. Entries of different keys simply come
// out ascending, so only the positions matter: each key's entries are taken in ascending
// position, and a displaced entry takes the position of the one taken.
void selectionOrderOfRun(int* run, int size, const std::vector<std::string>& keys) {
    std::vector<int> byKey(
        static_cast<size_t>(size)); // local indexes (initial positions), key ascending
    std::iota(byKey.begin(), byKey.end(), 0);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](int a, int b) { return keys[size_t(run[a])] < keys[size_t(run[b])]; });
    std::vector<int> groupOf(size_t(size), -1); // the tie group of an element, or -1
    std::vector<std::set<int>> groups;          // current positions of each tie group
    for (int s = 0; s < size;) {
        int e = s + 1;
        while (e < size &&
               keys[size_t(run[byKey[size_t(e)]])] == keys[size_t(run[byKey[size_t(s)]])])
            ++e;
        if (e - s > 1) {
            std::set<int> positions;
            for (int k = s; k < e; ++k) {
                groupOf[size_t(byKey[size_t(k)])] = int(groups.size());
                positions.insert(byKey[size_t(k)]);
            }
            groups.push_back(std::move(positions));
        }
        s = e;
    }
    std::vector<int> pos(static_cast<size_t>(size)), at(static_cast<size_t>(size));
    std::iota(pos.begin(), pos.end(), 0);
    std::iota(at.begin(), at.end(), 0);
    int front = 0;
    for (int s = 0; s < size; ++s) {
        const int first = byKey[size_t(s)];
        const int g = groupOf[size_t(first)];
        // The element taken now: the group's element at the lowest position.
        const int x = g < 0 ? first : at[size_t(*groups[size_t(g)].begin())];
        const int k = pos[size_t(x)];
        if (g >= 0) groups[size_t(g)].erase(k);
        const int y = at[size_t(front)];
        if (x != y) {
            at[size_t(front)] = x;
            pos[size_t(x)] = front;
            at[size_t(k)] = y;
            pos[size_t(y)] = k;
            if (const int gy = groupOf[size_t(y)]; gy >= 0) {
                groups[size_t(gy)].erase(front);
                groups[size_t(gy)].insert(k);
            }
        }
        ++front;
    }
    std::vector<int> out(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        out[size_t(i)] = run[at[size_t(i)]];
    std::copy(out.begin(), out.end(), run);
}

} // namespace

// --- Exclusion List ---

ExclusionList::ExclusionList(const QStringList& words) {
    keys_.reserve(words.size());
    for (const QString& w : words)
        add(w);
}

void ExclusionList::add(const QString& word) {
    if (!word.isEmpty()) keys_.insert(keyOf(word));
}

bool ExclusionList::contains(const QString& word) const {
    return !keys_.isEmpty() && keys_.contains(keyOf(word));
}

QString ExclusionList::keyOf(const QString& word) {
    // The store finds two texts equal when they have as many characters and each pair has the
    // same case folding: its comparison of keys ignores case and nothing else.
    QString key;
    key.reserve(word.size());
    for (char32_t cp : word.toUcs4()) {
        const char32_t folded = QChar::toCaseFolded(cp);
        if (QChar::requiresSurrogates(folded)) {
            key.append(QChar(QChar::highSurrogate(folded)));
            key.append(QChar(QChar::lowSurrogate(folded)));
        } else {
            key.append(QChar(char16_t(folded)));
        }
    }
    return key;
}

// --- Splitting ---

std::optional<WordList> splitWords(const QString& text, SplitVariant variant, bool includeAllWords,
                                   Progress* progress) {
    if (variant == SplitVariant::Index) includeAllWords = false;
    if (progress) {
        progress->phase(phase::parsing(), QStringLiteral("Number of different words :"));
        progress->step(0, 0);
    }
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    if (text.size() - start < 3) return std::nullopt;
    qsizetype end = text.size();
    if (ansiCode(text[end - 1].unicode()) < 33) --end;

    std::vector<unsigned char> codes(size_t(end - start));
    for (qsizetype i = start; i < end; ++i)
        codes[size_t(i - start)] = ansiCode(text[i].unicode());
    const qsizetype n = end - start;
    const StripSets& strips = stripSetsOf(variant);

    WordList list;
    QHash<QStringView, int> where;
    qsizetype i = 0;
    while (i < n) {
        while (i < n && !isWordCode(codes[size_t(i)]))
            ++i;
        qsizetype j = i;
        while (j < n && isWordCode(codes[size_t(j)]))
            ++j;
        if (j == i) break;
        qsizetype a = i, b = j;
        i = j;
        if (!includeAllWords) {
            while (b - a > 2) {
                if (strips.leading[codes[size_t(a)]])
                    ++a;
                else if (strips.trailing[codes[size_t(b - 1)]])
                    --b;
                else
                    break;
            }
            if (b - a < 3) continue;
        }
        const QStringView token(text.constData() + start + a, b - a);
        const auto found = where.constFind(token);
        if (found != where.cend()) {
            ++list[size_t(*found)].count;
            continue;
        }
        where.insert(token, int(list.size()));
        list.push_back({token.toString(), 1});
        // The blank that ended the word, counted from 1 in the trimmed text.
        if (progress) progress->step(qint64(list.size()), percentOf(j + 1, text.size()));
    }
    return list;
}

// --- The steps after the split ---

void removeExcludedWords(WordList& list, const ExclusionList& excluded, Progress* progress) {
    if (progress) {
        progress->phase(phase::cleaning(), QStringLiteral("Number of remaining words :"));
        progress->step(qint64(list.size()), 0);
    }
    if (!excluded.isEmpty())
        std::erase_if(list, [&](const WordCount& e) { return excluded.contains(e.word); });
    if (progress) progress->step(qint64(list.size()), 100);
}

void sortWordsAlpha(WordList& list) {
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const WordCount& e : list)
        keys.push_back(ansiBytes(e.word));
    std::vector<int> order(list.size());
    std::iota(order.begin(), order.end(), 0);
    // The words of a list are distinct, so the order is the same whatever the sort.
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    permute(list, order);
}

void foldPlurals(WordList& list, Progress* progress) {
    if (progress) progress->phase(phase::plurals(), {});
    qint64 merged = 0;
    for (size_t i = 1; i < list.size(); ++i) {
        const QString& w = list[i].word;
        const QString& prev = list[i - 1].word;
        if (w.endsWith(QLatin1Char('s')) && prev.size() == w.size() - 1 && w.startsWith(prev)) {
            list[i].count = 0;
            ++list[i - 1].count;
            ++merged;
        }
    }
    if (progress) progress->step(qint64(list.size()) - merged, 100);
}

void sortByFrequency(WordList& list, Progress* progress) {
    const int n = int(list.size());
    if (progress) progress->phase(phase::firstSort(), {});
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (const WordCount& e : list)
        keys.push_back(lowerBytes(e.word));
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    auto countOf = [&](int e) { return list[size_t(e)].count; };

    // Words that differ only by case and share a count (a "tie") come out in the order the
    // two selection sorts leave them in, which depends on where every entry stood. Below the
    // lowest count that has a tie the order of entries cannot show, so only the counts from
    // the highest down to that one are walked as the first selection sort walks them.
    int lowestTieCount = -1;
    {
        std::vector<int> byCountKey = order;
        std::sort(byCountKey.begin(), byCountKey.end(), [&](int a, int b) {
            if (countOf(a) != countOf(b)) return countOf(a) < countOf(b);
            return keys[size_t(a)] < keys[size_t(b)];
        });
        for (int k = 1; k < n; ++k) {
            const int a = byCountKey[size_t(k - 1)], b = byCountKey[size_t(k)];
            if (countOf(a) == countOf(b) && keys[size_t(a)] == keys[size_t(b)]) {
                lowestTieCount = countOf(a);
                break;
            }
        }
    }

    // First sort: by descending count. Each walk takes the highest count left and swaps every
    // entry holding it to the front, in the order met.
    int p = 0;
    while (lowestTieCount >= 0 && p < n - 1) {
        int max = countOf(order[size_t(p)]);
        for (int q = p + 1; q < n; ++q)
            max = std::max(max, countOf(order[size_t(q)]));
        if (max < lowestTieCount) break;
        for (int q = p; q < n; ++q) {
            if (countOf(order[size_t(q)]) == max) {
                std::swap(order[size_t(q)], order[size_t(p)]);
                if (p < n - 1) ++p;
            }
        }
        if (progress) progress->step(p, percentOf(p, n));
    }
    // What is left holds no tie: the order within a count does not matter.
    std::stable_sort(order.begin() + p, order.end(),
                     [&](int a, int b) { return countOf(a) > countOf(b); });

    // Double sort: each run of equal counts by the lower-cased words.
    if (progress) progress->phase(phase::doubleSort(), {});
    for (int s = 0; s < n;) {
        int e = s + 1;
        while (e < n && countOf(order[size_t(e)]) == countOf(order[size_t(s)]))
            ++e;
        if (lowestTieCount >= 0 && countOf(order[size_t(s)]) >= lowestTieCount)
            selectionOrderOfRun(order.data() + s, e - s, keys);
        else
            std::sort(order.begin() + s, order.begin() + e,
                      [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
        s = e;
    }
    permute(list, order);
    if (progress) progress->phase(phase::display(), {});
}

// --- The three analyses ---

namespace {

// The card analysis and the export differ only in how they split. The export sorts
// alphabetically before folding too: plurals are folded only next to their singular, and
// without the sort a plural would be folded or not depending on where its words first occur.
std::optional<WordList> analyse(const QString& text, SplitVariant variant,
                                const ExclusionList& excluded, bool includeAllWords,
                                Progress* progress) {
    auto list = splitWords(text, variant, includeAllWords, progress);
    if (!list) return list;
    if (!includeAllWords) removeExcludedWords(*list, excluded, progress);
    sortWordsAlpha(*list);
    foldPlurals(*list, progress);
    sortByFrequency(*list, progress);
    return list;
}

} // namespace

std::optional<WordList> analyseText(const QString& text, const ExclusionList& excluded,
                                    bool includeAllWords, Progress* progress) {
    return analyse(text, SplitVariant::Analysis, excluded, includeAllWords, progress);
}

std::optional<WordList> analyseTextForExport(const QString& text, const ExclusionList& excluded,
                                             bool includeAllWords, Progress* progress) {
    return analyse(text, SplitVariant::Export, excluded, includeAllWords, progress);
}

WordList splitTextForIndex(const QString& text, const ExclusionList& excluded) {
    auto list = splitWords(text, SplitVariant::Index, false);
    if (!list) return {};
    removeExcludedWords(*list, excluded);
    sortWordsAlpha(*list);
    foldPlurals(*list);
    return std::move(*list);
}

} // namespace vlm::words
