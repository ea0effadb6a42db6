#pragma once

// The central-Set browser (the content of the main window's DownUpPanel): one keyword, the
// central Set (SelUpDown), between the grid of its Supersets (GridUp, "Sets including") and
// the grid of its Subsets (GridDown, "Sets included in"), and the link commands around it.

#include <QStringList>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QLabel;

namespace vlm {
struct Session;
}

namespace vlm::keywords {

class KeywordGrid;
struct KWResult;

// The buttons of the browser. The main window keeps them on its side bar, beside the
// panel; a browser standing alone gets its own from makeLinkButtons().
struct LinkButtons {
    QAbstractButton* cmdAddFromListUp = nullptr;
    QAbstractButton* cmdFindIfLinks = nullptr;
    QAbstractButton* cmdAddFromListDown = nullptr;
    QAbstractButton* cmdSelFromUp = nullptr;
    QAbstractButton* cmdSelFromDown = nullptr;
    QAbstractButton* cmdSuppFromListUp = nullptr;
    QAbstractButton* cmdSuppFromListDown = nullptr;
    QAbstractButton* cmdReverseSearch = nullptr; // shown in no layout, bound to nothing
};
// New buttons, children of `parent`.
LinkButtons makeLinkButtons(QWidget* parent);

class CentralSetBrowser : public QWidget {
    Q_OBJECT
public:
    explicit CentralSetBrowser(Session& ctx, QWidget* parent = nullptr);

    // Binds the buttons to their commands (and enables them).
    void bindButtons(const LinkButtons& buttons);
    const LinkButtons& buttons() const { return buttons_; }
    // Where the add commands and cmdFindIfLinks read their keyword: the current row of the
    // keyword list.
    void setListName(std::function<QString()> listName) { listName_ = std::move(listName); }

    // The central Set (caption of SelUpDown); empty until one is chosen.
    QString central() const;
    // Puts `name` at the centre and fills both grids around it.
    void makeCentral(const QString& name);
    // Fills both grids again around the current central Set.
    void refreshCentral();
    // Links changed elsewhere: the grids are filled again when what they show is out of date.
    void followLinks();
    // Forgets the central Set (another base was opened).
    void clear();

    // The caption of KWSel became `keyword`: the tips of the add buttons and of
    // cmdFindIfLinks name it.
    void keywordSelected(const QString& keyword);

    // The link commands, as their buttons and drops call them.
    void addFromListDown();
    void addFromListUp();
    void suppFromListDown();
    void suppFromListUp();
    void selFromUp();
    void selFromDown();
    void findIfLinks();
    void dropOnDown(const QString& dragged);
    void dropOnUp(const QString& dragged);

    KeywordGrid* gridUp() const { return GridUp_; }
    KeywordGrid* gridDown() const { return GridDown_; }
    QLabel* selUpDown() const { return SelUpDown_; }
    const QStringList& upNames() const { return upNames_; }
    const QStringList& downNames() const { return downNames_; }

private:
    void fillGrids();
    void gridClicked(bool up, int row);
    // Tells the user why a link command changed nothing.
    void tell(const KWResult& r);
    void setTip(QAbstractButton* b, const QString& tip);

    Session& ctx_;
    LinkButtons buttons_;
    std::function<QString()> listName_;
    QStringList upNames_;
    QStringList downNames_;
    QLabel* SelUpDown_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLabel* Label5_ = nullptr;
    KeywordGrid* GridUp_ = nullptr;
    KeywordGrid* GridDown_ = nullptr;
};

} // namespace vlm::keywords
