#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <set>

#include "support/qt/event_wait.h"
#include "toolkit/help_button_texts.h"
#include "toolkit/qt/help_tool_tips.h"
#include "toolkit/qt/tool_tip.h"

namespace lumbra {
namespace {

// The window system's side of the tooltip taking the mouse from a tool: opening under the resting
// mouse, or the mouse moving on into it; the tool's window loses the mouse.
void TooltipTakesTheMouse(QWidget* tool) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tool, &leave);
}

class MarkupToolTipTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setGeometry(100, 100, 300, 200);
        tool = new QWidget(&window);
        tool->setGeometry(20, 20, 100, 40);
        other = new QWidget(&window);
        other->setGeometry(150, 20, 100, 40);
        window.show();
        tip = std::make_unique<MarkupToolTip>(&window, true);
        tip->addTool(tool, "<b>Tool</b> text");
        tip->addTool(other, "Other text");
    }
    QPoint inTool(int x = 10, int y = 10) const { return tool->mapToGlobal(QPoint(x, y)); }

    QWidget window;
    QWidget* tool = nullptr;
    QWidget* other = nullptr;
    std::unique_ptr<MarkupToolTip> tip;
};

TEST_F(MarkupToolTipTest, ZeroShowDelayShowsOnTheFirstMove) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->currentTool(), 0);
    EXPECT_EQ(tip->transparency(), 0);
}

TEST_F(MarkupToolTipTest, ShowDelayWaitsBeforeShowing) {
    tip->setDelayTime(tool_delay::kShowDelay, 150);
    QElapsedTimer clock;
    clock.start();
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->state() == MarkupToolTip::Shown; }, test::kEventLimitMs));
    EXPECT_GE(clock.elapsed(), 150 * 95 / 100);  // Qt's coarse timers may fire up to 5 % early
}

TEST_F(MarkupToolTipTest, WithoutFadeStepsItShowsAndHidesAtOnce) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    tip->hideTip();
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
    EXPECT_EQ(tip->transparency(), 100);
    EXPECT_FALSE(tip->isVisible());
}

// The transparencies seen until the tooltip reaches `until`, polling between timer events.
std::set<int> WatchFade(const MarkupToolTip& tip, MarkupToolTip::State until) {
    std::set<int> seen;
    for (int i = 0; i < 2000 && tip.state() != until; ++i) {
        seen.insert(tip.transparency());
        QTest::qWait(1);
    }
    seen.insert(tip.transparency());
    return seen;
}

TEST_F(MarkupToolTipTest, FadeStepsPassThroughIntermediateTransparency) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setDelayTime(tool_delay::kFadeIn, 10);
    tip->setDelayTime(tool_delay::kFadeOut, 10);
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::FadingIn);
    EXPECT_EQ(tip->transparency(), 100);
    EXPECT_EQ(WatchFade(*tip, MarkupToolTip::Shown), (std::set<int>{100, 80, 60, 40, 20, 0}));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    tip->hideTip();
    EXPECT_EQ(tip->state(), MarkupToolTip::FadingOut);
    EXPECT_EQ(WatchFade(*tip, MarkupToolTip::Hidden), (std::set<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(MarkupToolTipTest, MovingWithinTheToolHidesWithoutFlagOne) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->relayMouseMove(inTool(10, 10));
    ASSERT_EQ(tip->state(), MarkupToolTip::Shown);
    tip->relayMouseMove(inTool(12, 10));
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
    tip->relayMouseMove(inTool(14, 10));
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);  // not again until the mouse leaves the tool
    tip->relayMouseLeave();
    tip->relayMouseMove(inTool(16, 10));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
}

TEST_F(MarkupToolTipTest, MovingWithinTheToolKeepsItWithFlagOne) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setBehaviour(tool_behaviour::kShowAgain);
    tip->relayMouseMove(inTool(10, 10));
    tip->relayMouseMove(inTool(12, 10));
    tip->relayMouseMove(inTool(14, 12));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_TRUE(tip->isVisible());
}

TEST_F(MarkupToolTipTest, FollowingTheMouseMovesTheTooltip) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setBehaviour(tool_behaviour::kFollowMouse);
    tip->relayMouseMove(inTool(10, 10));
    const QPoint before = tip->pos();
    tip->relayMouseMove(inTool(30, 15));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_EQ(tip->pos() - before, QPoint(20, 5));
}

TEST_F(MarkupToolTipTest, AnotherToolReplacesTheShownOne) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->relayMouseMove(inTool());
    tip->relayMouseMove(other->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(tip->currentTool(), 1);
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
}

TEST_F(MarkupToolTipTest, DisabledToolsAndEmptySpaceShowNothing) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tool->setEnabled(false);
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
    tip->relayMouseMove(window.mapToGlobal(QPoint(5, 150)));
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
}

TEST_F(MarkupToolTipTest, ShowDurationHidesUnlessFlagSaysOtherwise) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setDelayTime(tool_delay::kDuration, 60);
    tip->relayMouseMove(inTool());
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip->state() == MarkupToolTip::Hidden; }, test::kEventLimitMs));
    tip->setBehaviour(tool_behaviour::kNoAutoHide | tool_behaviour::kShowAgain);
    tip->relayMouseLeave();
    tip->relayMouseMove(inTool(20, 20));
    QTest::qWait(150);
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
}

TEST_F(MarkupToolTipTest, OpensToTheOtherSideAtTheScreenEdge) {
    const QRect screen = QGuiApplication::primaryScreen()->virtualGeometry();
    window.setGeometry(screen.right() - 160, screen.bottom() - 70, 150, 60);
    tool->setGeometry(0, 0, 150, 60);
    QApplication::processEvents();
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setDefaultAnchorDirection(anchor::kTop + anchor::kFromStart);
    const QPoint cursor = tool->mapToGlobal(QPoint(140, 50));
    tip->relayMouseMove(cursor);
    ASSERT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_EQ(tip->shape().direction, anchor::kBottom + anchor::kFromEnd);
    EXPECT_LE(tip->mapToGlobal(QPoint(0, tip->shape().body.bottom)).y(), cursor.y());
    EXPECT_LE(tip->geometry().bottom(), cursor.y() + 6);  // only the shadow reaches below
    EXPECT_LE(tip->geometry().left(), cursor.x() - 20);
    EXPECT_TRUE(screen.contains(tip->geometry()));
}

TEST_F(MarkupToolTipTest, OpensBelowAndRightOfTheMouseWhereThereIsRoom) {
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    tip->setDefaultAnchorDirection(anchor::kTop + anchor::kFromStart);
    const QPoint cursor = inTool();
    tip->relayMouseMove(cursor);
    EXPECT_EQ(tip->shape().direction, anchor::kTop + anchor::kFromStart);
    EXPECT_EQ(tip->geometry().top(), cursor.y());
    EXPECT_EQ(tip->geometry().left(), cursor.x() - 16);
}

// A window with a help button.
struct HelpButtonWindow {
    HelpButtonWindow() {
        window.setGeometry(50, 50, 400, 300);
        button = new QWidget(&window);
        button->setGeometry(200, 100, 16, 16);
        window.show();
    }
    QWidget window;
    QWidget* button = nullptr;
};

TEST(HelpToolTips, CarryTheDiskStepSettingsAndAnimate) {
    HelpButtonWindow w;
    QWidget* button = w.button;
    auto tip = CreateHelpToolTip(&w.window, button, HelpButton::VolumeIdentify);
    EXPECT_EQ(tip->defaults().effect, 13);
    EXPECT_EQ(tip->defaults().granularity, 5);
    EXPECT_EQ(tip->defaults().begin, 0xfcff7du);
    EXPECT_EQ(tip->defaults().middle, 0xffffffu);
    EXPECT_EQ(tip->defaults().end, 0xfcff7du);
    EXPECT_EQ(tip->defaults().anchorDirection, 2);
    EXPECT_EQ(tip->sizes().values, ToolTipSizes::Balloon().values);
    tip->showTool(0, button->mapToGlobal(QPoint(8, 8)));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    EXPECT_EQ(tip->drawer().text().find("Volume Identify Options") != std::string::npos, true);
    ASSERT_EQ(tip->drawer().records().animations.size(), 1u);
    EXPECT_GT(tip->width(), 300);
    const int frame = tip->drawer().records().animations[0].frame;
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip->drawer().records().animations[0].frame != frame; }, test::kEventLimitMs));
    tip->relayMouseMove(button->mapToGlobal(QPoint(1, 1)));
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);  // explicit showing ignores the mouse
}

TEST(HelpToolTips, ShowAfterTheDelayAndStayWhileTheMouseRests) {
    HelpButtonWindow w;
    QWidget& window = w.window;
    QWidget* button = w.button;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (HelpButton which : {HelpButton::VolumeIdentify, HelpButton::ScanRange}) {
        QCursor::setPos(window.mapToGlobal(QPoint(5, 5)));
        auto tip = CreateHelpToolTip(&window, button, which);
        const QPoint resting = button->mapToGlobal(QPoint(8, 8 + static_cast<int>(which)));
        QElapsedTimer clock;
        clock.start();
        QCursor::setPos(resting);  // the mouse enters the button and rests there
        QTest::qWait(300);
        // The show delay is 500 ms; a machine too busy to look in time has nothing to say.
        if (clock.elapsed() < 450) {
            EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return tip->state() == MarkupToolTip::Shown; }, test::kEventLimitMs));
        EXPECT_GE(clock.elapsed(), 500 * 95 / 100);  // Qt's coarse timers may fire up to 5 % early
        TooltipTakesTheMouse(button);
        QTest::qWait(1000);
        EXPECT_TRUE(tip->isVisible());
        EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    }
}

TEST_F(MarkupToolTipTest, FlagEightKeepsItOverTheTooltipWhereLinksWork) {
    auto* third = new QWidget(&window);
    third->setGeometry(20, 100, 100, 40);
    third->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ToolTipTool own;
    own.mask = tool_setting::kBehaviour;
    own.behaviour = tool_behaviour::kStayOverTip;
    const int index = tip->addTool(third, "Read <a href=https://example.org/x>the page</a> now", std::nullopt, &own);
    std::vector<std::string> opened;
    tip->setLinkActions({[&](const std::string& target) { opened.push_back(target); }, {}});
    tip->setDelayTime(tool_delay::kShowDelay, 0);
    QCursor::setPos(third->mapToGlobal(QPoint(5, 5)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->currentTool() == index; }, test::kEventLimitMs));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tip.get()));
    ASSERT_EQ(tip->drawer().records().links.size(), 1u);
    const MarkupRect link = tip->drawer().records().links[0].rect;
    const QPoint onLink((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    QCursor::setPos(tip->mapToGlobal(onLink));  // from the tool onto the tooltip's link
    TooltipTakesTheMouse(third);
    QMouseEvent move(QEvent::MouseMove, QPointF(onLink), QPointF(tip->mapToGlobal(onLink)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tip.get(), &move);
    QTest::qWait(50);
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    QTest::mouseClick(tip.get(), Qt::LeftButton, {}, onLink);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/x"});
    EXPECT_EQ(tip->state(), MarkupToolTip::Shown);
    // Without the flag the tooltip goes as soon as the mouse reaches it.
    QCursor::setPos(window.mapToGlobal(QPoint(5, 150)));
    QCursor::setPos(inTool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->currentTool() == 0; }, test::kEventLimitMs));
    tip->relayMouseMove(tip->mapToGlobal(QPoint(tip->shape().text.left + 2, tip->shape().text.top + 2)));
    EXPECT_EQ(tip->state(), MarkupToolTip::Hidden);
}

}  // namespace
}  // namespace lumbra
