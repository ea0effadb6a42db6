#pragma once

// Twips, the unit the windows are laid out in: 15 twips to a pixel.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace vlm {

// Velmora's windows are designed in twips: 1440 to the inch, so 15 to a pixel at 96 dpi.
// Every twip measure becomes pixels through this one function (rounded to the nearest pixel,
// halves away from zero, so a negative offset shrinks like a positive one).
int twipsToPixels(int twips);

inline QPoint twipsPoint(int left, int top) {
    return {twipsToPixels(left), twipsToPixels(top)};
}
inline QSize twipsSize(int width, int height) {
    return {twipsToPixels(width), twipsToPixels(height)};
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsPoint(left, top), twipsSize(width, height)};
}

} // namespace vlm
