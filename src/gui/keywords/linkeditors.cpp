#include "gui/keywords/linkeditors.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace vlm::keywords {

namespace {

// Window widths and the place of the controls, in twips.
constexpr int kWindowWidth = 7750;
constexpr int kLinksKeyHeight = 4110;
constexpr int kDownUpHeight = 3400;
constexpr int kMargin = 120;
constexpr int kColumnInset = 60;
constexpr int kColumnWidth = LinkColumns::kSlotTwips - 120;
constexpr int kBoxHeight = 315;
constexpr int kScrollHeight = 255;
constexpr int kMinPanelHeight = 1200;

QString toComeText() {
    return QStringLiteral("To come...");
}

} // namespace

// --- LinkGrid ---

LinkGrid::LinkGrid(QWidget* parent) : TextTableView(1, parent) {
    setObjectName(QStringLiteral("Grid1"));
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTakesDrops(false);
    connect(this, &TextTableView::cellClicked, this, [this](int row, int) { emit rowChosen(row); });
}

void LinkGrid::setTakesDrops(bool takes) {
    takesDrops_ = takes;
    setAcceptDrops(takes);
    viewport()->setAcceptDrops(takes);
}

void LinkGrid::fill(const NameList& names, int selectedRow) {
    const QSignalBlocker block(this);
    setUpdatesEnabled(false);
    // An empty column shows one empty row, which is no name and cannot be selected.
    textModel()->setColumnFlags(0, names.isEmpty() ? Qt::ItemIsEnabled
                                                   : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setRows(oneColumnRows(names));
    clearSelection();
    if (selectedRow >= 0 && selectedRow < rowCount()) {
        setCurrentCell(selectedRow, 0);
        scrollTo(model()->index(selectedRow, 0));
    } else {
        setCurrentCell(-1, -1);
        scrollToTop();
    }
    setUpdatesEnabled(true);
}

void LinkGrid::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        e->accept();
        emit rightPressed();
        return;
    }
    TextTableView::mousePressEvent(e);
}

void LinkGrid::keyPressEvent(QKeyEvent* e) {
    const int before = currentRow();
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (before >= 0) {
            e->accept();
            emit rowChosen(before);
            return;
        }
        break;
    default:
        break;
    }
    TextTableView::keyPressEvent(e);
    // Moving through a column with the keyboard opens the next one as a click does.
    if (currentRow() != before && currentRow() >= 0) emit rowChosen(currentRow());
}

void LinkGrid::dragEnterEvent(QDragEnterEvent* e) {
    if (takesDrops_ && keywordFromDrop(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void LinkGrid::dragMoveEvent(QDragMoveEvent* e) {
    if (takesDrops_ && keywordFromDrop(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void LinkGrid::dropEvent(QDropEvent* e) {
    const std::optional<QString> name = takesDrops_ ? keywordFromDrop(e->mimeData()) : std::nullopt;
    if (!name) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    emit keywordDropped(*name);
}

// --- LinkSelBox ---

LinkSelBox::LinkSelBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("Grid1Sel"));
    setReadOnly(true);
    setAcceptDrops(false);
    setToolTip(QStringLiteral("Drag this keyword onto a column"));
}

void LinkSelBox::mousePressEvent(QMouseEvent* e) {
    pressed_ = e->button() == Qt::LeftButton;
    pressAt_ = e->position().toPoint();
    QLineEdit::mousePressEvent(e);
}

void LinkSelBox::mouseMoveEvent(QMouseEvent* e) {
    if (pressed_ && (e->buttons() & Qt::LeftButton) && !text().isEmpty() &&
        (e->position().toPoint() - pressAt_).manhattanLength() >=
            QApplication::startDragDistance()) {
        pressed_ = false;
        auto* drag = new QDrag(this);
        drag->setMimeData(keywordDragData(text()));
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        return;
    }
    QLineEdit::mouseMoveEvent(e);
}

// --- LinkColumnsWindow ---

LinkColumnsWindow::LinkColumnsWindow(Session& ctx, LinkColumns::Walk walk, int heightTwips,
                                     QWidget* parent)
    : QWidget(parent), ctx_(ctx), model_(std::move(walk)) {
    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(twipsRect(kMargin, kMargin, 3000, kBoxHeight));
    combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    panel3d1_ = new QFrame(this);
    panel3d1_->setObjectName(QStringLiteral("Panel3D1"));
    panel3d1_->setFrameShape(QFrame::StyledPanel);
    panel3d1_->setFrameShadow(QFrame::Sunken);

    hscroll1_ = new QScrollBar(Qt::Horizontal, this);
    hscroll1_->setObjectName(QStringLiteral("HScroll1"));
    hscroll1_->setSingleStep(1);
    hscroll1_->setPageStep(LinkColumns::kSlots);
    connect(hscroll1_, &QScrollBar::valueChanged, this, &LinkColumnsWindow::onScroll);

    resize(twipsSize(kWindowWidth, heightTwips));
}

bool LinkColumnsWindow::baseOpen() const {
    return ctx_.base.isOpen() && ctx_.base.shared;
}

void LinkColumnsWindow::clickName(int k, int row) {
    if (!model_.click(k, row)) return;
    showColumns(k + 1);
}

void LinkColumnsWindow::showColumns(int from) {
    const int n = model_.count();
    while (int(columns_.size()) > n) {
        // Deleted later: the removal may come from an event of the column itself.
        ColumnWidgets c = columns_.back();
        columns_.pop_back();
        c.grid->hide();
        c.box->hide();
        c.grid->deleteLater();
        c.box->deleteLater();
    }
    while (int(columns_.size()) < n) {
        const int k = int(columns_.size());
        ColumnWidgets c;
        c.box = new LinkSelBox(panel3d1_);
        c.box->setProperty("index", k);
        c.grid = new LinkGrid(panel3d1_);
        c.grid->setProperty("index", k);
        const QString column = QStringLiteral("Keywords, column ") + QString::number(k + 1);
        c.grid->setAccessibleName(column);
        c.box->setAccessibleName(column + QStringLiteral(", keyword chosen"));
        connect(c.grid, &LinkGrid::rowChosen, this, [this, k](int row) { clickName(k, row); });
        connect(c.grid, &LinkGrid::rightPressed, this, &LinkColumnsWindow::toCome);
        columnCreated(c.grid, k);
        columns_.push_back(c);
        from = std::min(from, k);
    }
    from = std::max(from, 0);
    for (int k = from; k < n; ++k)
        grid(k)->fill(model_.names(k), model_.selectedRow(k));
    // The column before the ones filled anew shows its selected row (a click may come from
    // the keyboard or from the program).
    if (from > 0 && from - 1 < n) {
        LinkGrid* g = grid(from - 1);
        const int row = model_.selectedRow(from - 1);
        if (row >= 0 && row < g->rowCount() && g->currentRow() != row) {
            const QSignalBlocker block(g);
            g->setCurrentCell(row, 0);
        }
    }
    for (int k = 0; k < n; ++k)
        selBox(k)->setText(model_.selected(k));

    combo1_->clear();
    combo1_->addItems(model_.path());
    combo1_->setCurrentIndex(combo1_->count() - 1);
    placeColumns();
}

void LinkColumnsWindow::placeColumns() {
    const int panelWidth = twipsToPixels(model_.panelSlots() * LinkColumns::kSlotTwips + kMargin);
    const int top = twipsToPixels(panelTop());
    const int panelHeight =
        std::max(twipsToPixels(kMinPanelHeight),
                 height() - top - twipsToPixels(kScrollHeight) - twipsToPixels(kMargin));
    panel3d1_->setGeometry(twipsToPixels(kMargin), top, panelWidth, panelHeight);
    {
        const QSignalBlocker block(hscroll1_);
        hscroll1_->setGeometry(twipsToPixels(kMargin), top + panelHeight, panelWidth,
                               twipsToPixels(kScrollHeight));
        hscroll1_->setRange(0, model_.scrollMax());
        hscroll1_->setValue(model_.first());
        hscroll1_->setEnabled(model_.scrollMax() > 0);
    }
    const int gridTop = twipsToPixels(kColumnInset + kBoxHeight + kMargin);
    const int gridHeight = std::max(0, panelHeight - gridTop - twipsToPixels(kColumnInset));
    for (int k = 0; k < int(columns_.size()); ++k) {
        const int left = twipsToPixels(kColumnInset + model_.slot(k) * LinkColumns::kSlotTwips);
        ColumnWidgets& c = columns_[size_t(k)];
        c.box->setGeometry(left, twipsToPixels(kColumnInset), twipsToPixels(kColumnWidth),
                           twipsToPixels(kBoxHeight));
        c.grid->setGeometry(left, gridTop, twipsToPixels(kColumnWidth), gridHeight);
        const bool shown = model_.inView(k);
        c.box->setVisible(shown);
        c.grid->setVisible(shown);
    }
}

void LinkColumnsWindow::onScroll(int value) {
    model_.scrollTo(value);
    placeColumns();
}

void LinkColumnsWindow::toCome() {
    ctx_.prompter.message(toComeText(), Buttons::Ok, Icon::None);
}

void LinkColumnsWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    placeColumns();
}

void LinkColumnsWindow::place(Session& ctx, QWidget* w, int widthTwips, int heightTwips) {
    w->setAttribute(Qt::WA_DeleteOnClose);
    ChildPlacement placement;
    placement.size = twipsSize(widthTwips, heightTwips);
    placement.position = &linkEditorPlace;
    placement.activate = true;
    showChildWindow(ctx, w, placement);
}

// The walks of the windows read nothing when no base is open; a store that fails mid-walk
// says so and leaves the column empty.
static LinkColumns::Walk guardedWalk(Session& ctx, NameList (*walk)(Session&, const QString&)) {
    return [&ctx, walk](const QString& name) -> NameList {
        if (!ctx.base.isOpen() || !ctx.base.shared) return {};
        return runGuarded(ctx, [&] { return walk(ctx, name); }).value_or(NameList());
    };
}

// --- StructureEditor ---

StructureEditor::StructureEditor(Session& ctx, QWidget* parent)
    : LinkColumnsWindow(ctx, guardedWalk(ctx, &keywordSubsets), kLinksKeyHeight, parent) {
    setObjectName(QStringLiteral("fLinksKey"));
    setWindowTitle(QStringLiteral("Top-Down Links"));

    command1_ = new QPushButton(QStringLiteral("New List"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twipsRect(3300, kMargin, 1300, 375));
    command2_ = new QPushButton(QStringLiteral("UpLinks"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(twipsRect(4720, kMargin, 1300, 375));
    cSupp_ = new QPushButton(QStringLiteral("Supp"), this);
    cSupp_->setObjectName(QStringLiteral("cSupp"));
    cSupp_->setGeometry(twipsRect(6140, kMargin, 1300, 375));
    connect(command1_, &QPushButton::clicked, this, &StructureEditor::newList);
    connect(command2_, &QPushButton::clicked, this, &StructureEditor::upLinks);
    connect(cSupp_, &QPushButton::clicked, this, &StructureEditor::supp);

    NameList roots;
    if (baseOpen()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        roots = runGuarded(ctx_, [&] { return keywordRoots(ctx_); }).value_or(NameList());
        QApplication::restoreOverrideCursor();
    }
    model_.reset(std::move(roots));
    showColumns(0);
}

StructureEditor* StructureEditor::open(Session& ctx) {
    auto* w = new StructureEditor(ctx);
    place(ctx, w, kWindowWidth, kLinksKeyHeight);
    return w;
}

void StructureEditor::columnCreated(LinkGrid* g, int k) {
    g->setTakesDrops(true);
    connect(g, &LinkGrid::keywordDropped, this,
            [this, k](const QString& name) { dropOnColumn(k, name); });
}

void StructureEditor::reopen(int k) {
    if (model_.reopenAfter(k - 1)) showColumns(k);
}

void StructureEditor::tellRefusal(const KWResult& r, bool sayNotFound) {
    switch (r.status) {
    case KWStatus::ReadOnly:
        ctx_.prompter.message(readOnlyMessage(), Buttons::Ok, Icon::Exclamation);
        break;
    case KWStatus::NotFound:
        // The column no longer matched the table; it has been read anew.
        if (sayNotFound) ctx_.prompter.message(r.message, Buttons::Ok, Icon::Information);
        break;
    default:
        // A link dropped again, and any other refusal, end the command without a word.
        break;
    }
}

void StructureEditor::dropOnColumn(int k, const QString& name) {
    if (!baseOpen() || k < 0 || k >= model_.count()) return;
    if (k == 0) {
        ctx_.prompter.message(rootRuleMessage(), Buttons::Ok, Icon::Information);
        return;
    }
    const QString upper = model_.selected(k - 1);
    if (upper.isEmpty() || name.isEmpty()) return;
    const KWResult r = linkKeywords(ctx_, name, upper);
    reopen(k);
    tellRefusal(r, false);
}

void StructureEditor::supp() {
    if (!baseOpen()) return;
    const int k = model_.current();
    if (k <= 0 || k >= model_.count()) return;
    const QString lower = model_.selected(k);
    if (lower.isEmpty() || ctx_.rs().GROUP2->recordCount() == 0) return;
    const KWResult r = unlinkKeywords(ctx_, lower, model_.selected(k - 1), LinkSide::FromUpper);
    reopen(k);
    tellRefusal(r, true);
}

void StructureEditor::upLinks() {
    const int k = model_.current();
    ctx_.LinksKeyword = k < model_.count() ? model_.selected(k) : QString();
    UpLinksWindow::open(ctx_);
}

void StructureEditor::newList() {
    StructureEditor::open(ctx_);
}

// --- UpLinksWindow ---

UpLinksWindow::UpLinksWindow(Session& ctx, const QString& keyword, QWidget* parent)
    : LinkColumnsWindow(ctx, guardedWalk(ctx, &keywordSupersets), kDownUpHeight, parent) {
    setObjectName(QStringLiteral("fDownUpLinks"));
    setWindowTitle(QStringLiteral("Down-Up Links"));
    setAcceptDrops(true);
    restartFrom(keyword);
}

UpLinksWindow* UpLinksWindow::open(Session& ctx) {
    if (auto* old = qobject_cast<QWidget*>(ctx.DownUpLinksWindow.data())) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(old->parentWidget()))
            sub->close();
        else
            old->close();
    }
    auto* w = new UpLinksWindow(ctx, ctx.LinksKeyword);
    ctx.DownUpLinksWindow = w;
    place(ctx, w, kWindowWidth, kDownUpHeight);
    return w;
}

void UpLinksWindow::restartFrom(const QString& keyword) {
    model_.resetOn(keyword);
    showColumns(0);
}

void UpLinksWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (keywordFromDrop(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void UpLinksWindow::dragMoveEvent(QDragMoveEvent* e) {
    if (keywordFromDrop(e->mimeData()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void UpLinksWindow::dropEvent(QDropEvent* e) {
    const std::optional<QString> name = keywordFromDrop(e->mimeData());
    if (!name) {
        e->ignore();
        return;
    }
    e->acceptProposedAction();
    restartFrom(*name);
}

} // namespace vlm::keywords
