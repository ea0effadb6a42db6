#include "gui/cards/notewindow.h"

#include "core/common/twips.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/richedit.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>

#include <algorithm>
#include <new>

namespace vlm::cards {
namespace {

constexpr int kTwipsPerPixel = 1440 / 96;

// Layout of the window, in twips from the top left corner of its inside.
constexpr int kToolbarHeight = 420;
constexpr int kLeftColumn = 120, kLeftWidth = 2280;
constexpr int kRightColumn = 2520;
constexpr int kRow1 = 540, kRow2 = 930, kRow3 = 1320, kTextTop = 1710, kBoxHeight = 315;
constexpr int kButtonHeight = 375;
// The rich text box follows the window: its right edge 240 twips and its bottom 1140 twips
// from the window's outer edges.
constexpr int kTextRightRoom = 240, kTextBottomRoom = 1140;

QString closeQuestionText() {
    return QStringLiteral("The data have changed - do you want save?");
}
QString deleteQuestion() {
    return QStringLiteral("Confirm that you want to delete this card ?");
}
QString removeQuestion(const QString& keyword) {
    return QStringLiteral("  Do you really want to delete  ") + QLatin1Char('\r') +
           QStringLiteral("\r\n") + keyword + QStringLiteral("  ");
}

} // namespace

NoteWindow::NoteWindow(Session& ctx, const CardSlots& card, QWidget* parent)
    : CardWindowBase(ctx, CardKind::Note, card.number, parent),
      cardChanged_(this, [this] { followCard(); }) {
    setObjectName(QStringLiteral("fNoteMulti"));
    buildUi();

    if (card.findPos == 0) ctx_.FindWord.clear();
    findWord_ = ctx_.FindWord;
    setWindowTitle(cardCaption(card.title, findWord_, card.window));
    setProperty("Tag", tag_);
    FenNum->setText(QString::number(card.window));

    cNoteAuthor->setText(card.author);
    cNoteTitle->setText(card.title);
    setCardText(NoteRTF, card.text, card.richText);
    cNoteNDX->setText(card.number);
    cNoteDate->setText(card.date.isValid()
                           ? QLocale::system().toString(card.date, QLocale::ShortFormat)
                           : QString());
    fillKeywordGrid(cgMCNote, card.keywords);
    changed_ = false;

    connect(cNoteAuthor, &QLineEdit::textChanged, this, &NoteWindow::markChanged);
    connect(cNoteTitle, &QLineEdit::textChanged, this, &NoteWindow::markChanged);
    connect(NoteRTF->document(), &QTextDocument::contentsChanged, this, &NoteWindow::markChanged);
    connect(&ctx_.events, &SessionEvents::cardChanged, this,
            [this](CardKind kind, const QString& number) {
                if (kind == CardKind::Note && number.compare(tag_, Qt::CaseInsensitive) == 0)
                    cardChanged_.request();
            });
}

NoteWindow::~NoteWindow() = default;

void NoteWindow::buildUi() {
    Toolbar1 = makeTextToolBar(&NoteRTF, [this] { printText(ctx_, NoteRTF); });

    cNoteNDX = cardLineBox(this, "cNoteNDX");
    cNoteNDX->setReadOnly(true);
    cNoteDate = cardLineBox(this, "cNoteDate");
    cNoteDate->setReadOnly(true);
    cNoteAuthor = cardLineBox(this, "cNoteAuthor");
    cNoteAuthor->setMaxLength(kNoteAuthorLength);
    cNoteAuthor->setPlaceholderText(QStringLiteral("Author"));
    cNoteTitle = cardLineBox(this, "cNoteTitle");
    cNoteTitle->setMaxLength(kNoteTitleLength);
    cNoteTitle->setPlaceholderText(QStringLiteral("Title"));

    NoteRTF = new QTextEdit(this);
    NoteRTF->setObjectName(QStringLiteral("NoteRTF"));
    NoteRTF->setAcceptRichText(true);
    NoteRTF->setTabChangesFocus(false);

    Frame2 = new QGroupBox(QStringLiteral("Keywords"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    cgMCNote = new QTableWidget(Frame2);
    cgMCNote->setObjectName(QStringLiteral("cgMCNote"));
    setUpKeywordGrid(cgMCNote, 2000);
    connect(cgMCNote, &QTableWidget::cellClicked, this,
            [this](int row, int) { cgMCNote->selectRow(row); });
    connect(cgMCNote, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { guarded([this, row] { openNotesOfKeyword(row); }); });

    KWAdd = cardButton(this, "KWAdd", "Add", "  Add a Keyword to the Note  ");
    KWSupp = cardButton(this, "KWSupp", "Supp", "  Delete a Keyword from the Note  ");
    Command7 =
        cardButton(this, "Command7", "Text Compare", "  Compare Keywords with Words in text  ");
    CmdStore = cardButton(this, "CmdStore", "Store", "  Save this Note  ");
    Command2 = cardButton(this, "Command2", "Delete", "  Delete this Note  ");
    Command1 = cardButton(this, "Command1", "New", "  Create a new Note  ");
    connect(KWAdd, &QPushButton::clicked, this, [this] { guarded([this] { addKeywords(); }); });
    connect(KWSupp, &QPushButton::clicked, this, [this] { guarded([this] { removeKeyword(); }); });
    connect(CmdStore, &QPushButton::clicked, this, [this] { guarded([this] { store(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { deleteCard(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { newNote(); }); });
    connect(Command7, &QPushButton::clicked, this, [this] { guarded([this] { compareWords(); }); });

    FenNum = cardLineBox(this, "FenNum");
    FenNum->hide();
    ToPrint = new QTextEdit(this);
    ToPrint->setObjectName(QStringLiteral("ToPrint"));
    ToPrint->hide();
    cNoteText = cardLineBox(this, "cNoteText");
    cNoteText->hide();
    nameControls({{cNoteNDX, "Note number"},
                  {cNoteDate, "Note date"},
                  {cNoteAuthor, "Author"},
                  {cNoteTitle, "Title"},
                  {NoteRTF, "Note text"},
                  {cgMCNote, "Keywords of the card"}});

    setTabOrder(cNoteAuthor, cNoteTitle);
    setTabOrder(cNoteTitle, NoteRTF);
    setTabOrder(NoteRTF, cgMCNote);
    setTabOrder(cgMCNote, KWAdd);
    setTabOrder(KWAdd, KWSupp);
    setTabOrder(KWSupp, CmdStore);
    setTabOrder(CmdStore, Command2);
    setTabOrder(Command2, Command1);

    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    placeControls();
}

void NoteWindow::placeControls() {
    // The window's outer size, as the rule for the text box counts it.
    const QWidget* frame = cardFrame(this);
    const int outerWidth = frame->width() * kTwipsPerPixel;
    const int outerHeight = frame->height() * kTwipsPerPixel;
    const int textWidth = outerWidth - kRightColumn - kTextRightRoom;
    const int textHeight = outerHeight - kTextTop - kTextBottomRoom;

    Toolbar1->setGeometry(0, 0, width(), twipsToPixels(kToolbarHeight));
    placeTwips(cNoteNDX, kRightColumn, kRow1, 1900, kBoxHeight);
    placeTwips(cNoteDate, kRightColumn + 2020, kRow1, 2400, kBoxHeight);
    placeTwips(cNoteAuthor, kRightColumn, kRow2, textWidth, kBoxHeight);
    placeTwips(cNoteTitle, kRightColumn, kRow3, textWidth, kBoxHeight);
    placeTwips(NoteRTF, kRightColumn, kTextTop, textWidth, textHeight);

    placeTwips(Frame2, kLeftColumn, kRow1, kLeftWidth, 2700);
    placeTwips(cgMCNote, 120, 300, kLeftWidth - 240, 2280);
    const int halfWidth = (kLeftWidth - 90) / 2;
    placeTwips(KWAdd, kLeftColumn, 3300, halfWidth, kButtonHeight);
    placeTwips(KWSupp, kLeftColumn + halfWidth + 90, 3300, halfWidth, kButtonHeight);
    placeTwips(Command7, kLeftColumn, 3735, kLeftWidth, kButtonHeight);
    placeTwips(CmdStore, kLeftColumn, 4230, kLeftWidth, kButtonHeight);
    placeTwips(Command2, kLeftColumn, 4665, kLeftWidth, kButtonHeight);
    placeTwips(Command1, kLeftColumn, 5100, kLeftWidth, kButtonHeight);
}

void NoteWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeControls();
}

void NoteWindow::activate() {
    if (deleted_ || !ctx_.base.isOpen()) return;
    ctx_.ResultKind = QStringLiteral("Note");
    seekOwnCard();
    if (ctx_.KWChanged) {
        rereadKeywords();
        ctx_.KWChanged = false;
    }
}

void NoteWindow::followCard() {
    if (deleted_ || !ctx_.base.isOpen()) return;
    try {
        auto& note = ctx_.rs().NOTE;
        note->setIndex(QStringLiteral("NoteNDX"));
        note->seek(QStringLiteral("="), tag_);
        if (note->noMatch()) return; // deleted meanwhile: the caption stays as it was
        setWindowTitle(cardCaption(note->value(QStringLiteral("TITRE1")).toString(), findWord_,
                                   windowNumber()));
    } catch (const store::StoreError&) {
        return;
    }
    rereadKeywords();
}

void NoteWindow::rereadKeywords() {
    // When the store fails the grid keeps what it showed.
    if (const auto keywords =
            runGuarded(ctx_, [&] { return cardKeywords(ctx_, CardKind::Note, tag_); }))
        fillKeywordGrid(cgMCNote, *keywords);
}

NoteContent NoteWindow::content() const {
    return {cNoteAuthor->text(), cNoteTitle->text(), cardPlainText(NoteRTF), cardRichText(NoteRTF)};
}

void NoteWindow::showResult(const CardResult& r) {
    if (!r.message.isEmpty()) ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
}

bool NoteWindow::store() {
    const CardResult r = storeNote(ctx_, tag_, content());
    if (r.status == CardStatus::Nothing) {
        ctx_.prompter.message(
            QStringLiteral("This Note is no longer in the base: it could not be stored."),
            Buttons::Ok, Icon::Exclamation);
        return false;
    }
    showResult(r);
    return r.ok();
}

void NoteWindow::deleteCard() {
    if (ctx_.prompter.message(deleteQuestion(), Buttons::OkCancel, Icon::None) != Answer::Ok)
        return;
    const CardResult r = deleteNote(ctx_, tag_);
    if (r.status == CardStatus::ReadOnly || r.status == CardStatus::Failed) {
        showResult(r);
        return;
    }
    closeDeleted();
}

void NoteWindow::addKeywords() {
    ctx_.ResultKind = QStringLiteral("Note");
    seekOwnCard();
    ctx_.NoteFenNum = windowNumber();
    QPointer<NoteWindow> self(this);
    openKeywordSelection(ctx_, this, CardKind::Note, tag_, [self](const QStringList& keywords) {
        if (self) fillKeywordGrid(self->cgMCNote, keywords);
    });
}

void NoteWindow::removeKeyword() {
    ctx_.NoteFenNum = windowNumber();
    const QString keyword = currentKeyword(cgMCNote);
    // The Note is stored first, its rich text with the rest, so that what the base holds
    // agrees with itself whatever the answer.
    const CardResult stored = storeNote(ctx_, tag_, content());
    if (stored.status == CardStatus::ReadOnly || stored.status == CardStatus::Failed) {
        showResult(stored);
        return;
    }
    if (keyword.isEmpty()) return; // the empty row of a Note without keywords
    if (ctx_.prompter.message(removeQuestion(keyword), Buttons::OkCancel, Icon::Question) !=
        Answer::Ok)
        return;
    const CardResult r = removeNoteKeyword(ctx_, tag_, keyword);
    showResult(r);
    rereadKeywords();
}

void NoteWindow::compareWords() {
    ctx_.ResultKind = QStringLiteral("Note");
    seekOwnCard();
    if (ctx_.compareWords) ctx_.compareWords(ctx_, CardKind::Note, tag_, cardPlainText(NoteRTF));
}

void NoteWindow::newNote() {
    chooseNoteAuthor(ctx_);
}

void NoteWindow::openNotesOfKeyword(int row) {
    ctx_.ResultKind = QStringLiteral("Note");
    const QTableWidgetItem* item = cgMCNote->item(row, 0);
    if (!item || item->text().isEmpty()) return;
    cards::openNotesOfKeyword(ctx_, item->text());
}

QString NoteWindow::closeQuestion() const {
    return closeQuestionText();
}

bool NoteWindow::unsavedChanges() const {
    return !deleted_ && changed_ && ctx_.base.isOpen();
}

void NoteWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace vlm::cards
