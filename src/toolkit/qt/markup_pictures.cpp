#include "toolkit/qt/markup_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace lumbra {

namespace {

constexpr int kFrameSize = 32;
constexpr int kFrames = 8;

// A round blue help symbol with a light that circles its rim, one step per frame.
QImage HelpAnimation() {
    QImage strip(kFrameSize * kFrames, kFrameSize, QImage::Format_ARGB32);
    strip.fill(QColor(255, 0, 255));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int f = 0; f < kFrames; ++f) {
        const QRectF disc(f * kFrameSize + 2, 2, kFrameSize - 4, kFrameSize - 4);
        p.setPen(QPen(QColor(20, 60, 150), 2));
        p.setBrush(QColor(60, 120, 215));
        p.drawEllipse(disc);
        const double angle = f * 2 * M_PI / kFrames;
        const QPointF spot(disc.center().x() + std::cos(angle) * 10, disc.center().y() + std::sin(angle) * 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 215, 255));
        p.drawEllipse(spot, 3, 3);
        QFont font("DejaVu Sans");
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(disc, Qt::AlignCenter, "?");
    }
    return strip;
}

}  // namespace

MarkupPictures::MarkupPictures() { resources_[picture_id::kHelpAnimation] = HelpAnimation(); }

MarkupPictures& MarkupPictures::instance() {
    static MarkupPictures pictures;
    return pictures;
}

std::optional<QImage> MarkupPictures::resource(int id) const {
    const auto it = resources_.find(id);
    if (it == resources_.end()) return std::nullopt;
    return it->second;
}

uint32_t MarkupPictures::registerHandle(const QImage& image) {
    handles_[nextHandle_] = image;
    return nextHandle_++;
}

std::optional<QImage> MarkupPictures::handle(uint32_t id) const {
    const auto it = handles_.find(id);
    if (it == handles_.end()) return std::nullopt;
    return it->second;
}

}  // namespace lumbra
