#pragma once

// The Note window NoteWindow: one Note, its author, title, rich text and keywords. Opened by
// openNoteCard (cards/openers.h); any number may be open, several on the same Note. The
// window knows its card by the Note number (its tag) and its window number (FenNum).

#include "core/cards/cardstore.h"
#include "gui/cards/cardwindows.h"
#include "gui/common/refreshlater.h"

#include <QPointer>
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

class NoteWindow : public CardWindowBase {
    Q_OBJECT
public:
    // Designed size of the window, in twips.
    static constexpr int kWidthTwips = 8695;
    static constexpr int kHeightTwips = 6250;

    // Loads the window on the card the opener read (window number card.window).
    NoteWindow(Session& ctx, const CardSlots& card, QWidget* parent = nullptr);
    ~NoteWindow() override;

    // Set by every change of the author, the title or the text; cleared only by loading.
    bool changed() const { return changed_; }
    QTextEdit* textBox() const { return NoteRTF; }

    // The window became the active one: its card becomes the current Note, and its keywords
    // are read again when the selection dialog has linked some.
    void activate() override;
    // CmdStore. False when nothing could be stored (the user was told why).
    bool store();
    // Command2: asks, then deletes the Note and its links and closes the window.
    void deleteCard();
    // KWAdd: the selection dialog, attaching keywords to this Note.
    void addKeywords();
    // KWSupp: removes the selected keyword, after storing the Note and asking.
    void removeKeyword();
    // Command7, Text Compare: the word analysis of the text the window shows.
    void compareWords();
    // Command1.
    void newNote();
    // Double click on a keyword: every Note of it, each in a window of its own.
    void openNotesOfKeyword(int row);
    // Fills the keyword grid from the base.
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
    NoteContent content() const;
    // The card was stored, here or in another window, or its keywords changed: the caption
    // and the keywords show what the base holds now.
    void followCard();

    QString findWord_; // the searched word the caption names
    bool changed_ = false;
    // The close question was answered for the program or its base going away.
    RefreshLater cardChanged_;

    QToolBar* Toolbar1 = nullptr;
    QLineEdit* cNoteNDX = nullptr;
    QLineEdit* cNoteDate = nullptr;
    QLineEdit* cNoteAuthor = nullptr;
    QLineEdit* cNoteTitle = nullptr;
    QTextEdit* NoteRTF = nullptr;
    QGroupBox* Frame2 = nullptr;
    QTableWidget* cgMCNote = nullptr;
    QPushButton* KWAdd = nullptr;
    QPushButton* KWSupp = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* CmdStore = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QTextEdit* ToPrint = nullptr;
    QLineEdit* cNoteText = nullptr;
};

} // namespace vlm::cards
