#pragma once

// The selection dialog SelectionDialog: "Origin List" (every name of a table, with find, add and
// discard) and "Selection List" (the names picked so far), and the one Select button its
// caller chose, which hands the selection back.

#include "core/keywords/listeditor.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace vlm {
class TextTableView;
}

namespace vlm {
struct Session;
}

namespace vlm::keywords {

class SelectionDialog : public QDialog {
    Q_OBJECT
public:
    // Which Select button the window shows, so what it does with the selection.
    enum class Mode {
        KWNoteSelect, // attach the picked keywords to a Note     (cardNumber)
        KWCitAdd,     // attach the picked keywords to a Quote    (cardNumber)
        KWBibAdd,     // attach the picked keywords to a Reference (cardNumber)
        KWnoteSel,    // list the Notes of the keyword in the current cell   -> selected()
        KWCitSel,     // list the Quotes of the keyword in the current cell  -> selected()
        KWBibSel,     // list the References of the keyword in the current cell -> selected()
        AuthorSel,    // list the References of the author in the current cell -> selected()
        AuthorCit,    // list the Quotes of the author in the current cell     -> selected()
        cBibAutSel,   // hand the picked authors to a Reference being created  -> selected()
        cNoteAutSel,  // hand the picked authors to a Note being created       -> selected()
    };
    Q_ENUM(Mode)

    // The window on the source of `mode` (keywords, Reference authors for AuthorSel,
    // AuthorCit and cBibAutSel, Note authors for cNoteAutSel), caption "MultSel".
    SelectionDialog(Session& ctx, Mode mode, QWidget* parent = nullptr);
    ~SelectionDialog() override;

    // Opens a window the way callers do: caption, position in twips from the top left corner
    // of `parent`'s window (of the screen when there is none), card number for the attach
    // modes. The window is modeless and deletes itself when closed.
    static SelectionDialog* open(Session& ctx, Mode mode, QWidget* parent, const QString& caption,
                                 int leftTwips, int topTwips, const QString& cardNumber = {});

    Mode mode() const { return mode_; }
    // The object name of the Select button of a mode ("KWNoteSelect", "cNoteAutSel", ...),
    // and the mode of a button name.
    static QString buttonName(Mode mode);
    static std::optional<Mode> modeNamed(const QString& button);

    // Another table for the origin list (before the window is shown); fills it again.
    void setSource(const ListSource& source);
    // The card the attach modes write to.
    void setCardNumber(const QString& number) { cardNumber_ = number; }
    QString cardNumber() const { return cardNumber_; }
    // Moves the window to (left, top) twips from the top left corner of the parent's window.
    void placeAt(int leftTwips, int topTwips);
    // The common place of the Select buttons in the "Selection List" frame, in twips; every
    // mode's button opens there.
    static constexpr int kSelectLeft = 220;
    static constexpr int kSelectTop = 2220;
    // The mode's Select button, and moving it within its frame (in twips).
    QPushButton* selectButton() const;
    void placeSelectButton(int leftTwips, int topTwips);

    // The non-empty picked names, in the order picked (duplicates kept).
    QStringList picked() const;
    // The name in the current cell of the selection list.
    QString currentPick() const;
    // The names the origin list shows.
    const QStringList& originNames() const { return origin_; }

    // The keyword lists' choices (KWnoteSel, KWCitSel, KWBibSel): "with Subsets" (starts as
    // the session's listWithSubsets and sets it), and "all of them" rather than "any of them"
    // when several keywords are picked.
    bool withSubsets() const;
    bool allOf() const;

    // Fills the origin list again from the table.
    void fill();

    // Shows the Add and Supp buttons of the origin list, so that the user may edit it.
    void showListEditing();

signals:
    // A hand-back mode's Select button was pressed: the picked names and the current one.
    void selected(vlm::keywords::SelectionDialog::Mode mode, const QStringList& picked,
                  const QString& currentCell);
    // An attach mode wrote its links: the card's keywords, re-read from the table.
    void keywordsAttached(vlm::keywords::SelectionDialog::Mode mode, const QString& cardNumber,
                          const QStringList& cardKeywords);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildUi();
    // Shows and enables the mode's Select button alone, or hides and disables them all.
    void applyMode(bool open);
    void showOrigin(const QStringList& rows, int current);
    void selectOriginRow(int row);
    void setOriginTop(int row);
    void clearPicks();
    // "any of them" and "all of them" can be chosen only while several names are picked.
    void updateMatchChoice();

    void onText1Edited(const QString& text);
    void onText1Return();
    void onOriginClicked(int row);
    void onOriginDoubleClicked(int row);
    void onPickClicked(int row);
    void onListAdd();
    void onListSupp();
    void onSelSupp();
    void onSelect();

    Session& ctx_;
    Mode mode_;
    ListSource source_;
    ListTexts texts_;
    QString cardNumber_;
    QStringList origin_;

    QGroupBox* frame1_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    TextTableView* cgList_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* cListAdd_ = nullptr;
    QPushButton* cListSupp_ = nullptr;
    QTableWidget* cgSel_ = nullptr;
    QPushButton* cSelSupp_ = nullptr;
    QPushButton* command3_ = nullptr;
    QCheckBox* checkSubsets_ = nullptr;
    QRadioButton* optionAnyOf_ = nullptr;
    QRadioButton* optionAllOf_ = nullptr;
    QList<QPushButton*> selectButtons_; // in the order of Mode
};

} // namespace vlm::keywords
