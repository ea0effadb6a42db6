#include "gui/common/mainwindowhost.h"

#include "core/session/session.h"

#include <QMdiArea>

namespace vlm {

MainWindowHost* mainWindowHost(Session& ctx) {
    return ctx.mdiArea ? dynamic_cast<MainWindowHost*>(ctx.mdiArea->window()) : nullptr;
}

} // namespace vlm
