#pragma once

// The word window fWords ("Words in Text"): the words of the analysed card's text by
// frequency (Grid1), those of them that are keywords (Grid2) and the card's keywords (Grid3),
// with the commands that exclude a word, make a word a keyword and link keywords to the card.

#include "core/words/cardwords.h"

#include <QWidget>
#include <vector>

class QLabel;
class QPushButton;
class QStatusBar;

namespace vlm {
struct Session;
class TextTableView;
} // namespace vlm

namespace vlm::words {

class WordWindow : public QWidget {
    Q_OBJECT
public:
    WordWindow(Session& ctx, AnalysedCard card, WordList list, QWidget* parent = nullptr);

    const AnalysedCard& card() const { return card_; }
    const WordList& wordList() const { return list_; }

    // Command1: the selected word of Grid1 joins the Exclusion List and leaves Grid1; the word
    // list keeps it until Command2.
    void excludeSelectedWord();
    // Command2: the Exclusion List applied again to the word list, which keeps its order; the
    // word selected before stays selected and in view.
    void applyExclusionList();
    // Command3: makes the selected word of Grid1 a keyword, after asking.
    void makeSelectedWordKeyword();
    // Command4: links the selected keyword of Grid2 to the card, with its count.
    void linkSelectedKeyword();
    // Command5: links every keyword of Grid2 to the card.
    void linkAllKeywords();
    // Command6: the Exclusion List editor, with its buttons to analyse again and to export.
    void openExclusionEditor();

private:
    void fillTextTerms(const QString& select = {});
    void fillKeywordWords();
    void fillCardKeywords();
    void link(const std::vector<KeywordWord>& keywords);
    // A refused change: "Fichier en lecture seule !" on a read-only base, else the failure.
    void tellFailure(const Status& status);
    QString selectedWord() const;

    Session& ctx_;
    AnalysedCard card_;
    WordList list_;
    std::vector<KeywordWord> keywordWords_;

    QLabel* Label1;
    TextTableView* Grid1;
    QLabel* Label2;
    TextTableView* Grid2;
    QLabel* Label3;
    TextTableView* Grid3;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QStatusBar* StatusBar1;
};

} // namespace vlm::words
