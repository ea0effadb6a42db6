#include "gui/cards/referencewindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/openers.h"
#include "gui/common/accessiblenames.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

namespace vlm::cards {
namespace {

constexpr int kButtonHeight = 375;

QString closeQuestionText() {
    return QStringLiteral("The data have changed - do you want save?");
}
QString deleteQuestion() {
    return QStringLiteral("Confirm that you want to delete this card ?");
}

QGroupBox* frame(QWidget* parent, const char* name, const char* title) {
    auto* f = new QGroupBox(QString::fromUtf8(title), parent);
    f->setObjectName(QString::fromUtf8(name));
    return f;
}

} // namespace

ReferenceWindow::ReferenceWindow(Session& ctx, const CardSlots& card, QWidget* parent)
    : QWidget(parent), ctx_(ctx), tag_(card.number) {
    setObjectName(QStringLiteral("fBibMulti"));
    buildUi();

    const QString keyword = ctx_.selectedKeyword ? ctx_.selectedKeyword() : QString();
    setWindowTitle(card.authors.value(0) + QStringLiteral(" : ") + keyword + QStringLiteral(" (") +
                   QString::number(card.window) + QLatin1Char(')'));
    setProperty("Tag", tag_);
    FenNum->setText(QString::number(card.window));

    const QStringList types = referenceTypes(ctx_);
    ComboType->addItems(types);
    const QString type = shownType(types, ctx_.rs().BIBLIO.Type.text());
    const int at = int(types.indexOf(type));
    if (at >= 0)
        ComboType->setCurrentIndex(at);
    else
        ComboType->setEditText(type);

    fillAuthorGrid(cgAutBib, card.authors);
    cBibTitre1->setText(card.title);
    cBibTitre2->setText(ctx_.rs().BIBLIO.TITRE2.text());
    fillKeywordGrid(cgMCBib, sortedKeywords(card.keywords));
    fillQuotes(referenceQuotes(ctx_, tag_));
    ctx_.ResultKind = QStringLiteral("Bib");
    seekOwnCard();
    changed_ = false;

    connect(cBibTitre1, &QLineEdit::textChanged, this, &ReferenceWindow::markChanged);
    connect(cBibTitre2, &QLineEdit::textChanged, this, &ReferenceWindow::markChanged);
    connect(ComboType, &QComboBox::currentTextChanged, this, &ReferenceWindow::markChanged);
    if (ctx_.mdiArea) {
        connect(ctx_.mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (sub && sub->widget() == this) activate();
        });
    }
}

ReferenceWindow::~ReferenceWindow() = default;

void ReferenceWindow::buildUi() {
    FrameAuthors = frame(this, "FrameAuthors", "Authors");
    cgAutBib = new QTableWidget(FrameAuthors);
    cgAutBib->setObjectName(QStringLiteral("cgAutBib"));
    setUpKeywordGrid(cgAutBib, 4000);

    FrameTitles = frame(this, "FrameTitles", "Title -Sub Title");
    cBibTitre1 = cardLineBox(FrameTitles, "cBibTitre1");
    cBibTitre1->setMaxLength(120); // BIBLIO.TITRE1
    cBibTitre2 = cardLineBox(FrameTitles, "cBibTitre2");
    cBibTitre2->setMaxLength(100); // BIBLIO.TITRE2

    Label1 = new QLabel(QStringLiteral("Document Type :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ComboType = new QComboBox(this);
    ComboType->setObjectName(QStringLiteral("ComboType"));
    ComboType->setEditable(true);
    ComboType->setInsertPolicy(QComboBox::NoInsert);
    ComboType->lineEdit()->setMaxLength(50); // BIBLIO.Type

    FrameKW = frame(this, "FrameKW", "Document's Keywords");
    cgMCBib = new QTableWidget(FrameKW);
    cgMCBib->setObjectName(QStringLiteral("cgMCBib"));
    setUpKeywordGrid(cgMCBib, 3000);
    cmdAddKW = cardButton(FrameKW, "cmdAddKW", "Add", "");
    cmdSuppKW = cardButton(FrameKW, "cmdSuppKW", "Supp", "");

    FrameQuotes = frame(this, "FrameQuotes", "Quotes from this document and their keywords");
    cgBibCit = new QTableWidget(FrameQuotes);
    cgBibCit->setObjectName(QStringLiteral("cgBibCit"));
    setUpKeywordGrid(cgBibCit, 3000);
    cgBibCit->setColumnCount(2);
    cgBibCit->setColumnWidth(0, twipsToPixels(3000));
    cgBibCit->setColumnWidth(1, twipsToPixels(2000));
    CmdAddQuote = cardButton(FrameQuotes, "CmdAddQuote", "Add Quote", "");

    FrameCommands = frame(this, "FrameCommands", "");
    CommandStore = cardButton(FrameCommands, "CommandStore", "Store", "");
    CmdDelete = cardButton(FrameCommands, "CmdDelete", "Delete", "");
    CommandNew = cardButton(FrameCommands, "CommandNew", "New", "");
    SwitchCompleteRefs = cardButton(FrameCommands, "SwitchCompleteRefs", "Complete Refs", "");
    SwitchCompleteRefs->setCheckable(true);
    // The complete-reference view (book, article and other details) is not part of the
    // program yet: the switch stays in the Quotes state.
    SwitchCompleteRefs->setEnabled(false);

    FrameRefs = frame(this, "FrameRefs", "Document's References");
    FrameBook = frame(FrameRefs, "FrameBook", "");
    FrameArticle = frame(FrameRefs, "FrameArticle", "");
    FrameOther = frame(FrameRefs, "FrameOther", "Reference");
    FrameRefs->hide();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    FenNum = cardLineBox(this, "FenNum");
    FenNum->hide();
    nameControls({{cgAutBib, "Authors of the card"},
                  {cBibTitre1, "Title"},
                  {cBibTitre2, "Sub title"},
                  {ComboType, "Document type"},
                  {ComboType->lineEdit(), "Document type"},
                  {cgMCBib, "Keywords of the card"},
                  {cgBibCit, "Quotes of the Reference"}});

    connect(cgAutBib, &QTableWidget::cellClicked, this,
            [this](int row, int) { cgAutBib->selectRow(row); });
    connect(cgMCBib, &QTableWidget::cellClicked, this,
            [this](int row, int) { cgMCBib->selectRow(row); });
    connect(cgBibCit, &QTableWidget::cellClicked, this,
            [this](int row, int) { cgBibCit->selectRow(row); });
    connect(cgMCBib, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { guarded([this, row] { openReferencesOfKeyword(row); }); });
    connect(cgBibCit, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { guarded([this, row] { openQuote(row); }); });
    connect(CommandStore, &QPushButton::clicked, this, [this] { guarded([this] { store(); }); });
    connect(CmdDelete, &QPushButton::clicked, this, [this] { guarded([this] { deleteCard(); }); });
    connect(CommandNew, &QPushButton::clicked, this,
            [this] { guarded([this] { newReference(); }); });
    connect(CmdAddQuote, &QPushButton::clicked, this, [this] { guarded([this] { addQuote(); }); });
    connect(cmdAddKW, &QPushButton::clicked, this, [this] { guarded([this] { addKeywords(); }); });
    connect(cmdSuppKW, &QPushButton::clicked, this,
            [this] { guarded([this] { removeKeyword(); }); });

    hint(CmdDelete, QStringLiteral("Deletes this Reference and all its links"));
    hint(CommandNew, QStringLiteral("Creates a new Reference"));
    hint(CommandStore, QStringLiteral("Stores the changes to the Card"));
    hint(SwitchCompleteRefs,
         QStringLiteral("Switches between the Quotes View and the Complete References view"));
    hint(cgBibCit, QStringLiteral("Double-click opens the Quote - Add Quote creates a Quote Card "
                                  "linked to this Reference"));
    hint(cgMCBib, QStringLiteral("Keywords linked to this Reference"));

    // Twips from the top left corner of the window's inside.
    placeTwips(FrameAuthors, 120, 60, 4320, 1380);
    placeTwips(cgAutBib, 120, 300, 4080, 960);
    placeTwips(FrameTitles, 4560, 60, 3660, 1380);
    placeTwips(cBibTitre1, 120, 360, 3420, 315);
    placeTwips(cBibTitre2, 120, 810, 3420, 315);
    placeTwips(Label1, 4560, 1560, 1620, 315);
    placeTwips(ComboType, 6240, 1520, 1980, 315);
    placeTwips(FrameKW, 120, 1500, 3420, 3420);
    placeTwips(cgMCBib, 120, 300, 3180, 2520);
    placeTwips(cmdAddKW, 120, 2910, 1530, kButtonHeight);
    placeTwips(cmdSuppKW, 1770, 2910, 1530, kButtonHeight);
    placeTwips(FrameQuotes, 3660, 1980, 4560, 2940);
    placeTwips(cgBibCit, 120, 300, 4320, 2040);
    placeTwips(CmdAddQuote, 120, 2430, 1500, kButtonHeight);
    placeTwips(FrameRefs, 120, 1980, 8100, 2940);
    placeTwips(FrameCommands, 120, 5040, 8100, 600);
    placeTwips(CommandStore, 120, 150, 1500, kButtonHeight);
    placeTwips(CmdDelete, 1740, 150, 1500, kButtonHeight);
    placeTwips(CommandNew, 3360, 150, 1500, kButtonHeight);
    placeTwips(SwitchCompleteRefs, 6480, 150, 1500, kButtonHeight);
    placeTwips(StatusBar1, 0, 5700, 8430, 300);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void ReferenceWindow::hint(QWidget* control, const QString& text) {
    hints_.insert(control, text);
    control->installEventFilter(this);
    if (auto* view = qobject_cast<QAbstractScrollArea*>(control)) {
        hints_.insert(view->viewport(), text);
        view->viewport()->installEventFilter(this);
    }
}

bool ReferenceWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && hints_.contains(watched))
        StatusBar1->showMessage(hints_.value(watched));
    else if (event->type() == QEvent::Leave && hints_.contains(watched))
        StatusBar1->clearMessage(); // back over the window's background
    return QWidget::eventFilter(watched, event);
}

void ReferenceWindow::guarded(const std::function<void()>& command) {
    runGuarded(ctx_, command);
}

int ReferenceWindow::windowNumber() const {
    return FenNum->text().toInt();
}

bool ReferenceWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        if (isActiveCardWindow(ctx_, this)) activate();
    }
    return QWidget::event(event);
}

void ReferenceWindow::seekOwnCard() {
    seekCardQuietly(ctx_, CardKind::Reference, tag_);
}

void ReferenceWindow::activate() {
    if (deleted_ || !ctx_.base.isOpen()) return;
    ctx_.ResultKind = QStringLiteral("Bib");
    ctx_.CurBibNDX = tag_;
    seekOwnCard();
    if (ctx_.KWChanged) {
        rereadKeywordsAndQuotes();
        ctx_.KWChanged = false;
    }
}

void ReferenceWindow::fillQuotes(const QList<QuoteRow>& rows) {
    cgBibCit->clearContents();
    cgBibCit->setRowCount(std::max<int>(int(rows.size()), 1));
    for (int r = 0; r < rows.size(); ++r) {
        cgBibCit->setItem(r, 0, new QTableWidgetItem(rows.at(r).keyword));
        cgBibCit->setItem(r, 1, new QTableWidgetItem(rows.at(r).quote));
    }
    cgBibCit->setCurrentCell(0, 0);
}

void ReferenceWindow::rereadKeywordsAndQuotes() {
    try {
        fillKeywordGrid(cgMCBib, sortedKeywords(cardKeywords(ctx_, CardKind::Reference, tag_)));
        fillQuotes(referenceQuotes(ctx_, tag_));
    } catch (const store::StoreError&) {
        // The grids keep what they showed.
    }
}

void ReferenceWindow::showResult(const CardResult& r) {
    if (r.status == CardStatus::Nothing)
        ctx_.prompter.message(missingRecordMessage(), Buttons::Ok, Icon::Exclamation);
    else if (!r.message.isEmpty())
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
}

bool ReferenceWindow::store() {
    const CardResult r = storeReference(
        ctx_, tag_, {cBibTitre1->text(), cBibTitre2->text(), ComboType->currentText()});
    showResult(r);
    return r.ok();
}

void ReferenceWindow::deleteCard() {
    if (ctx_.prompter.message(deleteQuestion(), Buttons::OkCancel, Icon::None) != Answer::Ok)
        return;
    const CardResult r = deleteReference(ctx_, tag_);
    if (r.status == CardStatus::HasQuotes) {
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::None);
        return;
    }
    if (r.status == CardStatus::ReadOnly || r.status == CardStatus::Failed) {
        showResult(r);
        return;
    }
    deleted_ = true;
    const int n = windowNumber();
    cardFrame(this)->close();
    releaseWindowNumber(ctx_, CardKind::Reference, n);
    closeCardLists(ctx_);
}

void ReferenceWindow::newReference() {
    chooseReferenceAuthors(ctx_);
}

void ReferenceWindow::addQuote() {
    const CardResult r = addQuoteToReference(ctx_, tag_);
    if (!r.ok()) {
        showResult(r);
        return;
    }
    ctx_.CurBibNDX = tag_;
    openQuoteCard(ctx_);
    rereadKeywordsAndQuotes();
}

void ReferenceWindow::addKeywords() {
    ctx_.ResultKind = QStringLiteral("Bib");
    if (!cardExists(ctx_, CardKind::Reference, tag_)) {
        showResult(CardResult{CardStatus::Nothing, {}, {}, tag_});
        return;
    }
    ctx_.BibFenNum = windowNumber();
    QPointer<ReferenceWindow> self(this);
    openKeywordSelection(ctx_, this, CardKind::Reference, tag_,
                         [self](const QStringList& keywords) {
                             if (self) fillKeywordGrid(self->cgMCBib, sortedKeywords(keywords));
                         });
}

void ReferenceWindow::removeKeyword() {
    ctx_.BibFenNum = windowNumber();
    const QString keyword = currentKeyword(cgMCBib);
    const CardResult stored = storeReferenceTitle(ctx_, tag_, cBibTitre1->text());
    if (!stored.ok()) {
        showResult(stored);
        return;
    }
    if (keyword.isEmpty()) return;
    if (ctx_.prompter.message(QStringLiteral("  Do you really want to delete  ") +
                                  QLatin1Char('\r') + QStringLiteral("\r\n") + keyword +
                                  QStringLiteral("  "),
                              Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return;
    showResult(removeCardKeyword(ctx_, CardKind::Reference, tag_, keyword));
    rereadKeywordsAndQuotes();
}

void ReferenceWindow::openQuote(int row) {
    const QTableWidgetItem* item = cgBibCit->item(row, 1);
    if (!item || item->text().isEmpty()) return;
    if (!cardExists(ctx_, CardKind::Quote, item->text())) {
        ctx_.prompter.message(missingRecordMessage(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    openQuoteCard(ctx_);
}

void ReferenceWindow::openReferencesOfKeyword(int row) {
    ctx_.ResultKind = QStringLiteral("Bib");
    const QTableWidgetItem* item = cgMCBib->item(row, 0);
    if (!item || item->text().isEmpty()) return;
    openCardsOfKeyword(ctx_, CardKind::Reference, item->text());
}

Prompter& ReferenceWindow::closePrompter() {
    return ctx_.prompter;
}

QString ReferenceWindow::closeQuestion() const {
    return closeQuestionText();
}

bool ReferenceWindow::unsavedChanges() const {
    return !deleted_ && changed_ && ctx_.base.isOpen();
}

void ReferenceWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace vlm::cards
