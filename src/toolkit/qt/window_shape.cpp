#include "toolkit/qt/window_shape.h"

#include <QWidget>
#include <algorithm>
#include <vector>

#include "toolkit/window_shape_runs.h"

namespace lumbra {

QRegion RegionFromBitmap(const QImage& bitmap, const QColor& transparent, int tolerance) {
    const QImage pixels = bitmap.convertToFormat(QImage::Format_RGB32);
    const auto* first = reinterpret_cast<const uint32_t*>(pixels.constBits());
    const size_t count = static_cast<size_t>(pixels.width()) * static_cast<size_t>(pixels.height());
    const std::vector<ShapeRect> runs =
        OpaqueRuns({first, count}, pixels.width(), pixels.height(), transparent.rgb() & 0xffffff, tolerance);
    QRegion region;
    std::vector<QRect> batch;
    batch.reserve(kShapeBatchSize);
    for (size_t start = 0; start < runs.size(); start += kShapeBatchSize) {
        batch.clear();
        const size_t end = std::min(runs.size(), start + kShapeBatchSize);
        for (size_t i = start; i < end; ++i) batch.emplace_back(runs[i].x, runs[i].y, runs[i].width, runs[i].height);
        QRegion part;
        part.setRects(batch.data(), static_cast<int>(batch.size()));
        region += part;
    }
    return region;
}

void ShapeWindowFromBitmap(QWidget& window, const QImage& bitmap, const QColor& transparent, int tolerance) {
    window.setMask(RegionFromBitmap(bitmap, transparent, tolerance));
}

}  // namespace lumbra
