#include "gui/shell/startwindow.h"

#include "core/common/twips.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace vlm {

namespace {

// Designed geometry, in twips.
constexpr int WindowWidth = 6000, WindowHeight = 3900;
constexpr int PictureLeft = 2040, PictureTop = 300, PictureSize = 1920;
constexpr int TitleLeft = 1200, TitleTop = 2340, TitleWidth = 3600, TitleHeight = 660;
constexpr int SecondLeft = 600, SecondTop = 3060, SecondWidth = 4800, SecondHeight = 360;

StartAnimation::Design designInPixels() {
    StartAnimation::Design d;
    d.picture = twipsRect(PictureLeft, PictureTop, PictureSize, PictureSize);
    d.titleLeft = twipsToPixels(TitleLeft);
    d.secondLeft = twipsToPixels(SecondLeft);
    return d;
}

} // namespace

Emblem::Emblem(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void StartWindow::paintEvent(QPaintEvent*) {
    // A thin edge: the window has no frame of its own.
    QPainter p(this);
    p.setPen(QColor(0x14, 0x2b, 0x57));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Emblem::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paint(p, rect());
}

void Emblem::paint(QPainter& p, const QRectF& r) {
    if (r.width() < 2 || r.height() < 2) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(r.width(), r.height());
    p.translate(r.center());
    p.scale(s / 100.0, s / 100.0); // draw in a 100 x 100 box centred on 0,0

    // Disc.
    QRadialGradient disc(QPointF(-15, -20), 70);
    disc.setColorAt(0, QColor(0x3d, 0x6e, 0xb4));
    disc.setColorAt(1, QColor(0x14, 0x2b, 0x57));
    p.setPen(QPen(QColor(0xd8, 0xb0, 0x4c), 3));
    p.setBrush(disc);
    p.drawEllipse(QPointF(0, 0), 47, 47);

    // Three cards fanned out: a Note, a Quote, a Reference.
    const QColor cardColours[3] = {QColor(0xf4, 0xee, 0xdc), QColor(0xfb, 0xf7, 0xea),
                                   QColor(0xff, 0xff, 0xff)};
    const double angles[3] = {-16, 0, 16};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.rotate(angles[i]);
        p.translate(0, -4);
        p.setPen(QPen(QColor(0x5a, 0x4a, 0x2a), 1.2));
        p.setBrush(cardColours[i]);
        p.drawRoundedRect(QRectF(-17, -24, 34, 44), 3, 3);
        p.setPen(QPen(QColor(0x9a, 0x8a, 0x6a), 1.4));
        for (int line = 0; line < 4; ++line) {
            const double y = -15 + line * 8;
            p.drawLine(QPointF(-11, y), QPointF(line == 3 ? 2 : 11, y));
        }
        p.restore();
    }

    // A keyword graph below the cards: a Superset tied to two Subsets.
    const QPointF top(0, 22), left(-18, 36), right(18, 36);
    p.setPen(QPen(QColor(0xd8, 0xb0, 0x4c), 2.2));
    p.drawLine(top, left);
    p.drawLine(top, right);
    p.setBrush(QColor(0xf2, 0xc9, 0x5c));
    p.setPen(QPen(QColor(0x7a, 0x5a, 0x10), 1));
    for (const QPointF& node : {top, left, right})
        p.drawEllipse(node, 5, 5);
    p.restore();
}

StartWindow::StartWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Picture1(new Emblem(this)),
      Label1(new QLabel(QStringLiteral("Notes, quotes and references, woven by keywords"), this)),
      Label2(new QLabel(QStringLiteral("Velmora"), this)), Timer1(new QTimer(this)),
      design_(designInPixels()), animation_(design_) {
    setObjectName(QStringLiteral("fDebut"));
    setWindowTitle(QStringLiteral("Velmora"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    setFixedSize(twipsSize(WindowWidth, WindowHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xfa, 0xf7, 0xf0));
    pal.setColor(QPalette::WindowText, QColor(0x14, 0x2b, 0x57));
    setPalette(pal);

    QFont title = Label2->font();
    title.setPointSize(26);
    title.setBold(true);
    Label2->setFont(title);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setGeometry(twipsRect(TitleLeft, TitleTop, TitleWidth, TitleHeight));
    QFont second = Label1->font();
    second.setItalic(true);
    Label1->setFont(second);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(twipsRect(SecondLeft, SecondTop, SecondWidth, SecondHeight));

    // Centred on the screen, halves as whole numbers.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->geometry();
        move(g.left() + (g.width() - width()) / 2, g.top() + (g.height() - height()) / 2);
    }

    // The emblem starts as the centre point of its rectangle, the labels hidden at the left edge.
    apply(animation_.state());
    Timer1->setInterval(StartAnimation::IntervalMs);
    connect(Timer1, &QTimer::timeout, this, &StartWindow::tick);
}

void StartWindow::startAnimation() {
    Timer1->start();
}

void StartWindow::apply(const StartAnimation::State& s) {
    Picture1->setGeometry(s.picture);
    Picture1->setVisible(!s.picture.isEmpty());
    Label2->move(s.titleLeft, Label2->y());
    Label1->move(s.secondLeft, Label1->y());
    Label2->setVisible(s.titleVisible);
    Label1->setVisible(s.secondVisible);
}

void StartWindow::tick() {
    if (animation_.state().finished) return;
    apply(animation_.tick());
    if (animation_.state().finished) {
        Timer1->stop();
        emit finished();
    }
}

} // namespace vlm
