#pragma once

// The Exclusion List editor fChoixMots ("Words choice"): the excluded words in table order,
// Add and Supp, the option "Include All Words (even <2)", and two action buttons shown when
// the editor is opened for an analysed card: analyse its text again, and export its word list.

#include "core/words/cardwords.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vlm {
struct Session;
class TextTableView;
} // namespace vlm

namespace vlm::words {

class ExclusionEditor : public QWidget {
    Q_OBJECT
public:
    // With a card, the two action buttons are shown; without, the editor only edits the list.
    ExclusionEditor(Session& ctx, std::optional<AnalysedCard> card, QWidget* parent = nullptr);

    // Opens the editor as a child window, in place of one already open.
    static ExclusionEditor* open(Session& ctx, std::optional<AnalysedCard> card);

    // Command2: asks for a word and adds it to the list and the table.
    void addWord();
    // Command3: discards the selected word, after saying so.
    void discardWord();
    // Command1: analyses the card's stored text again, then closes the editor.
    void analyseAgain();
    // Command4: writes SORTIE.TXT for the card and shows it.
    void exportList();

    static QString alreadyExcludedMessage(const QString& word) {
        return QStringLiteral("'") + word + QStringLiteral("' is already in the Exclusion List");
    }

private:
    void reload();

    Session& ctx_;
    std::optional<AnalysedCard> card_;
    QLabel* Label2;
    QLabel* Label1;
    TextTableView* List1;
    QPushButton* Command2;
    QPushButton* Command3;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command4;
};

} // namespace vlm::words
