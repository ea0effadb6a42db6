#pragma once

// Reaching the windows without a mouse and hearing them: short names for the controls whose
// caption does not say what they are (grids, text boxes without a label, picture buttons),
// and the keys that pick a row of a list. A button's caption, a label's buddy and a tab's
// text name the other controls by themselves, and a tool tip is read as the description.

#include <functional>
#include <initializer_list>
#include <utility>

class QAbstractItemView;
class QToolBar;
class QWidget;

namespace vlm {

// Gives each control its short name ("Keywords of the card", "Note text") unless it has one
// already, and its tool tip as its description (grids and lists do not read it by themselves).
// A window names its controls in one call, once their tips are set.
void nameControls(std::initializer_list<std::pair<QWidget*, const char*>> names);

// The buttons of a tool bar take the focus by Tab, as every other button does.
void reachByTab(QToolBar* bar);

// Tab goes through `controls` in this order (null ones left out); a control that holds others
// brings them along.
void tabInOrder(std::initializer_list<QWidget*> controls);

// Enter, Return and Space on `view` do what a click on its current row does: `pick` is called
// with that row (not when there is none).
void pickOnKeys(QAbstractItemView* view, std::function<void(int row)> pick);

} // namespace vlm
