#include "gui/damage_overlay.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace lumbra {
namespace {

// The sign is drawn over the icon as the mode shows it, so that a selected row's tint never
// covers the sign. An icon without a picture of the size asked for gives a smaller one, and
// the sign keeps to the picture's own size.
QPixmap Marked(const QIcon& icon, int size, QIcon::Mode mode) {
    QPixmap pixmap = icon.pixmap(QSize(size, size), mode);
    if (pixmap.isNull()) {
        pixmap = QPixmap(size, size);
        pixmap.fill(Qt::transparent);
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = pixmap.width() / pixmap.devicePixelRatio();
    const qreal height = pixmap.height() / pixmap.devicePixelRatio();
    const qreal side = std::min(width, height) * 0.6;
    const qreal left = width - side;
    const qreal top = height - side;
    QPainterPath triangle;
    triangle.moveTo(left + side / 2, top);
    triangle.lineTo(left + side, top + side);
    triangle.lineTo(left, top + side);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(96, 40, 0), 1));
    painter.setBrush(QColor(255, 176, 0));
    painter.drawPath(triangle);
    painter.setPen(QPen(QColor(64, 24, 0), side / 7));
    painter.drawLine(QPointF(left + side / 2, top + side * 0.35), QPointF(left + side / 2, top + side * 0.68));
    painter.drawPoint(QPointF(left + side / 2, top + side * 0.85));
    return pixmap;
}

}  // namespace

QIcon WithDamageOverlay(const QIcon& icon) {
    static QHash<qint64, QIcon> made;
    auto it = made.find(icon.cacheKey());
    if (it != made.end()) return *it;
    QIcon marked;
    for (int size : {16, 32})
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected}) marked.addPixmap(Marked(icon, size, mode), mode);
    made.insert(icon.cacheKey(), marked);
    return marked;
}

}  // namespace lumbra
