#include "picture_glyphs.h"

#include <QPainterPath>
#include <QtMath>
#include <functional>
#include <map>

namespace lumbra::pictures {

namespace {

const QColor kOutline(0x30, 0x3a, 0x4a);
const QColor kPaper(0xfd, 0xfd, 0xf8);
const QColor kGreen(0x2e, 0x9e, 0x3c);
const QColor kBlue(0x2a, 0x62, 0xc8);
const QColor kYellow(0xf2, 0xc2, 0x3a);
const QColor kRed(0xd0, 0x36, 0x2c);
const QColor kSteel(0x9a, 0xa6, 0xb6);
const QColor kTeal(0x1e, 0x8c, 0x96);

void Outline(QPainter& p, qreal width = 0.8) {
    p.setPen(QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Page(QPainter& p, const QRectF& r) {
    Outline(p);
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(kSteel, 0.7));
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2) p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const qreal angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const QPointF a = to - QPointF(std::cos(angle - 0.6) * 3.2, std::sin(angle - 0.6) * 3.2);
    const QPointF b = to - QPointF(std::cos(angle + 0.6) * 3.2, std::sin(angle + 0.6) * 3.2);
    p.drawPolyline(QPolygonF({a, to, b}));
}

void Folder(QPainter& p, bool open) {
    Outline(p);
    p.setBrush(kYellow.darker(115));
    p.drawPolygon(QPolygonF({{1, 4}, {6, 4}, {7.5, 5.5}, {15, 5.5}, {15, 14}, {1, 14}}));
    p.setBrush(kYellow);
    if (open) {
        p.drawPolygon(QPolygonF({{3, 7.5}, {16, 7.5}, {14, 14}, {1, 14}}));
    } else {
        p.drawRect(QRectF(1, 7, 14, 7));
    }
}

void Disk(QPainter& p) {
    Outline(p);
    QLinearGradient body(0, 5, 0, 12);
    body.setColorAt(0, QColor(0xe4, 0xe8, 0xee));
    body.setColorAt(1, kSteel);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1, 5, 14, 7), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(12.5, 9.5), 1, 1);
    p.setPen(QPen(kOutline, 0.6));
    p.drawLine(QPointF(3, 9.5), QPointF(9, 9.5));
}

void Cylinders(QPainter& p, const QColor& colour) {
    for (int level = 2; level >= 0; --level) {
        const qreal top = 2 + level * 4;
        Outline(p);
        p.setBrush(colour.darker(100 + level * 12));
        QPainterPath drum;
        drum.moveTo(2, top + 1.5);
        drum.lineTo(2, top + 4.5);
        drum.arcTo(QRectF(2, top + 3, 12, 3), 180, 180);
        drum.lineTo(14, top + 1.5);
        drum.closeSubpath();
        p.drawPath(drum);
        p.setBrush(colour.lighter(130));
        p.drawEllipse(QRectF(2, top, 12, 3));
    }
}

void Computer(QPainter& p) {
    Outline(p);
    p.setBrush(kSteel.lighter(120));
    p.drawRoundedRect(QRectF(1, 1.5, 14, 10), 1, 1);
    QLinearGradient screen(0, 3, 0, 10);
    screen.setColorAt(0, kBlue.lighter(150));
    screen.setColorAt(1, kBlue);
    p.setBrush(screen);
    p.drawRect(QRectF(2.5, 3, 11, 7));
    p.setBrush(kSteel);
    p.drawRect(QRectF(6, 11.5, 4, 2));
    p.drawRoundedRect(QRectF(3, 13.5, 10, 1.8), 0.8, 0.8);
}

void Badge(QPainter& p, QPointF centre, const QColor& colour, const QString& letter, qreal radius = 4.2) {
    Outline(p, 0.6);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(radius * 1.5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter, letter);
}

void Gear(QPainter& p) {
    QPainterPath gear;
    for (int tooth = 0; tooth < 8; ++tooth) {
        const qreal a = tooth * M_PI / 4;
        gear.addPolygon(QPolygonF({QPointF(8 + 7.2 * std::cos(a - 0.22), 8 + 7.2 * std::sin(a - 0.22)),
                                   QPointF(8 + 7.2 * std::cos(a + 0.22), 8 + 7.2 * std::sin(a + 0.22)),
                                   QPointF(8 + 4.5 * std::cos(a + 0.4), 8 + 4.5 * std::sin(a + 0.4)),
                                   QPointF(8 + 4.5 * std::cos(a - 0.4), 8 + 4.5 * std::sin(a - 0.4))}));
    }
    gear.addEllipse(QPointF(8, 8), 5.2, 5.2);
    gear.setFillRule(Qt::WindingFill);
    Outline(p);
    p.setBrush(kSteel);
    p.drawPath(gear.simplified());
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(8, 8), 2, 2);
}

using Painter = std::function<void(QPainter&)>;

const std::map<QString, Painter>& Glyphs() {
    static const std::map<QString, Painter> glyphs = {
        {"disk", [](QPainter& p) { Disk(p); }},
        {"pool", [](QPainter& p) { Cylinders(p, kTeal); }},
        {"folder", [](QPainter& p) { Folder(p, false); }},
        {"computer", [](QPainter& p) { Computer(p); }},
        {"recover_selected", [](QPainter& p) { Page(p, {2, 1, 9, 12}); Arrow(p, {9, 7}, {14, 13}, kGreen); }},
        {"recover_all", [](QPainter& p) { Page(p, {1, 1, 8, 10}); Page(p, {4, 3, 8, 10}); Arrow(p, {10, 8}, {14.5, 13.5}, kGreen); }},
        {"save_snapshot", [](QPainter& p) {
             Outline(p); p.setBrush(kBlue); p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(kPaper); p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(kSteel); p.drawRect(QRectF(4, 9, 8, 5.5)); }},
        {"load_snapshot", [](QPainter& p) { Folder(p, true); Arrow(p, {11, 12}, {11, 2}, kGreen); }},
        {"exit", [](QPainter& p) {
             Outline(p); p.setBrush(QColor(0xa0, 0x6a, 0x3c)); p.drawRect(QRectF(2, 1.5, 8, 13));
             Arrow(p, {7, 8}, {15, 8}, kRed); }},
        {"icons", [](QPainter& p) {
             Outline(p); p.setBrush(kBlue.lighter(140));
             for (int i = 0; i < 4; ++i) p.drawRect(QRectF(1.5 + (i % 2) * 7, 1.5 + (i / 2) * 7, 5.5, 5.5)); }},
        {"list", [](QPainter& p) {
             for (int i = 0; i < 4; ++i) {
                 Outline(p); p.setBrush(kBlue.lighter(140)); p.drawRect(QRectF(1.5, 1.5 + i * 3.6, 2.6, 2.6));
                 p.setPen(QPen(kOutline, 1.2)); p.drawLine(QPointF(6, 2.8 + i * 3.6), QPointF(14.5, 2.8 + i * 3.6)); } }},
        {"details", [](QPainter& p) {
             Outline(p); p.setBrush(kPaper); p.drawRect(QRectF(1.5, 1.5, 13, 13));
             p.setBrush(kBlue.lighter(150)); p.drawRect(QRectF(1.5, 1.5, 13, 3));
             for (qreal y = 7.5; y < 14; y += 2.5) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
             p.drawLine(QPointF(7, 1.5), QPointF(7, 14.5)); }},
        {"find_files", [](QPainter& p) {
             p.setPen(QPen(kOutline, 2.4, Qt::SolidLine, Qt::RoundCap)); p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
             Outline(p, 1.2); p.setBrush(QColor(0xcf, 0xe6, 0xfa)); p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8); }},
        {"file_filters", [](QPainter& p) {
             Outline(p); p.setBrush(kTeal.lighter(130));
             p.drawPolygon(QPolygonF({{1.5, 2}, {14.5, 2}, {9.5, 8}, {9.5, 14}, {6.5, 12.5}, {6.5, 8}})); }},
        {"settings", [](QPainter& p) { Gear(p); }},
        {"drive_information", [](QPainter& p) { Disk(p); Badge(p, {11, 5}, kBlue, QStringLiteral("i")); }},
        {"live_update", [](QPainter& p) {
             p.setPen(QPen(kGreen, 2.0, Qt::SolidLine, Qt::RoundCap)); p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16); p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
             Arrow(p, {3.5, 11}, {2.8, 8.8}, kGreen); Arrow(p, {12.5, 5}, {13.2, 7.2}, kGreen); }},
        {"contents", [](QPainter& p) {
             Outline(p); p.setBrush(kBlue); p.drawRoundedRect(QRectF(2, 1.5, 12, 13), 1, 1);
             p.setBrush(kPaper); p.drawRect(QRectF(4, 1.5, 1, 13)); Badge(p, {9.5, 8}, kBlue.darker(120), QStringLiteral("?")); }},
        {"about", [](QPainter& p) { Badge(p, {8, 8}, kBlue, QStringLiteral("i"), 7); }},
        {"back", [](QPainter& p) { Arrow(p, {13, 8}, {3, 8}, kBlue); }},
        {"next", [](QPainter& p) { Arrow(p, {3, 8}, {13, 8}, kBlue); }},
        {"stop", [](QPainter& p) {
             Outline(p); p.setBrush(kRed);
             QPolygonF octagon;
             for (int i = 0; i < 8; ++i) octagon << QPointF(8 + 6.8 * std::cos(M_PI / 8 + i * M_PI / 4), 8 + 6.8 * std::sin(M_PI / 8 + i * M_PI / 4));
             p.drawPolygon(octagon);
             p.setPen(QPen(Qt::white, 1.6)); p.drawLine(QPointF(5, 8), QPointF(11, 8)); }},
        {"help", [](QPainter& p) { Badge(p, {8, 8}, kGreen, QStringLiteral("?"), 7); }},
        {"home", [](QPainter& p) {
             Outline(p); p.setBrush(kRed); p.drawPolygon(QPolygonF({{8, 1.5}, {15, 8}, {1, 8}}));
             p.setBrush(kPaper); p.drawRect(QRectF(3, 8, 10, 6.5)); p.setBrush(kBlue); p.drawRect(QRectF(7, 10, 2.5, 4.5)); }},
    };
    return glyphs;
}

}  // namespace

bool DrawGlyph(QPainter& painter, const QString& name, const QRectF& target) {
    const auto found = Glyphs().find(name);
    if (found == Glyphs().end()) return false;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / 16.0, target.height() / 16.0);
    found->second(painter);
    painter.restore();
    return true;
}

}  // namespace lumbra::pictures
