#pragma once

// The Quote window QuoteWindow: one Quote, its title, rich text and keywords, and the authors
// of the Reference it was taken from. Opened by openQuoteCard (cards/openers.h); any number
// may be open. A Quote is never created here: only its Reference's window adds Quotes.

#include "core/cards/cardstore.h"

#include "gui/cards/cardwindows.h"

#include <QWidget>
#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QToolBar;

namespace vlm {
struct Session;
}

namespace vlm::cards {

class QuoteWindow : public CardWindowBase {
    Q_OBJECT
public:
    // Designed size of the window, in twips.
    static constexpr int kWidthTwips = 8430;
    static constexpr int kHeightTwips = 5610;

    QuoteWindow(Session& ctx, const CardSlots& card, QWidget* parent = nullptr);
    ~QuoteWindow() override;

    // The Reference the Quote was taken from (CIT.NDX).
    QString referenceNumber() const { return reference_; }
    // Set by every change of the title or the text; cleared by loading and by the close question.
    bool changed() const { return changed_; }
    QTextEdit* textBox() const { return CitRTF; }

    // The window became the active one: its card becomes the current Quote, and its keywords
    // are read again when the selection dialog has linked some.
    void activate() override;
    // CmdStore. False when nothing could be stored (the user was told why).
    bool store();
    // CmdDelete: asks, then deletes the Quote and its links and closes the window.
    void deleteCard();
    // cmdAdd: the selection dialog, attaching keywords to this Quote.
    void addKeywords();
    // CmdTextComp, Text Compare: the word analysis of the text the window shows.
    void compareWords();
    // CmdSupp: removes the selected keyword, after storing the Quote and asking.
    void removeKeyword();
    // Command1 "Quote's Refs": the Reference of the Quote in a window of its own.
    void openReference();
    // Command2 "New": says where Quotes come from, then opens the Reference.
    void newQuote();
    // Toolbar "Print": the Reference's authors in bold, one a line, then the Quote's text.
    bool print();
    // Double click on a keyword: every Quote of it, each in a window of its own.
    void openQuotesOfKeyword(int row);
    void rereadKeywords();

protected:
    QString closeQuestion() const override;
    bool unsavedChanges() const override;
    bool storeCard() override { return store(); }
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildUi();
    void placeControls();
    void markChanged() { changed_ = true; }
    void showResult(const CardResult& r);
    QuoteContent content() const;
    QStringList authors() const;

    QString reference_;
    bool changed_ = false;

    QToolBar* Toolbar1 = nullptr;
    QLineEdit* cCitNDX = nullptr;
    QLineEdit* cCitDate = nullptr;
    QLineEdit* cCitTitle = nullptr;
    QTextEdit* CitRTF = nullptr;
    QTableWidget* cgAutCit = nullptr;
    QGroupBox* Frame1 = nullptr;
    QTableWidget* cgMCCit = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* CmdSupp = nullptr;
    QPushButton* CmdTextComp = nullptr;
    QPushButton* CmdStore = nullptr;
    QPushButton* CmdDelete = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QTextEdit* ToPrint = nullptr;
    QTextEdit* RTB1 = nullptr;
    QLineEdit* cCitText = nullptr;
    QLineEdit* FormCount = nullptr;
};

} // namespace vlm::cards
