#pragma once

// What the windows of the features ask of the main window: the card kind and criterion chosen
// on its top bar, its modes, the keyword clicked last, the page of its side bar. The shell's
// main window implements it; tests give a stand-in. The features reach it through the window
// that holds the MDI area, by type, never by the names of its controls.

#include "core/retrieval/othersearch.h"
#include "core/session/cardkind.h"

#include <QString>
#include <optional>

class QWidget;

namespace vlm {

struct Session;

class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;

    // The card kind option that is checked (OptionNote, OptionCit, OptionRef), if any.
    virtual std::optional<CardKind> chosenKind() const = 0;
    // Checks the option of `kind` (the others go off).
    virtual void chooseKind(CardKind kind) = 0;
    // The "sorted by" option that is checked (OptionByAuthor, OptionByDate, OptionByKeyword).
    virtual std::optional<retrieval::Criterion> chosenCriterion() const = 0;
    // The mode switches: KeyWords, Other, Search.
    virtual bool keywordMode() const = 0;
    virtual bool otherMode() const = 0;
    virtual bool searchMode() const = 0;
    // The keyword clicked last (the label KWSel).
    virtual QString selectedKeyword() const = 0;
    // Turns the side bar to its third page, "  All Keywords  ".
    virtual void showAllKeywordsPage() = 0;
    // The width of the side bar in pixels, 0 while it is hidden.
    virtual int sideBarWidth() const = 0;
};

// The main window holding the session's MDI area, or nullptr when there is none (tests
// without one, or before the main window exists).
MainWindowHost* mainWindowHost(Session& ctx);

} // namespace vlm
