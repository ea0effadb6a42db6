#pragma once

// The main window: menus, the side bar with its panels and modes, and the MDI area where
// card and result windows open.

#include "gui/cards/cardentry.h"
#include "gui/common/mainwindowhost.h"
#include "gui/retrieval/cardlists.h"
#include "gui/retrieval/textsearch.h"

#include <QMainWindow>
#include <QPointer>
#include <vector>

class QAction;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;
class QToolButton;

namespace vlm {

struct Session;
namespace keywords {
class KeywordListWindow;
class KeywordPanels;
} // namespace keywords

// The main window: an MDI frame with the menu bar, the top bar of mode switches and options
// (`Picture2`), the side bar of keyword panels (`Picture1`) and the status bar.
class MainWindow : public QMainWindow, public MainWindowHost {
    Q_OBJECT
public:
    enum class Mode { KeyWords, Other, Search };
    enum class SideLayout { TabStrip, SimpleBrowser, DoubleBrowser };

    explicit MainWindow(Session& ctx, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loads the window on the open base: title and status bar, "No Keyword" in an empty
    // keyword table, size and place, and the panels in "Search" mode on the "Down Links" page.
    void load();
    // Another base was opened while the window stays loaded: title, status bar and keywords
    // follow it; the mode and the child windows stay.
    void baseChanged();

    // Closes every child window, the changed card windows asked first; false when one of
    // them refused to close (every window stays open then).
    bool closeChildWindows();
    // Windows > Close All: closes the program's windows from the last loaded down to the
    // third, so the first two (the main window first) stay open.
    void closeAll();
    // Ctrl+W, Ctrl+F4: closes the active child window; a card window asks its close question.
    void closeActiveChild();
    // Windows > Arrange Icons: lines the minimised child windows up along the bottom.
    void arrangeIcons();
    // Windows > Cascade.
    void cascade();
    // Keywords > List: the keyword list window, or the one already open brought to the front.
    void showKeywordList();
    // ? > About.
    void showAbout();
    // Records a window of the program that is not a child window (for Close All).
    void registerWindow(QWidget* window);
    // The program's windows in the order they were loaded: this window first.
    QList<QWidget*> loadedWindows() const;

    // --- panels and modes ---
    Mode mode() const { return mode_; }
    SideLayout sideLayout() const { return layout_; }
    void tabStripLayout();
    void simpleBrowserLayout();
    void doubleBrowserLayout();

    QMdiArea* mdiArea() const { return mdi_; }

    // What the features read from the top bar and the side bar (MainWindowHost).
    std::optional<CardKind> chosenKind() const override;
    void chooseKind(CardKind kind) override;
    std::optional<retrieval::Criterion> chosenCriterion() const override;
    bool keywordMode() const override;
    bool otherMode() const override;
    bool searchMode() const override;
    QString selectedKeyword() const override;
    void showAllKeywordsPage() override;
    int sideBarWidth() const override;
    // The controls the card lists and the New menus make live.
    retrieval::RetrievalControls retrievalControls();
    retrieval::TextSearchControls textSearchControls();
    cards::CardMenus cardMenus();
    QAction* action(const QString& objectName) const;
    QString statusText() const;

    // The keyword list and the browsers that live in those containers.
    keywords::KeywordPanels* keywordPanels() const { return keywordPanels_; }
    // Fills a panel with one widget that takes its whole area.
    static void setPanelContent(QFrame* panel, QWidget* content);
    // The buttons of the central-Set browser and cmdSearchUp, by object name.
    QToolButton* sideButton(const QString& objectName) const;

    // The controls of the top bar and the side bar, by role (object names in brackets).
    QWidget* topBar() const { return Picture2_; }                             // Picture2
    QFrame* modeSwitchFrame() const { return FrameSwitch_; }                  // FrameSwitch
    QFrame* cardKindFrame() const { return FrameFile_; }                      // FrameFile
    QFrame* otherSearchFrame() const { return FrameOther_; }                  // FrameOther
    QFrame* browserSwitchFrame() const { return FrameKW_; }                   // FrameKW
    QFrame* textSearchFrame() const { return FrameSearch_; }                  // FrameSearch
    QToolButton* otherSwitch() const { return SwitchOther_; }                 // SwitchOther
    QToolButton* keywordsSwitch() const { return SwitchKW_; }                 // SwitchKW
    QToolButton* searchSwitch() const { return SwitchSearch_; }               // SwitchSearch
    QToolButton* doubleBrowserSwitch() const { return SwitchDoubleBrowser_; } // SwitchDoubleBrowser
    QToolButton* simpleBrowserSwitch() const { return SwitchSimpleBrowser_; } // SwitchSimpleBrowser
    QRadioButton* notesOption() const { return OptionNote_; }                 // OptionNote
    QRadioButton* quotesOption() const { return OptionCit_; }                 // OptionCit
    QRadioButton* referencesOption() const { return OptionRef_; }             // OptionRef
    QRadioButton* byAuthorOption() const { return OptionByAuthor_; }          // OptionByAuthor
    QRadioButton* byDateOption() const { return OptionByDate_; }              // OptionByDate
    QRadioButton* byKeywordOption() const { return OptionByKeyword_; }        // OptionByKeyword
    QLabel* sortedByLabel() const { return Label6_; }                         // Label6
    QPushButton* otherSearchButton() const { return commandSearchOther_; }    // commandSearchOther
    QLabel* textSearchLabel() const { return LabelText_; }                    // LabelText
    QLineEdit* textSearchBox() const { return TextSearch_; }                  // TextSearch
    QPushButton* textSearchButton() const { return CommandSearchText_; }      // CommandSearchText
    QWidget* sideBar() const { return Picture1_; }                            // Picture1
    QTabBar* sideTabs() const { return TabStrip1_; }                          // TabStrip1
    // The containers of the keyword panels: a widget put into one (with a layout of its
    // own, or the helper below) moves, shows and hides with it.
    QFrame* allKWPanel() const { return AllKWPanel_; }       // AllKWPanel
    QFrame* downPanel() const { return DownPanel_; }         // DownPanel
    QFrame* upPanel() const { return UpPanel_; }             // UpPanel
    QFrame* downUpPanel() const { return DownUpPanel_; }     // DownUpPanel
    QLabel* doubleBrowserLabel() const { return Label1_; }   // Label1
    QLabel* selectedKeywordLabel() const { return KWSel_; }  // KWSel
    QLabel* sideTabsKeywordLabel() const { return KWSel2_; } // KWSel2

signals:
    void loadRequested();
    void newBaseRequested();
    void saveAsRequested();
    void importRequested();
    void quitRequested();
    // A base was loaded into the window: the keyword panels fill themselves from it.
    void baseLoaded();
    // The "Up Links" page was selected: the up level browser is built again.
    void upLinksSelected();
    void keywordModeChanged(bool on);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildTopBar();
    void buildSideBar();
    void showTitle();
    void seedKeywords();
    void placeOnScreen();
    void fillWindowList();
    void orderSideBarTabs();

    void onSwitch(QToolButton* s, void (MainWindow::*work)());
    void switchKW();
    void switchOther();
    void switchSearch();
    void showTabPage(int index);
    void placeCurrentLayout();
    void placeTabStrip();
    void placeSimpleBrowser();
    void placeDoubleBrowser();
    void setKeywordMode(bool on);
    void setCardKindVisible(bool visible);
    void setSideBarWidth(int pixels);

    Session& ctx_;
    QWidget* Picture2_ = nullptr;
    QFrame* FrameSwitch_ = nullptr;
    QFrame* FrameFile_ = nullptr;
    QFrame* FrameOther_ = nullptr;
    QFrame* FrameKW_ = nullptr;
    QFrame* FrameSearch_ = nullptr;
    QToolButton* SwitchOther_ = nullptr;
    QToolButton* SwitchKW_ = nullptr;
    QToolButton* SwitchSearch_ = nullptr;
    QToolButton* SwitchDoubleBrowser_ = nullptr;
    QToolButton* SwitchSimpleBrowser_ = nullptr;
    QRadioButton* OptionNote_ = nullptr;
    QRadioButton* OptionCit_ = nullptr;
    QRadioButton* OptionRef_ = nullptr;
    QRadioButton* OptionByAuthor_ = nullptr;
    QRadioButton* OptionByDate_ = nullptr;
    QRadioButton* OptionByKeyword_ = nullptr;
    QLabel* Label6_ = nullptr;
    QPushButton* commandSearchOther_ = nullptr;
    QLabel* LabelText_ = nullptr;
    QLineEdit* TextSearch_ = nullptr;
    QPushButton* CommandSearchText_ = nullptr;
    QWidget* Picture1_ = nullptr;
    QTabBar* TabStrip1_ = nullptr;
    QFrame* AllKWPanel_ = nullptr;
    QFrame* DownPanel_ = nullptr;
    QFrame* UpPanel_ = nullptr;
    QFrame* DownUpPanel_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* KWSel_ = nullptr;
    QLabel* KWSel2_ = nullptr;
    keywords::KeywordPanels* keywordPanels_ = nullptr;
    QPointer<keywords::KeywordListWindow> keywordList_;
    QMdiArea* mdi_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QMenu* windowsMenu_ = nullptr;
    std::vector<QAction*> windowListActions_;
    std::vector<QPointer<QObject>> loadOrder_;
    std::vector<QToolButton*> linkButtons_; // the seven link buttons of the central-Set browser
    QToolButton* cmdReverseSearch_ = nullptr;
    QToolButton* cmdSearchUp_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    QButtonGroup* layoutGroup_ = nullptr;
    QToolButton* switchedOn_ = nullptr; // the switch a toggle turned on, until its click
    bool keywordMode_ = false;
    Mode mode_ = Mode::Search;
    SideLayout layout_ = SideLayout::TabStrip;
};

} // namespace vlm
