// The main window's help balloon on a real X server with no compositing manager, seen as a user
// sees it (support/qt/balloon_on_screen.h): its corners and shadow show the window under it.
// Elsewhere the test is skipped.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>

#include "gui/gui_harness.h"
#include "support/qt/balloon_on_screen.h"
#include "toolkit/qt/screen_backdrop.h"
#include "toolkit/qt/tool_tip.h"

namespace lumbra::test {
namespace {

constexpr int kWaitMs = 20000;

// The balloon that real pointer motion onto `button` shows; null when none shows.
MarkupToolTip* HoverForBalloon(QWidget& window, QWidget& button) {
    if (!MovePointer(button.mapToGlobal(button.rect().center()))) return nullptr;
    MarkupToolTip* shown = nullptr;
    const bool found = QTest::qWaitFor([&] {
        for (MarkupToolTip* tip : window.findChildren<MarkupToolTip*>())
            if (tip->state() == MarkupToolTip::Shown && tip->isVisible()) shown = tip;
        return shown != nullptr;
    }, kWaitMs);
    return found ? shown : nullptr;
}

TEST(HelpBalloonOnX, OverTheMainWindowWithoutACompositorShowsTheWindowUnderItsCornersAndShadow) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    ASSERT_FALSE(ScreenHasCompositor());
    MainWindowHarness h;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h.window.get(), kWaitMs));
    QWidget* button = h.window->element(Element::HelpButtonA);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    ASSERT_TRUE(MovePointer(h.window->frameGeometry().bottomRight() + QPoint(40, 40)));
    const QImage before = SettledScreen("before");
    ASSERT_FALSE(before.isNull());

    MarkupToolTip* tip = HoverForBalloon(*h.window, *button);
    ASSERT_NE(tip, nullptr);
    EXPECT_FALSE(tip->backdrop().isNull());
    const QImage after = ScreenWithTheHelpBalloon(*tip, "balloon");
    ASSERT_FALSE(after.isNull());
    ASSERT_GT(SeeThroughPixels(*tip), 500);
    const QRect hovered = QRect(button->mapToGlobal(QPoint(0, 0)), button->size()).adjusted(-2, -2, 2, 2);
    const std::vector<std::string> strayed = StrayedUnderTheBalloon(*tip, before, after, hovered);
    EXPECT_TRUE(strayed.empty()) << strayed.size() << " pixels strayed, first " << strayed.front();
}

}  // namespace
}  // namespace lumbra::test
