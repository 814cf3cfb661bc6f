#include "toolkit/qt/menu_images.h"

#include "toolkit/colour_lighten.h"

namespace lumbra {

namespace {

// Washed-out images are lightened by this share, shadows are drawn in this colour.
constexpr int kWashOutPercent = 30;
const QColor kShadowColour(0x80, 0x80, 0x80);

QImage MaskColour(const QImage& image, const QColor& transparent) {
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & 0xffffff;
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((row[x] & 0xffffff) == key) row[x] = 0;
        }
    }
    return masked;
}

}  // namespace

QImage WashedOut(const QImage& image, int percent) {
    QImage washed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < washed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(washed.scanLine(y));
        for (int x = 0; x < washed.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            row[x] = (row[x] & 0xff000000) | Lighten(row[x] & 0xffffff, percent);
        }
    }
    return washed;
}

QImage Silhouette(const QImage& image, const QColor& colour) {
    QImage shape = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb paint = colour.rgb() & 0xffffff;
    for (int y = 0; y < shape.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < shape.width(); ++x) {
            if (qAlpha(row[x]) != 0) row[x] = 0xff000000 | paint;
        }
    }
    return shape;
}

int MenuImageList::addToolBar(const QImage& strip) {
    const int first = count();
    if (imageSize_.width() <= 0 || imageSize_.height() <= 0) return first;
    for (int x = 0; x + imageSize_.width() <= strip.width(); x += imageSize_.width()) {
        add(MaskColour(strip.copy(x, 0, imageSize_.width(), imageSize_.height()), transparent_));
    }
    return first;
}

int MenuImageList::add(const QImage& image) {
    const QImage normal = image.convertToFormat(QImage::Format_ARGB32);
    entries_.push_back({normal, WashedOut(normal, kWashOutPercent), Silhouette(normal, kShadowColour)});
    return count() - 1;
}

const MenuImageList::Entry* MenuImageList::entry(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    return &entries_[static_cast<size_t>(index)];
}

}  // namespace lumbra
