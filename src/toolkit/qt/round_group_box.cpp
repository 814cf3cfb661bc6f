#include "toolkit/qt/round_group_box.h"

#include <QPainter>
#include <QPainterPath>

namespace lumbra {

RoundGroupBox::RoundGroupBox(const QString& caption, QWidget* parent)
    : QWidget(parent),
      caption_(caption),
      border_(palette().color(QPalette::Dark)),
      captionBackground_(palette().color(QPalette::Button)),
      clientBackground_(palette().color(QPalette::Button)) {}

void RoundGroupBox::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void RoundGroupBox::setLook(GroupBoxLook look) {
    look_ = look;
    update();
}

void RoundGroupBox::setCaptionAlignment(int alignment) {
    alignment_ = (alignment == 1 || alignment == 2) ? alignment : 0;
    update();
}

void RoundGroupBox::setBorderColour(const QColor& colour) {
    border_ = colour;
    update();
}

void RoundGroupBox::setCaptionColour(const QColor& colour) {
    captionColour_ = colour;
    update();
}

void RoundGroupBox::setCaptionBackground(const QColor& colour) {
    captionBackground_ = colour;
    update();
}

void RoundGroupBox::setClientBackground(const QColor& colour) {
    clientBackground_ = colour;
    update();
}

QString RoundGroupBox::shownCaption() const {
    return QLatin1Char(' ') + caption_ + QLatin1Char(' ');
}

QRect RoundGroupBox::captionRect() const {
    const QFontMetrics metrics = fontMetrics();
    const int width = metrics.horizontalAdvance(shownCaption());
    const int inset = look_ == GroupBoxLook::Frame ? kFrameCaptionInset : kWindowCaptionInset;
    int left = inset;
    if (alignment_ == 1) left = (this->width() - width) / 2;
    if (alignment_ == 2) left = this->width() - inset - width;
    const int top = look_ == GroupBoxLook::Frame ? 0 : 1;
    return {left, top, width, metrics.height()};
}

void RoundGroupBox::paintFrame(QPainter& painter) const {
    const int top = fontMetrics().height() / 2;
    const QRectF frame(0.5, top + 0.5, width() - 1, height() - top - 1);
    painter.setPen(border_);
    painter.setBrush(clientBackground_);
    painter.drawRoundedRect(frame, kCornerRounding / 2.0, kCornerRounding / 2.0);
}

void RoundGroupBox::paintWindow(QPainter& painter) const {
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, width() - 1, height() - 1), kCornerRounding / 2.0, kCornerRounding / 2.0);
    painter.fillPath(outline, clientBackground_);
    const int barHeight = fontMetrics().height() + 2;
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(QRect(0, 0, width(), barHeight + 1), captionBackground_);
    painter.restore();
    painter.setPen(border_);
    painter.drawLine(1, barHeight + 1, width() - 2, barHeight + 1);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

void RoundGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (look_ == GroupBoxLook::Frame) {
        paintFrame(painter);
    } else {
        paintWindow(painter);
    }
    if (caption_.isEmpty()) return;
    const QRect captionArea = captionRect();
    painter.fillRect(captionArea, captionBackground_);
    painter.setPen(captionColour_);
    painter.drawText(captionArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownCaption());
}

}  // namespace lumbra
