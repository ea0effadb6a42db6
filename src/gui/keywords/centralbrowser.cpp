#include "gui/keywords/centralbrowser.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/store/storeerror.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"
#include "gui/keywords/keywordgrid.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace vlm::keywords {

namespace {

constexpr int kColumnTwips = 3000;

QString gridTip() {
    return QStringLiteral("  Double-click on a Set makes it the central Set  ");
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

} // namespace

LinkButtons makeLinkButtons(QWidget* parent) {
    auto make = [parent](const char* name, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(parent);
        b->setObjectName(QLatin1String(name));
        b->setIcon(parent->style()->standardIcon(icon));
        return b;
    };
    LinkButtons b;
    b.cmdAddFromListUp = make("cmdAddFromListUp", QStyle::SP_ArrowUp);
    b.cmdFindIfLinks = make("cmdFindIfLinks", QStyle::SP_ArrowRight);
    b.cmdAddFromListDown = make("cmdAddFromListDown", QStyle::SP_ArrowDown);
    b.cmdSelFromUp = make("cmdSelFromUp", QStyle::SP_ArrowLeft);
    b.cmdSelFromDown = make("cmdSelFromDown", QStyle::SP_ArrowLeft);
    b.cmdSuppFromListUp = make("cmdSuppFromListUp", QStyle::SP_DialogDiscardButton);
    b.cmdSuppFromListDown = make("cmdSuppFromListDown", QStyle::SP_DialogDiscardButton);
    b.cmdReverseSearch = make("cmdReverseSearch", QStyle::SP_BrowserReload);
    b.cmdReverseSearch->setEnabled(false); // no command is bound to it
    return b;
}

CentralSetBrowser::CentralSetBrowser(Session& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("DownUpPanelContent"));

    Label2_ = makeLabel(this, "Label2", QStringLiteral("Sets including"));
    Label4_ = makeLabel(this, "Label4", {});
    GridUp_ = new KeywordGrid(QStringLiteral("GridUp"), kColumnTwips, this);
    GridUp_->setToolTip(gridTip());
    GridUp_->setAcceptsKeywords(true);

    SelUpDown_ = makeLabel(this, "SelUpDown", {});
    SelUpDown_->setAlignment(Qt::AlignCenter);
    SelUpDown_->setFrameShape(QFrame::StyledPanel);
    SelUpDown_->setFrameShadow(QFrame::Sunken);
    SelUpDown_->setMinimumHeight(twipsToPixels(300));
    QFont bold = SelUpDown_->font();
    bold.setBold(true);
    SelUpDown_->setFont(bold);

    Label3_ = makeLabel(this, "Label3", QStringLiteral("Sets included in"));
    Label5_ = makeLabel(this, "Label5", {});
    GridDown_ = new KeywordGrid(QStringLiteral("GridDown"), kColumnTwips, this);
    GridDown_->setToolTip(gridTip());
    GridDown_->setAcceptsKeywords(true);
    nameControls({{GridUp_, "Sets including"}, {GridDown_, "Sets included in"}});

    auto heading = [](QLabel* caption, QLabel* name) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(caption);
        row->addWidget(name, 1);
        return row;
    };
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(3);
    column->addLayout(heading(Label2_, Label4_));
    column->addWidget(GridUp_, 1);
    column->addWidget(SelUpDown_);
    column->addLayout(heading(Label3_, Label5_));
    column->addWidget(GridDown_, 1);

    connect(GridUp_, &KeywordGrid::cellClicked, this,
            [this](int row, int) { gridClicked(true, row); });
    connect(GridDown_, &KeywordGrid::cellClicked, this,
            [this](int row, int) { gridClicked(false, row); });
    auto makeCentralFrom = [this](KeywordGrid* grid, int row) {
        const QString name = grid->nameAt(row);
        if (name.isEmpty()) return;
        SelUpDown_->setText(name);
        refreshCentral();
    };
    connect(GridUp_, &KeywordGrid::cellDoubleClicked, this,
            [this, makeCentralFrom](int row, int) { makeCentralFrom(GridUp_, row); });
    connect(GridDown_, &KeywordGrid::cellDoubleClicked, this,
            [this, makeCentralFrom](int row, int) { makeCentralFrom(GridDown_, row); });
    connect(GridUp_, &KeywordGrid::keywordDropped, this, &CentralSetBrowser::dropOnUp);
    connect(GridDown_, &KeywordGrid::keywordDropped, this, &CentralSetBrowser::dropOnDown);
}

void CentralSetBrowser::bindButtons(const LinkButtons& buttons) {
    buttons_ = buttons;
    const std::pair<QAbstractButton*, void (CentralSetBrowser::*)()> commands[] = {
        {buttons.cmdAddFromListUp, &CentralSetBrowser::addFromListUp},
        {buttons.cmdFindIfLinks, &CentralSetBrowser::findIfLinks},
        {buttons.cmdAddFromListDown, &CentralSetBrowser::addFromListDown},
        {buttons.cmdSelFromUp, &CentralSetBrowser::selFromUp},
        {buttons.cmdSelFromDown, &CentralSetBrowser::selFromDown},
        {buttons.cmdSuppFromListUp, &CentralSetBrowser::suppFromListUp},
        {buttons.cmdSuppFromListDown, &CentralSetBrowser::suppFromListDown},
    };
    // Picture buttons: their tips change with the keywords, their names stay.
    nameControls({{buttons.cmdAddFromListUp, "Add to the Supersets"},
                  {buttons.cmdFindIfLinks, "Show Subsets and Supersets"},
                  {buttons.cmdAddFromListDown, "Add to the Subsets"},
                  {buttons.cmdSelFromUp, "Superset as central Set"},
                  {buttons.cmdSelFromDown, "Subset as central Set"},
                  {buttons.cmdSuppFromListUp, "Discard from the Supersets"},
                  {buttons.cmdSuppFromListDown, "Discard from the Subsets"},
                  {buttons.cmdReverseSearch, "Reverse search"}});
    for (const auto& [button, command] : commands) {
        if (!button) continue;
        button->setEnabled(true);
        connect(button, &QAbstractButton::clicked, this, command);
    }
}

QString CentralSetBrowser::central() const {
    return SelUpDown_->text();
}

void CentralSetBrowser::setTip(QAbstractButton* b, const QString& tip) {
    if (b) b->setToolTip(tip);
}

void CentralSetBrowser::fillGrids() {
    const QString c = central();
    upNames_.clear();
    downNames_.clear();
    if (ctx_.base.isOpen() && !c.isEmpty()) {
        const bool read = runGuarded(ctx_, [&] {
            downNames_ = keywordSubsets(ctx_, c);
            upNames_ = keywordSupersets(ctx_, c);
        });
        if (!read) {
            upNames_.clear();
            downNames_.clear();
        }
    }
    GridDown_->setNames(downNames_);
    GridUp_->setNames(upNames_);
}

void CentralSetBrowser::refreshCentral() {
    Label4_->setText(central());
    Label5_->setText(central());
    fillGrids();
}

void CentralSetBrowser::followLinks() {
    const QString c = central();
    if (c.isEmpty() || !ctx_.base.isOpen()) return;
    try {
        if (keywordSubsets(ctx_, c) == downNames_ && keywordSupersets(ctx_, c) == upNames_) return;
    } catch (const store::StoreError&) {
        return;
    }
    fillGrids();
}

void CentralSetBrowser::makeCentral(const QString& name) {
    SelUpDown_->setText(name);
    Label5_->setText(name);
    Label4_->setText(name);
    // The keyword to add and the central Set are one name until KWSel changes.
    setTip(buttons_.cmdAddFromListUp, QStringLiteral("  Add ") + name + QStringLiteral(" to ") +
                                          name + QStringLiteral(" Supersets  "));
    setTip(buttons_.cmdAddFromListDown, QStringLiteral("   Add ") + name + QStringLiteral(" to ") +
                                            name + QStringLiteral(" Subsets  "));
    fillGrids();
}

void CentralSetBrowser::clear() {
    SelUpDown_->clear();
    refreshCentral();
}

void CentralSetBrowser::keywordSelected(const QString& keyword) {
    const QString c = central();
    setTip(buttons_.cmdFindIfLinks,
           QStringLiteral("  Show ") + keyword + QStringLiteral(" Subsets and Supersets  "));
    setTip(buttons_.cmdAddFromListUp, QStringLiteral("  Add ") + keyword + QStringLiteral(" to ") +
                                          c + QStringLiteral(" Supersets  "));
    setTip(buttons_.cmdAddFromListDown, QStringLiteral("   Add ") + keyword +
                                            QStringLiteral(" to ") + c +
                                            QStringLiteral(" Subsets  "));
}

void CentralSetBrowser::gridClicked(bool up, int row) {
    KeywordGrid* grid = up ? GridUp_ : GridDown_;
    grid->selectRow(row);
    const QString x = grid->nameAt(row);
    const QString c = central();
    setTip(up ? buttons_.cmdSelFromUp : buttons_.cmdSelFromDown,
           QStringLiteral("  Selects  ' ") + x + QStringLiteral(" '  as central Set  "));
    setTip(up ? buttons_.cmdSuppFromListUp : buttons_.cmdSuppFromListDown,
           QStringLiteral(" Discards  ' ") + x + QStringLiteral(" ' from  ' ") + c +
               (up ? QStringLiteral(" ' Supersets  ") : QStringLiteral(" ' Subsets  ")));
}

void CentralSetBrowser::tell(const KWResult& r) {
    switch (r.status) {
    case KWStatus::Done:
        return;
    case KWStatus::ReadOnly:
        ctx_.prompter.message(readOnlyMessage(), Buttons::Ok, Icon::Exclamation);
        return;
    case KWStatus::Duplicate:
    case KWStatus::NotFound:
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Information);
        return;
    default:
        ctx_.prompter.message(r.message.isEmpty() ? r.store.message() : r.message, Buttons::Ok,
                              Icon::Exclamation);
        return;
    }
}

// A link needs two names: without a central Set, or without a keyword to link, the link
// commands change nothing. The commands on a grid act on the row the user selected there,
// never on a row that is merely current after a refill.

void CentralSetBrowser::addFromListDown() {
    const QString k = listName_ ? listName_() : QString();
    const QString c = central();
    if (!ctx_.base.isOpen() || k.isEmpty() || c.isEmpty()) return;
    tell(linkKeywords(ctx_, k, c));
    refreshCentral();
}

void CentralSetBrowser::addFromListUp() {
    const QString k = listName_ ? listName_() : QString();
    const QString c = central();
    if (!ctx_.base.isOpen() || k.isEmpty() || c.isEmpty()) return;
    tell(linkKeywords(ctx_, c, k));
    refreshCentral();
}

void CentralSetBrowser::dropOnDown(const QString& dragged) {
    const QString c = central();
    if (!ctx_.base.isOpen() || dragged.isEmpty() || c.isEmpty()) return;
    tell(linkKeywords(ctx_, dragged, c));
    makeCentral(c);
}

void CentralSetBrowser::dropOnUp(const QString& dragged) {
    const QString c = central();
    if (!ctx_.base.isOpen() || dragged.isEmpty() || c.isEmpty()) return;
    tell(linkKeywords(ctx_, c, dragged));
    makeCentral(c);
}

void CentralSetBrowser::suppFromListDown() {
    const QString lower = GridDown_->selectedName();
    const QString c = central();
    if (!ctx_.base.isOpen() || lower.isEmpty() || c.isEmpty()) return;
    tell(unlinkKeywords(ctx_, lower, c, LinkSide::FromUpper));
    refreshCentral();
}

void CentralSetBrowser::suppFromListUp() {
    const QString upper = GridUp_->selectedName();
    const QString c = central();
    if (!ctx_.base.isOpen() || upper.isEmpty() || c.isEmpty()) return;
    tell(unlinkKeywords(ctx_, c, upper, LinkSide::FromLower));
    refreshCentral();
}

void CentralSetBrowser::selFromUp() {
    const QString name = GridUp_->selectedName();
    if (name.isEmpty()) return;
    SelUpDown_->setText(name);
    refreshCentral();
}

void CentralSetBrowser::selFromDown() {
    const QString name = GridDown_->selectedName();
    if (name.isEmpty()) return;
    SelUpDown_->setText(name);
    refreshCentral();
}

void CentralSetBrowser::findIfLinks() {
    const QString k = listName_ ? listName_() : QString();
    if (k.isEmpty()) return;
    makeCentral(k);
}

} // namespace vlm::keywords
