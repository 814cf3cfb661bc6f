#pragma once
// MarkupToolTip: a tooltip whose text is markup, drawn over a background effect inside a
// rounded (balloon) or rectangular body with an anchor pointing at the mouse, a soft shadow
// and fading. Tools are widgets (or rectangles of them); their mouse events reach the tooltip
// through an event filter, or the owner relays them.
#include <QPainterPath>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/markup_drawer.h"
#include "toolkit/markup_effects.h"
#include "toolkit/tool_tip_geometry.h"

namespace lumbra {

namespace tool_setting {
// Which settings of a tool are its own rather than the tooltip's defaults.
constexpr int kStyle = 1, kEffect = 2, kColours = 4, kAnchor = 8, kBehaviour = 16, kTransparency = 32;
}  // namespace tool_setting

namespace tool_behaviour {
constexpr int kShowAgain = 1;        // the same tool may show again after hiding
constexpr int kFollowMouse = 2;
constexpr int kRestartWhileMoving = 4;
constexpr int kStayOverTip = 8;
constexpr int kNoAutoHide = 0x10;
}  // namespace tool_behaviour

namespace tool_delay {
constexpr int kDuration = 2, kShowDelay = 3, kFadeIn = 4, kFadeOut = 5, kAnimation = 6;
}

struct ToolTipTool {
    QPointer<QWidget> window;
    QRect rect;  // empty: the whole window
    std::string text;
    int mask = 0;
    uint32_t style = 0;
    int effect = effect::kSolid;
    int granularity = 0;
    int anchorDirection = anchor::kBottom;
    int behaviour = 0;
    int transparency = 0;
    Rgb begin = 0xffffe1;
    Rgb middle = 0xffffe1;
    Rgb end = 0xffffe1;
};

class MarkupToolTip : public QWidget {
    Q_OBJECT

public:
    enum State { Hidden = 0, FadingIn = 1, Shown = 2, FadingOut = 3 };

    MarkupToolTip(QWidget* parent, bool balloon);
    ~MarkupToolTip() override;

    // Registers a tool; `settings` gives the tool's own settings named by its mask.
    int addTool(QWidget* window, const std::string& text, std::optional<QRect> rect = std::nullopt,
                const ToolTipTool* settings = nullptr);
    void setBackgroundColours(Rgb begin, Rgb middle, Rgb end);
    void setBackgroundEffect(int effectNumber, int granularity);
    void setBorder(Rgb colour, int width, int height);
    void setDefaultAnchorDirection(int direction);
    void setBehaviour(int flags);
    void setSizeSetting(int index, int value);
    void setDelayTime(int kind, int milliseconds);
    void setFading(bool fadeIn, bool fadeOut);
    void setShadow(int offsetX, int offsetY, int darkness, int kind, int blurX, int blurY);
    void setWindowInformationMode(bool on);
    // What clicks on the tooltip's links do (by default the desktop opens "href" targets).
    void setLinkActions(LinkActions actions) { drawer_.setLinkActions(std::move(actions)); }

    // The mouse messages of the tools, in screen coordinates.
    void relayMouseMove(const QPoint& global);
    void relayMouseLeave();
    void relayClick(const QPoint& global);
    // Shows a tool at once at a point, as an explicit call; mouse moves are then ignored
    // until it hides.
    void showTool(int index, const QPoint& global);
    void hideTip();

    State state() const { return state_; }
    int transparency() const { return transparency_; }
    int currentTool() const { return current_; }
    const ToolTipShape& shape() const { return shape_; }
    const ToolTipSizes& sizes() const { return sizes_; }
    const ToolTipTool& defaults() const { return defaults_; }
    const MarkupDrawer& drawer() const { return drawer_; }
    // The screen under the tooltip, captured as it shows when nothing composes the screen.
    const QPixmap& backdrop() const { return backdrop_; }
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int findTool(const QPoint& global) const;
    // A tool's window lost the mouse.
    void toolLeft();
    QRect toolRect(int index) const;
    ToolTipTool effective(int index) const;
    void takeCandidate(int index, const QPoint& global);
    void onShowTimer();
    void showCandidate();
    void enterShown();
    void finishHiding();
    void fadeInStep();
    void fadeOutStep();
    void animationStep();
    void restartHideTimer();
    void placeAt(const QPoint& global);
    void showWindowInformation(const QPoint& global);
    QPainterPath bodyPath() const;
    // True over the tooltip's shape (not merely its window rectangle).
    bool overTip(const QPoint& global) const;

    MarkupDrawer drawer_;
    std::vector<ToolTipTool> tools_;
    ToolTipTool defaults_;
    ToolTipTool active_;
    ToolTipSizes sizes_;
    ToolTipShape shape_;
    Rgb borderColour_ = 0x000000;
    int borderWidth_ = 1;
    int borderHeight_ = 1;
    int showDelay_ = 500;
    int duration_ = 5000;
    int fadeInStep_ = 0;
    int fadeOutStep_ = 0;
    bool fadeInOn_ = true;
    bool fadeOutOn_ = true;
    ImageShadow shadow_{6, 6, 50, 1, 7, 7};
    bool informationMode_ = false;
    State state_ = Hidden;
    int transparency_ = 100;
    int current_ = -1;
    QRect currentRect_;
    int candidate_ = -1;
    QPoint candidatePos_;
    std::optional<QPoint> lastPos_;
    bool explicitShow_ = false;
    bool showAfterFade_ = false;
    QTimer showTimer_, hideTimer_, fadeInTimer_, fadeOutTimer_, animationTimer_;
    QPixmap backdrop_;
};

}  // namespace lumbra
