#include "core/words/exclusionlist.h"
#include "core/words/tokenizer.h"
#include "support/literalwords.h"
#include "support/qstringprint.h"
#include "support/sessionbase.h"

#include <gtest/gtest.h>

#include <random>

using namespace vlm;
using namespace vlm::words;
using V = SplitVariant;

namespace {

// "word count" pairs, one per entry.
QStringList lines(const std::optional<WordList>& list) {
    QStringList out;
    if (!list) return {"(no analysis)"};
    for (const WordCount& e : *list)
        out << e.word + " " + QString::number(e.count);
    return out;
}

WordList entries(std::initializer_list<std::pair<const char*, int>> items) {
    WordList out;
    for (const auto& [w, c] : items)
        out.push_back({QString::fromUtf8(w), c});
    return out;
}

} // namespace

TEST(Tokenizer, TheDescribedExamples) {
    const ExclusionList none;
    // The text, the variant, whether all words are wanted, and the entries found.
    const std::tuple<QString, V, bool, QStringList> cases[] = {
        {"L'arbre, l'arbre!", V::Analysis, false, {"arbre 2"}},
        {"Les chats et le chat", V::Analysis, false, {"chat 2"}},
        {"Les chats et le chat", V::Analysis, true, {"chat 2", "et 1", "le 1", "Les 1", "chats 0"}},
        {"«mot»", V::Analysis, false, {"mot» 1"}},
        {"«mot»", V::Index, false, {"mot 1"}},
        {"«mot»", V::Export, false, {"«mot» 1"}},
        {"always glass pass", V::Analysis, false, {"alway 1", "gla 1"}},
        {"always glass pass", V::Export, false, {"always 1", "glass 1", "pass 1"}},
        {"a bb cc de, 12 345", V::Analysis, false, {}},
        {"   ab", V::Analysis, true, {"(no analysis)"}},
        {"ab\n", V::Analysis, true, {"ab 1"}},
        {"~~~ (x) ~abc~ motµ", V::Analysis, false, {"abc 1", "mot 1"}},
        {"mot‚ł€uro", V::Export, false, {"mot‚ 1", "€uro 1"}}, // ‚ is 130, ł is not in 1252
        // The plural folds only next to its singular, here on the last entry.
        {"chat chats chatte", V::Export, false, {"chat 2", "chatte 1", "chats 0"}},
        {"chats le chat", V::Export, false, {"chat 2", "chats 0"}},
        {"word words worde", V::Export, false, {"word 1", "worde 1", "words 1"}},
    };
    for (const auto& [text, variant, all, expected] : cases) {
        SCOPED_TRACE(text.toStdString());
        const auto list = variant == V::Analysis ? analyseText(text, none, all)
                          : variant == V::Export
                              ? analyseTextForExport(text, none, all)
                              : std::optional<WordList>(splitTextForIndex(text, none));
        EXPECT_EQ(lines(list), expected);
    }
}

TEST(Tokenizer, ListStepsOnTheDescribedLists) {
    WordList list = entries({{"Beta", 2}, {"alpha", 2}, {"gamma", 5}});
    sortByFrequency(list);
    EXPECT_EQ(lines(list), (QStringList{"gamma 5", "alpha 2", "Beta 2"}));

    list = entries({{"zebra", 1}, {"Word", 3}, {"été", 1}, {"word", 2}, {"The", 1}});
    removeExcludedWords(list, ExclusionList({"WORD", "the", "ete", "ZEBRA"}));
    EXPECT_EQ(lines(list), (QStringList{"été 1"})); // the last entry goes like any other

    const auto folded = [](WordList list) {
        sortWordsAlpha(list);
        foldPlurals(list);
        return lines(list);
    };
    EXPECT_EQ(folded(entries({{"chats", 4}, {"chat", 1}, {"Zoo", 1}, {"chatte", 1}})),
              (QStringList{"Zoo 1", "chat 2", "chats 0", "chatte 1"}));
    EXPECT_EQ(folded(entries({{"murs", 70000}, {"mur", 70000}})),
              (QStringList{"mur 70001", "murs 0"})); // no 16-bit limit
}

// The fast analysis gives what the plain one gives, entry for entry, on random texts made of
// the troublesome cases: accents, « » µ, apostrophes, digits, final s, words equal but for
// case, and plurals next to words that sort between them.
TEST(Tokenizer, FastAnalysisMatchesThePlainOneOnRandomTexts) {
    std::mt19937 rng(15);
    const QStringList stems = {"chat", "Chat", "CHAT", "word", "wordA", "worde", "Word",
                               "été",  "Été",  "ete",  "ça",   "µs",    "glass", "ab",
                               "l",    "Les",  "les",  "mot",  "Mot",   "x€y",   "zèbre"};
    const QStringList before = {"", "", "«", "(", "~", "'", "L'"};
    const QStringList after = {"", "", "s", "s", "»", ")", "~", "µ", ",", "2", "ss"};
    const QStringList gaps = {" ", " ", ", ", "'", "-", "\n", "  ", "1", "ł", ". ", "\t"};
    auto pick = [&](const QStringList& l) { return l[int(rng() % l.size())]; };
    for (int round = 0; round < 3000; ++round) {
        QString text = QString(int(rng() % 3), QLatin1Char(' '));
        const int n = int(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += pick(before) + pick(stems) + pick(after) + pick(gaps);
        QStringList excluded;
        for (int i = int(rng() % 4); i > 0; --i)
            excluded << (rng() % 2 ? pick(stems).toUpper() : pick(stems));
        const ExclusionList lookup(excluded);
        const bool all = rng() % 4 == 0;
        SCOPED_TRACE(text.toStdString());
        for (V v : {V::Analysis, V::Export, V::Index}) {
            test::LiteralWords plain;
            const auto expected = plain.analyse(text, v, all, excluded);
            const auto got = v == V::Analysis ? analyseText(text, lookup, all)
                             : v == V::Export ? analyseTextForExport(text, lookup, all)
                                              : std::optional(splitTextForIndex(text, lookup));
            ASSERT_EQ(lines(got), v == V::Index && !expected ? QStringList{} : lines(expected));
        }
    }
    // The frequency sort alone, on lists crowded with words equal but for case and count.
    for (int round = 0; round < 3000; ++round) {
        test::LiteralWords plain;
        const QStringList forms = {"ab", "aB", "Ab", "AB", "b", "B", "é", "É", "a", "A", "ss"};
        for (const QString& f : forms)
            if (rng() % 3) {
                plain.w.push_back(f);
                plain.c.push_back(int(rng() % 3));
            }
        WordList fast = plain.list();
        plain.sortByFrequency();
        sortByFrequency(fast);
        ASSERT_EQ(lines(fast), lines(plain.list()));
    }
}

TEST(Tokenizer, ExclusionListIsReadFromTheTableAndComparesAsTheStore) {
    test::SessionBase b;
    for (QString w : {"The", "Été", "the", "Zèbre"})
        ASSERT_TRUE(excludeWord(b.ctx, w).ok());
    EXPECT_EQ(*excludedWordsInTableOrder(b.ctx), (QStringList{"The", "Été", "Zèbre"}));
    const auto lookup = loadExclusionList(b.ctx);
    ASSERT_TRUE(lookup.ok());
    for (QString w : {"the", "THE", "été", "ZÈBRE"})
        EXPECT_TRUE(lookup->contains(w)) << w.toStdString();
    for (QString w : {"thé", "Ete", "Zebre", "then"})
        EXPECT_FALSE(lookup->contains(w)) << w.toStdString();
    EXPECT_TRUE(*removeExcludedWord(b.ctx, "THE"));
    EXPECT_FALSE(*removeExcludedWord(b.ctx, "the"));
    b.reopenReadOnly();
    EXPECT_TRUE(excludeWord(b.ctx, "new").status().isReadOnly());
}
