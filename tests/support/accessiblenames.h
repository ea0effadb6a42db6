#pragma once

// What a screen reader hears of a window: the controls a user can reach in it that have no
// accessible name.

#include <QAbstractButton>
#include <QAccessible>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

namespace vlm::test {

// Every control of `window` that is shown and that a user reaches (by Tab, or by a click that
// acts) without a name a screen reader would say, as "objectName (Class)"; with "no Tab" a
// button the keyboard cannot reach, with "no description" one whose tool tip is not read as
// its description. The parts Qt puts inside its own controls (scroll bars, viewports) speak
// through them.
inline QStringList unnamedControls(QWidget* window) {
    QStringList out;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* w : controls) {
        if (!w->isVisible() || qobject_cast<QScrollBar*>(w) ||
            w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (w->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractButton*>(w)) continue;
        const QString control = QStringLiteral("%1 (%2)").arg(
            w->objectName(), QLatin1String(w->metaObject()->className()));
        const QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) out << control;
        if (qobject_cast<QAbstractButton*>(w) && !(w->focusPolicy() & Qt::TabFocus))
            out << control + QStringLiteral(" no Tab");
        if (a && !w->toolTip().isEmpty() && a->text(QAccessible::Description) != w->toolTip())
            out << control + QStringLiteral(" no description");
    }
    return out;
}

} // namespace vlm::test
