#include "toolkit/qt/icon_button.h"

#include <QDesktopServices>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QUrl>

#include "platform/sound_player.h"

namespace lumbra {

namespace {

constexpr int kImageGap = 4;
constexpr int kPadding = 4;
constexpr int kDarkenPercent = 75;   // the darkened picture keeps this share of each channel

template <typename PixelRule>
QImage MapPixels(const QImage& image, PixelRule rule) {
    QImage mapped = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < mapped.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(mapped.scanLine(y));
        for (int x = 0; x < mapped.width(); ++x) row[x] = rule(row[x]);
    }
    return mapped;
}

}  // namespace

QImage GreyImage(const QImage& image) {
    return MapPixels(image, [](QRgb p) {
        const int grey = qGray(p);
        return qRgba(grey, grey, grey, qAlpha(p));
    });
}

QImage DarkenedImage(const QImage& image) {
    return MapPixels(image, [](QRgb p) {
        return qRgba(qRed(p) * kDarkenPercent / 100, qGreen(p) * kDarkenPercent / 100,
                     qBlue(p) * kDarkenPercent / 100, qAlpha(p));
    });
}

IconButton::IconButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    const QColor face = palette().color(QPalette::Button);
    const QColor text = palette().color(QPalette::ButtonText);
    backgrounds_ = {face, face, face};
    texts_ = {text, text, text};
    connect(this, &QAbstractButton::clicked, this, &IconButton::onClicked);
}

void IconButton::setImages(const QImage& hover, const QImage& normal) {
    hoverImage_ = hover;
    normalImage_ = normal.isNull() ? hover : normal;
    updateGeometry();
    update();
}

void IconButton::setImages(const QImage& hover, AutoNormal derive) {
    setImages(hover, derive == AutoNormal::Grey ? GreyImage(hover) : DarkenedImage(hover));
}

void IconButton::setImagePlace(ImagePlace place) {
    place_ = place;
    updateGeometry();
    update();
}

void IconButton::setColours(State state, const QColor& background, const QColor& text) {
    backgrounds_[static_cast<size_t>(state)] = background;
    texts_[static_cast<size_t>(state)] = text;
    update();
}

void IconButton::setFlat(bool flat) {
    flat_ = flat;
    update();
}

void IconButton::setTransparentBackground(bool transparent) {
    transparent_ = transparent;
    update();
}

void IconButton::setCheckBoxRole(bool on) {
    setCheckable(on);
    update();
}

void IconButton::setMenuRole(QMenu* menu) {
    if (menu_) disconnect(menu_, &QMenu::triggered, this, nullptr);
    menu_ = menu;
    if (!menu) return;
    connect(menu, &QMenu::triggered, this, [this](QAction* action) {
        if (!action->data().isValid()) return;
        const int command = action->data().toInt();
        QMetaObject::invokeMethod(this, [this, command] { emit commandPosted(command); }, Qt::QueuedConnection);
    });
}

void IconButton::setLinkRole(const QString& address, std::function<void(const QString&)> opener) {
    address_ = address;
    opener_ = opener ? std::move(opener)
                     : [](const QString& target) { QDesktopServices::openUrl(QUrl::fromUserInput(target)); };
}

void IconButton::setSounds(SoundPlayer* player, const std::string& enterSound, const std::string& clickSound) {
    sounds_ = player;
    enterSound_ = enterSound;
    clickSound_ = clickSound;
}

IconButton::State IconButton::currentState() const {
    if (hovering_) return State::Hover;
    return hasFocus() ? State::Focus : State::Normal;
}

void IconButton::onClicked() {
    if (sounds_ && !clickSound_.empty()) sounds_->play(clickSound_);
    if (menu_) {
        openMenu();
    } else if (!address_.isEmpty() && opener_) {
        opener_(address_);
    }
}

void IconButton::openMenu() {
    emit menuAboutToOpen(menu_);
    if (menu_) menu_->popup(mapToGlobal(QPoint(0, height())));
}

QSize IconButton::sizeHint() const {
    const QSize image = hoverImage_.size();
    const QSize caption = fontMetrics().size(Qt::TextShowMnemonic, text());
    QSize content = place_ == ImagePlace::Above
                        ? QSize(std::max(image.width(), caption.width()), image.height() + kImageGap + caption.height())
                        : QSize(image.width() + kImageGap + caption.width(), std::max(image.height(), caption.height()));
    return content + QSize(2 * kPadding, 2 * kPadding);
}

void IconButton::paintFrame(QPainter& painter) const {
    const bool pressed = isDown() || isChecked();
    if (flat_ && !hovering_ && !pressed) return;
    const QColor topLeft = palette().color(pressed ? QPalette::Dark : QPalette::Light);
    const QColor bottomRight = palette().color(pressed ? QPalette::Light : QPalette::Dark);
    const QRect r = rect();
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void IconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const State state = currentState();
    if (!transparent_) painter.fillRect(rect(), background(state));
    paintFrame(painter);
    const QPoint shift = (isDown() || isChecked()) ? QPoint(1, 1) : QPoint(0, 0);
    const QImage image = isEnabled() ? imageFor(hovering_) : GreyImage(normalImage_);
    const QSize wanted = sizeHint() - QSize(2 * kPadding, 2 * kPadding);
    const QPoint origin = QPoint((width() - wanted.width()) / 2, (height() - wanted.height()) / 2) + shift;
    QRect textRect;
    if (place_ == ImagePlace::Above) {
        painter.drawImage(origin + QPoint((wanted.width() - image.width()) / 2, 0), image);
        textRect = QRect(origin.x(), origin.y() + image.height() + kImageGap, wanted.width(), wanted.height() - image.height() - kImageGap);
    } else {
        painter.drawImage(origin + QPoint(0, (wanted.height() - image.height()) / 2), image);
        const int textLeft = image.isNull() ? origin.x() : origin.x() + image.width() + kImageGap;
        textRect = QRect(textLeft, origin.y(), wanted.width() - (textLeft - origin.x()), wanted.height());
    }
    painter.setPen(isEnabled() ? textColour(state) : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void IconButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    hovering_ = true;
    if (sounds_ && !enterSound_.empty()) sounds_->play(enterSound_);
    update();
}

void IconButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    hovering_ = false;
    update();
}

}  // namespace lumbra
