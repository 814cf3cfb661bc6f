#pragma once
// Shaped windows: the window keeps only the pixels of its picture that are not the
// transparent colour.
#include <QColor>
#include <QImage>
#include <QRegion>

class QWidget;

namespace lumbra {

// tolerance: how far each colour channel may stray from the transparent colour and still
// count as transparent (0 = only that exact colour).
QRegion RegionFromBitmap(const QImage& bitmap, const QColor& transparent, int tolerance = 0);

// Gives the window the shape of its picture.
void ShapeWindowFromBitmap(QWidget& window, const QImage& bitmap, const QColor& transparent, int tolerance = 0);

}  // namespace lumbra
