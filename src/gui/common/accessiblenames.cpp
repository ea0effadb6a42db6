#include "gui/common/accessiblenames.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QToolBar>

namespace vlm {

void nameControls(std::initializer_list<std::pair<QWidget*, const char*>> names) {
    for (const auto& [control, name] : names) {
        if (!control) continue;
        if (control->accessibleName().isEmpty())
            control->setAccessibleName(QString::fromUtf8(name));
        if (control->accessibleDescription().isEmpty())
            control->setAccessibleDescription(control->toolTip());
    }
}

namespace {

// The control itself when Tab stops on it, else the controls inside it in their Tab order.
QList<QWidget*> tabStops(QWidget* w) {
    if (w->focusPolicy() & Qt::TabFocus) return {w};
    QList<QWidget*> out;
    for (QWidget* f = w->nextInFocusChain(); f && f != w; f = f->nextInFocusChain())
        if (w->isAncestorOf(f) && (f->focusPolicy() & Qt::TabFocus) &&
            !(f->parentWidget() && f->parentWidget()->focusPolicy() & Qt::TabFocus))
            out << f;
    return out;
}

} // namespace

void tabInOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* c : controls) {
        if (!c) continue;
        for (QWidget* w : tabStops(c)) {
            if (previous) QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

void reachByTab(QToolBar* bar) {
    for (QAction* a : bar->actions())
        if (QWidget* button = bar->widgetForAction(a)) button->setFocusPolicy(Qt::TabFocus);
}

namespace {

// Watches the keys of one view for the picking keys.
class PickKeys : public QObject {
public:
    PickKeys(QAbstractItemView* view, std::function<void(int)> pick)
        : QObject(view), view_(view), pick_(std::move(pick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != view_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool picks = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                           key->key() == Qt::Key_Space;
        if (!picks || key->modifiers() & ~Qt::KeypadModifier) return false;
        const QModelIndex current = view_->currentIndex();
        if (current.isValid()) pick_(current.row());
        return true;
    }

private:
    QAbstractItemView* view_;
    std::function<void(int)> pick_;
};

} // namespace

void pickOnKeys(QAbstractItemView* view, std::function<void(int row)> pick) {
    view->installEventFilter(new PickKeys(view, std::move(pick)));
}

} // namespace vlm
