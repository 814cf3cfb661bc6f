#include "toolkit/qt/hover_button.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "toolkit/qt/screen_access.h"

namespace lumbra {

QImage MapThreeDGreys(const QImage& image, const QPalette& palette) {
    QImage mapped = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb shadow = palette.color(QPalette::Dark).rgb();
    const QRgb face = palette.color(QPalette::Button).rgb();
    const QRgb light = palette.color(QPalette::Midlight).rgb();
    for (int y = 0; y < mapped.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(mapped.scanLine(y));
        for (int x = 0; x < mapped.width(); ++x) {
            switch (row[x]) {
            case 0xff808080: row[x] = shadow; break;
            case 0xffc0c0c0: row[x] = face; break;
            case 0xffdfdfdf: row[x] = light; break;
            default: break;
            }
        }
    }
    return mapped;
}

HoverButton::HoverButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
}

void HoverButton::setBitmap(const QImage& strip, int frames) {
    frames_ = std::clamp(frames, 1, std::max(1, strip.width()));
    strip_ = QPixmap::fromImage(MapThreeDGreys(strip, palette()));
    frameSize_ = QSize(strip.width() / frames_, strip.height());
    resize(frameSize_);
    update();
}

void HoverButton::setAddress(const QString& address) {
    address_ = address.left(kMaxAddressLength);
    if (address_.isEmpty()) {
        unsetCursor();
    } else {
        setCursor(Qt::PointingHandCursor);
    }
}

int HoverButton::currentFrame() const {
    const int wanted = isDown() ? 1 : hovering_ ? 2 : 0;
    return std::min(wanted, frames_ - 1);
}

QSize HoverButton::sizeHint() const {
    return frameSize_.isValid() ? frameSize_ : QAbstractButton::sizeHint();
}

void HoverButton::paintEvent(QPaintEvent*) {
    if (strip_.isNull()) return;
    QPainter painter(this);
    const QRect source(QPoint(currentFrame() * frameSize_.width(), 0), frameSize_);
    painter.drawPixmap(QPoint(0, 0), strip_, source);
}

void HoverButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    startHover();
}

void HoverButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    if (rect().contains(event->position().toPoint())) startHover();
}

void HoverButton::startHover() {
    if (hovering_) return;
    hovering_ = true;
    update();
    if (!PlatformCanGrab()) return;
    grabMouse();
    hoverTimer_.start(kHoverCheckMs, this);
}

void HoverButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    if (!PlatformCanGrab()) endHover();
}

void HoverButton::endHover() {
    hoverTimer_.stop();
    hovering_ = false;
    if (PlatformCanGrab()) releaseMouse();
    update();
}

void HoverButton::timerEvent(QTimerEvent* event) {
    if (event->timerId() != hoverTimer_.timerId()) {
        QAbstractButton::timerEvent(event);
        return;
    }
    if (!rect().contains(mapFromGlobal(QCursor::pos()))) endHover();
}

}  // namespace lumbra

namespace lumbra {

void HoverButton::hideEvent(QHideEvent* event) {
    // A hidden button must not keep the mouse captured.
    if (hovering_) endHover();
    QAbstractButton::hideEvent(event);
}

}  // namespace lumbra
