#include "gui/keywords/selectiondialog.h"

#include "core/common/twips.h"
#include "core/keywords/cardkeywords.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/texttableview.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHideEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>

namespace vlm::keywords {

namespace {

constexpr int kColumnTwips = 2000;
// A grid shows its 2000-twip column and a vertical scroll bar.
constexpr int kGridWidth = 2400;
constexpr int kFrameWidth = kGridWidth + 240;
constexpr int kFrameHeight = 4080;
constexpr int kButtonWidth = 900;
constexpr int kButtonHeight = 375;

const char* const kButtonNames[] = {"KWNoteSelect", "KWCitAdd",   "KWBibAdd",  "KWnoteSel",
                                    "KWCitSel",     "KWBibSel",   "AuthorSel", "AuthorCit",
                                    "cBibAutSel",   "cNoteAutSel"};

bool attaches(SelectionDialog::Mode m) {
    return m == SelectionDialog::Mode::KWNoteSelect || m == SelectionDialog::Mode::KWCitAdd ||
           m == SelectionDialog::Mode::KWBibAdd;
}

bool listsByKeyword(SelectionDialog::Mode m) {
    return m == SelectionDialog::Mode::KWnoteSel || m == SelectionDialog::Mode::KWCitSel ||
           m == SelectionDialog::Mode::KWBibSel;
}

ListSource sourceOf(Session& ctx, SelectionDialog::Mode m) {
    switch (m) {
    case SelectionDialog::Mode::AuthorSel:
    case SelectionDialog::Mode::AuthorCit:
    case SelectionDialog::Mode::cBibAutSel:
        return referenceAuthorSource(ctx);
    case SelectionDialog::Mode::cNoteAutSel:
        return noteAuthorSource(ctx);
    default:
        return keywordSource(ctx);
    }
}

// The two one-column lists: no headers, whole rows chosen one at a time.
template <class Grid> Grid* setUpGrid(Grid* g, const QString& name) {
    g->setObjectName(name);
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->verticalHeader()->setMinimumSectionSize(1);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setColumnWidth(0, twipsToPixels(kColumnTwips));
    return g;
}

// The origin list can hold every name of the base: its rows live in a model.
TextTableView* makeOriginGrid(QWidget* parent) {
    auto* g = setUpGrid(new TextTableView(1, parent), QStringLiteral("cgList"));
    g->setRows({QStringList{QString()}});
    return g;
}

QTableWidget* makePickGrid(QWidget* parent) {
    auto* g = setUpGrid(new QTableWidget(1, 1, parent), QStringLiteral("cgSel"));
    g->setItem(0, 0, new QTableWidgetItem());
    return g;
}

void setRows(TextTableView* g, const QStringList& names) {
    g->setRows(oneColumnRows(names));
}

void setRows(QTableWidget* g, const QStringList& rows) {
    g->setRowCount(0);
    g->setRowCount(int(std::max<qsizetype>(rows.size(), 1)));
    for (int i = 0; i < g->rowCount(); ++i)
        g->setItem(i, 0, new QTableWidgetItem(i < rows.size() ? rows[i] : QString()));
}

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

SelectionDialog::SelectionDialog(Session& ctx, Mode mode, QWidget* parent)
    : QDialog(parent), ctx_(ctx), mode_(mode), source_(sourceOf(ctx, mode)), texts_(itemTexts()) {
    setObjectName(QStringLiteral("fMultSel"));
    setWindowTitle(QStringLiteral("MultSel"));
    setModal(false);
    buildUi();
    applyMode(true);
    fill();
}

SelectionDialog::~SelectionDialog() = default;

SelectionDialog* SelectionDialog::open(Session& ctx, Mode mode, QWidget* parent,
                                       const QString& caption, int leftTwips, int topTwips,
                                       const QString& cardNumber) {
    auto* w = new SelectionDialog(ctx, mode, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (!caption.isEmpty()) w->setWindowTitle(caption);
    w->setCardNumber(cardNumber);
    w->placeAt(leftTwips, topTwips);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

QString SelectionDialog::buttonName(Mode mode) {
    return QString::fromLatin1(kButtonNames[int(mode)]);
}

std::optional<SelectionDialog::Mode> SelectionDialog::modeNamed(const QString& button) {
    for (int i = 0; i < int(std::size(kButtonNames)); ++i)
        if (button == QLatin1String(kButtonNames[i])) return Mode(i);
    return std::nullopt;
}

void SelectionDialog::buildUi() {
    // Laid out in twips, as the window was designed; each frame places its own controls.
    frame1_ = new QGroupBox(QStringLiteral("Origin List"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twipsRect(120, 60, kFrameWidth, kFrameHeight));
    text1_ = new QLineEdit(frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(twipsRect(120, 300, kGridWidth, 330));
    cgList_ = makeOriginGrid(frame1_);
    cgList_->setGeometry(twipsRect(120, 720, kGridWidth, 2700));
    cListAdd_ = makeButton(QStringLiteral("cListAdd"), QStringLiteral("Add"), frame1_);
    cListAdd_->setGeometry(twipsRect(120, 3540, kButtonWidth, kButtonHeight));
    cListSupp_ = makeButton(QStringLiteral("cListSupp"), QStringLiteral("Supp"), frame1_);
    cListSupp_->setGeometry(
        twipsRect(120 + kGridWidth - kButtonWidth, 3540, kButtonWidth, kButtonHeight));
    // Kept for the word lists that will make a word a keyword; it does nothing yet, so it
    // is shown disabled.
    command3_ = makeButton(QStringLiteral("Command3"), QString(), frame1_);
    command3_->setToolTip(QStringLiteral("Makes the selected Word a Keyword"));
    command3_->setEnabled(false);
    command3_->setGeometry(twipsRect(120 + kButtonWidth + 120, 3540,
                                     kGridWidth - 2 * kButtonWidth - 240, kButtonHeight));

    frame2_ = new QGroupBox(QStringLiteral("Selection List"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setGeometry(twipsRect(120 + kFrameWidth + 120, 60, kFrameWidth, kFrameHeight));
    cgSel_ = makePickGrid(frame2_);
    cgSel_->setGeometry(twipsRect(120, 300, kGridWidth, 1800));
    cSelSupp_ = makeButton(QStringLiteral("cSelSupp"), QStringLiteral("Supp"), frame2_);
    cSelSupp_->setGeometry(
        twipsRect(120 + kGridWidth - kButtonWidth, kSelectTop, kButtonWidth, kButtonHeight));
    for (const char* name : kButtonNames) {
        QPushButton* b = makeButton(QString::fromLatin1(name), QStringLiteral("Select"), frame2_);
        b->setGeometry(twipsRect(kSelectLeft, kSelectTop, kButtonWidth, kButtonHeight));
        b->setVisible(false);
        b->setEnabled(false);
        selectButtons_.push_back(b);
        connect(b, &QPushButton::clicked, this, &SelectionDialog::onSelect);
    }

    // The keyword lists' choices, below the Select button.
    checkSubsets_ = new QCheckBox(QStringLiteral("with Subsets"), frame2_);
    checkSubsets_->setObjectName(QStringLiteral("CheckSubsets"));
    checkSubsets_->setGeometry(twipsRect(120, 2700, kGridWidth, 300));
    checkSubsets_->setChecked(ctx_.listWithSubsets);
    connect(checkSubsets_, &QCheckBox::toggled, this,
            [this](bool on) { ctx_.listWithSubsets = on; });
    optionAnyOf_ = new QRadioButton(QStringLiteral("any of them"), frame2_);
    optionAnyOf_->setObjectName(QStringLiteral("OptionAnyOf"));
    optionAnyOf_->setGeometry(twipsRect(120, 3060, kGridWidth / 2, 300));
    optionAnyOf_->setChecked(true);
    optionAllOf_ = new QRadioButton(QStringLiteral("all of them"), frame2_);
    optionAllOf_->setObjectName(QStringLiteral("OptionAllOf"));
    optionAllOf_->setGeometry(twipsRect(120 + kGridWidth / 2, 3060, kGridWidth / 2, 300));

    setFixedSize(twipsSize(kFrameWidth * 2 + 360, kFrameHeight + 180));
    nameControls(
        {{text1_, "Name to find or add"}, {cgList_, "Origin List"}, {cgSel_, "Selection List"}});
    // Tab goes left to right along the bottom row: the Select button, then Supp.
    setTabOrder(selectButtons_.last(), cSelSupp_);
    // The keyboard picks as a click does.
    pickOnKeys(cgList_, [this](int row) { onOriginClicked(row); });
    pickOnKeys(cgSel_, [this](int row) { onPickClicked(row); });

    connect(text1_, &QLineEdit::textEdited, this, &SelectionDialog::onText1Edited);
    connect(text1_, &QLineEdit::returnPressed, this, &SelectionDialog::onText1Return);
    connect(cgList_, &TextTableView::cellClicked, this,
            [this](int row, int) { onOriginClicked(row); });
    connect(cgList_, &TextTableView::cellDoubleClicked, this,
            [this](int row, int) { onOriginDoubleClicked(row); });
    connect(cgSel_, &QTableWidget::cellClicked, this, [this](int row, int) { onPickClicked(row); });
    connect(cListAdd_, &QPushButton::clicked, this, &SelectionDialog::onListAdd);
    connect(cListSupp_, &QPushButton::clicked, this, &SelectionDialog::onListSupp);
    connect(cSelSupp_, &QPushButton::clicked, this, &SelectionDialog::onSelSupp);
}

QPushButton* SelectionDialog::selectButton() const {
    return selectButtons_[int(mode_)];
}

void SelectionDialog::placeSelectButton(int leftTwips, int topTwips) {
    QPushButton* b = selectButton();
    b->move(twipsPoint(leftTwips, topTwips));
}

void SelectionDialog::setSource(const ListSource& source) {
    source_ = source;
    fill();
}

void SelectionDialog::placeAt(int leftTwips, int topTwips) {
    QPoint origin;
    if (QWidget* p = parentWidget()) origin = p->window()->frameGeometry().topLeft();
    move(origin + twipsPoint(leftTwips, topTwips));
}

void SelectionDialog::fill() {
    if (!ctx_.base.isOpen()) return;
    const QStringList rows = listFill(source_);
    // An empty table leaves the list as it is.
    if (rows.isEmpty()) return;
    showOrigin(rows, 0);
}

void SelectionDialog::showOrigin(const QStringList& rows, int current) {
    origin_ = rows;
    setRows(cgList_, rows);
    if (current >= 0 && current < cgList_->rowCount()) cgList_->setCurrentCell(current, 0);
}

void SelectionDialog::selectOriginRow(int row) {
    if (row < 0 || row >= cgList_->rowCount()) return;
    cgList_->setCurrentCell(row, 0);
}

void SelectionDialog::setOriginTop(int row) {
    cgList_->verticalScrollBar()->setValue(row);
}

QStringList SelectionDialog::picked() const {
    QStringList out;
    for (int i = 0; i < cgSel_->rowCount(); ++i) {
        const QTableWidgetItem* it = cgSel_->item(i, 0);
        if (it && !it->text().isEmpty()) out.push_back(it->text());
    }
    return out;
}

QString SelectionDialog::currentPick() const {
    const int row = cgSel_->currentRow() >= 0 ? cgSel_->currentRow() : 0;
    const QTableWidgetItem* it = cgSel_->item(row, 0);
    return it ? it->text() : QString();
}

void SelectionDialog::clearPicks() {
    setRows(cgSel_, {});
    updateMatchChoice();
}

bool SelectionDialog::withSubsets() const {
    return checkSubsets_->isChecked();
}

bool SelectionDialog::allOf() const {
    return optionAllOf_->isChecked();
}

void SelectionDialog::updateMatchChoice() {
    QStringList names = picked();
    names.removeDuplicates();
    optionAnyOf_->setEnabled(names.size() > 1);
    optionAllOf_->setEnabled(names.size() > 1);
}

void SelectionDialog::onText1Edited(const QString& text) {
    if (text.isEmpty()) return;
    const QString fixed = capitalFirst(text);
    if (fixed != text) {
        const int caret = text1_->cursorPosition();
        text1_->setText(fixed);
        text1_->setCursorPosition(caret);
    }
    const int row = findAtOrAfter(origin_, fixed);
    if (row < 0) return;
    selectOriginRow(row);
    cgList_->scrollTo(cgList_->model()->index(row, 0), QAbstractItemView::EnsureVisible);
}

void SelectionDialog::onText1Return() {
    if (text1_->text().isEmpty()) return;
    selectButtons_[int(Mode::KWnoteSel)]->setDefault(true);
}

void SelectionDialog::onOriginClicked(int row) {
    if (row < 0 || row >= origin_.size()) return;
    const QString& name = origin_[row];
    if (name.isEmpty()) return;
    const QTableWidgetItem* first = cgSel_->item(0, 0);
    int at = 0;
    if (cgSel_->rowCount() == 1 && (!first || first->text().isEmpty())) {
        cgSel_->setItem(0, 0, new QTableWidgetItem(name));
    } else {
        at = cgSel_->rowCount();
        cgSel_->insertRow(at);
        cgSel_->setItem(at, 0, new QTableWidgetItem(name));
    }
    // The name just picked is the current one: a Select that takes the current cell (or a
    // double click) works on it, and "Supp" takes it back.
    cgSel_->setCurrentCell(at, 0);
    cgSel_->scrollToItem(cgSel_->item(at, 0));
    updateMatchChoice();
}

void SelectionDialog::onOriginDoubleClicked(int) {
    QPushButton* b = selectButtons_[int(Mode::KWnoteSel)];
    if (b->isEnabled()) b->click();
}

void SelectionDialog::onPickClicked(int row) {
    const QTableWidgetItem* it = cgSel_->item(row, 0);
    if (!it || it->text().isEmpty()) return;
    const int found = int(origin_.indexOf(it->text()));
    if (found < 0) return;
    selectOriginRow(found);
    setOriginTop(topRowForFourth(found));
}

void SelectionDialog::onListAdd() {
    if (!ctx_.base.isOpen()) return;
    // A pasted name made one line gets the capital the box gives to a typed one.
    const QString text = capitalFirst(oneLineName(text1_->text()));
    const AddResult r = listAdd(ctx_.prompter, source_, texts_, origin_, text);
    if (r.outcome == AddOutcome::Added) showOrigin(r.rows, -1);
    if (r.row < 0) return;
    selectOriginRow(r.row);
    if (const auto top = topRowForFound(r.row, cgList_->rowCount())) setOriginTop(*top);
}

void SelectionDialog::onListSupp() {
    if (!ctx_.base.isOpen()) return;
    const int current = cgList_->currentRow();
    const DiscardResult r = listDiscard(ctx_.prompter, source_, texts_, origin_, current);
    if (r.outcome != DiscardOutcome::Discarded && r.outcome != DiscardOutcome::Gone) return;
    origin_ = r.rows;
    cgList_->removeRow(current);
    clearPicks();
}

void SelectionDialog::onSelSupp() {
    if (cgSel_->rowCount() <= 1)
        cgSel_->setItem(0, 0, new QTableWidgetItem());
    else if (const int row = cgSel_->currentRow(); row >= 0)
        cgSel_->removeRow(row);
    updateMatchChoice();
}

void SelectionDialog::onSelect() {
    if (!ctx_.base.isOpen()) return;
    const QStringList names = picked();
    if (names.isEmpty()) {
        ctx_.prompter.message(QStringLiteral(" Pick a name in the Origin List first "), Buttons::Ok,
                              Icon::Information);
        return;
    }
    if (!attaches(mode_)) {
        if (mode_ == Mode::AuthorSel || mode_ == Mode::AuthorCit)
            setWindowTitle(QStringLiteral("Authors"));
        emit selected(mode_, names, currentPick());
        return;
    }
    if (cardNumber_.isEmpty()) return;
    const CardKind kind = mode_ == Mode::KWNoteSelect ? CardKind::Note
                          : mode_ == Mode::KWCitAdd   ? CardKind::Quote
                                                      : CardKind::Reference;
    const AttachResult r = attachKeywords(ctx_, kind, cardNumber_, names);
    if (r.status == AttachStatus::ReadOnly) {
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
        return;
    }
    if (r.status == AttachStatus::Failed) {
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Critical);
        return;
    }
    emit keywordsAttached(mode_, cardNumber_, r.keywords);
    if (!r.message.isEmpty()) ctx_.prompter.message(r.message, Buttons::Ok, Icon::Information);
}

void SelectionDialog::applyMode(bool open) {
    for (int i = 0; i < selectButtons_.size(); ++i) {
        const bool mine = open && i == int(mode_);
        selectButtons_[i]->setVisible(mine);
        selectButtons_[i]->setEnabled(mine);
    }
    const bool lists = open && listsByKeyword(mode_);
    for (QWidget* w : {static_cast<QWidget*>(checkSubsets_), static_cast<QWidget*>(optionAnyOf_),
                       static_cast<QWidget*>(optionAllOf_)})
        w->setVisible(lists);
    updateMatchChoice();
}

void SelectionDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) applyMode(true);
    QDialog::showEvent(event);
}

void SelectionDialog::hideEvent(QHideEvent* event) {
    // Closed (not minimised): no Select button is left to press.
    if (!event->spontaneous()) applyMode(false);
    QDialog::hideEvent(event);
}

void SelectionDialog::showListEditing() {
    cListAdd_->setVisible(true);
    cListSupp_->setVisible(true);
}

} // namespace vlm::keywords
