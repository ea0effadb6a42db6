#include "gui/keywords/keywordlistpanel.h"

#include "core/keywords/keywordstore.h"
#include "core/keywords/listeditor.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"
#include "gui/keywords/keywordgrid.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vlm::keywords {

namespace {

constexpr int kListColumnTwips = 5000;

QString addTip(const QString& text) {
    return QStringLiteral("  Add  ' ") + text + QStringLiteral(" '  to Keywords list  ");
}

} // namespace

KeywordListPanel::KeywordListPanel(Session& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("AllKWPanelContent"));

    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setToolTip(QStringLiteral("  Type the Keyword to find or add  "));

    KWList_ = new KeywordGrid(QStringLiteral("KWList"), kListColumnTwips, this);

    KWAdd_ = new QPushButton(QStringLiteral("Add"), this);
    KWAdd_->setObjectName(QStringLiteral("KWAdd"));
    KWAdd_->setToolTip(QStringLiteral("  Add the typed text above to keywords list  "));
    KWSupp_ = new QPushButton(QStringLiteral("Supp"), this);
    KWSupp_->setObjectName(QStringLiteral("KWSupp"));
    nameControls({{Text1_, "Keyword to find or add"}, {KWList_, "Keywords"}});

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(KWAdd_);
    buttons->addWidget(KWSupp_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(3);
    column->addWidget(Text1_);
    column->addWidget(KWList_, 1);
    column->addLayout(buttons);

    connect(Text1_, &QLineEdit::textChanged, this, &KeywordListPanel::onTextChanged);
    // Enter in the text box adds what was typed.
    connect(Text1_, &QLineEdit::returnPressed, this, &KeywordListPanel::add);
    connect(KWAdd_, &QPushButton::clicked, this, &KeywordListPanel::add);
    connect(KWSupp_, &QPushButton::clicked, this, &KeywordListPanel::discard);
    connect(KWList_, &KeywordGrid::cellClicked, this, [this](int row, int) {
        KWList_->selectRow(row);
        const QString name = KWList_->nameAt(row);
        if (!name.isEmpty()) emit keywordClicked(name);
    });
    connect(KWList_, &KeywordGrid::cellDoubleClicked, this, [this](int row, int) {
        const QString name = KWList_->nameAt(row);
        if (!name.isEmpty()) emit keywordDoubleClicked(name);
    });
}

namespace {

// The stored keywords; nothing when the store failed (the user was told).
std::optional<QStringList> storedKeywords(Session& ctx) {
    if (!ctx.base.isOpen()) return QStringList();
    return runGuarded(ctx, [&] { return QStringList(allKeywordNames(ctx)); });
}

} // namespace

void KeywordListPanel::fill() {
    rows_ = storedKeywords(ctx_).value_or(QStringList());
    KWList_->setNames(rows_);
}

void KeywordListPanel::reload() {
    std::optional<QStringList> stored = storedKeywords(ctx_);
    if (!stored || *stored == rows_) return;
    QStringList names = std::move(*stored);
    const QString current = KWList_->currentName();
    const bool selected = !KWList_->selectedName().isEmpty();
    const int top = KWList_->topRow();
    rows_ = std::move(names);
    KWList_->setNames(rows_);
    if (const qsizetype row = rows_.indexOf(current); row >= 0) {
        if (selected)
            KWList_->selectRow(int(row));
        else
            KWList_->setCurrentRowOnly(int(row));
    }
    KWList_->scrollRowToTop(std::min(top, std::max(0, KWList_->rowCount() - 1)));
}

QString KeywordListPanel::currentName() const {
    return KWList_->currentName();
}

void KeywordListPanel::onTextChanged(const QString& typed) {
    QString text = typed;
    const QString capital = capitalFirst(text);
    if (capital != text) {
        // Only the first letter changes: the caret stays where the user put it.
        const int caret = Text1_->cursorPosition();
        const QSignalBlocker block(Text1_);
        Text1_->setText(capital);
        Text1_->setCursorPosition(caret);
        text = capital;
    }
    if (!text.isEmpty()) {
        const int row = findPrefix(rows_, text);
        if (row >= 0) {
            if (rows_[row].startsWith(text)) {
                KWList_->selectRow(row);
                KWList_->scrollRowToTop(row);
            } else {
                // No name starts so: the list rests on its last row, unselected.
                KWList_->setCurrentRowOnly(row);
            }
        }
    }
    KWAdd_->setToolTip(addTip(text));
}

void KeywordListPanel::showFound(int row) {
    if (row < 0 || row >= KWList_->rowCount()) return;
    KWList_->selectRow(row);
    if (const std::optional<int> top = topRowForFound(row, KWList_->rowCount()))
        KWList_->scrollRowToTop(*top);
    else
        KWList_->scrollTo(KWList_->model()->index(row, 0), QAbstractItemView::EnsureVisible);
}

void KeywordListPanel::add() {
    if (!ctx_.base.isOpen()) return;
    // A pasted name may hold line breaks: made one line, it gets the capital the box gives to
    // a typed one.
    const QString text = capitalFirst(oneLineName(Text1_->text()));
    const ListTexts texts = keywordTexts();
    if (const qsizetype i = text.isEmpty() ? -1 : rows_.indexOf(text); i >= 0) {
        showFound(int(i));
        ctx_.prompter.message(texts.exists, Buttons::Ok, Icon::Exclamation);
        return;
    }
    const AddResult r = listAdd(ctx_.prompter, keywordSource(ctx_), texts, rows_, text);
    switch (r.outcome) {
    case AddOutcome::Added:
        rows_ = r.rows;
        KWList_->setNames(rows_);
        showFound(r.row);
        break;
    case AddOutcome::Exists:
    case AddOutcome::Duplicate:
        showFound(r.row);
        break;
    default:
        break;
    }
}

void KeywordListPanel::discard() {
    if (!ctx_.base.isOpen()) return;
    const int current = rows_.isEmpty() ? -1 : KWList_->currentRow();
    const DiscardResult r =
        listDiscard(ctx_.prompter, keywordSource(ctx_), keywordTexts(), rows_, current);
    if (r.outcome != DiscardOutcome::Discarded && r.outcome != DiscardOutcome::Gone) return;
    rows_ = r.rows;
    KWList_->removeRow(current);
    if (KWList_->rowCount() > 0)
        KWList_->setCurrentRowOnly(std::min(current, KWList_->rowCount() - 1));
}

} // namespace vlm::keywords
