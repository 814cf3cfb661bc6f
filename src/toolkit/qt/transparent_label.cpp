#include "toolkit/qt/transparent_label.h"

#include <QPainter>

namespace lumbra {

TransparentLabel::TransparentLabel(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text), colour_(palette().color(QPalette::WindowText)) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TransparentLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    if (QWidget* parent = parentWidget()) {
        parent->update(geometry());
    } else {
        update();
    }
}

void TransparentLabel::setTextColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void TransparentLabel::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

QSize TransparentLabel::sizeHint() const {
    return fontMetrics().size(0, text_);
}

void TransparentLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(colour_);
    painter.drawText(rect(), static_cast<int>(alignment_), text_);
}

}  // namespace lumbra
