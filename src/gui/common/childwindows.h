#pragma once

// Where the result windows live: in the main window's MDI area, or on their own when there
// is none (tests).

#include <QWidget>

namespace vlm {
struct Session;
}

namespace vlm::retrieval {

// Shows `w` as a child window of the MDI area (or on its own) and returns the window that
// frames it; it is deleted when closed.
QWidget* showChildWindow(Session& ctx, QWidget* w);

// The open window (child or on its own) with that object name, or nullptr.
QWidget* findWindowNamed(Session& ctx, const QString& objectName);

// Closes and deletes the window that frames `w`.
void closeChildWindow(QWidget* w);

} // namespace vlm::retrieval
