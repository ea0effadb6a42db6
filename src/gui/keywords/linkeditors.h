#pragma once

// The link editors: the structure editor StructureEditor ("Top-Down Links") and the up-links window
// UpLinksWindow ("Down-Up Links"). Both show the keyword hierarchy as a row of columns, one
// per level, three in view at a time, with the path of the selected names in Combo1.

#include "core/keywords/linkcolumns.h"
#include "gui/common/texttableview.h"

#include <QLineEdit>
#include <QWidget>
#include <vector>

class QComboBox;
class QFrame;
class QPushButton;
class QScrollBar;

namespace vlm {
struct Session;
}

namespace vlm::keywords {

// One column (Grid1): its names, one a row. A click, Enter or a move of the current row by the
// keyboard chooses a name; a press of the right button is reported and changes nothing; a
// dropped keyword name is handed on when the column takes drops.
class LinkGrid : public TextTableView {
    Q_OBJECT
public:
    explicit LinkGrid(QWidget* parent = nullptr);
    void setTakesDrops(bool takes);
    // Shows `names` (one empty row when there are none) with `selectedRow` selected.
    void fill(const NameList& names, int selectedRow);

signals:
    void rowChosen(int row);
    void rightPressed();
    void keywordDropped(const QString& name);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    bool takesDrops_ = false;
};

// The selection box of a column (Grid1Sel): shows the selected name; dragging it carries the
// name to a column or to another window.
class LinkSelBox : public QLineEdit {
    Q_OBJECT
public:
    explicit LinkSelBox(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QPoint pressAt_;
    bool pressed_ = false;
};

// What both link editors share: the columns, their panel and scroll bar, the path list.
class LinkColumnsWindow : public QWidget {
    Q_OBJECT
public:
    const LinkColumns& columns() const { return model_; }
    // The controls of column k (0 to columns().count() - 1).
    LinkGrid* grid(int k) const { return columns_[size_t(k)].grid; }
    LinkSelBox* selBox(int k) const { return columns_[size_t(k)].box; }
    QComboBox* pathList() const { return combo1_; }
    QScrollBar* scrollBar() const { return hscroll1_; }
    QFrame* panel() const { return panel3d1_; }

    // A click on `row` of column k.
    void clickName(int k, int row);

protected:
    LinkColumnsWindow(Session& ctx, LinkColumns::Walk walk, int heightTwips, QWidget* parent);
    // Shows the columns from `from` on anew, and every selection box, the path, the panel and
    // the scroll bar.
    void showColumns(int from);
    // Top of the panel of columns, in twips.
    virtual int panelTop() const = 0;
    // A new column's grid, for the window to connect (k is its column).
    virtual void columnCreated(LinkGrid*, int /*k*/) {}
    // Whether the base can be read; when not, the windows show nothing and do nothing.
    bool baseOpen() const;
    // Puts a new window where the link editors open: in the main window's area when there is
    // one, else on its own. The window deletes itself when closed.
    static void place(Session& ctx, QWidget* w, int widthTwips, int heightTwips);

    void resizeEvent(QResizeEvent* e) override;

    Session& ctx_;
    LinkColumns model_;

private:
    struct ColumnWidgets {
        LinkGrid* grid = nullptr;
        LinkSelBox* box = nullptr;
    };
    void placeColumns();
    void onScroll(int value);
    void toCome();

    QComboBox* combo1_ = nullptr;
    QFrame* panel3d1_ = nullptr;
    QScrollBar* hscroll1_ = nullptr;
    std::vector<ColumnWidgets> columns_;
};

// The structure editor: column 0 the Roots, each further column the Subsets of the name
// selected before it. Links are stored by dropping a keyword name on a column and discarded
// with "Supp".
class StructureEditor : public LinkColumnsWindow {
    Q_OBJECT
public:
    explicit StructureEditor(Session& ctx, QWidget* parent = nullptr);
    // Opens a window as Keywords > Structure and "New List" do.
    static StructureEditor* open(Session& ctx);

    // A keyword name dropped on column k: below the name selected in column k - 1; on the
    // Roots column the user is told how a keyword becomes a Root.
    void dropOnColumn(int k, const QString& name);
    // "Supp": discards the link between the selected name of the current column and the one
    // selected before it.
    void supp();
    // "UpLinks": opens the up-links window on the selected name of the current column.
    void upLinks();
    // "New List": another, independent structure editor.
    void newList();

protected:
    int panelTop() const override { return 600; }
    void columnCreated(LinkGrid* g, int k) override;

private:
    // Column k - 1 current again and column k read anew from the table.
    void reopen(int k);
    void tellRefusal(const KWResult& r, bool sayNotFound);

    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* cSupp_ = nullptr;
};

// The up-links window: column 0 one keyword, each further column the Supersets of the name
// selected before it. A keyword name dropped anywhere on it starts it again from that name.
class UpLinksWindow : public LinkColumnsWindow {
    Q_OBJECT
public:
    // Opens on `keyword`.
    UpLinksWindow(Session& ctx, const QString& keyword, QWidget* parent = nullptr);
    // Opens a window on the keyword handed over (ctx.LinksKeyword), closing the one open.
    static UpLinksWindow* open(Session& ctx);

    void restartFrom(const QString& keyword);

protected:
    int panelTop() const override { return 540; }
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

} // namespace vlm::keywords
