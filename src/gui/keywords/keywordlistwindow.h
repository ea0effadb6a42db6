#pragma once

// The keyword list window KeywordListWindow ("KeyWords List"): every keyword in a plain list, with
// "Add" (through an input box) and "Supp".

#include "gui/common/refreshlater.h"

#include <QWidget>

class QListView;
class QPushButton;

namespace vlm {
struct Session;
class TextTableModel;
} // namespace vlm

namespace vlm::keywords {

class KeywordListWindow : public QWidget {
    Q_OBJECT
public:
    // Stores "No Keyword" when the keyword table is empty, then fills the list.
    explicit KeywordListWindow(Session& ctx, QWidget* parent = nullptr);

    // Opens a window the way the Keywords > List command does: in the main window's MDI area
    // when there is one, else on its own. It deletes itself when closed.
    static KeywordListWindow* open(Session& ctx);

    // Fills the list again from the keyword table.
    void fill();
    // Follows the keyword table after a change made elsewhere: the current name stays current.
    void reload();

private:
    void onAdd();
    void onSupp();
    void selectName(const QString& name);

    Session& ctx_;
    QListView* list1_ = nullptr;
    TextTableModel* names_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    RefreshLater keywordsChanged_;
};

} // namespace vlm::keywords
