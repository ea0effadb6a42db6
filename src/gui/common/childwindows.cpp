#include "gui/common/childwindows.h"

#include "core/session/session.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vlm {

QWidget* showChildWindow(Session& ctx, QWidget* w, const ChildPlacement& placement) {
    if (ctx.mdiArea) {
        QMdiSubWindow* sub = ctx.mdiArea->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        if (placement.size.isValid()) sub->resize(placement.size);
        sub->show();
        // Placed once shown, at the size the area gave it.
        if (placement.position)
            sub->move(placement.position(ctx.mdiArea->viewport()->size(), sub->size()));
        if (placement.activate) ctx.mdiArea->setActiveSubWindow(sub);
        return sub;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (placement.size.isValid()) w->resize(placement.size);
    w->show();
    return w;
}

QWidget* findWindowNamed(Session& ctx, const QString& objectName) {
    if (ctx.mdiArea) {
        for (QMdiSubWindow* sub : ctx.mdiArea->subWindowList())
            if (sub->widget() && sub->widget()->objectName() == objectName) return sub->widget();
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible()) return w;
    return nullptr;
}

void closeChildWindow(QWidget* w) {
    if (!w) return;
    QWidget* frame = w;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) frame = sub;
    frame->close();
    delete frame;
}

} // namespace vlm
