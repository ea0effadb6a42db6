#include "gui/shell/aboutdialog.h"

#include "core/common/aboutinfo.h"
#include "core/common/prompter.h"
#include "gui/common/accessiblenames.h"
#include "gui/shell/startwindow.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlm {

namespace {

QPixmap emblemPixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    Emblem::paint(p, QRectF(0, 0, size, size));
    return pm;
}

// Opens a page of the maker with the desktop's opener.
void openPage(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

} // namespace

AboutDialog::AboutDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter),
      starter_([](const QString& program) { return QProcess::startDetached(program, {}); }),
      finder_(&findSystemInfoTool) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("À propos de ") + appTitle());

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(emblemPixmap(72));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = new QLabel(appTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);

    lblVersion = new QLabel(QStringLiteral("Version ") + velmoraVersion(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    lblDescription =
        new QLabel(QStringLiteral("A knowledge base for your notes, quotations and references, "
                                  "ordered by keywords."),
                   this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    Command1 = new QPushButton(QStringLiteral("&Registration..."), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(registrationPage().toString());
    Command2 = new QPushButton(QStringLiteral("&Home Page..."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(homePage().toString());

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(8);
    text->addWidget(lblDescription);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);

    tabInOrder({Command1, Command2, cmdSysInfo, CmdOK}); // as they stand, left to right
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(CmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(CmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(Command1, &QPushButton::clicked, this, [] { openPage(registrationPage()); });
    connect(Command2, &QPushButton::clicked, this, [] { openPage(homePage()); });
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::startSysInfo);
}

void AboutDialog::startSysInfo() {
    const QString tool = finder_ ? finder_() : QString();
    if (!tool.isEmpty() && starter_(tool)) return;
    prompter_.message(
        QStringLiteral("Les informations système ne sont pas disponibles actuellement"),
        Buttons::Ok, Icon::Information);
}

} // namespace vlm
