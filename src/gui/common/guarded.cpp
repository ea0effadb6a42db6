#include "gui/common/guarded.h"

#include "core/session/session.h"

namespace vlm {

void showFailure(Session& ctx, const Status& status) {
    if (status.ok()) return;
    if (status.isOutOfMemory())
        ctx.prompter.message(notEnoughMemoryMessage(), Buttons::Ok, Icon::Exclamation);
    else
        ctx.prompter.message(status.message(), Buttons::Ok, Icon::Critical);
}

} // namespace vlm
