#include "core/session/basechoice.h"

#include "core/session/session.h"

namespace vlm {

QString chooseExistingBase(Prompter& prompter) {
    FileRequest r;
    r.title = QStringLiteral("Please select a base");
    r.filter = store::BaseSession::baseFilter();
    return prompter.openFile(r);
}

QString chooseNewBase(Prompter& prompter) {
    FileRequest r;
    r.title = QStringLiteral(" Enter a name for your new base ");
    r.filter = store::BaseSession::baseFilter();
    r.confirmOverwrite = false;
    return prompter.saveFile(r);
}

bool chooseBaseFile(Session& ctx) {
    const QString chosen = chooseExistingBase(ctx.prompter);
    if (chosen.isEmpty()) return false;
    ctx.base.BasePath = chosen;
    return true;
}

QString mainWindowTitle(const QString& baseFileName) {
    return QStringLiteral("Velmora - ") + baseFileName;
}

} // namespace vlm
