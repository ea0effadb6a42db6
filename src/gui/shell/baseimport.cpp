#include "gui/shell/baseimport.h"

#include "gui/common/accessiblenames.h"

#include "core/session/session.h"
#include "gui/common/guarded.h"
#include "gui/common/workingwindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm {

std::optional<cards::ImportReport> importWithProgress(Session& ctx, const QString& path,
                                                      QWidget* hidden) {
    Result<cards::ImportReport> result = [&] {
        WorkingWindow working;
        working.show();
        working.phase(QStringLiteral("Import from table..."));
        working.step(-1, 0);
        if (hidden) hidden->hide();
        return cards::importBase(*ctx.base.BaseDb, path, ctx.prompter, &working);
    }();
    if (!result.ok()) {
        showFailure(ctx, result.status());
        return std::nullopt;
    }
    if (result->cancelled) {
        ctx.prompter.message(QStringLiteral("The import was cancelled: nothing was imported."),
                             Buttons::Ok, Icon::Information);
        return std::nullopt;
    }
    return std::move(*result);
}

ImportSummary::ImportSummary(const cards::ImportReport& report, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImportSummary"));
    setWindowTitle(QStringLiteral("Import"));
    auto* column = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(cards::importSummary(report), this);
    text_->setObjectName(QStringLiteral("SummaryText"));
    nameControls({{text_, "What the import added"}});
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(text_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    copyButton_ = new QPushButton(QStringLiteral("Copy"), this);
    copyButton_->setObjectName(QStringLiteral("cmdCopy"));
    closeButton_ = new QPushButton(QStringLiteral("OK"), this);
    closeButton_->setObjectName(QStringLiteral("cmdOK"));
    row->addWidget(copyButton_);
    row->addWidget(closeButton_);
    column->addLayout(row);
    connect(copyButton_, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(text_->toPlainText()); });
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->close(); // the sub-window that frames it
        else
            close();
    });
    resize(520, 360);
}

} // namespace vlm
