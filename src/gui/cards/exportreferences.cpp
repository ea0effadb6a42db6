#include "gui/cards/exportreferences.h"

#include "core/cards/referenceexport.h"
#include "core/session/session.h"
#include "gui/common/guarded.h"

namespace vlm::cards {

void exportReferencesCommand(Session& ctx) {
    if (!ctx.base.isOpen()) return;
    const auto listed = runGuarded(ctx, [&ctx] { return referencesOfResultList(ctx); });
    if (!listed) return;
    QStringList numbers;
    if (!listed->isEmpty()) {
        const Answer a = ctx.prompter.message(
            QStringLiteral("Export only the %1 References of the current result list ?\n"
                           "(No exports every Reference of the base.)")
                .arg(listed->size()),
            Buttons::YesNoCancel, Icon::Question);
        if (a == Answer::Cancel) return;
        if (a == Answer::Yes) numbers = *listed;
    }
    FileRequest request;
    request.title = QStringLiteral("Export References");
    request.filter = exportFilter();
    const QString path = ctx.prompter.saveFile(request);
    if (path.isEmpty()) return;
    const auto written = runGuarded(ctx, [&] { return exportReferences(ctx, path, numbers); });
    if (written)
        ctx.prompter.message(
            QStringLiteral("References written to %1: %2").arg(path, QString::number(*written)),
            Buttons::Ok, Icon::Information);
}

} // namespace vlm::cards
