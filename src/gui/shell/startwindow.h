#pragma once

// The start window shown while the program starts, with its animation.

#include "core/common/startanimation.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace vlm {

// Velmora's emblem: three index cards fanned out over a disc, tied by a small keyword graph.
// Drawn to the size of the widget, so it can grow smoothly.
class Emblem : public QWidget {
    Q_OBJECT
public:
    explicit Emblem(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {128, 128}; }
    // Paints the emblem into rect.
    static void paint(QPainter& p, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent*) override;
};

// The start window: a frameless window, centred on the screen, whose emblem grows from its
// centre while the title and a second line slide in. After 65 ticks of 10 ms it reports
// `finished`, and start-up goes on with the start base.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);

    // Starts the timer of the animation.
    void startAnimation();
    // One tick of the animation; the timer calls it, tests may call it directly.
    void tick();
    const StartAnimation& animation() const { return animation_; }
    // The designed place of the emblem and the labels, in pixels.
    QRect designedPicture() const { return design_.picture; }
    int designedTitleLeft() const { return design_.titleLeft; }
    int designedSecondLeft() const { return design_.secondLeft; }

    Emblem* Picture1;
    QLabel* Label1; // the second line
    QLabel* Label2; // "Velmora"
    QTimer* Timer1;

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void apply(const StartAnimation::State& s);

    StartAnimation::Design design_;
    StartAnimation animation_;
};

} // namespace vlm
