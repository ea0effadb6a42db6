#pragma once

// The Reference window ReferenceWindow: one Reference, its authors, titles, type and keywords,
// and the Quotes taken from it, where new Quotes are added. Opened by openReferenceCard
// (cards/openers.h); any number may be open. Its second view, the complete reference, shows
// the details of a book (with its first edition) or of an article, chosen by the type.

#include "core/cards/cardstore.h"

#include "gui/cards/cardwindows.h"
#include <QHash>
#include <QPointer>

#include <QWidget>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTextEdit;

namespace vlm {
struct Session;
}

namespace vlm::cards {

class ReferenceWindow : public CardWindowBase {
    Q_OBJECT
public:
    // Designed size of the window, in twips.
    static constexpr int kWidthTwips = 8430;
    static constexpr int kHeightTwips = 6470;

    ReferenceWindow(Session& ctx, const CardSlots& card, QWidget* parent = nullptr);
    ~ReferenceWindow() override;

    // Set by every change of the titles, the type or the details; cleared by loading, and for
    // the details by storing them.
    bool changed() const { return changed_ || bookChanged_ || articleChanged_; }

    // The window became the active one: its card becomes the current Reference, and its
    // keywords and Quotes are read again when the selection dialog has linked keywords.
    void activate() override;
    // CommandStore. False when nothing could be stored (the user was told why).
    bool store();
    // CmdDelete: asks; refused while the Reference has Quotes.
    void deleteCard();
    // CommandNew: a new Reference, starting with its authors.
    void newReference();
    // CmdAddQuote: a new Quote of this Reference, in its window.
    void addQuote();
    // cmdAddKW: the selection dialog, attaching keywords to this Reference.
    void addKeywords();
    // cmdSuppKW: removes the selected keyword, after storing the title and asking.
    void removeKeyword();
    // Double click in the Quotes list: that Quote in a window of its own.
    void openQuote(int row);
    // Double click on a keyword: every Reference of it, each in a window of its own.
    void openReferencesOfKeyword(int row);
    // Fills the keyword grid and the Quotes list from the base.
    void rereadKeywordsAndQuotes();

    // SwitchCompleteRefs: the details view the type box chooses (Book, Article or Other), or
    // back to the Quotes view.
    void showDetailsView();
    void showQuotesView();
    // CommandBookStore: the book details of this Reference. False when nothing was stored.
    bool storeBook();
    // CommandArticleStore: the review data of this Reference, then the window closes.
    bool storeArticle();
    // cmdNewEditeur / CommandAddReview: the name typed in the box joins the list.
    void addPublisher();
    void addReview();
    // CommandBookOriginal: the First Edition window of this Reference.
    void openFirstEdition();

protected:
    QString closeQuestion() const override;
    bool unsavedChanges() const override;
    bool storeCard() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void markChanged() { changed_ = true; }
    void showResult(const CardResult& r);
    void fillQuotes(const QList<QuoteRow>& rows);
    void hint(QWidget* control, const QString& text);
    void buildDetails();
    void fillBookView();
    void fillArticleView();
    void placeKeywordFrame(int widthTwips);
    bool storeArticleOnly();

    bool changed_ = false;
    bool bookChanged_ = false;
    bool articleChanged_ = false;
    bool filling_ = false; // the details boxes are being filled from the base
    QPointer<QWidget> firstEdition_;

    QGroupBox* FrameAuthors = nullptr;
    QTableWidget* cgAutBib = nullptr;
    QGroupBox* FrameTitles = nullptr;
    QLineEdit* cBibTitre1 = nullptr;
    QLineEdit* cBibTitre2 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboType = nullptr;
    QGroupBox* FrameKW = nullptr;
    QTableWidget* cgMCBib = nullptr;
    QPushButton* cmdAddKW = nullptr;
    QPushButton* cmdSuppKW = nullptr;
    QGroupBox* FrameQuotes = nullptr;
    QTableWidget* cgBibCit = nullptr;
    QPushButton* CmdAddQuote = nullptr;
    QGroupBox* FrameCommands = nullptr;
    QPushButton* CommandStore = nullptr;
    QPushButton* CmdDelete = nullptr;
    QPushButton* CommandNew = nullptr;
    QPushButton* SwitchCompleteRefs = nullptr;
    QGroupBox* FrameRefs = nullptr;
    QGroupBox* FrameBook = nullptr;
    QGroupBox* FrameArticle = nullptr;
    QGroupBox* FrameOther = nullptr;
    QComboBox* ComboPublisher = nullptr;
    QLineEdit* Town = nullptr;
    QLineEdit* tDate = nullptr;
    QLineEdit* ISBN = nullptr;
    QLineEdit* BibCongress = nullptr;
    QPushButton* cmdNewEditeur = nullptr;
    QPushButton* CommandBookOriginal = nullptr;
    QPushButton* CommandBookStore = nullptr;
    QPushButton* CommandBookClose = nullptr;
    QComboBox* ComboReview = nullptr;
    QLineEdit* ArticleYear = nullptr;
    QLineEdit* ArticleMonth = nullptr;
    QLineEdit* ArticleNumber = nullptr;
    QLineEdit* ArticlePages = nullptr;
    QLineEdit* ArticleISSN = nullptr;
    QLineEdit* ArticleOther = nullptr;
    QPushButton* CommandAddReview = nullptr;
    QPushButton* CommandArticleStore = nullptr;
    QPushButton* CommandArticleClose = nullptr;
    QTextEdit* TextOther = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QHash<QObject*, QString> hints_;
};

} // namespace vlm::cards
