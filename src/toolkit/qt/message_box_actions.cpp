// What the message box does: painting, links, countdowns, buttons and closing.
#include <QCheckBox>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "toolkit/message_box_rules.h"
#include "toolkit/qt/markup_painting.h"
#include "toolkit/qt/markup_qt_surface.h"
#include "toolkit/qt/message_box.h"

namespace lumbra {

using namespace message_box;

namespace {

constexpr int kTextMargin = 14;
constexpr int kGranularity = 5;

EffectColours ColoursOf(const MessageBoxBackground& background, Rgb face) {
    return {background.background.value_or(face), background.middle.value_or(face), background.end.value_or(face)};
}

}  // namespace

std::vector<MarkupMessageBox::Area*> MarkupMessageBox::visibleAreas() {
    std::vector<Area*> areas;
    if (header_.present) areas.push_back(&header_);
    areas.push_back(&message_);
    if (more_.present && expanded_) areas.push_back(&more_);
    return areas;
}

void MarkupMessageBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Rgb face = FromQColor(palette().color(QPalette::Button));
    if (windowBackground_.size() != size()) {
        windowBackground_ = EffectImage(params_.window.effect, size(), ColoursOf(params_.window, face), kGranularity);
    }
    if (windowBackground_.isNull()) {
        painter.fillRect(rect(), ToQColor(face));
    } else {
        painter.drawImage(0, 0, windowBackground_);
    }
    for (Area* area : visibleAreas()) paintArea(painter, *area);
}

void MarkupMessageBox::paintArea(QPainter& painter, Area& area) {
    const Rgb face = FromQColor(palette().color(QPalette::Button));
    const QImage effect = EffectImage(area.background.effect, area.rect.size(), ColoursOf(area.background, face),
                                      kGranularity);
    if (!effect.isNull()) painter.drawImage(area.rect.topLeft(), effect);
    QtMarkupSurface surface(&painter);
    const QRect inner = area.rect.adjusted(kTextMargin, kTextMargin, -kTextMargin, -kTextMargin);
    area.drawer.draw(surface, {inner.left(), inner.top(), inner.left() + inner.width(), inner.top() + inner.height()});
}

void MarkupMessageBox::mouseMoveEvent(QMouseEvent* event) {
    bool overLink = false;
    const QPoint at = event->position().toPoint();
    for (Area* area : visibleAreas()) overLink = area->drawer.mouseOver(at.x(), at.y()) || overLink;
    setCursor(overLink ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MarkupMessageBox::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (Area* area : visibleAreas()) area->drawer.click(at.x(), at.y());
}

void MarkupMessageBox::startCountdowns() {
    disabledLeft_ = std::max(params_.disabledSeconds, 0);
    autoLeft_ = std::max(params_.autoSeconds, 0);
    if (disabledLeft_ > 0) setButtonsEnabled(false);
    refreshCountdownTexts();
    if (disabledLeft_ > 0 || autoLeft_ > 0) timer_->start();
}

void MarkupMessageBox::tick() {
    if (disabledLeft_ > 0 && --disabledLeft_ == 0) setButtonsEnabled(true);
    if (autoLeft_ > 0 && --autoLeft_ == 0 && !buttonIds_.empty()) {
        finish(static_cast<uint32_t>(buttonIds_[static_cast<size_t>(defaultIndex_)]) | kPressedByCountdown);
        return;
    }
    refreshCountdownTexts();
    if (disabledLeft_ == 0 && autoLeft_ == 0) timer_->stop();
}

void MarkupMessageBox::refreshCountdownTexts() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const int id = buttonIds_[i] == kMore && expanded_ ? kLessMore : buttonIds_[i];
        buttons_[i]->setText(QString::fromStdString(ButtonCaption(id, style_, params_)));
    }
    setWindowTitle(QString::fromStdString(caption_));
    if (buttons_.empty()) return;
    QPushButton* defaultButton = buttons_[static_cast<size_t>(defaultIndex_)];
    const std::string defaultCaption = defaultButton->text().toStdString();
    if (disabledLeft_ > 0 && params_.countdownInCaption) {
        setWindowTitle(QString::fromStdString(CountdownCaption(caption_, disabledLeft_)));
    } else if (disabledLeft_ > 0) {
        defaultButton->setText(QString::fromStdString(CountdownButtonCaption(defaultCaption, disabledLeft_)));
    } else if (autoLeft_ > 0) {
        defaultButton->setText(QString::fromStdString(CountdownButtonCaption(defaultCaption, autoLeft_)));
    }
}

void MarkupMessageBox::setButtonsEnabled(bool enabled) {
    for (QPushButton* button : buttons_) button->setEnabled(enabled);
}

void MarkupMessageBox::press(int id) {
    if (id == kHelp) {
        openHelp();
    } else if (id == kReport) {
        if (params_.report) params_.report();
    } else if (id == kMore || id == kLessMore) {
        toggleMore();
    } else {
        finish(static_cast<uint32_t>(id));
    }
}

void MarkupMessageBox::toggleMore() {
    expanded_ = !expanded_;
    refreshCountdownTexts();
    setFixedSize(width(), collapsedHeight_ + (expanded_ ? more_.rect.height() : 0));
    update();
}

void MarkupMessageBox::finish(uint32_t result) {
    timer_->stop();
    const bool ticked = checkBox_ && checkBox_->isChecked();
    if (ticked && (style_ & kReportChecked)) result |= kReportChecked;
    if (ticked) remember(result);
    answer_ = result;
    done(Accepted);
}

void MarkupMessageBox::reject() {
    if (closeBoxEnabled()) finish(kCancel);
}

void MarkupMessageBox::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (closeBoxEnabled()) finish(kCancel);
}

}  // namespace lumbra
