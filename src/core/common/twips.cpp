#include "core/common/twips.h"

namespace vlm {

namespace {
constexpr int TwipsPerPixel = 1440 / 96;
}

int twipsToPixels(int twips) {
    const int half = TwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / TwipsPerPixel : -((-twips + half) / TwipsPerPixel);
}

} // namespace vlm
