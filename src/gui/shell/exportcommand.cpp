#include "gui/shell/exportcommand.h"

#include "core/cards/baseexport.h"
#include "core/session/session.h"
#include "gui/common/guarded.h"
#include "gui/common/workingwindow.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace vlm {

void exportBase(Session& ctx, QWidget* parent) {
    if (!ctx.base.isOpen()) return;
    const Answer form = ctx.prompter.message(
        QStringLiteral("Export the whole base as one JSON document?\n\n"
                       "Yes: one JSON document.\nNo: a folder of Markdown files, one a Note or "
                       "Quote, its keywords as tags."),
        Buttons::YesNoCancel, Icon::Question, QStringLiteral("Export"));
    if (form != Answer::Yes && form != Answer::No) return;
    const bool json = form == Answer::Yes;

    const QFileInfo base(ctx.base.BaseDb->path());
    FileRequest request;
    request.directory = base.absolutePath();
    QString target;
    if (json) {
        request.title = QStringLiteral("Export the base as JSON");
        request.filter = QStringLiteral("JSON Document (*.json)|*.json");
        request.fileName = base.completeBaseName() + QStringLiteral(".json");
        target = ctx.prompter.saveFile(request);
    } else {
        request.title = QStringLiteral("Folder of the Markdown files");
        target = ctx.prompter.chooseFolder(request);
    }
    if (target.isEmpty()) return;

    store::Database& db = *ctx.base.BaseDb;
    const std::optional<bool> written = [&] {
        WorkingWindow working({.title = {}, .cancel = QStringLiteral("Stop")}, parent);
        working.phase(QStringLiteral("Exporting the base..."));
        working.show();
        return runGuarded(ctx, [&] {
            return json ? cards::exportJson(db, target, &working)
                        : cards::exportMarkdown(db, target, &working);
        });
    }();
    if (!written) return;
    ctx.prompter.message(*written ? QStringLiteral("The base was exported to ") +
                                        QDir::toNativeSeparators(target) + QStringLiteral(".")
                                  : QStringLiteral("The export was stopped: nothing was written."),
                         Buttons::Ok, Icon::Information, QStringLiteral("Export"));
}

} // namespace vlm
