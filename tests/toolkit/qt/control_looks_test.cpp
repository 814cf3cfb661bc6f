#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/pixel_probe.h"
#include "toolkit/qt/progress_bar.h"
#include "toolkit/qt/round_group_box.h"
#include "toolkit/qt/transparent_label.h"
#include "toolkit/qt/window_shape.h"

namespace lumbra {
namespace {

TEST(ProgressBarLook, ShowsThePercentInTwoColoursOverFilledAndEmptyParts) {
    ProgressBar bar;
    bar.resize(300, 20);
    bar.setRange(0, 200);
    bar.setPosition(104);
    bar.setBarColour(QColor(0, 0, 160));
    bar.setBackgroundColour(Qt::white);
    bar.setTextColours(QColor(255, 255, 0), QColor(200, 0, 0));
    EXPECT_EQ(bar.text(), "52%");
    const QImage shot = bar.grab().toImage();
    const QRect filled = bar.filledRect();
    EXPECT_EQ(filled.width(), 298 * 104 / 200);
    EXPECT_EQ(PixelAt(shot, filled.left() + 2, 3), RgbOf(QColor(0, 0, 160)));
    EXPECT_EQ(PixelAt(shot, filled.right() + 30, 3), 0xffffffu);
    // The text straddles the edge of the filled part: yellow left of it, red right of it.
    const QRect yellow = InkBounds(shot, shot.rect(), QColor(255, 255, 0), 60);
    const QRect red = InkBounds(shot, shot.rect(), QColor(200, 0, 0), 60);
    ASSERT_FALSE(yellow.isNull());
    ASSERT_FALSE(red.isNull());
    EXPECT_LE(yellow.right(), filled.right());
    EXPECT_GT(red.left(), filled.right());
    EXPECT_NEAR((yellow.left() + red.right()) / 2.0, 150, 3);
}

TEST(ProgressBarLook, CaptionReplacesThePercentAndVerticalBarsFillFromTheBottom) {
    ProgressBar bar;
    bar.resize(200, 20);
    bar.setPosition(50);
    bar.setCaption("Saving");
    EXPECT_EQ(bar.text(), "Saving");
    bar.setVertical(true);
    bar.resize(20, 102);
    const QRect filled = bar.filledRect();
    EXPECT_EQ(filled.height(), 50);
    EXPECT_EQ(filled.bottom(), 100);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(PixelAt(shot, 10, 90), RgbOf(bar.barColour()));
    EXPECT_EQ(PixelAt(shot, 10, 20), RgbOf(bar.backgroundColour()));
}

struct CaptionCase {
    GroupBoxLook look;
    int alignment;
};

class RoundGroupBoxCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(RoundGroupBoxCaption, SitsWhereTheLookAndAlignmentPutIt) {
    const CaptionCase c = GetParam();
    RoundGroupBox box("Volume Identify Options");
    box.resize(360, 120);
    box.setLook(c.look);
    box.setCaptionAlignment(c.alignment);
    const QImage shot = box.grab().toImage();
    const QRect ink = InkBounds(shot, shot.rect(), QColor(0, 0, 255), 110);
    ASSERT_FALSE(ink.isNull());
    const int blank = box.fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const int inset = c.look == GroupBoxLook::Frame ? 10 : 2;
    switch (c.alignment) {
    case 0: EXPECT_NEAR(ink.left(), inset + blank, 2); break;
    case 1: EXPECT_NEAR(ink.center().x(), 180, 2); break;
    default: EXPECT_NEAR(ink.right(), 359 - inset - blank, 2); break;
    }
    EXPECT_LT(ink.bottom(), box.fontMetrics().height() + 2);
    const int lineY = box.fontMetrics().height() / 2;
    if (c.look == GroupBoxLook::Frame) {
        // The caption interrupts the frame's top line; the line runs on either side of it.
        const QRect caption = box.captionRect();
        EXPECT_EQ(PixelAt(shot, caption.left() - 3, lineY), RgbOf(box.palette().color(QPalette::Dark)));
        EXPECT_EQ(PixelAt(shot, caption.right() + 3, lineY), RgbOf(box.palette().color(QPalette::Dark)));
        EXPECT_EQ(PixelAt(shot, caption.left() + 1, lineY), RgbOf(box.palette().color(QPalette::Button)));
    } else {
        EXPECT_EQ(PixelAt(shot, 180, 0), RgbOf(box.palette().color(QPalette::Dark)));
    }
}

INSTANTIATE_TEST_SUITE_P(BothLooksAllAlignments, RoundGroupBoxCaption,
                         ::testing::Values(CaptionCase{GroupBoxLook::Frame, 0}, CaptionCase{GroupBoxLook::Frame, 1},
                                           CaptionCase{GroupBoxLook::Frame, 2}, CaptionCase{GroupBoxLook::Window, 0},
                                           CaptionCase{GroupBoxLook::Window, 1}, CaptionCase{GroupBoxLook::Window, 2}));

TEST(RoundGroupBoxLook, DefaultsAreBlueCaptionOnButtonFaceWithRoundedCorners) {
    RoundGroupBox box("Select Range");
    box.resize(200, 80);
    const QImage shot = box.grab().toImage();
    EXPECT_FALSE(InkBounds(shot, box.captionRect(), QColor(0, 0, 255), 110).isNull());
    EXPECT_EQ(PixelAt(shot, 100, 40), RgbOf(box.palette().color(QPalette::Button)));
    // The corner is cut off by the rounding.
    EXPECT_NE(PixelAt(shot, 0, 79), RgbOf(box.palette().color(QPalette::Dark)));
    EXPECT_EQ(PixelAt(shot, 100, 79), RgbOf(box.palette().color(QPalette::Dark)));
}

TEST(TransparentLabelLook, TheParentsBackgroundShowsThroughAndOldTextIsWipedOut) {
    QWidget parent;
    parent.resize(200, 40);
    QPalette red = parent.palette();
    red.setColor(QPalette::Window, QColor(200, 30, 30));
    parent.setPalette(red);
    parent.setAutoFillBackground(true);
    auto* label = new TransparentLabel("Pool(s) Found  ", &parent);
    label->setTextColour(Qt::white);
    label->setGeometry(10, 10, 180, 20);
    QImage shot = parent.grab().toImage();
    EXPECT_EQ(PixelAt(shot, 185, 15), RgbOf(QColor(200, 30, 30)));
    EXPECT_FALSE(InkBounds(shot, label->geometry(), Qt::white, 40).isNull());
    label->setText("");
    shot = parent.grab().toImage();
    EXPECT_TRUE(InkBounds(shot, label->geometry(), Qt::white, 40).isNull());
}

TEST(WindowShapeFromBitmap, KeepsEverythingButTheGreen) {
    QImage bitmap(120, 150, QImage::Format_RGB32);
    bitmap.fill(QColor(0, 255, 0));
    for (int y = 10; y < 140; ++y) {
        for (int x = 20 + y % 7; x < 100; ++x) bitmap.setPixelColor(x, y, QColor(40, 60, 200));
    }
    bitmap.setPixelColor(5, 5, QColor(8, 250, 4));   // near-green speck
    const QRegion exact = RegionFromBitmap(bitmap, QColor(0, 255, 0));
    EXPECT_TRUE(exact.contains(QPoint(5, 5)));
    EXPECT_TRUE(exact.contains(QPoint(99, 139)));
    EXPECT_TRUE(exact.contains(QPoint(20 + 50 % 7, 50)));
    EXPECT_FALSE(exact.contains(QPoint(19 + 50 % 7, 50)));
    EXPECT_FALSE(exact.contains(QPoint(100, 50)));
    EXPECT_FALSE(exact.contains(QPoint(50, 145)));
    const QRegion tolerant = RegionFromBitmap(bitmap, QColor(0, 255, 0), 10);
    EXPECT_FALSE(tolerant.contains(QPoint(5, 5)));
    EXPECT_EQ(tolerant, exact.subtracted(QRegion(5, 5, 1, 1)));

    QWidget window;
    window.resize(120, 150);
    ShapeWindowFromBitmap(window, bitmap, QColor(0, 255, 0), 10);
    EXPECT_EQ(window.mask(), tolerant);
}

TEST(GroupRadioButtons, CheckingOnePostsAClearToTheOthersOfItsGroup) {
    QWidget group;
    auto* partitionTable = new GroupRadioButton("Use Partition Table", &group);
    auto* search = new GroupRadioButton("Search Partition", &group);
    QWidget otherGroup;
    auto* elsewhere = new GroupRadioButton("Elsewhere", &otherGroup);
    partitionTable->setChecked(true);
    elsewhere->setChecked(true);
    // Clicked before the first clear went out: the newer check must survive the older clear.
    search->click();
    EXPECT_TRUE(partitionTable->isChecked());   // the clear is posted, not sent
    QCoreApplication::processEvents();
    EXPECT_FALSE(partitionTable->isChecked());
    EXPECT_TRUE(search->isChecked());
    EXPECT_TRUE(elsewhere->isChecked());
    search->click();
    EXPECT_TRUE(search->isChecked());
}

}  // namespace
}  // namespace lumbra
