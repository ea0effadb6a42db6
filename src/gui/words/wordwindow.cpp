#include "gui/words/wordwindow.h"

#include "core/common/twips.h"
#include "core/keywords/cardkeywords.h"
#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/words/exclusionlist.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"
#include "gui/words/exclusioneditor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace vlm::words {

namespace {

TextTableView* grid(QWidget* parent, const char* name, const QString& title) {
    auto* g = new TextTableView(2, parent);
    g->setObjectName(QLatin1String(name));
    g->textModel()->setHeaders({title, QStringLiteral("Nb")});
    g->setColumnWidthsTwips({1800, 420});
    g->setAccessibleName(title);
    return g;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

// The buttons that once showed only a picture carry a caption too, and every button says what
// it does to a screen reader.
QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    if (!tip.isEmpty()) b->setToolTip(tip);
    b->setAccessibleDescription(tip.isEmpty() ? caption : tip.trimmed());
    return b;
}

} // namespace

WordWindow::WordWindow(Session& ctx, AnalysedCard card, WordList list, QWidget* parent)
    : QWidget(parent), ctx_(ctx), card_(std::move(card)), list_(std::move(list)),
      Label1(label(this, "Label1",
                   QStringLiteral("This window shows all the words included in the text, sorted "
                                  "by number of occurences and alpha, except the excluded words "
                                  "in the Exclusion List"))),
      Grid1(grid(this, "Grid1", QStringLiteral("Text Term"))),
      Label2(label(this, "Label2",
                   QStringLiteral("This window shows all the words included in the text that "
                                  "are recognized as Keywords"))),
      Grid2(grid(this, "Grid2", QStringLiteral("KeyWord Term"))),
      Label3(label(this, "Label3", QStringLiteral("Keywords of the text"))),
      Grid3(grid(this, "Grid3", QStringLiteral("Keywords"))),
      Command1(button(this, "Command1", QStringLiteral("Word Exclude"),
                      QStringLiteral("Exclude the selected word in future researchs"))),
      Command2(button(this, "Command2", QStringLiteral("Print List"))),
      Command3(button(this, "Command3", QStringLiteral("Make KeyWord"),
                      QStringLiteral("Makes the selected Word a Keyword"))),
      Command4(button(this, "Command4", QStringLiteral("Add to Card"),
                      QStringLiteral("Adds the selected Keyword to the Card's Keywords"))),
      Command5(button(this, "Command5", QStringLiteral("Add All to Card"),
                      QStringLiteral("Adds all the Keywords in the Card's Keywords"))),
      Command6(button(this, "Command6", QStringLiteral("Exclusion List Parameters"))),
      StatusBar1(new QStatusBar(this)) {
    setObjectName(QStringLiteral("fWords"));
    setWindowTitle(QStringLiteral("Words in Text"));
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* columns = new QGridLayout;
    columns->addWidget(Label1, 0, 0);
    columns->addWidget(Grid1, 1, 0);
    columns->addWidget(Label2, 0, 1);
    columns->addWidget(Grid2, 1, 1);
    columns->addWidget(Label3, 0, 2);
    columns->addWidget(Grid3, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5, Command6})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar1);
    resize(twipsToPixels(9600), twipsToPixels(6400));

    connect(Command1, &QPushButton::clicked, this, &WordWindow::excludeSelectedWord);
    connect(Command2, &QPushButton::clicked, this, &WordWindow::applyExclusionList);
    connect(Command3, &QPushButton::clicked, this, &WordWindow::makeSelectedWordKeyword);
    connect(Command4, &QPushButton::clicked, this, &WordWindow::linkSelectedKeyword);
    connect(Command5, &QPushButton::clicked, this, &WordWindow::linkAllKeywords);
    connect(Command6, &QPushButton::clicked, this, &WordWindow::openExclusionEditor);

    fillTextTerms();
    fillKeywordWords();
    fillCardKeywords();
}

void WordWindow::fillTextTerms(const QString& select) {
    std::vector<QStringList> rows;
    rows.reserve(list_.size());
    int selected = -1;
    for (const WordCount& e : list_) {
        if (selected < 0 && !select.isEmpty() && e.word == select) selected = int(rows.size());
        rows.push_back({e.word, QString::number(e.count)});
    }
    Grid1->setRows(std::move(rows));
    if (selected >= 0) {
        Grid1->setCurrentCell(selected, 0);
        Grid1->scrollTo(Grid1->model()->index(selected, 0));
    }
    StatusBar1->showMessage(QString::number(list_.size()) + QStringLiteral(" words"));
}

void WordWindow::fillKeywordWords() {
    const auto found = runGuarded(ctx_, [&] { return keywordsAmong(ctx_, list_); });
    if (!found) return;
    keywordWords_ = *found;
    std::vector<QStringList> rows;
    rows.reserve(keywordWords_.size());
    for (const KeywordWord& k : keywordWords_)
        rows.push_back({k.word, QString::number(k.count)});
    Grid2->setRows(std::move(rows));
}

void WordWindow::fillCardKeywords() {
    const auto names =
        runGuarded(ctx_, [&] { return cardKeywords(ctx_, card_.kind, card_.number); });
    if (!names) return;
    std::vector<QStringList> rows;
    for (const QString& n : *names)
        rows.push_back({n});
    Grid3->setRows(std::move(rows));
}

void WordWindow::tellFailure(const Status& status) {
    if (status.isReadOnly())
        ctx_.prompter.message(keywords::readOnlyMessage(), Buttons::Ok, Icon::Exclamation);
    else
        showFailure(ctx_, status);
}

QString WordWindow::selectedWord() const {
    const int row = Grid1->currentRow();
    return row >= 0 ? Grid1->text(row) : QString();
}

void WordWindow::excludeSelectedWord() {
    const int row = Grid1->currentRow();
    const QString word = selectedWord();
    if (word.isEmpty()) return;
    const Result<bool> r = excludeWord(ctx_, word);
    if (!r.ok()) return tellFailure(r.status());
    Grid1->removeRow(row);
}

void WordWindow::applyExclusionList() {
    const QString selected = selectedWord();
    const auto excluded = runGuarded(ctx_, [&] { return loadExclusionList(ctx_); });
    if (!excluded) return;
    removeExcludedWords(list_, *excluded);
    fillTextTerms(selected);
}

void WordWindow::makeSelectedWordKeyword() {
    const QString word = selectedWord();
    if (word.isEmpty()) return;
    if (ctx_.prompter.message(QStringLiteral("Add '") + word + QStringLiteral("' as KeyWord ?"),
                              Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return;
    const keywords::KWResult r = keywords::storeKeyword(ctx_, word);
    if (!r.message.isEmpty()) ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (r.status == keywords::KWStatus::Failed) showFailure(ctx_, r.store);
    // The new keyword can be linked to the card at once.
    if (r.ok()) fillKeywordWords();
}

void WordWindow::linkSelectedKeyword() {
    const int row = Grid2->currentRow();
    if (row < 0 || row >= int(keywordWords_.size())) return;
    link({keywordWords_[size_t(row)]});
}

void WordWindow::linkAllKeywords() {
    if (!keywordWords_.empty()) link(keywordWords_);
}

void WordWindow::link(const std::vector<KeywordWord>& keywords) {
    const Result<LinkOutcome> r = linkKeywordsToCard(ctx_, card_, keywords);
    if (!r.ok()) return tellFailure(r.status());
    // The card's own windows follow the new links themselves (cardChanged).
    fillCardKeywords();
    if (!r->alreadyThere.isEmpty())
        ctx_.prompter.message(keywords::alreadyAttachedText(r->alreadyThere), Buttons::Ok,
                              Icon::Information);
    raise();
}

void WordWindow::openExclusionEditor() {
    ExclusionEditor::open(ctx_, card_);
}

} // namespace vlm::words
