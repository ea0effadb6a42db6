#pragma once

// The keyword list panel (the content of the main window's AllKWPanel): every keyword in
// KWList, the text box Text1 to find or add a keyword by typing its beginning, and the
// buttons KWAdd and KWSupp.

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vlm {
struct Session;
}

namespace vlm::keywords {

class KeywordGrid;

class KeywordListPanel : public QWidget {
    Q_OBJECT
public:
    explicit KeywordListPanel(Session& ctx, QWidget* parent = nullptr);

    // Fills KWList from the keyword table, in the order of its index; row 0 current.
    void fill();
    // Follows the keyword table after a change made elsewhere: the current name stays current
    // (selected if it was) and the list keeps its place.
    void reload();
    // The names KWList shows.
    const QStringList& names() const { return rows_; }
    // The name of the current row of KWList (what the link commands take).
    QString currentName() const;

    KeywordGrid* list() const { return KWList_; }
    QLineEdit* text() const { return Text1_; }
    QPushButton* addButton() const { return KWAdd_; }
    QPushButton* suppButton() const { return KWSupp_; }

    // Adds the text of Text1 as a keyword (KWAdd), discards the keyword of the current row
    // (KWSupp).
    void add();
    void discard();

signals:
    // A click or a double click on a row that holds a name.
    void keywordClicked(const QString& name);
    void keywordDoubleClicked(const QString& name);

private:
    void onTextChanged(const QString& typed);
    // Selects `row` after an add and scrolls it into view: the row shows fourth from the top
    // in the middle of the list, among the last seven near its end.
    void showFound(int row);

    Session& ctx_;
    QStringList rows_;
    KeywordGrid* KWList_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QPushButton* KWAdd_ = nullptr;
    QPushButton* KWSupp_ = nullptr;
};

} // namespace vlm::keywords
