#include "toolkit/qt/tool_tip.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>

#include "toolkit/markup_colour.h"
#include "toolkit/qt/markup_painting.h"

namespace lumbra {

using namespace tool_behaviour;

MarkupToolTip::MarkupToolTip(QWidget* parent, bool balloon)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      sizes_(balloon ? ToolTipSizes::Balloon() : ToolTipSizes::Rectangular()) {
    setObjectName("MarkupToolTip");
    // Where the platform cannot grab (PlatformCanGrab), the shadow and fade are this translucent
    // window's own; the window is placed relative to its parent, as Wayland asks.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    const SystemColourScheme scheme = ClassicColourScheme();
    const Rgb info = scheme[system_colour::kInfoBackground];
    defaults_.begin = defaults_.middle = defaults_.end = info;
    borderColour_ = scheme[system_colour::kInfoText];
    drawer_.setHoverNotification([this](int) { update(); });
    drawer_.setLinkActions(DesktopLinkActions());
    showTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &MarkupToolTip::onShowTimer);
    connect(&hideTimer_, &QTimer::timeout, this, &MarkupToolTip::hideTip);
    connect(&fadeInTimer_, &QTimer::timeout, this, &MarkupToolTip::fadeInStep);
    connect(&fadeOutTimer_, &QTimer::timeout, this, &MarkupToolTip::fadeOutStep);
    connect(&animationTimer_, &QTimer::timeout, this, &MarkupToolTip::animationStep);
    animationTimer_.start(100);
}

MarkupToolTip::~MarkupToolTip() {
    for (const ToolTipTool& tool : tools_) {
        if (tool.window) tool.window->removeEventFilter(this);
    }
}

int MarkupToolTip::addTool(QWidget* window, const std::string& text, std::optional<QRect> rect,
                           const ToolTipTool* settings) {
    ToolTipTool tool = settings ? *settings : ToolTipTool{};
    tool.window = window;
    tool.rect = rect.value_or(QRect());
    tool.text = text;
    if (!settings) tool.mask = 0;
    tools_.push_back(tool);
    if (window) {
        window->setMouseTracking(true);
        window->installEventFilter(this);
    }
    return static_cast<int>(tools_.size()) - 1;
}

void MarkupToolTip::setBackgroundColours(Rgb begin, Rgb middle, Rgb end) {
    defaults_.begin = begin;
    defaults_.middle = middle;
    defaults_.end = end;
}

void MarkupToolTip::setBackgroundEffect(int effectNumber, int granularity) {
    defaults_.effect = effectNumber;
    defaults_.granularity = granularity;
}

void MarkupToolTip::setBorder(Rgb colour, int width, int height) {
    borderColour_ = colour;
    borderWidth_ = std::max(width, 0);
    borderHeight_ = std::max(height, 0);
}

void MarkupToolTip::setDefaultAnchorDirection(int direction) { defaults_.anchorDirection = direction; }
void MarkupToolTip::setBehaviour(int flags) { defaults_.behaviour = flags; }

void MarkupToolTip::setSizeSetting(int index, int value) {
    if (index >= 0 && index < ToolTipSizes::kCount) sizes_.values[static_cast<size_t>(index)] = value;
}

void MarkupToolTip::setDelayTime(int kind, int milliseconds) {
    const int ms = std::max(milliseconds, 0);
    switch (kind) {
    case tool_delay::kDuration: duration_ = ms; break;
    case tool_delay::kShowDelay: showDelay_ = ms; break;
    case tool_delay::kFadeIn: fadeInStep_ = ms; break;
    case tool_delay::kFadeOut: fadeOutStep_ = ms; break;
    case tool_delay::kAnimation: animationTimer_.start(std::max(ms, 1)); break;
    default: break;
    }
}

void MarkupToolTip::setFading(bool fadeIn, bool fadeOut) {
    fadeInOn_ = fadeIn;
    fadeOutOn_ = fadeOut;
}

void MarkupToolTip::setShadow(int offsetX, int offsetY, int darkness, int kind, int blurX, int blurY) {
    shadow_ = {offsetX, offsetY, std::min(darkness, 100), kind, blurX, blurY};
}

void MarkupToolTip::setWindowInformationMode(bool on) { informationMode_ = on; }

bool MarkupToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched->isWidgetType()) {
        if (event->type() == QEvent::MouseMove) relayMouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (event->type() == QEvent::MouseButtonPress) relayClick(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (event->type() == QEvent::Leave) toolLeft();
    }
    return QWidget::eventFilter(watched, event);
}

int MarkupToolTip::findTool(const QPoint& global) const {
    for (size_t i = 0; i < tools_.size(); ++i) {
        const QWidget* window = tools_[i].window;
        if (!window || !window->isVisible() || !window->isEnabled()) continue;
        if (toolRect(static_cast<int>(i)).contains(window->mapFromGlobal(global))) return static_cast<int>(i);
    }
    return -1;
}

QRect MarkupToolTip::toolRect(int index) const {
    const ToolTipTool& tool = tools_[static_cast<size_t>(index)];
    if (!tool.rect.isEmpty() || !tool.window) return tool.rect;
    return tool.window->rect();
}

ToolTipTool MarkupToolTip::effective(int index) const {
    const ToolTipTool& tool = tools_[static_cast<size_t>(index)];
    ToolTipTool out = defaults_;
    out.window = tool.window;
    out.rect = tool.rect;
    out.text = tool.text;
    if (tool.mask & tool_setting::kStyle) out.style = tool.style;
    if (tool.mask & tool_setting::kEffect) {
        out.effect = tool.effect;
        out.granularity = tool.granularity;
    }
    if (tool.mask & tool_setting::kColours) {
        out.begin = tool.begin;
        out.middle = tool.middle;
        out.end = tool.end;
    }
    if (tool.mask & tool_setting::kAnchor) out.anchorDirection = tool.anchorDirection;
    if (tool.mask & tool_setting::kBehaviour) out.behaviour = tool.behaviour;
    if (tool.mask & tool_setting::kTransparency) out.transparency = std::clamp(tool.transparency, 0, 100);
    return out;
}

void MarkupToolTip::relayMouseMove(const QPoint& global) {
    if (explicitShow_ || (lastPos_ && *lastPos_ == global)) return;
    lastPos_ = global;
    if (informationMode_) {
        showWindowInformation(global);
        return;
    }
    const int behaviour = state_ != Hidden ? active_.behaviour : defaults_.behaviour;
    if (overTip(global) && !(behaviour & kFollowMouse)) {
        if (behaviour & kStayOverTip) {
            restartHideTimer();
        } else {
            hideTip();
        }
        return;
    }
    const int tool = findTool(global);
    if (tool < 0) {
        relayMouseLeave();
        return;
    }
    if (tool == current_ && toolRect(tool) == currentRect_) {
        if (state_ == Hidden) return;  // hid while over this tool: waits until the mouse leaves it
        const int own = active_.behaviour;
        if (own & kFollowMouse) placeAt(global);
        if (own & (kFollowMouse | kRestartWhileMoving)) restartHideTimer();
        if (!(own & (kShowAgain | kFollowMouse | kRestartWhileMoving))) hideTip();
        return;
    }
    takeCandidate(tool, global);
}

// The tooltip opens with its anchor at the resting mouse, so its window takes the mouse from
// the tool without a move; and with flag 8 the mouse may go on into the tooltip. Neither
// leaves the tool: only a mouse that is really elsewhere hides the tooltip.
void MarkupToolTip::toolLeft() {
    const QPoint cursor = QCursor::pos();
    if (state_ != Hidden && overTip(cursor) && (active_.behaviour & kStayOverTip)) return;
    if (state_ != Hidden && current_ >= 0 && geometry().contains(cursor) && findTool(cursor) == current_) return;
    relayMouseLeave();
}

void MarkupToolTip::relayMouseLeave() {
    if (explicitShow_ || informationMode_) return;
    showTimer_.stop();
    candidate_ = -1;
    showAfterFade_ = false;
    current_ = -1;  // leaving the tool lets it show again on the next visit
    hideTip();
}

void MarkupToolTip::relayClick(const QPoint& global) {
    if (overTip(global)) {
        const QPoint local = mapFromGlobal(global);
        drawer_.click(local.x(), local.y());
    }
}

void MarkupToolTip::takeCandidate(int index, const QPoint& global) {
    candidate_ = index;
    candidatePos_ = global;
    if (state_ != Hidden) {
        showAfterFade_ = true;
        hideTip();
    } else if (showDelay_ == 0) {
        showCandidate();
    } else {
        showTimer_.start(showDelay_);
    }
}

void MarkupToolTip::onShowTimer() {
    showTimer_.stop();
    if (lastPos_ && *lastPos_ != candidatePos_) {
        hideTip();
        return;
    }
    showCandidate();
}

void MarkupToolTip::showTool(int index, const QPoint& global) {
    if (index < 0 || index >= static_cast<int>(tools_.size())) return;
    explicitShow_ = true;
    candidate_ = index;
    candidatePos_ = global;
    showCandidate();
}

void MarkupToolTip::showCandidate() {
    if (candidate_ < 0) return;
    current_ = candidate_;
    candidate_ = -1;
    currentRect_ = toolRect(current_);
    active_ = effective(current_);
    placeAt(candidatePos_);
    state_ = FadingIn;
    if (fadeInOn_ && fadeInStep_ > 0) {
        transparency_ = 100;
        show();
        fadeInTimer_.start(fadeInStep_);
    } else {
        transparency_ = active_.transparency;
        show();
        enterShown();
    }
    update();
}

void MarkupToolTip::enterShown() {
    state_ = Shown;
    if (duration_ > 0 && !(active_.behaviour & kNoAutoHide)) hideTimer_.start(duration_);
}

void MarkupToolTip::restartHideTimer() {
    if (state_ == Shown && duration_ > 0 && !(active_.behaviour & kNoAutoHide)) hideTimer_.start(duration_);
}

void MarkupToolTip::fadeInStep() {
    transparency_ = std::max(transparency_ - 20, active_.transparency);
    update();
    if (transparency_ <= active_.transparency) {
        fadeInTimer_.stop();
        enterShown();
    }
}

void MarkupToolTip::hideTip() {
    showTimer_.stop();
    hideTimer_.stop();
    fadeInTimer_.stop();
    if (state_ == Hidden || state_ == FadingOut) return;
    if (fadeOutOn_ && fadeOutStep_ > 0 && isVisible()) {
        state_ = FadingOut;
        fadeOutTimer_.start(fadeOutStep_);
        return;
    }
    finishHiding();
}

void MarkupToolTip::fadeOutStep() {
    transparency_ = transparency_ >= 80 ? 100 : transparency_ + 20;
    update();
    if (transparency_ >= 100) finishHiding();
}

void MarkupToolTip::finishHiding() {
    fadeOutTimer_.stop();
    transparency_ = 100;
    hide();
    state_ = Hidden;
    explicitShow_ = false;
    if (active_.behaviour & kShowAgain) current_ = -1;
    if (!showAfterFade_ || candidate_ < 0) return;
    showAfterFade_ = false;
    if (showDelay_ == 0) {
        showCandidate();
    } else {
        showTimer_.start(showDelay_);
    }
}

void MarkupToolTip::animationStep() {
    if (isVisible() && state_ == Shown && drawer_.animationTick()) update();
}

}  // namespace lumbra
