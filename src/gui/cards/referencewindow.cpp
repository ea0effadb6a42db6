#include "gui/cards/referencewindow.h"

#include "core/cards/referencedetails.h"
#include "core/common/twips.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/store/recordset.h"
#include "core/store/storeerror.h"
#include "gui/cards/cardentry.h"
#include "gui/cards/cardlinks.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/firsteditionwindow.h"
#include "gui/cards/openers.h"
#include "gui/common/accessiblenames.h"
#include "gui/common/guarded.h"

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
#include <QTextEdit>

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

QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    placeTwips(l, left, top, width, 300);
    return l;
}

// A one-line box of the details, `maxLength` characters at most (0: no limit of its own).
QLineEdit* detailsBox(QWidget* parent, const char* name, int maxLength, const QString& hint = {}) {
    QLineEdit* box = cardLineBox(parent, name);
    if (maxLength > 0) box->setMaxLength(maxLength);
    box->setPlaceholderText(hint);
    return box;
}

QComboBox* listBox(QWidget* parent, const char* name, int maxLength) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromUtf8(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(maxLength);
    return c;
}

// The items of a list box, its typed text kept.
void refill(QComboBox* box, const QStringList& items) {
    const QString typed = box->currentText();
    box->clear();
    box->addItems(items);
    box->setEditText(typed);
}

} // namespace

ReferenceWindow::ReferenceWindow(Session& ctx, const CardSlots& card, QWidget* parent)
    : CardWindowBase(ctx, CardKind::Reference, card.number, parent) {
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

    FrameRefs = frame(this, "FrameRefs", "Document's References");
    FrameBook = frame(FrameRefs, "FrameBook", "");
    FrameArticle = frame(FrameRefs, "FrameArticle", "");
    FrameOther = frame(FrameRefs, "FrameOther", "Reference");
    FrameRefs->hide();
    buildDetails();

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
    connect(SwitchCompleteRefs, &QPushButton::toggled, this, [this](bool details) {
        guarded([this, details] { details ? showDetailsView() : showQuotesView(); });
    });

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
    placeKeywordFrame(3420);
    placeTwips(FrameQuotes, 3660, 1980, 4560, 2940);
    placeTwips(cgBibCit, 120, 300, 4320, 2040);
    placeTwips(CmdAddQuote, 120, 2430, 1500, kButtonHeight);
    // The details frames stand at 2640, 3240 in the window, inside the frame that holds them.
    placeTwips(FrameRefs, 2520, 3000, 5700, 2040);
    for (QGroupBox* f : {FrameBook, FrameArticle, FrameOther})
        placeTwips(f, 120, 240, 5460, 1740);
    placeTwips(FrameCommands, 120, 5040, 8100, 600);
    placeTwips(CommandStore, 120, 150, 1500, kButtonHeight);
    placeTwips(CmdDelete, 1740, 150, 1500, kButtonHeight);
    placeTwips(CommandNew, 3360, 150, 1500, kButtonHeight);
    placeTwips(SwitchCompleteRefs, 6480, 150, 1500, kButtonHeight);
    placeTwips(StatusBar1, 0, 5700, 8430, 300);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
}

void ReferenceWindow::buildDetails() {
    // Book: publisher and town, year, ISBN, Library of Congress reference, first edition.
    label(FrameBook, "LabelPublisher", "Publisher", 120, 300, 900);
    ComboPublisher = listBox(FrameBook, "ComboPublisher", 50); // BIBLIO.EDITEUR
    placeTwips(ComboPublisher, 1020, 270, 2400, 330);
    Town = detailsBox(FrameBook, "Town", 40, QStringLiteral("Town")); // BIBLIO.LIEU
    placeTwips(Town, 3480, 270, 1860, 330);
    tDate = detailsBox(FrameBook, "tDate", 0, yearBoxName());
    placeTwips(tDate, 120, 690, 900, 330);
    ISBN = detailsBox(FrameBook, "ISBN", 20, QStringLiteral("ISBN"));
    placeTwips(ISBN, 1080, 690, 2340, 330);
    label(FrameBook, "LabelCongress", "LOC Ref", 3480, 720, 700);
    BibCongress = detailsBox(FrameBook, "BibCongress", 60);
    placeTwips(BibCongress, 4200, 690, 1140, 330);
    label(FrameBook, "LabelNewPublisher", "New Publisher", 120, 1110, 1320);
    cmdNewEditeur = cardButton(FrameBook, "cmdNewEditeur", "Add a Publisher to the List", "");
    placeTwips(cmdNewEditeur, 1500, 1080, 2880, 330);
    CommandBookOriginal = cardButton(FrameBook, "CommandBookOriginal", "Original Edition", "");
    placeTwips(CommandBookOriginal, 120, 1425, 1800, 285);
    CommandBookStore = cardButton(FrameBook, "CommandBookStore", "Store", "");
    placeTwips(CommandBookStore, 3120, 1425, 1050, 285);
    CommandBookClose = cardButton(FrameBook, "CommandBookClose", "Close", "");
    placeTwips(CommandBookClose, 4290, 1425, 1050, 285);

    // Article: the review, its year, month, number and pages; ISSN and Other are not stored.
    label(FrameArticle, "LabelReview", "Review", 120, 300, 900);
    ComboReview = listBox(FrameArticle, "ComboReview", 50); // RevueArticle.RevueTitre
    placeTwips(ComboReview, 1020, 270, 2640, 330);
    ArticleISSN = detailsBox(FrameArticle, "ArticleISSN", 20, QStringLiteral("ISSN"));
    placeTwips(ArticleISSN, 3780, 270, 1560, 330);
    ArticleYear = detailsBox(FrameArticle, "ArticleYear", 0, yearBoxName());
    placeTwips(ArticleYear, 120, 690, 780, 330);
    label(FrameArticle, "LabelMonth", "Month", 960, 720, 540);
    ArticleMonth = detailsBox(FrameArticle, "ArticleMonth", 0);
    placeTwips(ArticleMonth, 1500, 690, 480, 330);
    label(FrameArticle, "LabelNumber", "Number", 2010, 720, 780);
    ArticleNumber = detailsBox(FrameArticle, "ArticleNumber", 50);
    placeTwips(ArticleNumber, 2790, 690, 810, 330);
    label(FrameArticle, "LabelPages", "pages", 3660, 720, 540);
    ArticlePages = detailsBox(FrameArticle, "ArticlePages", 50);
    placeTwips(ArticlePages, 4200, 690, 1140, 330);
    label(FrameArticle, "LabelOther", "Other", 120, 1110, 900);
    ArticleOther = detailsBox(FrameArticle, "ArticleOther", 0);
    placeTwips(ArticleOther, 1020, 1080, 2640, 330);
    CommandAddReview = cardButton(FrameArticle, "CommandAddReview", "Add a Review", "");
    placeTwips(CommandAddReview, 3780, 1080, 1560, 330);
    CommandArticleStore = cardButton(FrameArticle, "CommandArticleStore", "Store", "");
    placeTwips(CommandArticleStore, 3120, 1425, 1050, 285);
    CommandArticleClose = cardButton(FrameArticle, "CommandArticleClose", "Close", "");
    placeTwips(CommandArticleClose, 4290, 1425, 1050, 285);

    // Other: nothing of it is stored, so nothing may be typed there to be lost.
    TextOther = new QTextEdit(FrameOther);
    TextOther->setObjectName(QStringLiteral("TextOther"));
    TextOther->setReadOnly(true);
    placeTwips(TextOther, 120, 300, 5220, 1320);

    for (QWidget* f : {static_cast<QWidget*>(FrameBook), static_cast<QWidget*>(FrameArticle),
                       static_cast<QWidget*>(FrameOther)})
        f->hide();
    nameControls({{ComboPublisher, "Publisher"},
                  {ComboPublisher->lineEdit(), "Publisher"},
                  {Town, "Town"},
                  {tDate, "Year"},
                  {ISBN, "ISBN"},
                  {BibCongress, "LOC Ref"},
                  {ComboReview, "Review"},
                  {ComboReview->lineEdit(), "Review"},
                  {ArticleISSN, "ISSN"},
                  {ArticleYear, "Year"},
                  {ArticleMonth, "Month"},
                  {ArticleNumber, "Number"},
                  {ArticlePages, "pages"},
                  {ArticleOther, "Other"},
                  {TextOther, "Other details"}});

    auto watch = [this](QLineEdit* box, bool& flag) {
        connect(box, &QLineEdit::textChanged, this, [this, &flag] {
            if (!filling_) flag = true;
        });
    };
    for (QLineEdit* box : {ComboPublisher->lineEdit(), Town, tDate, ISBN, BibCongress})
        watch(box, bookChanged_);
    for (QLineEdit* box :
         {ComboReview->lineEdit(), ArticleYear, ArticleMonth, ArticleNumber, ArticlePages})
        watch(box, articleChanged_);

    connect(ComboPublisher, &QComboBox::activated, this, [this] {
        guarded([this] {
            const auto town = vlm::runGuarded(
                ctx_, [this] { return publisherTown(ctx_, ComboPublisher->currentText()); });
            if (town && !town->isEmpty()) Town->setText(*town);
        });
    });
    connect(ComboReview, &QComboBox::activated, this, [this] {
        guarded([this] {
            const auto issn = vlm::runGuarded(
                ctx_, [this] { return reviewIssn(ctx_, ComboReview->currentText()); });
            if (issn) ArticleISSN->setText(*issn);
        });
    });
    connect(CommandBookStore, &QPushButton::clicked, this,
            [this] { guarded([this] { storeBook(); }); });
    connect(CommandArticleStore, &QPushButton::clicked, this,
            [this] { guarded([this] { storeArticle(); }); });
    connect(cmdNewEditeur, &QPushButton::clicked, this,
            [this] { guarded([this] { addPublisher(); }); });
    connect(CommandAddReview, &QPushButton::clicked, this,
            [this] { guarded([this] { addReview(); }); });
    connect(CommandBookOriginal, &QPushButton::clicked, this,
            [this] { guarded([this] { openFirstEdition(); }); });
    for (QPushButton* close : {CommandBookClose, CommandArticleClose})
        connect(close, &QPushButton::clicked, this,
                [this] { SwitchCompleteRefs->setChecked(false); });
}

// The keyword frame gives way to the details frames, which begin at 2640 twips.
void ReferenceWindow::placeKeywordFrame(int widthTwips) {
    const int inner = widthTwips - 240;
    placeTwips(FrameKW, 120, 1500, widthTwips, 3420);
    placeTwips(cgMCBib, 120, 300, inner, 2520);
    placeTwips(cmdAddKW, 120, 2910, (inner - 120) / 2, kButtonHeight);
    placeTwips(cmdSuppKW, 240 + (inner - 120) / 2, 2910, (inner - 120) / 2, kButtonHeight);
}

void ReferenceWindow::showQuotesView() {
    FrameRefs->hide();
    for (QGroupBox* f : {FrameBook, FrameArticle, FrameOther})
        f->hide();
    FrameQuotes->show();
    placeKeywordFrame(3420);
    SwitchCompleteRefs->setText(QStringLiteral("Complete Refs"));
    QSignalBlocker quiet(SwitchCompleteRefs);
    SwitchCompleteRefs->setChecked(false);
    QWidget* outer = cardFrame(this);
    outer->resize(outer->width(), twipsToPixels(kHeightTwips));
    placeTwips(FrameCommands, 120, 5040, 8100, 600);
}

void ReferenceWindow::showDetailsView() {
    SwitchCompleteRefs->setText(QStringLiteral("Quotes"));
    const DetailsView view = detailsViewOf(ComboType->currentText());
    QGroupBox* shown = view == DetailsView::Book      ? FrameBook
                       : view == DetailsView::Article ? FrameArticle
                                                      : FrameOther;
    FrameQuotes->hide();
    for (QGroupBox* f : {FrameBook, FrameArticle, FrameOther})
        f->setVisible(f == shown);
    placeKeywordFrame(2400);
    FrameRefs->show();
    FrameRefs->raise();
    QWidget* outer = cardFrame(this);
    outer->resize(view == DetailsView::Other ? outer->width() : twipsToPixels(kWidthTwips),
                  twipsToPixels(kHeightTwips));
    const QRect holder = FrameRefs->geometry();
    FrameCommands->move(FrameCommands->x(), holder.bottom() + 1);
    if (view == DetailsView::Book) fillBookView();
    if (view == DetailsView::Article) fillArticleView();
}

void ReferenceWindow::fillBookView() {
    filling_ = true;
    vlm::runGuarded(ctx_, [this] {
        refill(ComboPublisher, publisherNames(ctx_));
        const std::optional<BookDetails> book = readBookDetails(ctx_, tag_);
        if (!book) return;
        // Each box shows what is stored, and keeps what it holds when nothing is.
        const std::pair<QString, QLineEdit*> boxes[] = {
            {book->publisher, ComboPublisher->lineEdit()},
            {book->town, Town},
            {book->year, tDate},
            {book->isbn, ISBN},
            {book->congress, BibCongress}};
        for (const auto& [value, box] : boxes)
            if (!value.isEmpty()) box->setText(value);
    });
    filling_ = false;
}

void ReferenceWindow::fillArticleView() {
    filling_ = true;
    vlm::runGuarded(ctx_, [this] {
        refill(ComboReview, reviewNames(ctx_));
        const std::optional<ArticleDetails> article = readArticleDetails(ctx_, tag_);
        if (!article) return;
        const std::pair<QString, QLineEdit*> boxes[] = {{article->review, ComboReview->lineEdit()},
                                                        {article->year, ArticleYear},
                                                        {article->month, ArticleMonth},
                                                        {article->number, ArticleNumber},
                                                        {article->pages, ArticlePages}};
        for (const auto& [value, box] : boxes)
            if (!value.isEmpty()) box->setText(value);
        if (!article->review.isEmpty()) ArticleISSN->setText(reviewIssn(ctx_, article->review));
    });
    filling_ = false;
}

bool ReferenceWindow::storeBook() {
    const bool ok = tellDetailsStatus(
        ctx_, storeBookDetails(ctx_, tag_,
                               {ComboPublisher->currentText(), Town->text(), tDate->text(),
                                ISBN->text(), BibCongress->text()}));
    if (ok) bookChanged_ = false;
    return ok;
}

bool ReferenceWindow::storeArticleOnly() {
    const bool ok =
        tellDetailsStatus(ctx_, storeArticleDetails(ctx_, tag_,
                                                    {ComboReview->currentText(),
                                                     ArticleYear->text(), ArticleMonth->text(),
                                                     ArticleNumber->text(), ArticlePages->text()}));
    if (ok) articleChanged_ = false;
    return ok;
}

bool ReferenceWindow::storeArticle() {
    if (!storeArticleOnly()) return false;
    cardFrame(this)->close();
    return true;
}

bool ReferenceWindow::storeCard() {
    // What the close question stores: the card, and the details changed since their store.
    if (!store()) return false;
    if (bookChanged_ && !storeBook()) return false;
    return !articleChanged_ || storeArticleOnly();
}

void ReferenceWindow::addPublisher() {
    const QString name = keywords::oneLineName(ComboPublisher->currentText());
    if (name.isEmpty()) {
        ctx_.prompter.message(enterNameFirstMessage(), Buttons::Ok, Icon::Information);
        return;
    }
    ctx_.prompter.message(addPublisherQuestion(name, Town->text()), Buttons::Ok, Icon::Question);
    const Result<Addition> r = cards::addPublisher(ctx_, name, Town->text());
    if (!tellDetailsStatus(ctx_, r.status())) return;
    if (*r == Addition::Exists)
        ctx_.prompter.message(publisherExistsMessage(), Buttons::Ok, Icon::Exclamation);
}

void ReferenceWindow::addReview() {
    const QString name = keywords::oneLineName(ComboReview->currentText());
    if (name.isEmpty()) {
        ctx_.prompter.message(enterNameFirstMessage(), Buttons::Ok, Icon::Information);
        return;
    }
    ctx_.prompter.message(addReviewQuestion(name, ArticleISSN->text()), Buttons::Ok,
                          Icon::Question);
    const Result<Addition> r = cards::addReview(ctx_, name, ArticleISSN->text());
    if (!tellDetailsStatus(ctx_, r.status())) return;
    if (*r == Addition::Exists)
        ctx_.prompter.message(reviewExistsMessage(), Buttons::Ok, Icon::Exclamation);
}

void ReferenceWindow::openFirstEdition() {
    if (!firstEdition_) {
        firstEdition_ = new FirstEditionWindow(ctx_, tag_, this);
        firstEdition_->move(FrameBook->mapToGlobal(QPoint(0, 0)));
    }
    firstEdition_->show();
    firstEdition_->raise();
    firstEdition_->activateWindow();
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
    closeDeleted();
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

QString ReferenceWindow::closeQuestion() const {
    return closeQuestionText();
}

bool ReferenceWindow::unsavedChanges() const {
    return !deleted_ && changed() && ctx_.base.isOpen();
}

void ReferenceWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace vlm::cards
