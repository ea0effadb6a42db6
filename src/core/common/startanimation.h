#pragma once

// The steps of the start window's animation, computed without widgets.

#include <QRect>

namespace vlm {

// The start window's animation, without the window: the emblem grows from the centre of its
// designed rectangle over the first seven ticks, then the two labels slide in from the left
// edge, the title from tick 8 and the second line shown from tick 11, both in place at tick 14.
// The animation ends on tick 64 (65 ticks of 10 ms).
class StartAnimation {
public:
    static constexpr int IntervalMs = 10;
    static constexpr int LastTick = 64;

    struct Design {
        QRect picture;      // designed place and size of the emblem
        int titleLeft = 0;  // designed left of the title label (Label2)
        int secondLeft = 0; // designed left of the second line (Label1)
    };
    struct State {
        QRect picture;
        int titleLeft = 0;
        int secondLeft = 0;
        bool titleVisible = false;
        bool secondVisible = false;
        bool finished = false;
    };

    explicit StartAnimation(const Design& design);

    // Before the first tick: the emblem reduced to its centre point, both labels hidden at 0.
    const State& state() const { return state_; }
    // The counter value the next tick will run with (0 to 64).
    int counter() const { return counter_; }
    QPoint centre() const { return centre_; }
    // Runs one tick and returns the state after it; once finished, ticks change nothing.
    const State& tick();

private:
    Design design_;
    QPoint centre_;
    State state_;
    qint16 counter_ = 0;
};

} // namespace vlm
