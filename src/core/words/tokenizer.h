#pragma once

// Word analysis of a text: splitting into words, the Exclusion List, the alphabetical sort,
// plural folding and the frequency sort.
//
// A word is a run of characters that are letters A to Z and a to z or whose Windows-1252 code
// is 123 or more (accented letters, « » µ, ...). Every other character separates words: digits,
// the apostrophe, the hyphen, all punctuation below 'A', the characters '[' to '`', controls,
// and any character Windows-1252 cannot write (it counts as code 63, '?'). Words are compared
// exactly (case-sensitive) inside a word list; the Exclusion List compares them as the store
// does (letter case ignored, accents significant).

#include "core/common/progress.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vlm::words {

// One distinct word of a text and its number of occurrences.
struct WordCount {
    QString word;
    int count = 0; // never capped: a word may occur any number of times

    friend bool operator==(const WordCount&, const WordCount&) = default;
};

// The distinct words of one text (no dummy entry: the first word is at index 0).
using WordList = std::vector<WordCount>;

// The Exclusion List as a lookup, built once (from the table words, see exclusionlist.h) and
// passed to every analysis: "The" in the list excludes "the", "THE" and "tHe", not "thé".
class ExclusionList {
public:
    ExclusionList() = default;
    explicit ExclusionList(const QStringList& words);

    void add(const QString& word);
    // True when the store would find `word` by a seek "=" on a table holding the list.
    bool contains(const QString& word) const;
    bool isEmpty() const { return keys_.isEmpty(); }

    // The text two words share exactly when the store finds them equal.
    static QString keyOf(const QString& word);

private:
    QSet<QString> keys_;
};

// The labels of the phases, as the progress window shows them.
namespace phase {
inline QString parsing() {
    return QStringLiteral("Parsing Text...");
}
inline QString cleaning() {
    return QStringLiteral("Cleaning Text...");
}
inline QString plurals() {
    return QStringLiteral("Plurals elimination...");
}
inline QString firstSort() {
    return QStringLiteral(" First Sort..");
}
inline QString doubleSort() {
    return QStringLiteral(" Double Sort..");
}
inline QString display() {
    return QStringLiteral("Preparing Display...");
}
} // namespace phase

// The three ways a text is split; they differ in the characters stripped from the ends of a
// word and in what "Include All Words (even <2)" does.
enum class SplitVariant {
    Analysis, // the word window: strips a final "s", a leading « and a final µ
    Export,   // SORTIE.TXT: keeps final "s", strips neither « nor »
    Index,    // the word index of all cards: strips « and », keeps final "s"; never all words
};

// Splits `text` into its distinct words, in the order they first occur, with their counts.
// The text is taken after its leading blanks; when fewer than 3 characters remain it has no
// words and the result is empty (std::nullopt: no analysis is made). Unless `includeAllWords`
// (ignored by the Index variant), the ends of each word are stripped while it keeps more than
// 2 characters and a word shorter than 3 characters is dropped; with it, words are taken as
// they are, whatever their length.
std::optional<WordList> splitWords(const QString& text, SplitVariant variant, bool includeAllWords,
                                   Progress* progress = nullptr);

// Removes every word the Exclusion List holds; the other entries keep their order and counts.
void removeExcludedWords(WordList& list, const ExclusionList& excluded,
                         Progress* progress = nullptr);

// Sorts ascending by the words' Windows-1252 codes ("B" < "a" < "é").
void sortWordsAlpha(WordList& list);

// Folds each plural into its singular, on an alphabetically sorted list: when a word ending
// in "s" follows the same word without that "s", the plural's count becomes 0 (it stays in
// the list) and the singular gains exactly 1, however often the plural occurs.
void foldPlurals(WordList& list, Progress* progress = nullptr);

// Sorts by descending count; equal counts by the lower-cased words, ascending by their
// Windows-1252 codes; entries of count 0 come last. Words that differ only by letter case
// and have the same count come in the order the word window has always shown them.
void sortByFrequency(WordList& list, Progress* progress = nullptr);

// The word window's analysis of one card's text: split, Exclusion List applied (unless
// `includeAllWords`), sorted alphabetically, plurals folded, sorted by frequency.
// std::nullopt when the text is too short to be analysed (see splitWords).
std::optional<WordList> analyseText(const QString& text, const ExclusionList& excluded,
                                    bool includeAllWords, Progress* progress = nullptr);

// The word list SORTIE.TXT is written from: the export's split, the Exclusion List applied
// (unless `includeAllWords`) so that the file lists the words the word window lists, then
// sorted alphabetically, plurals folded and sorted by frequency.
std::optional<WordList> analyseTextForExport(const QString& text, const ExclusionList& excluded,
                                             bool includeAllWords, Progress* progress = nullptr);

// The words of one card for the word index: split, Exclusion List applied, sorted
// alphabetically and plurals folded (folded plurals stay with count 0). Never reads
// "Include All Words"; no progress is shown. Empty for a text too short to be analysed.
WordList splitTextForIndex(const QString& text, const ExclusionList& excluded);

} // namespace vlm::words
