#pragma once

// A level browser of the "Double Browser System" (the content of the main window's DownPanel
// or UpPanel): a column of levels, each a grid of names (DownGrid / UpGrid) with the box of
// the name selected in it (DownGridSel / UpGridSel). A click on a name opens the next level
// with that name's Subsets (down page) or Supersets (up page). Three levels show at a time,
// one per display slot; the scroll bar (DownVScroll / UpVScroll) moves the levels through
// the slots. There is no limit to the number of levels.

#include <QStringList>
#include <QWidget>
#include <vector>

class QLineEdit;
class QScrollBar;

namespace vlm {
struct Session;
}

namespace vlm::keywords {

class KeywordGrid;

class LevelBrowser : public QWidget {
    Q_OBJECT
public:
    enum class Direction { Down, Up };
    static constexpr int kSlots = 3;
    static constexpr int kSlotTwips = 2000;
    static constexpr int kTopTwips = 120;
    static constexpr int kColumnTwips = 3000;

    LevelBrowser(Session& ctx, Direction direction, QWidget* parent = nullptr);

    Direction direction() const { return direction_; }

    // Down page: level 0 shows the Roots, alone.
    void showRoots();
    // Down page, after links changed: level 0 takes the Roots as they are now. While the name
    // selected there is still a Root, it stays selected with the levels below it; else
    // level 0 is shown alone again.
    void refreshRoots();
    // Up page: level 0 becomes a copy of `down`'s level clicked last (its rows, current and
    // selected row and selection box), level 1 the Supersets of the name selected there.
    // Nothing is built while the base holds no link.
    void buildFrom(const LevelBrowser& down);
    // A click on row `row` of level `level`.
    void clickLevel(int level, int row);

    int levelCount() const { return int(levels_.size()); }
    int deepestLevel() const { return levelCount() - 1; }
    int clickedLevel() const { return clicked_; }
    KeywordGrid* grid(int level) const;
    QLineEdit* selection(int level) const;
    QStringList names(int level) const;
    // The display slot of a level: 0 to 2 on screen, outside that hidden.
    int slotOf(int level) const;
    QScrollBar* scrollBar() const { return scroll_; }
    // The name selected in the level clicked last.
    QString lastSelected() const;

signals:
    // A name was clicked: it becomes the caption of KWSel and KWSel2 (may be empty).
    void keywordSelected(const QString& name);
    // The click is over and the next level is shown: outside keyword mode its cards are
    // listed.
    void keywordClicked(const QString& name);
    void keywordDoubleClicked(const QString& name);
    // The right button was pressed on a level; `lastSelected` goes back into KWSel.
    void rightPressed(const QString& lastSelected);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Level {
        KeywordGrid* grid = nullptr;
        QLineEdit* selection = nullptr;
        QStringList names;
    };
    void addLevel(const QStringList& names);
    void removeLevelsFrom(int first);
    void place();
    QStringList walk(const QString& name);
    QStringList roots();
    bool hasLinks() const;

    Session& ctx_;
    Direction direction_;
    std::vector<Level> levels_;
    int clicked_ = 0;
    QScrollBar* scroll_ = nullptr;
};

} // namespace vlm::keywords
