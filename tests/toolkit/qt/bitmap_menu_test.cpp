#include "toolkit/qt/bitmap_menu.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/qt/menu_palette.h"
#include "toolkit/qt/pixel_probe.h"

namespace lumbra {
namespace {

const QColor kMagenta(0xc0, 0x10, 0xc0);

struct BitmapMenuShot {
    std::unique_ptr<BitmapMenu> menu;
    QAction* save = nullptr;
    QAction* details = nullptr;
    QAction* exit = nullptr;
    QImage image;
    MenuPalette colours;

    QRect squareOf(QAction* action) const {
        const QRect r = menu->actionGeometry(action);
        return {r.left(), r.top() + (r.height() - 20) / 2, 20, 20};
    }
};

BitmapMenuShot ShootBitmapMenu(QAction* BitmapMenuShot::*selected) {
    BitmapMenuShot shot;
    shot.menu = std::make_unique<BitmapMenu>();
    QPixmap bitmap(16, 16);
    bitmap.fill(kMagenta);
    shot.save = shot.menu->appendItem("&Save Recovery Snapshot...\tCtrl+S", 3, bitmap);
    shot.menu->appendSeparator();
    shot.details = shot.menu->appendItem("&Details", 10);
    shot.details->setCheckable(true);
    shot.details->setChecked(true);
    shot.exit = shot.menu->appendItem("E&xit...", 5, bitmap);
    shot.menu->popup(QPoint(0, 0));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(shot.menu.get()));
    shot.menu->setActiveAction(shot.*selected);
    shot.image = shot.menu->grab().toImage();
    shot.colours = MenuPalette::from(shot.menu->palette());
    return shot;
}

TEST(BitmapMenu, BitmapSitsAtTwoTwoInARaisedSquareWhenSelected) {
    BitmapMenuShot shot = ShootBitmapMenu(&BitmapMenuShot::save);
    const QRect square = shot.squareOf(shot.save);
    EXPECT_EQ(PixelAt(shot.image, square.left() + 2, square.top() + 2), RgbOf(kMagenta));
    EXPECT_EQ(PixelAt(shot.image, square.left() + 17, square.top() + 17), RgbOf(kMagenta));
    EXPECT_NE(PixelAt(shot.image, square.left() + 1, square.top() + 1), RgbOf(kMagenta));
    EXPECT_NE(PixelAt(shot.image, square.left() + 18, square.top() + 18), RgbOf(kMagenta));
    EXPECT_EQ(PixelAt(shot.image, square.left(), square.top()), RgbOf(shot.colours.buttonHighlight));
    EXPECT_EQ(PixelAt(shot.image, square.right(), square.bottom()), RgbOf(shot.colours.buttonShadow));
    const QRect exit = shot.squareOf(shot.exit);
    EXPECT_EQ(PixelAt(shot.image, exit.left(), exit.top()), RgbOf(shot.colours.buttonFace));
}

TEST(BitmapMenu, SelectedTextAreaIsIvoryOthersButtonFace) {
    BitmapMenuShot shot = ShootBitmapMenu(&BitmapMenuShot::save);
    const QRect save = shot.menu->actionGeometry(shot.save);
    EXPECT_EQ(PixelAt(shot.image, save.right() - 2, save.top() + 1), 0xfffff0u);
    EXPECT_EQ(PixelAt(shot.image, save.left() + 21, save.top() + 1), 0xfffff0u);
    const QRect exit = shot.menu->actionGeometry(shot.exit);
    EXPECT_EQ(PixelAt(shot.image, exit.right() - 2, exit.top() + 1), RgbOf(shot.colours.buttonFace));
}

TEST(BitmapMenu, CheckedItemWithoutBitmapShowsTheMarkAtFiveFive) {
    BitmapMenuShot shot = ShootBitmapMenu(&BitmapMenuShot::exit);
    const QRect square = shot.squareOf(shot.details);
    const QRect ink = InkBounds(shot.image, square, QColor::fromRgb(BitmapMenu::kCheckColour));
    ASSERT_FALSE(ink.isNull());
    EXPECT_EQ(ink.left(), square.left() + 5);
    EXPECT_GE(ink.top(), square.top() + 5);
    EXPECT_LE(ink.bottom(), square.top() + 14);
}

TEST(BitmapMenu, AcceleratorIsRightAlignedAndCommandsAreReported) {
    BitmapMenuShot shot = ShootBitmapMenu(&BitmapMenuShot::exit);
    const QRect save = shot.menu->actionGeometry(shot.save);
    const QRect ink = InkBounds(shot.image, save.adjusted(21, 0, 0, 0), shot.colours.menuText);
    EXPECT_NEAR(ink.right(), save.right() - 8, 2);
    QSignalSpy chosen(shot.menu.get(), &BitmapMenu::commandChosen);
    shot.exit->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 5);
}

TEST(BitmapMenu, TextIsCutToItsLimit) {
    BitmapMenu menu;
    QAction* action = menu.appendItem(QString(200, QLatin1Char('a')), 1);
    EXPECT_EQ(action->text().size(), BitmapMenu::kMaxTextLength);
}

}  // namespace
}  // namespace lumbra
