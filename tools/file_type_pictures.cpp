#include "file_type_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace lumbra::pictures {

namespace {

struct Family {
    QString name;
    QColor band;
};

const std::vector<Family>& Families() {
    static const std::vector<Family> families = {
        {QStringLiteral("text-x-generic"), QColor(0x70, 0x7a, 0x86)},
        {QStringLiteral("image-x-generic"), QColor(0x2e, 0x9a, 0x5c)},
        {QStringLiteral("audio-x-generic"), QColor(0x8e, 0x44, 0xad)},
        {QStringLiteral("video-x-generic"), QColor(0xc0, 0x39, 0x2b)},
        {QStringLiteral("package-x-generic"), QColor(0xa0, 0x6a, 0x2c)},
        {QStringLiteral("x-office-document"), QColor(0x2a, 0x5d, 0xb0)},
        {QStringLiteral("x-office-spreadsheet"), QColor(0x1e, 0x7e, 0x34)},
        {QStringLiteral("x-office-presentation"), QColor(0xd3, 0x6b, 0x12)},
    };
    return families;
}

void DrawPage(QPainter& p, const QColor& band) {
    QPainterPath page;
    page.moveTo(6.5, 1.5);
    page.lineTo(20.5, 1.5);
    page.lineTo(26.5, 7.5);
    page.lineTo(26.5, 30.5);
    page.lineTo(6.5, 30.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x66, 0x70), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.fillRect(QRectF(7, 24, 19, 6), band);
    QPainterPath fold;
    fold.moveTo(20.5, 1.5);
    fold.lineTo(20.5, 7.5);
    fold.lineTo(26.5, 7.5);
    p.setBrush(QColor(0xdd, 0xe2, 0xe8));
    p.drawPath(fold);
}

void DrawSymbol(QPainter& p, const QString& name, const QColor& colour) {
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    if (name == "text-x-generic") {
        for (int y = 9; y <= 21; y += 3) p.drawLine(QPointF(9, y), QPointF(y == 9 ? 18 : 24, y));
    } else if (name == "image-x-generic") {
        p.setBrush(QColor(0xf4, 0xc0, 0x30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(20, 10), 2.5, 2.5);
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({QPointF(8, 22), QPointF(14, 12), QPointF(18, 18), QPointF(20, 15), QPointF(25, 22)}));
    } else if (name == "audio-x-generic") {
        p.setBrush(colour);
        p.drawEllipse(QPointF(12, 19), 2.5, 2);
        p.drawEllipse(QPointF(21, 17), 2.5, 2);
        p.drawLine(QPointF(14.5, 19), QPointF(14.5, 9));
        p.drawLine(QPointF(23.5, 17), QPointF(23.5, 7));
        p.drawLine(QPointF(14.5, 9), QPointF(23.5, 7));
    } else if (name == "video-x-generic") {
        p.drawRect(QRectF(9, 9, 15, 12));
        p.setBrush(colour);
        p.drawPolygon(QPolygonF({QPointF(14, 11.5), QPointF(20, 15), QPointF(14, 18.5)}));
    } else if (name == "package-x-generic") {
        for (int y = 4; y <= 20; y += 4) {
            p.drawLine(QPointF(15, y), QPointF(17, y));
            p.drawLine(QPointF(17, y + 2), QPointF(19, y + 2));
        }
        p.drawRect(QRectF(14.5, 20, 5, 3));
    } else if (name == "x-office-document") {
        p.drawLine(QPointF(9, 9), QPointF(24, 9));
        for (int y = 13; y <= 21; y += 4) p.drawLine(QPointF(9, y), QPointF(24, y));
        p.setPen(QPen(colour, 2.5));
        p.drawLine(QPointF(9, 9), QPointF(16, 9));
    } else if (name == "x-office-spreadsheet") {
        p.setPen(QPen(colour, 1));
        for (int x = 9; x <= 24; x += 5) p.drawLine(QPointF(x, 9), QPointF(x, 22));
        for (int y = 9; y <= 22; y += 4) p.drawLine(QPointF(9, y), QPointF(24, y));
    } else if (name == "x-office-presentation") {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRect(QRectF(10, 15, 3, 7));
        p.drawRect(QRectF(15, 11, 3, 11));
        p.drawRect(QRectF(20, 8, 3, 14));
    }
}

}  // namespace

const QStringList& FileTypeFamilies() {
    static const QStringList names = [] {
        QStringList list;
        for (const Family& family : Families()) list << family.name;
        return list;
    }();
    return names;
}

QImage FileTypePicture(const QString& name) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (const Family& family : Families()) {
        if (family.name != name) continue;
        DrawPage(p, family.band);
        DrawSymbol(p, name, family.band);
    }
    return image;
}

}  // namespace lumbra::pictures
