#include "toolkit/qt/pixel_probe.h"

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

QRect InkBounds(const QImage& image, const QRect& area, const QColor& colour) {
    QRect bounds;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour.rgb() & 0xffffff)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace lumbra
