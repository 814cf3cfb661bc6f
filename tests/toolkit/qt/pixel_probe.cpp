#include "toolkit/qt/pixel_probe.h"

#include <cstdlib>

namespace lumbra {

RgbValue PixelAt(const QImage& image, int x, int y) {
    if (!image.rect().contains(x, y)) return 0xff000000;   // never a colour
    return image.pixel(x, y) & 0xffffff;
}

RgbValue RgbOf(const QColor& colour) {
    return colour.rgb() & 0xffffff;
}

int CountPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour.rgb() & 0xffffff)) ++count;
        }
    }
    return count;
}

QRect InkBounds(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool near = std::abs(qRed(pixel) - colour.red()) <= tolerance &&
                              std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
                              std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
            if (near) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace lumbra
