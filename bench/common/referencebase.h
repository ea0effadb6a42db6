#pragma once

// The reference base every bench measures on: a base as a long-time user would have it, always
// the same bytes of content for the same sizes.
//
// At full size: 100,000 Notes (about 200 MB of text drawn by Zipf's law from a vocabulary with
// accents, in paragraphs with bold and italic runs, stored as text and RTF) by 3,000 authors,
// 10,000 References by 2,000 authors with publishers, reviews and article data, 30,000 Quotes,
// 20,000 keywords with 60,000 Subset links on four levels, and 300,000 card-keyword links. One
// keyword is carried by 10,000 Notes; one Note is far longer than the others.
//
// The base is written once into a folder and kept there; later runs reuse it.

#include <QString>

#include <functional>

namespace vlm::bench {

struct ReferenceSizes {
    int notes = 100000;
    int references = 10000;
    int quotesPerReference = 3;
    int keywords = 20000;
    int keywordLinks = 60000;
    int cardLinks = 300000;
    int noteAuthors = 3000;
    int referenceAuthors = 2000;
    int averageNoteChars = 2000;
    int longestNoteChars = 300000;
};

// The full sizes divided by `divisor` (1 gives the reference base).
ReferenceSizes referenceSizes(int divisor = 1);

// What the benches look for in the base.
struct ReferenceBase {
    QString path;
    ReferenceSizes sizes;
    QString busiestKeyword; // the keyword with the most Subsets and Supersets
    QString popularKeyword; // carried by a tenth of the Notes
    QString longestNote;    // number of the longest Note
    QString someNote;       // numbers of an ordinary card of each kind
    QString someQuote;
    QString someReference;
    QString searchedWord; // a word of middling frequency
};

// The reference base of `sizes` in `folder` (made if needed); generates it when the folder does
// not hold it yet, telling `log` what it is doing. The folder defaults to $VELMORA_BENCH_DIR, or
// velmora-bench in the temporary folder.
ReferenceBase referenceBase(const ReferenceSizes& sizes, QString folder = {},
                            const std::function<void(const QString&)>& log = {});

// The Zipf-drawn text generator of the base, for benches that need more text of the same kind.
class TextMaker {
public:
    explicit TextMaker(unsigned seed, int vocabulary = 40000);
    // About `chars` characters of sentences (never less).
    QString sentences(int chars);
    // `n` words from the vocabulary, capitalised, joined by blanks.
    QString words(int n);
    const QString& word(int rank) const;

private:
    struct Impl;
    std::shared_ptr<Impl> d;
};

} // namespace vlm::bench
