#include "gui/keywords/levelbrowser.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/common/guarded.h"
#include "gui/keywords/keywordgrid.h"

#include <QLineEdit>
#include <QScrollBar>

namespace vlm::keywords {

namespace {

constexpr int kSelectionTwips = 300;
constexpr int kMarginTwips = 60;

} // namespace

LevelBrowser::LevelBrowser(Session& ctx, Direction direction, QWidget* parent)
    : QWidget(parent), ctx_(ctx), direction_(direction) {
    const bool down = direction == Direction::Down;
    setObjectName(down ? QStringLiteral("DownPanelContent") : QStringLiteral("UpPanelContent"));
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName(down ? QStringLiteral("DownVScroll") : QStringLiteral("UpVScroll"));
    scroll_->setRange(0, 0);
    scroll_->setPageStep(1);
    connect(scroll_, &QScrollBar::valueChanged, this, &LevelBrowser::place);
    setMinimumWidth(twipsToPixels(1200));
    addLevel({});
    place();
}

KeywordGrid* LevelBrowser::grid(int level) const {
    return level >= 0 && level < levelCount() ? levels_[size_t(level)].grid : nullptr;
}

QLineEdit* LevelBrowser::selection(int level) const {
    return level >= 0 && level < levelCount() ? levels_[size_t(level)].selection : nullptr;
}

QStringList LevelBrowser::names(int level) const {
    return level >= 0 && level < levelCount() ? levels_[size_t(level)].names : QStringList();
}

int LevelBrowser::slotOf(int level) const {
    return level - scroll_->value();
}

QString LevelBrowser::lastSelected() const {
    const QLineEdit* box = selection(clicked_);
    return box ? box->text() : QString();
}

bool LevelBrowser::hasLinks() const {
    if (!ctx_.base.isOpen()) return false;
    return runGuarded(ctx_, [&] { return ctx_.rs().GROUP2->recordCount() > 0; }).value_or(false);
}

QStringList LevelBrowser::walk(const QString& name) {
    if (name.isEmpty() || !ctx_.base.isOpen()) return {};
    return runGuarded(ctx_,
                      [&] {
                          return direction_ == Direction::Down ? keywordSubsets(ctx_, name)
                                                               : keywordSupersets(ctx_, name);
                      })
        .value_or(QStringList());
}

void LevelBrowser::addLevel(const QStringList& names) {
    const bool down = direction_ == Direction::Down;
    const int index = levelCount();
    Level level;
    level.names = names;
    level.grid = new KeywordGrid(down ? QStringLiteral("DownGrid") : QStringLiteral("UpGrid"),
                                 kColumnTwips, this);
    level.grid->setProperty("index", index);
    level.grid->setNames(names);
    level.selection = new QLineEdit(this);
    level.selection->setObjectName(down ? QStringLiteral("DownGridSel")
                                        : QStringLiteral("UpGridSel"));
    level.selection->setProperty("index", index);
    level.selection->setReadOnly(true);
    level.selection->setFocusPolicy(Qt::ClickFocus);
    const QString levelName =
        (down ? QStringLiteral("Subsets, level ") : QStringLiteral("Supersets, level ")) +
        QString::number(index + 1);
    level.grid->setAccessibleName(levelName);
    level.selection->setAccessibleName(levelName + QStringLiteral(", keyword chosen"));

    // Levels are added and removed at the end only: a level keeps its index for life.
    connect(level.grid, &KeywordGrid::cellClicked, this,
            [this, index](int row, int) { clickLevel(index, row); });
    connect(level.grid, &KeywordGrid::cellDoubleClicked, this, [this, index](int row, int) {
        const QString name = grid(index)->nameAt(row);
        if (!name.isEmpty()) emit keywordDoubleClicked(name);
    });
    connect(level.grid, &KeywordGrid::rightPressed, this,
            [this] { emit rightPressed(lastSelected()); });
    // Tab reaches a new level right after the one before it, as it stands beside it.
    if (index > 0) setTabOrder(grid(index - 1), level.grid);
    levels_.push_back(level);
    level.grid->show();
    level.selection->show();
}

void LevelBrowser::removeLevelsFrom(int first) {
    while (levelCount() > std::max(first, 0)) {
        Level& last = levels_.back();
        delete last.grid;
        delete last.selection;
        levels_.pop_back();
    }
}

QStringList LevelBrowser::roots() {
    if (!ctx_.base.isOpen()) return {};
    return runGuarded(ctx_, [&] { return keywordRoots(ctx_); }).value_or(QStringList());
}

void LevelBrowser::refreshRoots() {
    if (direction_ != Direction::Down || levels_.empty()) return;
    QStringList now = roots();
    Level& zero = levels_.front();
    if (now == zero.names) return;
    const QString selected = zero.selection->text();
    const qsizetype row = selected.isEmpty() ? -1 : now.indexOf(selected);
    if (row < 0) {
        showRoots();
        return;
    }
    const int top = zero.grid->topRow();
    zero.names = std::move(now);
    zero.grid->setNames(zero.names);
    zero.grid->selectRow(int(row));
    zero.grid->scrollRowToTop(std::min(top, zero.grid->rowCount() - 1));
}

void LevelBrowser::showRoots() {
    removeLevelsFrom(0);
    addLevel(roots());
    clicked_ = 0;
    scroll_->setRange(0, 0);
    scroll_->setValue(0);
    place();
}

void LevelBrowser::buildFrom(const LevelBrowser& down) {
    if (!hasLinks()) return;
    const int from = std::clamp(down.clickedLevel(), 0, down.deepestLevel());
    const Level& source = down.levels_[size_t(from)];
    removeLevelsFrom(0);
    addLevel(source.names);
    Level& zero = levels_.front();
    const int row = source.grid->currentRow();
    if (row >= 0 && source.grid->selectionModel()->isRowSelected(row, QModelIndex()))
        zero.grid->selectRow(row);
    else
        zero.grid->setCurrentRowOnly(row);
    zero.selection->setText(source.selection->text());
    addLevel(walk(zero.selection->text()));
    clicked_ = 1;
    scroll_->setRange(0, 0);
    scroll_->setValue(0);
    place();
}

void LevelBrowser::clickLevel(int level, int row) {
    if (level < 0 || level >= levelCount()) return;
    if (!hasLinks()) return;
    clicked_ = level;
    const QString name = grid(level)->nameAt(row);
    levels_[size_t(level)].selection->setText(name);
    emit keywordSelected(name);
    if (name.isEmpty()) return;

    removeLevelsFrom(level + 1);
    addLevel(walk(name));
    // The new level shows in the last slot at most: when the clicked level sat there, every
    // level moves up one slot.
    const int top = std::max(scroll_->value(), deepestLevel() - (kSlots - 1));
    scroll_->setRange(0, top);
    scroll_->setValue(top);
    place();
    grid(level)->selectRow(row);
    emit keywordClicked(name);
}

void LevelBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place();
}

void LevelBrowser::place() {
    const int barWidth = scroll_->sizeHint().width();
    scroll_->setGeometry(width() - barWidth, 0, barWidth, height());
    const int margin = twipsToPixels(kMarginTwips);
    const int slot = twipsToPixels(kSlotTwips);
    const int offset = twipsToPixels(kTopTwips);
    const int boxHeight = twipsToPixels(kSelectionTwips);
    const int gridHeight = slot - offset - boxHeight - margin;
    const int gridWidth =
        std::max(std::min(twipsToPixels(kColumnTwips), width() - barWidth - 2 * margin), 1);
    for (int i = 0; i < levelCount(); ++i) {
        const Level& l = levels_[size_t(i)];
        const int s = slotOf(i);
        const bool shown = s >= 0 && s < kSlots;
        const int top = s * slot + offset;
        l.grid->setGeometry(margin, top, gridWidth, gridHeight);
        l.selection->setGeometry(margin, top + gridHeight + 1, gridWidth, boxHeight);
        l.grid->setVisible(shown);
        l.selection->setVisible(shown);
    }
}

} // namespace vlm::keywords
