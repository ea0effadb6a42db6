#pragma once

// The keyword panels of the main window's side bar, working together: the keyword list
// (AllKWPanel), the central-Set browser (DownUpPanel) and the two level browsers (DownPanel,
// UpPanel), with the label KWSel that names the keyword clicked last and can be dragged onto
// the central-Set browser.

#include "gui/common/refreshlater.h"
#include "gui/keywords/centralbrowser.h"
#include "gui/keywords/keywordlistpanel.h"
#include "gui/keywords/levelbrowser.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QAbstractButton;
class QLabel;

namespace vlm {
struct Session;
} // namespace vlm

namespace vlm::keywords {

// What the panels ask of the main window.
struct KeywordHost {
    // Keyword mode (the "KeyWords" switch is on): clicks walk the graph and list no cards.
    std::function<bool()> keywordMode;
    // The "Search" switch is on: a double click in the keyword list opens the cards.
    std::function<bool()> searchMode;
    // Lists the cards of the chosen kind that carry a keyword (a click outside keyword mode).
    std::function<void(const QString&)> listCards;
    // Opens every card of the chosen kind that carries a keyword (a double click).
    std::function<void(const QString&)> openCards;
    // Closes the card-list window (the right button on a level).
    std::function<void()> closeCardList;
};

// The labels and buttons of the side bar that the panels use.
struct SideControls {
    QLabel* KWSel = nullptr;
    QLabel* KWSel2 = nullptr;
    LinkButtons links;
    QAbstractButton* cmdSearchUp = nullptr;
};

class KeywordPanels : public QObject {
    Q_OBJECT
public:
    KeywordPanels(Session& ctx, KeywordHost host, SideControls controls, QObject* parent = nullptr);
    ~KeywordPanels() override;

    // The panels; their owner puts each into its container.
    KeywordListPanel* list() const { return list_.data(); }
    CentralSetBrowser* central() const { return central_.data(); }
    LevelBrowser* down() const { return down_.data(); }
    LevelBrowser* up() const { return up_.data(); }
    const SideControls& controls() const { return controls_; }

    // A base was loaded: the list is filled, the down page shows the Roots, the up page and
    // the central Set start empty.
    void load();
    // The "Up Links" page was chosen, or cmdSearchUp clicked: the up page is built from the
    // down level clicked last.
    void buildUp();
    // A new caption for KWSel (and KWSel2 when `alsoKWSel2`); the tips of the central-Set
    // browser's add buttons follow it.
    void setKWSel(const QString& name, bool alsoKWSel2 = false);
    // Starts dragging the keyword KWSel names, as a press and a move on the label do.
    void startKWSelDrag();

signals:
    // A drag of KWSel began with this keyword.
    void dragStarted(const QString& keyword);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keywordMode() const;
    void listCards(const QString& name);
    void followKeywords();
    void followLinks();

    Session& ctx_;
    KeywordHost host_;
    SideControls controls_;
    // Guarded: the window that holds the panels may delete them before this object.
    QPointer<KeywordListPanel> list_;
    QPointer<CentralSetBrowser> central_;
    QPointer<LevelBrowser> down_;
    QPointer<LevelBrowser> up_;
    QPoint pressAt_;
    bool pressed_ = false;
    // Keywords and links changed in the base: the panels follow once the change is over.
    RefreshLater keywordsChanged_;
    RefreshLater linksChanged_;
};

} // namespace vlm::keywords
