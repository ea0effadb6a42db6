#include "core/store/collation.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <random>

using vlm::store::compareText;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(Collation, IgnoresLetterCaseAndKeepsAccentsNextToTheirLetter) {
    // é sorts with e, before f, and differs from e only when all else is equal; the empty text
    // comes first.
    const struct {
        const char *a, *b;
        int sign;
    } cases[] = {{"Paris", "PARIS", 0}, {"école", "ÉCOLE", 0}, {"abc", "ABD", -1},
                 {"ab", "abc", -1},     {"école", "fin", -1},  {"école", "eau", 1},
                 {"cote", "côte", -1},  {"côte", "coter", -1}, {"", "a", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(sign(compareText(QString::fromUtf8(c.a), QString::fromUtf8(c.b))), c.sign)
            << c.a << " " << c.b;
    // Broken UTF-8 compares without harm.
    EXPECT_NE(compareText(std::string_view("\xff\xfe", 2), std::string_view("a")), 0);
    EXPECT_EQ(compareText(std::string_view("\xe2\x82", 2), std::string_view("\xe2\x82", 2)), 0);
}

TEST(Collation, IsATotalOrderOnMixedText) {
    std::mt19937 rng(7);
    const QStringList alphabet = {"a", "A", "b", "é", "É", "e",  "z",
                                  "ß", "œ", "1", " ", "€", "字", "😀"};
    std::vector<QString> words;
    for (int i = 0; i < 300; ++i) {
        QString w;
        const int n = int(rng() % 5);
        for (int k = 0; k < n; ++k)
            w += alphabet[int(rng() % alphabet.size())];
        words.push_back(w);
    }
    for (const QString& a : words)
        for (const QString& b : words) {
            ASSERT_EQ(sign(compareText(a, b)), -sign(compareText(b, a)))
                << a.toStdString() << " " << b.toStdString();
        }
    std::sort(words.begin(), words.end(),
              [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    for (size_t i = 0; i + 1 < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j)
            ASSERT_LE(compareText(words[i], words[j]), 0);
}

} // namespace
