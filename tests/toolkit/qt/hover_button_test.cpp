#include "toolkit/qt/hover_button.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/qt/pixel_probe.h"

namespace lumbra {
namespace {

const QColor kNormal(200, 40, 40), kPressed(40, 160, 40), kHovered(40, 60, 200);

QImage ThreeFrameStrip() {
    QImage strip(120, 30, QImage::Format_RGB32);
    strip.fill(kNormal);
    for (int y = 0; y < 30; ++y) {
        for (int x = 40; x < 80; ++x) strip.setPixelColor(x, y, kPressed);
        for (int x = 80; x < 120; ++x) strip.setPixelColor(x, y, kHovered);
    }
    return strip;
}

TEST(HoverButtonLook, OneFrameWideAndPressedReadsOneButtonWidthToTheRight) {
    HoverButton button;
    button.setBitmap(ThreeFrameStrip(), 3);
    EXPECT_EQ(button.size(), QSize(40, 30));
    EXPECT_EQ(PixelAt(button.grab().toImage(), 20, 15), RgbOf(kNormal));
    button.setDown(true);
    EXPECT_EQ(PixelAt(button.grab().toImage(), 0, 0), RgbOf(kPressed));
    EXPECT_EQ(PixelAt(button.grab().toImage(), 39, 29), RgbOf(kPressed));
}

TEST(HoverButtonLook, ASingleFramePictureIsTheWholeButtonInEveryState) {
    QImage single(50, 20, QImage::Format_RGB32);
    single.fill(kNormal);
    HoverButton button;
    button.setBitmap(single, 1);
    EXPECT_EQ(button.size(), QSize(50, 20));
    button.setDown(true);
    EXPECT_EQ(PixelAt(button.grab().toImage(), 25, 10), RgbOf(kNormal));
}

TEST(HoverButtonLook, ClassicGreysTakeTheDesktopColours) {
    QImage grey(3, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, 0xff808080);
    grey.setPixel(1, 0, 0xffc0c0c0);
    grey.setPixel(2, 0, 0xff123456);
    const QPalette palette;
    const QImage mapped = MapThreeDGreys(grey, palette);
    EXPECT_EQ(PixelAt(mapped, 0, 0), RgbOf(palette.color(QPalette::Dark)));
    EXPECT_EQ(PixelAt(mapped, 1, 0), RgbOf(palette.color(QPalette::Button)));
    EXPECT_EQ(PixelAt(mapped, 2, 0), 0x123456u);
}

TEST(HoverButtonAddress, SetsTheHandCursorAndIsCutTo260Characters) {
    HoverButton button;
    EXPECT_NE(button.cursor().shape(), Qt::PointingHandCursor);
    button.setAddress(QString(300, QLatin1Char('x')));
    EXPECT_EQ(button.address().size(), 260);
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
}

class HoverButtonHover : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(200, 100);
        button = new HoverButton(&host);
        button->setBitmap(ThreeFrameStrip(), 3);
        button->move(10, 10);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        QCursor::setPos(button->mapToGlobal(QPoint(20, 15)));
        QTest::mouseMove(button, QPoint(20, 15));
        ASSERT_TRUE(button->isHovering());
    }
    void TearDown() override { QCursor::setPos(0, 0); }

    // Milliseconds until the hover ends, or -1 when it lasts longer than `limit`.
    int msUntilHoverEnds(int limit) {
        QElapsedTimer clock;
        clock.start();
        while (button->isHovering() && clock.elapsed() < limit) QTest::qWait(2);
        return button->isHovering() ? -1 : static_cast<int>(clock.elapsed());
    }

    QWidget host;
    HoverButton* button = nullptr;
};

TEST_F(HoverButtonHover, EnteringCapturesTheMouseAndShowsTheHoverFrame) {
    EXPECT_EQ(QWidget::mouseGrabber(), button);
    EXPECT_EQ(PixelAt(button->grab().toImage(), 20, 15), RgbOf(kHovered));
    EXPECT_EQ(msUntilHoverEnds(250), -1);   // the cursor stays inside
}

TEST_F(HoverButtonHover, EndsWithinOneTimerPeriodAfterTheCursorLeaves) {
    QCursor::setPos(host.mapToGlobal(QPoint(150, 80)));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    EXPECT_TRUE(button->isHovering());   // leaving alone does not end it; the timer does
    const int ms = msUntilHoverEnds(400);
    EXPECT_GE(ms, 0);
    EXPECT_LE(ms, HoverButton::kHoverCheckMs + 40);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(PixelAt(button->grab().toImage(), 20, 15), RgbOf(kNormal));
}

}  // namespace
}  // namespace lumbra
