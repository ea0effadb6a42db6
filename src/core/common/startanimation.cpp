#include "core/common/startanimation.h"

namespace vlm {

StartAnimation::StartAnimation(const Design& design)
    : design_(design), centre_(design.picture.left() + design.picture.width() / 2,
                               design.picture.top() + design.picture.height() / 2) {
    state_.picture = QRect(centre_, QSize(0, 0));
}

const StartAnimation::State& StartAnimation::tick() {
    if (state_.finished) return state_;
    const int n = counter_;
    if (n <= 6) {
        const int w = design_.picture.width() * (n + 1) / 7;
        const int h = design_.picture.height() * (n + 1) / 7;
        state_.picture = QRect(centre_.x() - w / 2, centre_.y() - h / 2, w, h);
    }
    if (n >= 8 && n <= 14) {
        state_.titleVisible = true;
        // Computed from the designed places, so both labels end exactly there at tick 14.
        state_.titleLeft = design_.titleLeft * (n - 7) / 7;
        state_.secondLeft = design_.secondLeft * (n - 7) / 7;
    }
    if (n >= 11) state_.secondVisible = true;
    if (n == LastTick)
        state_.finished = true;
    else
        ++counter_;
    return state_;
}

} // namespace vlm
