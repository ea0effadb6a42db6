#include "gui/cards/typedialog.h"

#include "core/cards/cardstore.h"
#include "core/session/session.h"
#include "gui/cards/cardwindows.h"
#include "gui/cards/openers.h"
#include "gui/common/accessiblenames.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace vlm::cards {

TypeDialog::TypeDialog(Session& ctx, const QString& referenceNumber, QWidget* parent)
    : QDialog(parent), ctx_(ctx), number_(referenceNumber) {
    setObjectName(QStringLiteral("frmType"));
    setWindowTitle(QStringLiteral("Type selection"));
    setModal(false);

    Label1 = new QLabel(QStringLiteral("Document Type :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->addItems(referenceTypes(ctx_));
    Combo1->setEditText(noTypeText());
    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    nameControls({{Combo1, "Document type"}, {Combo1->lineEdit(), "Document type"}});
    connect(CmdOK, &QPushButton::clicked, this, [this] { runGuarded(ctx_, [this] { ok(); }); });
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::close);

    placeTwips(Label1, 240, 240, 1500, 300);
    placeTwips(Combo1, 1800, 200, 2400, 330);
    placeTwips(CmdOK, 960, 840, 1200, 375);
    placeTwips(CmdCancel, 2400, 840, 1200, 375);
    setFixedSize(QSize(Combo1->geometry().right() + 16, CmdOK->geometry().bottom() + 16));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TypeDialog::ok() {
    const CardResult r = setReferenceType(ctx_, number_, Combo1->currentText());
    close();
    if (r.status == CardStatus::Nothing) {
        ctx_.prompter.message(missingRecordMessage(), Buttons::Ok, Icon::Exclamation);
        return;
    }
    if (!r.message.isEmpty()) ctx_.prompter.message(r.message, Buttons::Ok, Icon::Exclamation);
    if (cardExists(ctx_, CardKind::Reference, number_)) openReferenceCard(ctx_);
}

} // namespace vlm::cards
