#include "gui/shell/welcomedialog.h"

#include "core/common/twips.h"
#include "core/session/basechoice.h"
#include "core/session/session.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace vlm {

namespace {

constexpr int NormalWidth = 4710, NormalHeight = 2145;
constexpr int RetryWidth = 6290, RetryHeight = 3915;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(twipsRect(left, top, width, height));
    b->setAutoDefault(false);
    return b;
}

} // namespace

WelcomeDialog::WelcomeDialog(Session& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("fAccueil"));
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowModality(Qt::NonModal);

    Label1 = new QLabel(QStringLiteral("Do you want to open :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(360, 300, 5400, 300));

    Command1 = makeButton(this, "Command1", QStringLiteral("a new base"), 1680, 960, 2655, 375);
    Command2 =
        makeButton(this, "Command2", QStringLiteral("an existing base"), 1680, 1560, 2655, 375);
    Command2->setDefault(true);
    CommandAgain = makeButton(this, "CommandAgain", QStringLiteral("try to open the base again"),
                              600, 840, 5235, 495);
    CommandOther =
        makeButton(this, "CommandOther", QStringLiteral("open another base"), 600, 1440, 5235, 495);
    CommandNew =
        makeButton(this, "CommandNew", QStringLiteral("open a new base"), 600, 2100, 5235, 495);
    CommandQuit = makeButton(this, "CommandQuit", QStringLiteral("quit"), 600, 2760, 5235, 495);

    connect(Command1, &QPushButton::clicked, this, &WelcomeDialog::newBase);
    connect(CommandNew, &QPushButton::clicked, this, &WelcomeDialog::newBase);
    connect(Command2, &QPushButton::clicked, this, &WelcomeDialog::existingBase);
    connect(CommandOther, &QPushButton::clicked, this, &WelcomeDialog::existingBase);
    connect(CommandAgain, &QPushButton::clicked, this, &WelcomeDialog::retryPassword);
    connect(CommandQuit, &QPushButton::clicked, this, &WelcomeDialog::quitRequested);

    setNormalMode();
}

void WelcomeDialog::centre() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        move(g.left() + (g.width() - width()) / 2, g.top() + (g.height() - height()) / 2);
    }
}

void WelcomeDialog::setNormalMode() {
    retry_ = false;
    Label1->setText(QStringLiteral("Do you want to open :"));
    Command1->show();
    Command2->show();
    for (QPushButton* b : {CommandAgain, CommandOther, CommandNew, CommandQuit})
        b->hide();
    Command2->setDefault(true);
    setFixedSize(twipsSize(NormalWidth, NormalHeight));
    centre();
}

void WelcomeDialog::setRetryMode() {
    retry_ = true;
    Command1->hide();
    Command2->hide();
    Command2->setDefault(false);
    for (QPushButton* b : {CommandAgain, CommandOther, CommandNew, CommandQuit})
        b->show();
    CommandAgain->setDefault(true);
    setFixedSize(twipsSize(RetryWidth, RetryHeight));
    Label1->setText(QStringLiteral("Invalid Password - Please select an operation :"));
    update();
    show();
    raise();
    activateWindow();
}

void WelcomeDialog::newBase() {
    const QString name = chooseNewBase(ctx_.prompter);
    if (name.isEmpty()) return; // cancelled: the dialog stays as it is
    emit operationDone(ctx_.base.createBase(name));
}

void WelcomeDialog::existingBase() {
    hide();
    if (!chooseBaseFile(ctx_)) {
        emit existingBaseCancelled();
        return;
    }
    emit operationDone(ctx_.base.openBase(ctx_.base.BasePath));
}

void WelcomeDialog::retryPassword() {
    emit operationDone(ctx_.base.retryBasePassword());
}

} // namespace vlm
