// The tooltip's look: placing it at the mouse, its shape, shadow, background, markup and
// border, links under the mouse, and the window-information text.
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "toolkit/qt/markup_painting.h"
#include "toolkit/qt/markup_qt_surface.h"
#include "toolkit/qt/screen_backdrop.h"
#include "toolkit/qt/tool_tip.h"
#include "toolkit/window_information.h"

namespace lumbra {

namespace {

QRect ToQRect(const MarkupRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

MarkupRect ScreenAround(const QPoint& global) {
    const QScreen* screen = QGuiApplication::screenAt(global);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
    return {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

}  // namespace

void MarkupToolTip::placeAt(const QPoint& global) {
    QtMarkupSurface measuring;
    const MarkupSize text = drawer_.prepare(measuring, active_.text);
    const bool shadow = shadow_.offsetX != 0 || shadow_.offsetY != 0;
    shape_ = LayoutToolTip(text, sizes_, active_.anchorDirection, {global.x(), global.y()}, ScreenAround(global),
                           shadow ? MarkupPoint{std::max(shadow_.offsetX, 0), std::max(shadow_.offsetY, 0)}
                                  : MarkupPoint{});
    setGeometry(ToQRect(shape_.window));
    update();
}

QPainterPath MarkupToolTip::bodyPath() const {
    QPainterPath path;
    const QRectF body = QRectF(ToQRect(shape_.body)).adjusted(0.5, 0.5, -0.5, -0.5);
    path.addRoundedRect(body, sizes_[ToolTipSizes::kRoundWidth] / 2.0, sizes_[ToolTipSizes::kRoundHeight] / 2.0);
    if (shape_.hasAnchor) {
        QPainterPath anchor;
        QPolygonF triangle;
        for (const MarkupPoint& p : shape_.anchor) triangle << QPointF(p.x + 0.5, p.y + 0.5);
        anchor.addPolygon(triangle);
        anchor.closeSubpath();
        path = path.united(anchor);
    }
    return path;
}

bool MarkupToolTip::overTip(const QPoint& global) const {
    return isVisible() && bodyPath().contains(QPointF(mapFromGlobal(global)) + QPointF(0.5, 0.5));
}

// The capture is taken while the tooltip is still hidden, so that it holds only what lies below.
void MarkupToolTip::setVisible(bool visible) {
    if (visible && !isVisible())
        backdrop_ = ChooseSeeThrough() == SeeThrough::OverCapture ? CaptureScreenUnder(geometry()) : QPixmap();
    QWidget::setVisible(visible);
}

void MarkupToolTip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!backdrop_.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawPixmap(0, 0, backdrop_);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setOpacity((100 - std::clamp(transparency_, 0, 100)) / 100.0);
    const QPainterPath path = bodyPath();
    if (shadow_.offsetX != 0 || shadow_.offsetY != 0) {
        // A soft shadow: the shape in the shadow's grey, its edge faded over the blur extents.
        const int grey = Lighten(MakeRgb(shadow_.greyLevel(), shadow_.greyLevel(), shadow_.greyLevel()),
                                 transparency_) & 0xff;
        const int steps = shadow_.kind == 0 ? 1 : std::max(std::max(shadow_.blurX, shadow_.blurY) / 2, 1);
        painter.setPen(Qt::NoPen);
        for (int i = steps; i >= 1; --i) {
            QColor colour(grey, grey, grey, 110 / steps);
            painter.setBrush(colour);
            const double grow = (i - 1) * 0.7;
            QTransform move;
            move.translate(shadow_.offsetX, shadow_.offsetY);
            painter.save();
            painter.setClipRect(rect());
            painter.drawPath(move.map(path));
            if (grow > 0) {
                QPainterPathStroker stroker;
                stroker.setWidth(grow * 2);
                painter.drawPath(move.map(stroker.createStroke(path)));
            }
            painter.restore();
        }
    }
    painter.save();
    painter.setClipPath(path);
    const QRect body = ToQRect(shape_.body).united(path.boundingRect().toAlignedRect());
    const QImage effect = EffectImage(active_.effect, body.size(), {active_.begin, active_.middle, active_.end},
                                      active_.granularity);
    if (effect.isNull()) {
        painter.fillPath(path, ToQColor(active_.begin));
    } else {
        painter.drawImage(body.topLeft(), effect);
    }
    painter.restore();
    QtMarkupSurface surface(&painter);
    drawer_.draw(surface, shape_.text);
    if (borderWidth_ > 0 || borderHeight_ > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(ToQColor(borderColour_), std::max(borderWidth_, borderHeight_)));
        painter.drawPath(path);
    }
}

void MarkupToolTip::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    setCursor(drawer_.mouseOver(at.x(), at.y()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    relayMouseMove(event->globalPosition().toPoint());
}

void MarkupToolTip::mousePressEvent(QMouseEvent* event) { relayClick(event->globalPosition().toPoint()); }

void MarkupToolTip::showWindowInformation(const QPoint& global) {
    QWidget* window = QApplication::widgetAt(global);
    if (!window || window == this) {
        hideTip();
        return;
    }
    WindowInformation info;
    info.className = window->metaObject()->className();
    info.title = window->windowTitle().isEmpty() ? window->objectName().toStdString() : window->windowTitle().toStdString();
    info.handle = static_cast<uint32_t>(reinterpret_cast<quintptr>(window));
    const QRect frame(window->mapToGlobal(QPoint(0, 0)), window->size());
    info.left = frame.left();
    info.top = frame.top();
    info.right = frame.left() + frame.width();
    info.bottom = frame.top() + frame.height();
    info.styles = static_cast<uint32_t>(window->windowFlags());
    for (const ToolTipTool& tool : tools_) info.hasToolTip = info.hasToolTip || tool.window == window;
    if (const QWidget* owner = window->parentWidget()) {
        info.ownerClassName = owner->metaObject()->className();
        info.ownerTitle = owner->windowTitle().toStdString();
        info.ownerHandle = static_cast<uint32_t>(reinterpret_cast<quintptr>(owner));
    }
    info.mouseX = global.x();
    info.mouseY = global.y();
    active_ = defaults_;
    active_.text = WindowInformationMarkup(info);
    placeAt(global);
    transparency_ = active_.transparency;
    state_ = Shown;
    show();
}

}  // namespace lumbra
