#pragma once

// A drag carried over a widget and dropped there, as the window system delivers it: enter, move,
// drop. True when the widget took the drop.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace vlm::test {

inline bool dropOn(QWidget* target, const QMimeData& data) {
    const QPoint at = target->rect().center();
    const Qt::DropActions actions = Qt::LinkAction | Qt::CopyAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// Plain text, as another program drags it.
inline bool dropText(QWidget* target, const QString& text) {
    QMimeData data;
    data.setText(text);
    return dropOn(target, data);
}

} // namespace vlm::test
