#include "gui/cards/quotewindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/openers.h"
#include "gui/cards/richedit.h"
#include "gui/common/accessiblenames.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>

namespace vlm::cards {
namespace {

// Layout of the window, in twips from the top left corner of its inside.
constexpr int kToolbarHeight = 420;
constexpr int kLeftColumn = 120, kLeftWidth = 2280;
constexpr int kRightColumn = 2520;
constexpr int kRow1 = 540, kRow2 = 930, kTextTop = 1320, kBoxHeight = 315;
constexpr int kButtonHeight = 375;
// The text box follows the window, 240 twips from its right edge; the row of Quote's Refs,
// Store, Delete and New stays under it.
constexpr int kTextRightRoom = 240, kBottomRow = 495;

QString closeQuestionText() {
    return QStringLiteral("The data have changed - do you want to save?");
}
QString deleteQuestion() {
    return QStringLiteral("Confirm that you want to delete this card ?");
}
QString newQuoteHint() {
    return QStringLiteral(
        " You shall select or create a Reference, then run the Add Quote button from it ");
}

} // namespace

QuoteWindow::QuoteWindow(Session& ctx, const CardSlots& card, QWidget* parent)
    : CardWindowBase(ctx, CardKind::Quote, card.number, parent) {
    setObjectName(QStringLiteral("fCitMulti"));
    buildUi();

    if (card.findPos == 0) ctx_.FindWord.clear();
    setWindowTitle(cardCaption(card.authors.value(0), ctx_.FindWord, card.window));
    setProperty("Tag", tag_);
    FenNum->setText(QString::number(card.window));
    reference_ = ctx_.rs().CIT.NDX.text();

    fillAuthorGrid(cgAutCit, card.authors);
    cCitTitle->setText(card.title);
    setCardText(CitRTF, card.text, card.richText);
    cCitNDX->setText(card.number);
    cCitDate->setText(card.date.isValid()
                          ? QLocale::system().toString(card.date, QLocale::ShortFormat)
                          : QString());
    fillKeywordGrid(cgMCCit, card.keywords);
    changed_ = false;

    connect(cCitTitle, &QLineEdit::textChanged, this, &QuoteWindow::markChanged);
    connect(CitRTF->document(), &QTextDocument::contentsChanged, this, &QuoteWindow::markChanged);
}

QuoteWindow::~QuoteWindow() = default;

void QuoteWindow::buildUi() {
    Toolbar1 = makeTextToolBar(&CitRTF, [this] { print(); });

    cCitNDX = cardLineBox(this, "cCitNDX");
    cCitNDX->setReadOnly(true);
    cCitDate = cardLineBox(this, "cCitDate");
    cCitDate->setReadOnly(true);
    cCitTitle = cardLineBox(this, "cCitTitle");
    cCitTitle->setMaxLength(100); // CIT.TITRE1
    cCitTitle->setPlaceholderText(QStringLiteral("Title"));

    CitRTF = new QTextEdit(this);
    CitRTF->setObjectName(QStringLiteral("CitRTF"));
    CitRTF->setAcceptRichText(true);

    cgAutCit = new QTableWidget(this);
    cgAutCit->setObjectName(QStringLiteral("cgAutCit"));
    setUpKeywordGrid(cgAutCit, kLeftWidth - 60);

    Frame1 = new QGroupBox(QStringLiteral("Keywords"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cgMCCit = new QTableWidget(Frame1);
    cgMCCit->setObjectName(QStringLiteral("cgMCCit"));
    setUpKeywordGrid(cgMCCit, 2000);
    connect(cgMCCit, &QTableWidget::cellClicked, this,
            [this](int row, int) { cgMCCit->selectRow(row); });
    connect(cgMCCit, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { guarded([this, row] { openQuotesOfKeyword(row); }); });

    cmdAdd = cardButton(this, "cmdAdd", "Add", "  Adds a Keyword to the Card  ");
    CmdSupp = cardButton(this, "CmdSupp", "Supp", "  Discard a Keyword from the Card");
    CmdTextComp = cardButton(this, "CmdTextComp", "Text Compare",
                             "  Compare the Card Keywords to the Words in the Text  ");
    CmdStore = cardButton(this, "CmdStore", "Store", "  Saves the Card  ");
    CmdDelete = cardButton(this, "CmdDelete", "Delete", "  Deletes this Card  ");
    Command2 = cardButton(this, "Command2", "New", "  New Card  ");
    Command1 = cardButton(this, "Command1", "Quote's Refs", "");
    connect(cmdAdd, &QPushButton::clicked, this, [this] { guarded([this] { addKeywords(); }); });
    connect(CmdSupp, &QPushButton::clicked, this, [this] { guarded([this] { removeKeyword(); }); });
    connect(CmdStore, &QPushButton::clicked, this, [this] { guarded([this] { store(); }); });
    connect(CmdDelete, &QPushButton::clicked, this, [this] { guarded([this] { deleteCard(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { newQuote(); }); });
    connect(CmdTextComp, &QPushButton::clicked, this,
            [this] { guarded([this] { compareWords(); }); });
    connect(Command1, &QPushButton::clicked, this,
            [this] { guarded([this] { openReference(); }); });

    FenNum = cardLineBox(this, "FenNum");
    FenNum->hide();
    ToPrint = new QTextEdit(this);
    ToPrint->setObjectName(QStringLiteral("ToPrint"));
    ToPrint->hide();
    RTB1 = new QTextEdit(this);
    RTB1->setObjectName(QStringLiteral("RTB1"));
    RTB1->hide();
    cCitText = cardLineBox(this, "cCitText");
    cCitText->hide();
    FormCount = cardLineBox(this, "FormCount");
    FormCount->hide();
    nameControls({{cCitNDX, "Quote number"},
                  {cCitDate, "Quote date"},
                  {cCitTitle, "Title"},
                  {CitRTF, "Quote text"},
                  {cgAutCit, "Authors of the Reference"},
                  {cgMCCit, "Keywords of the card"}});

    setTabOrder(cCitTitle, CitRTF);
    setTabOrder(CitRTF, cgAutCit); // the left column from its top: authors, then keywords
    setTabOrder(cgAutCit, cgMCCit);
    setTabOrder(cgMCCit, cmdAdd);
    setTabOrder(cmdAdd, CmdSupp);
    setTabOrder(CmdSupp, Command1);
    setTabOrder(Command1, CmdStore);
    setTabOrder(CmdStore, CmdDelete);
    setTabOrder(CmdDelete, Command2);

    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    placeControls();
}

void QuoteWindow::placeControls() {
    constexpr int kTwipsPerPixel = 1440 / 96;
    const int w = width() * kTwipsPerPixel;
    const int h = height() * kTwipsPerPixel;
    const int textWidth = w - kRightColumn - kTextRightRoom;
    const int bottomTop = h - kBottomRow;

    Toolbar1->setGeometry(0, 0, width(), twipsToPixels(kToolbarHeight));
    placeTwips(cCitNDX, kRightColumn, kRow1, 1900, kBoxHeight);
    placeTwips(cCitDate, kRightColumn + 2020, kRow1, 2400, kBoxHeight);
    placeTwips(cCitTitle, kRightColumn, kRow2, textWidth, kBoxHeight);
    placeTwips(CitRTF, kRightColumn, kTextTop, textWidth, bottomTop - 60 - kTextTop);

    placeTwips(cgAutCit, kLeftColumn, kRow1, kLeftWidth, 780);
    placeTwips(Frame1, kLeftColumn, 1380, kLeftWidth, 2040);
    placeTwips(cgMCCit, 120, 300, kLeftWidth - 240, 1620);
    const int halfWidth = (kLeftWidth - 90) / 2;
    placeTwips(cmdAdd, kLeftColumn, 3480, halfWidth, kButtonHeight);
    placeTwips(CmdSupp, kLeftColumn + halfWidth + 90, 3480, halfWidth, kButtonHeight);
    placeTwips(CmdTextComp, kLeftColumn, 3915, kLeftWidth, kButtonHeight);

    // Quote's Refs, and Store, Delete and New beside it, under the text wherever it ends.
    const int buttonWidth = 1200;
    placeTwips(Command1, kRightColumn, bottomTop, 1500, kButtonHeight);
    placeTwips(CmdStore, kRightColumn + 1620, bottomTop, buttonWidth, kButtonHeight);
    placeTwips(CmdDelete, kRightColumn + 1620 + buttonWidth + 90, bottomTop, buttonWidth,
               kButtonHeight);
    placeTwips(Command2, kRightColumn + 1620 + 2 * (buttonWidth + 90), bottomTop, buttonWidth,
               kButtonHeight);
}

void QuoteWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void QuoteWindow::activate() {
    if (deleted_ || !ctx_.base.isOpen()) return;
    ctx_.ResultKind = QStringLiteral("Cit");
    seekOwnCard();
    if (ctx_.KWChanged) {
        rereadKeywords();
        ctx_.KWChanged = false;
    }
}

void QuoteWindow::rereadKeywords() {
    try {
        fillKeywordGrid(cgMCCit, cardKeywords(ctx_, CardKind::Quote, tag_));
    } catch (const store::StoreError&) {
        // The grid keeps what it showed.
    }
}

QuoteContent QuoteWindow::content() const {
    return {cCitTitle->text(), cardPlainText(CitRTF), cardRichText(CitRTF)};
}

QStringList QuoteWindow::authors() const {
    QStringList out;
    for (int r = 0; r < cgAutCit->rowCount(); ++r)
        if (const QTableWidgetItem* item = cgAutCit->item(r, 0)) out << item->text();
    return out;
}

void QuoteWindow::showResult(const CardResult& r) {
    if (r.status == CardStatus::Nothing)
        ctx_.prompter.message(missingRecordMessage(), Buttons::Ok, Icon::Exclamation);
    else if (!r.message.isEmpty())
        ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
}

bool QuoteWindow::store() {
    const CardResult r = storeQuote(ctx_, tag_, content());
    showResult(r);
    return r.ok();
}

void QuoteWindow::deleteCard() {
    if (ctx_.prompter.message(deleteQuestion(), Buttons::OkCancel, Icon::None) != Answer::Ok)
        return;
    const CardResult r = deleteQuote(ctx_, tag_);
    if (r.status == CardStatus::ReadOnly || r.status == CardStatus::Failed) {
        showResult(r);
        return;
    }
    closeDeleted();
}

void QuoteWindow::compareWords() {
    ctx_.ResultKind = QStringLiteral("Cit");
    seekOwnCard();
    if (ctx_.compareWords) ctx_.compareWords(ctx_, CardKind::Quote, tag_, cardPlainText(CitRTF));
}

void QuoteWindow::addKeywords() {
    ctx_.ResultKind = QStringLiteral("Cit");
    if (!cardExists(ctx_, CardKind::Quote, tag_)) {
        showResult(CardResult{CardStatus::Nothing, {}, {}, tag_});
        return;
    }
    ctx_.CitFenNum = windowNumber();
    QPointer<QuoteWindow> self(this);
    openKeywordSelection(ctx_, this, CardKind::Quote, tag_, [self](const QStringList& keywords) {
        if (self) fillKeywordGrid(self->cgMCCit, keywords);
    });
}

void QuoteWindow::removeKeyword() {
    ctx_.CitFenNum = windowNumber();
    const QString keyword = currentKeyword(cgMCCit);
    // The Quote is stored first, its rich text with the rest, so that what the base holds
    // agrees with itself whatever the answer.
    const CardResult stored = storeQuote(ctx_, tag_, content());
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
    showResult(removeCardKeyword(ctx_, CardKind::Quote, tag_, keyword));
    rereadKeywords();
}

void QuoteWindow::openReference() {
    seekOwnCard();
    auto& bib = ctx_.rs().BIBLIO;
    if (!cardExists(ctx_, CardKind::Reference, reference_)) {
        ctx_.prompter.message(missingRecordMessage(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    ctx_.CurBibNDX = bib.NDX.text();
    openReferenceCard(ctx_);
}

void QuoteWindow::newQuote() {
    ctx_.prompter.message(newQuoteHint(), Buttons::Ok, Icon::Information);
    openReference();
}

bool QuoteWindow::print() {
    return printUnderHeading(ctx_, CitRTF, ToPrint, authors());
}

void QuoteWindow::openQuotesOfKeyword(int row) {
    ctx_.ResultKind = QStringLiteral("Cit");
    const QTableWidgetItem* item = cgMCCit->item(row, 0);
    if (!item || item->text().isEmpty()) return;
    openCardsOfKeyword(ctx_, CardKind::Quote, item->text());
}

QString QuoteWindow::closeQuestion() const {
    return closeQuestionText();
}

bool QuoteWindow::unsavedChanges() const {
    return !deleted_ && changed_ && ctx_.base.isOpen();
}

void QuoteWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    changed_ = false;
    event->accept();
}

} // namespace vlm::cards
