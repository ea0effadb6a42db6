#pragma once

// What the card windows (Note, Quote, Reference) share: where they open, their caption, how
// they show a card's text and keywords, and the memory trap of the openers.

#include "core/common/prompter.h"
#include "core/session/cardkind.h"
#include <QList>

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QToolBar;

namespace vlm {
struct Session;
}

namespace vlm::cards {

// What every card window answers when the program or its base is about to go away.
class CardWindow {
public:
    virtual ~CardWindow() = default;
    // When the card has unsaved changes, asks the window's close question (Yes, No, Cancel):
    // Yes stores, No lets the changes go. False on Cancel, and when the store failed (the user
    // was told). After true, the window's next close asks nothing.
    bool askToClose();
    // The close was called off after all (another window answered Cancel): the next close
    // asks again.
    void keepOpen() { closeAnswered_ = false; }

protected:
    virtual Prompter& closePrompter() = 0;
    virtual QString closeQuestion() const = 0;
    // Whether a close would lose changes (a changed card still in an open base).
    virtual bool unsavedChanges() const = 0;
    // The window's Store; false when nothing could be stored (the user was told).
    virtual bool storeCard() = 0;
    // The window's own close: unless askToClose() answered already, asks the close question
    // (OK stores, Cancel lets the changes go). False when the window must stay open because
    // nothing could be stored, so that its text is not lost.
    bool mayClose();

private:
    bool closeAnswered_ = false;
};

// What the Note, Quote and Reference windows have in common: the session, their card (its
// number, the tag) and their window number (FenNum), becoming the current card when the
// user comes to them, and commands whose failures are told rather than fatal.
class CardWindowBase : public QWidget, public CardWindow {
    Q_OBJECT
public:
    QString tag() const { return tag_; }
    int windowNumber() const;
    // The window became the active one: its card becomes the current one of its table, and
    // what the kind of card needs besides.
    virtual void activate() = 0;

protected:
    CardWindowBase(Session& ctx, CardKind kind, const QString& tag, QWidget* parent);
    Prompter& closePrompter() override;
    bool event(QEvent* event) override;
    // Runs a command through runGuarded: a failure of the store or of memory is told.
    void guarded(const std::function<void()>& command);
    void seekOwnCard();
    // The tool bar Toolbar1 over the card's text box, which `text` points to (the box may be
    // made after the bar): Open, Save, Print (`print`) and Font.
    QToolBar* makeTextToolBar(QTextEdit* const* text, std::function<void()> print);
    // The card was deleted: the window closes, gives its number back, and the card lists go.
    void closeDeleted();

    Session& ctx_;
    const CardKind kind_;
    QString tag_;
    bool deleted_ = false;
    QLineEdit* FenNum = nullptr; // the window number, made by the window with its controls
};

// Whether `window` is the one the user works in: the active sub-window of the MDI area, or,
// without one, a window of its own. A card window makes its card current then.
bool isActiveCardWindow(const Session& ctx, const QWidget* window);

// Makes card `number` the current record of its table. A base that went away under the
// window is not reported here: the window's commands say so when used.
void seekCardQuietly(Session& ctx, CardKind kind, const QString& number);

// The card windows open, in the order they were opened.
QList<CardWindow*> openCardWindows(Session& ctx);

// Asks every card window in turn. On the first Cancel every window stays open, its text
// with it, and the answer is false; else the card windows close.
bool closeCardWindows(Session& ctx);

// Runs an opener through runGuarded: when memory runs out or the store fails, the failure is
// shown (notEnoughMemoryMessage() for memory) and the result is nullptr.
QWidget* runOpener(Session& ctx, const std::function<QWidget*()>& open);

// Shows a card window as a child window of the main window's MDI area (on its own when
// there is none), `widthTwips` by `heightTwips` outside, centred beside the main window's side
// bar and an eighth of the way down. The window deletes itself when closed. Returns the
// window that frames `content` (its sub-window, or `content` itself).
QWidget* showCardWindow(Session& ctx, QWidget* content, int widthTwips, int heightTwips);

// The frame of a card window: its MDI sub-window, or the widget itself when it has none.
QWidget* cardFrame(QWidget* content);

// "Light : 'lamp' (3)": the card's first line, the searched word and the window number.
QString cardCaption(const QString& first, const QString& findWord, int windowNumber);

// Puts a card text into a rich text box: read as RTF when `rich`, else as plain text (and
// as plain text too when it turns out not to be RTF).
void setCardText(QTextEdit* box, const QString& text, bool rich);
// The two forms of a card text that are stored: Texte and TEXTRTF.
QString cardPlainText(const QTextEdit* box);
QString cardRichText(const QTextEdit* box);

// Selects the word the text search found: `findPos` is its 1-based position, `word` its text.
// When the text at that place is not the word (a text stored with other line ends), its
// first occurrence is selected instead. Nothing when findPos is below 1.
void highlightFoundWord(QTextEdit* box, int findPos, const QString& word);

// A keyword grid: one column `columnTwips` wide, no headers, read-only.
void setUpKeywordGrid(QTableWidget* grid, int columnTwips);
// One row per keyword, at least one (empty) row; row 0 selected.
void fillKeywordGrid(QTableWidget* grid, const QStringList& keywords);
// The text of the grid's current row ("" when none).
QString currentKeyword(const QTableWidget* grid);

// Controls of the card windows: a button with its caption and tool tip, a one-line box, and
// a place given in twips from the top left corner of the parent's inside.
QPushButton* cardButton(QWidget* parent, const char* name, const char* caption, const char* tip);
QLineEdit* cardLineBox(QWidget* parent, const char* name);
void placeTwips(QWidget* w, int left, int top, int width, int height);

// Runs a command of a card window; running out of memory is told, not fatal.
void runGuarded(Session& ctx, const std::function<void()>& command);

// An authors grid: one row per name, none when there is no name; row 0 selected.
void fillAuthorGrid(QTableWidget* grid, const QStringList& authors);

// Closes the card lists that may show a card just deleted: the result window ResultWindow and the
// list-selection window DateListWindow.
void closeCardLists(Session& ctx);

} // namespace vlm::cards
