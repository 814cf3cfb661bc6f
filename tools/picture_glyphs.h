#pragma once
// The small symbols of the application's pictures, drawn in a 16 x 16 unit square so that the
// same symbol serves a menu bitmap, a tree icon and a toolbar button.
#include <QPainter>
#include <QString>

namespace lumbra::pictures {

// Draws the glyph `name` into `target`; returns false for an unknown name.
bool DrawGlyph(QPainter& painter, const QString& name, const QRectF& target);

}  // namespace lumbra::pictures
