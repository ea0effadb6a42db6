#include "gui/words/exclusioneditor.h"

#include "core/common/twips.h"
#include "core/keywords/keywordstore.h"
#include "core/keywords/listrules.h"
#include "core/session/session.h"
#include "core/words/exclusionlist.h"
#include "gui/common/childwindows.h"
#include "gui/common/guarded.h"
#include "gui/common/texttableview.h"
#include "gui/words/wordanalysis.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

namespace vlm::words {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    return b;
}

// A refusal of the table: the read-only base in its own words, the rest as the store says.
void showWriteFailure(Session& ctx, const Status& s) {
    if (s.isReadOnly())
        ctx.prompter.message(keywords::readOnlyMessage(), Buttons::Ok, Icon::Exclamation);
    else
        showFailure(ctx, s);
}

} // namespace

ExclusionEditor::ExclusionEditor(Session& ctx, std::optional<AnalysedCard> card, QWidget* parent)
    : QWidget(parent), ctx_(ctx), card_(std::move(card)),
      Label2(new QLabel(QStringLiteral("Excluded Words Management"), this)),
      Label1(new QLabel(QStringLiteral("Excluded Words :"), this)),
      List1(new TextTableView(1, this)),
      Command2(button(this, "Command2", QStringLiteral("Add"),
                      QStringLiteral("Add a word to the excluded words list"))),
      Command3(button(this, "Command3", QStringLiteral("Supp"),
                      QStringLiteral("Remove a word from the excluded words list"))),
      Check1(new QCheckBox(QStringLiteral("Include All Words (even <2)"), this)),
      Command1(button(this, "Command1", QStringLiteral("Analyse Again"),
                      QStringLiteral("Analyse the card's text again with this list"))),
      Command4(button(this, "Command4", QStringLiteral("Export List"),
                      QStringLiteral("Write the card's word list to SORTIE.TXT and show it"))) {
    setObjectName(QStringLiteral("fChoixMots"));
    setWindowTitle(QStringLiteral("Words choice"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    List1->setObjectName(QStringLiteral("List1"));
    List1->horizontalHeader()->hide();
    List1->horizontalHeader()->setStretchLastSection(true);
    List1->setAccessibleName(QStringLiteral("Excluded Words"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setToolTip(QStringLiteral("This will not exclude any word"));
    Check1->setChecked(ctx_.IncludeAllWords);
    Command1->setVisible(card_.has_value());
    Command4->setVisible(card_.has_value());

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0, 1, 2);
    grid->addWidget(Label1, 1, 0, 1, 2);
    grid->addWidget(List1, 2, 0, 4, 1);
    grid->addWidget(Command2, 2, 1);
    grid->addWidget(Command3, 3, 1);
    grid->addWidget(Command1, 4, 1);
    grid->addWidget(Command4, 5, 1);
    grid->addWidget(Check1, 6, 0, 1, 2);
    resize(twipsToPixels(4800), twipsToPixels(5200));

    connect(Command2, &QPushButton::clicked, this, &ExclusionEditor::addWord);
    connect(Command3, &QPushButton::clicked, this, &ExclusionEditor::discardWord);
    connect(Command1, &QPushButton::clicked, this, &ExclusionEditor::analyseAgain);
    connect(Command4, &QPushButton::clicked, this, &ExclusionEditor::exportList);
    connect(Check1, &QCheckBox::toggled, this, [this](bool on) { ctx_.IncludeAllWords = on; });
    reload();
}

ExclusionEditor* ExclusionEditor::open(Session& ctx, std::optional<AnalysedCard> card) {
    closeChildWindow(findWindowNamed(ctx, QStringLiteral("fChoixMots")));
    auto* editor = new ExclusionEditor(ctx, std::move(card));
    showChildWindow(ctx, editor, ChildPlacement::inFront());
    return editor;
}

void ExclusionEditor::reload() {
    if (const auto words = runGuarded(ctx_, [&] { return excludedWordsInTableOrder(ctx_); }))
        List1->setRows(oneColumnRows(*words));
}

void ExclusionEditor::addWord() {
    const auto typed =
        ctx_.prompter.input(QStringLiteral("Fill in the word you want to add to exclusion list"),
                            QStringLiteral("New excluded word"));
    const QString word = keywords::oneLineName(typed.value_or(QString()));
    if (word.isEmpty()) return;
    const Result<bool> added = excludeWord(ctx_, word);
    if (!added.ok()) {
        showWriteFailure(ctx_, added.status());
    } else if (!*added) {
        ctx_.prompter.message(alreadyExcludedMessage(word), Buttons::Ok, Icon::Exclamation);
    } else {
        reload();
        List1->setCurrentCell(List1->rowCount() - 1, 0);
    }
}

void ExclusionEditor::discardWord() {
    const int row = List1->currentRow();
    const QString word = row >= 0 ? List1->text(row) : QString();
    if (word.isEmpty()) return;
    // The box has only OK: the discard follows when it is closed.
    ctx_.prompter.message(QStringLiteral("Discard ") + word +
                              QStringLiteral(" from Exclusion List ?"),
                          Buttons::Ok, Icon::Question);
    const Result<bool> removed = removeExcludedWord(ctx_, word);
    if (!removed.ok()) {
        showWriteFailure(ctx_, removed.status());
        return;
    }
    List1->removeRow(row);
}

void ExclusionEditor::analyseAgain() {
    if (!card_) return;
    Command1->hide();
    QPointer<ExclusionEditor> self(this);
    analyseStoredCard(ctx_, *card_);
    // Closed once this click is over: the button must outlive its own signal.
    if (!self) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void ExclusionEditor::exportList() {
    if (!card_) return;
    Command4->setEnabled(false);
    Command4->hide();
    exportWordList(ctx_, *card_);
}

} // namespace vlm::words
