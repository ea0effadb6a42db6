#include "gui/cards/firsteditionwindow.h"

#include "gui/common/accessiblenames.h"

#include "core/cards/referencedetails.h"
#include "core/common/twips.h"
#include "core/session/session.h"
#include "gui/cards/cardwindows.h"
#include "gui/common/guarded.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vlm::cards {

bool tellDetailsStatus(Session& ctx, const Status& status) {
    if (status.ok()) return true;
    if (status.isOutOfMemory())
        showFailure(ctx, status);
    else
        ctx.prompter.message(status.message(), Buttons::Ok, Icon::Exclamation);
    return false;
}

namespace {
QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}
} // namespace

FirstEditionWindow::FirstEditionWindow(Session& ctx, const QString& number, QWidget* owner)
    : QWidget(owner, Qt::Window), ctx_(ctx), number_(number) {
    setObjectName(QStringLiteral("fFirstEdit"));
    setWindowTitle(QStringLiteral("First Edition"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = label(this, "Label1", "First Edition :");
    Label2 = label(this, "Label2", "Title");
    Label3 = label(this, "Label3", "Publisher");
    tTitreOrig = cardLineBox(this, "tTitreOrig");
    tTitreOrig->setMaxLength(100); // BIBLIO.TITRE_ORI
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    tLieuOrig = cardLineBox(this, "tLieuOrig");
    tLieuOrig->setMaxLength(30); // BIBLIO.LIEU_ORIG
    tLieuOrig->setPlaceholderText(QStringLiteral("Town"));
    tDateOrig = cardLineBox(this, "tDateOrig");
    tDateOrig->setPlaceholderText(yearBoxName());
    Command1 = cardButton(this, "Command1", "Store", "");
    Command2 = cardButton(this, "Command2", "Close", "");

    placeTwips(Label1, 120, 120, 2400, 300);
    placeTwips(Label2, 120, 540, 1000, 300);
    placeTwips(tTitreOrig, 1200, 510, 3240, 330);
    placeTwips(Label3, 120, 960, 1000, 300);
    placeTwips(Combo1, 1200, 930, 3240, 330);
    placeTwips(tLieuOrig, 1200, 1350, 3240, 330);
    placeTwips(tDateOrig, 1200, 1770, 1200, 330);
    placeTwips(Command1, 1200, 2400, 1300, 375);
    placeTwips(Command2, 2760, 2400, 1300, 375);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));

    vlm::runGuarded(ctx_, [this] {
        Combo1->addItems(publisherNames(ctx_));
        const std::optional<FirstEdition> first = readFirstEdition(ctx_, number_);
        if (!first) return;
        tTitreOrig->setText(first->title);
        Combo1->setEditText(first->publisher);
        tLieuOrig->setText(first->town);
        tDateOrig->setText(first->year);
    });
    Combo1->lineEdit()->setMaxLength(50); // BIBLIO.EDITEUROR
    nameControls({{tTitreOrig, "First edition title"},
                  {Combo1, "First edition publisher"},
                  {Combo1->lineEdit(), "First edition publisher"},
                  {tLieuOrig, "First edition town"},
                  {tDateOrig, "First edition year"}});

    connect(Combo1, &QComboBox::activated, this, &FirstEditionWindow::choosePublisher);
    connect(Command1, &QPushButton::clicked, this, &FirstEditionWindow::store);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void FirstEditionWindow::choosePublisher() {
    const auto town =
        vlm::runGuarded(ctx_, [this] { return publisherTown(ctx_, Combo1->currentText()); });
    if (town && !town->isEmpty()) tLieuOrig->setText(*town);
}

bool FirstEditionWindow::store() {
    return tellDetailsStatus(ctx_, storeFirstEdition(ctx_, number_,
                                                     {tTitreOrig->text(), Combo1->currentText(),
                                                      tLieuOrig->text(), tDateOrig->text()}));
}

} // namespace vlm::cards
