#include "gui/keywords/keywordlistwindow.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"

#include <QHBoxLayout>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm::keywords {

KeywordListWindow::KeywordListWindow(Session& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), keywordsChanged_(this, [this] { reload(); }) {
    setObjectName(QStringLiteral("fKWList"));
    setWindowTitle(QStringLiteral("KeyWords List"));

    list1_ = new QListView(this);
    list1_->setObjectName(QStringLiteral("List1"));
    names_ = new TextTableModel(1, list1_);
    list1_->setModel(names_);
    list1_->setUniformItemSizes(true);
    list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    command1_ = new QPushButton(QStringLiteral("Add"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command2_ = new QPushButton(QStringLiteral("Supp"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    nameControls({{list1_, "Keywords"}});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    auto* top = new QVBoxLayout(this);
    top->addWidget(list1_, 1);
    top->addLayout(buttons);
    resize(twipsSize(3600, 4200));

    connect(command1_, &QPushButton::clicked, this, &KeywordListWindow::onAdd);
    connect(command2_, &QPushButton::clicked, this, &KeywordListWindow::onSupp);
    connect(&ctx_.events, &SessionEvents::keywordsChanged, this,
            [this] { keywordsChanged_.request(); });

    if (ctx_.base.isOpen()) {
        const KWResult seeded = seedNoKeyword(ctx_);
        if (!seeded.ok() && !seeded.message.isEmpty())
            ctx_.prompter.message(seeded.message, Buttons::Ok, Icon::Exclamation);
    }
    fill();
}

KeywordListWindow* KeywordListWindow::open(Session& ctx) {
    auto* w = new KeywordListWindow(ctx);
    w->setAttribute(Qt::WA_DeleteOnClose);
    showChildWindow(ctx, w);
    return w;
}

void KeywordListWindow::fill() {
    std::optional<QStringList> names = QStringList();
    if (ctx_.base.isOpen())
        names = runGuarded(ctx_, [&] { return QStringList(allKeywordNames(ctx_)); });
    std::vector<QStringList> rows;
    for (const QString& name : names.value_or(QStringList()))
        rows.push_back({name});
    names_->setRows(std::move(rows));
}

void KeywordListWindow::reload() {
    QStringList shown;
    for (int i = 0; i < names_->rowCount(); ++i)
        shown << names_->text(i, 0);
    QStringList stored;
    if (ctx_.base.isOpen()) {
        const auto names = runGuarded(ctx_, [&] { return QStringList(allKeywordNames(ctx_)); });
        if (!names) return; // the list keeps what it showed
        stored = *names;
    }
    if (stored == shown) return;
    const QModelIndex current = list1_->currentIndex();
    const QString name = current.isValid() ? names_->text(current.row(), 0) : QString();
    std::vector<QStringList> rows;
    for (const QString& n : stored)
        rows.push_back({n});
    names_->setRows(std::move(rows));
    if (!name.isEmpty()) selectName(name);
}

void KeywordListWindow::selectName(const QString& name) {
    for (int i = 0; i < names_->rowCount(); ++i) {
        if (names_->text(i, 0) == name) {
            list1_->setCurrentIndex(names_->index(i, 0));
            list1_->scrollTo(names_->index(i, 0));
            return;
        }
    }
}

void KeywordListWindow::onAdd() {
    if (!ctx_.base.isOpen()) return;
    const std::optional<QString> answer = ctx_.prompter.input(
        QStringLiteral("Fill in the Keyword you want to add"), QStringLiteral("New Keyword"));
    if (!answer) return;
    const QString name = oneLineName(*answer);
    if (name.isEmpty()) return;
    const KWResult r = storeKeyword(ctx_, name);
    // The list shows the keywords as the table holds them, whatever the outcome.
    fill();
    const ListTexts texts = keywordTexts();
    switch (r.status) {
    case KWStatus::Done:
        selectName(name);
        return;
    case KWStatus::ReadOnly:
        ctx_.prompter.message(readOnlyText(), Buttons::Ok, Icon::Exclamation);
        return;
    case KWStatus::Duplicate: {
        QString stored = name;
        for (int i = 0; i < names_->rowCount(); ++i) {
            if (compareNames(names_->text(i, 0), name) == 0) {
                stored = names_->text(i, 0);
                break;
            }
        }
        selectName(stored);
        ctx_.prompter.message(texts.duplicateOf.arg(stored), Buttons::Ok, Icon::Exclamation);
        return;
    }
    case KWStatus::TooLong:
        ctx_.prompter.message(texts.tooLong.arg(kMaxNameLength), Buttons::Ok, Icon::Exclamation);
        return;
    default:
        ctx_.prompter.message(r.store.message(), Buttons::Ok, Icon::Critical);
        return;
    }
}

void KeywordListWindow::onSupp() {
    if (!ctx_.base.isOpen()) return;
    const QModelIndex current = list1_->currentIndex();
    if (!current.isValid() || !list1_->selectionModel()->isSelected(current)) return;
    if (ctx_.prompter.message(QStringLiteral("discard this Keyword ?"), Buttons::OkCancel,
                              Icon::Question) != Answer::Ok)
        return;
    const QString name = names_->text(current.row(), 0);
    names_->removeRow(current.row());
    const KWResult r = discardKeyword(ctx_, name);
    if (r.status == KWStatus::Done || r.status == KWStatus::NotFound) return;
    // Refused: the keyword is still in the table, so it comes back in the list.
    fill();
    selectName(name);
    if (r.status == KWStatus::ReadOnly)
        ctx_.prompter.message(readOnlyText(), Buttons::Ok, Icon::Exclamation);
    else
        ctx_.prompter.message(r.store.message(), Buttons::Ok, Icon::Critical);
}

} // namespace vlm::keywords
