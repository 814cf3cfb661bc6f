#include "toolkit/qt/progress_bar.h"

#include <QPainter>
#include <QPixmap>

#include "toolkit/progress_text.h"

namespace lumbra {

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent),
      bar_(palette().color(QPalette::Highlight)),
      background_(palette().color(QPalette::Base)),
      textOverFilled_(palette().color(QPalette::HighlightedText)),
      textOverEmpty_(palette().color(QPalette::Highlight)) {}

void ProgressBar::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    update();
}

void ProgressBar::setPosition(int position) {
    if (position == position_) return;
    position_ = position;
    update();
}

void ProgressBar::setShowText(bool show) {
    showText_ = show;
    update();
}

void ProgressBar::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void ProgressBar::setVertical(bool vertical) {
    vertical_ = vertical;
    update();
}

void ProgressBar::setBarColour(const QColor& colour) {
    bar_ = colour;
    update();
}

void ProgressBar::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    update();
}

void ProgressBar::setTextColours(const QColor& overFilled, const QColor& overEmpty) {
    textOverFilled_ = overFilled;
    textOverEmpty_ = overEmpty;
    update();
}

QString ProgressBar::text() const {
    return QString::fromStdString(ProgressText(position_, lower_, upper_, caption_.toStdString()));
}

QRect ProgressBar::inner() const {
    return rect().adjusted(1, 1, -1, -1);
}

QRect ProgressBar::filledRect() const {
    const QRect area = inner();
    if (vertical_) {
        const int filled = ProgressFilledLength(position_, lower_, upper_, area.height());
        return {area.left(), area.bottom() - filled + 1, area.width(), filled};
    }
    return {area.topLeft(), QSize(ProgressFilledLength(position_, lower_, upper_, area.width()), area.height())};
}

void ProgressBar::paintEvent(QPaintEvent*) {
    // Drawn whole into a picture first, so that the bar never flickers while it moves.
    QPixmap canvas(size());
    QPainter painter(&canvas);
    painter.fillRect(rect(), background_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect filled = filledRect();
    painter.fillRect(filled, bar_);
    if (showText_ && !vertical_) {
        painter.setFont(font());
        const QRect area = inner();
        painter.setClipRect(filled);
        painter.setPen(textOverFilled_);
        painter.drawText(area, Qt::AlignCenter, text());
        painter.setClipRegion(QRegion(area).subtracted(QRegion(filled)));
        painter.setPen(textOverEmpty_);
        painter.drawText(area, Qt::AlignCenter, text());
    }
    painter.end();
    QPainter(this).drawPixmap(0, 0, canvas);
}

}  // namespace lumbra
