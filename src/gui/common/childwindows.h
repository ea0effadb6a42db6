#pragma once

// Where the program's child windows live: in the main window's MDI area, or on their own when
// there is none (tests). Every window that opens in the area opens through showChildWindow.

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <functional>

namespace vlm {
struct Session;
}

namespace vlm {

// How a child window is placed. By default it keeps its own size and the area places it.
struct ChildPlacement {
    // Outer size of the window; an invalid size keeps the widget's own.
    QSize size;
    // Top-left corner of the window in the area, given the area's visible size and the
    // window's outer size; empty leaves the place to the area. Unused on its own.
    std::function<QPoint(const QSize& area, const QSize& window)> position;
    // Makes it the active window of the area.
    bool activate = false;

    // Shown in front of the other windows, where the area puts it.
    static ChildPlacement inFront() {
        ChildPlacement p;
        p.activate = true;
        return p;
    }
};

// Shows `w` as a child window of the MDI area (or on its own) and returns the window that
// frames it (its sub-window, or `w` itself); it is deleted when closed.
QWidget* showChildWindow(Session& ctx, QWidget* w, const ChildPlacement& placement = {});

// The open window (child or on its own) with that object name, or nullptr.
QWidget* findWindowNamed(Session& ctx, const QString& objectName);

// Closes and deletes the window that frames `w`.
void closeChildWindow(QWidget* w);

} // namespace vlm
