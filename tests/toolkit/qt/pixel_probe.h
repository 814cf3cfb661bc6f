#pragma once
// Small readers of grabbed pictures for the tests of the self-drawn controls.
#include <QColor>
#include <QImage>
#include <QRect>

namespace lumbra {

// Colours as 0xRRGGBB, so that a failing comparison prints plain numbers.
using RgbValue = unsigned int;
RgbValue PixelAt(const QImage& image, int x, int y);
RgbValue RgbOf(const QColor& colour);
// How many pixels of `area` have exactly `colour`.
int CountPixels(const QImage& image, const QRect& area, const QColor& colour);
// The smallest rectangle holding every pixel of `colour` inside `area`; null when none.
// tolerance lets each channel stray that far, to catch the strong pixels of smoothed text.
QRect InkBounds(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 0);

}  // namespace lumbra
