#include "toolkit/qt/image_menu.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "toolkit/colour_lighten.h"
#include "toolkit/menu_metrics.h"
#include "toolkit/qt/menu_palette.h"
#include "toolkit/qt/pixel_probe.h"

namespace lumbra {
namespace {

using namespace menu_flag;

const QColor kRed(0xd0, 0x20, 0x20);
const QColor kBlue(0x20, 0x40, 0xd0);

// Two 16 x 15 images, each a coloured square inside a one-pixel border of the transparent grey.
QImage ToolBarStrip() {
    QImage strip(32, 15, QImage::Format_RGB32);
    strip.fill(QColor(0xc0, 0xc0, 0xc0));
    for (int y = 1; y < 14; ++y) {
        for (int x = 1; x < 15; ++x) {
            strip.setPixelColor(x, y, kRed);
            strip.setPixelColor(16 + x, y, kBlue);
        }
    }
    return strip;
}

struct MenuShot {
    std::unique_ptr<ImageMenu> menu;
    QAction* open = nullptr;
    QAction* separator = nullptr;
    QAction* checked = nullptr;
    QAction* disabled = nullptr;
    QAction* plain = nullptr;
    QImage image;
    MenuPalette colours;

    QRect rectOf(QAction* action) const { return menu->actionGeometry(action); }
    // Where the item's image sits, as the painter places it.
    QPoint imageAt(QAction* action) const {
        const QRect r = rectOf(action);
        const int column = 16 + MenuGap(menu->look());
        return {r.left() + (column - 16) / 2, r.top() + (r.height() - 15) / 2};
    }
};

MenuShot ShootMenu(MenuLook look) {
    MenuShot shot;
    shot.menu = std::make_unique<ImageMenu>(look);
    ImageMenu& menu = *shot.menu;
    menu.addToolBarImages(ToolBarStrip());
    shot.open = menu.appendItem("&Open snapshot\tCtrl+O", 1, 0, 0);
    shot.separator = menu.appendSeparator();
    shot.checked = menu.appendItem("&Details", 2, kChecked);
    shot.disabled = menu.appendItem("&Find Files...", 3, kDisabled, 1);
    shot.plain = menu.appendItem("&List", 4, 0, 1);
    menu.popup(QPoint(0, 0));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(shot.open);
    shot.image = menu.grab().toImage();
    shot.colours = MenuPalette::from(menu.palette());
    return shot;
}

TEST(ImageMenuFlatLook, SelectedItemIsLightHighlightFramedInHighlight) {
    MenuShot shot = ShootMenu(MenuLook::Flat);
    const QRect r = shot.rectOf(shot.open);
    EXPECT_EQ(PixelAt(shot.image, r.right() - 2, r.top() + 2), RgbOf(LightenColour(shot.colours.highlight, 70)));
    EXPECT_EQ(PixelAt(shot.image, r.left(), r.center().y()), RgbOf(shot.colours.highlight));
    EXPECT_EQ(PixelAt(shot.image, r.right(), r.center().y()), RgbOf(shot.colours.highlight));
    // The selected image is raised: the image moved up-left, its grey shadow down-right.
    const QPoint at = shot.imageAt(shot.open);
    EXPECT_EQ(PixelAt(shot.image, at.x(), at.y()), RgbOf(kRed));
    EXPECT_EQ(PixelAt(shot.image, at.x() + 15, at.y() + 14), RgbOf(QColor(0x80, 0x80, 0x80)));
}

TEST(ImageMenuFlatLook, UnselectedImagesAreWashedOutAndCheckedItemsGetABox) {
    MenuShot shot = ShootMenu(MenuLook::Flat);
    const QPoint plain = shot.imageAt(shot.plain);
    EXPECT_EQ(PixelAt(shot.image, plain.x() + 5, plain.y() + 5), RgbOf(LightenColour(kBlue, 30)));
    const QRect c = shot.rectOf(shot.checked);
    EXPECT_EQ(PixelAt(shot.image, c.left(), c.top()), RgbOf(shot.colours.buttonFace));
    EXPECT_EQ(PixelAt(shot.image, c.right() - 1, c.top() + 1), RgbOf(shot.colours.window));
    const QPoint box = shot.imageAt(shot.checked);
    EXPECT_EQ(PixelAt(shot.image, box.x(), box.y()), RgbOf(LightenColour(shot.colours.highlight, 70)));
    EXPECT_EQ(PixelAt(shot.image, box.x() - 2, box.y() - 2), RgbOf(shot.colours.highlight));
    EXPECT_GT(CountPixels(shot.image, QRect(box, QSize(16, 15)), shot.colours.menuText), 5);
}

TEST(ImageMenuFlatLook, DisabledItemIsGreyTextAndGreyImage) {
    MenuShot shot = ShootMenu(MenuLook::Flat);
    const QRect d = shot.rectOf(shot.disabled);
    const QRect text(d.left() + 27, d.top(), d.width() - 27, d.height());
    EXPECT_GT(CountPixels(shot.image, text, shot.colours.greyText), 10);
    EXPECT_EQ(CountPixels(shot.image, text, shot.colours.menuText), 0);
    const QPoint at = shot.imageAt(shot.disabled);
    EXPECT_EQ(PixelAt(shot.image, at.x() + 5, at.y() + 5), RgbOf(shot.colours.greyText));
}

TEST(ImageMenuFlatLook, ASelectedDisabledItemIsWrittenInLighterGrey) {
    MenuShot shot = ShootMenu(MenuLook::Flat);
    shot.menu->setActiveAction(shot.disabled);
    const QImage image = shot.menu->grab().toImage();
    const QRect d = shot.rectOf(shot.disabled);
    EXPECT_EQ(PixelAt(image, d.right() - 2, d.top() + 2), RgbOf(LightenColour(shot.colours.highlight, 70)));
    const QRect text(d.left() + 27, d.top() + 1, d.width() - 28, d.height() - 2);
    EXPECT_GT(CountPixels(image, text, LightenColour(shot.colours.greyText, 40)), 10);
    EXPECT_EQ(CountPixels(image, text, shot.colours.greyText), 0);
}

TEST(ImageMenuClassicLook, SelectedItemIsHighlightWithRaisedImage) {
    MenuShot shot = ShootMenu(MenuLook::Classic);
    const QRect r = shot.rectOf(shot.open);
    EXPECT_EQ(PixelAt(shot.image, r.right() - 1, r.top() + 1), RgbOf(shot.colours.highlight));
    const QRect text(r.left() + 24, r.top(), r.width() - 24, r.height());
    EXPECT_GT(CountPixels(shot.image, text, shot.colours.highlightText), 10);
    const QPoint at = shot.imageAt(shot.open);
    EXPECT_EQ(PixelAt(shot.image, at.x() - 2, at.y() - 2), RgbOf(shot.colours.buttonHighlight));
    EXPECT_EQ(PixelAt(shot.image, at.x() + 17, at.y() + 16), RgbOf(shot.colours.buttonShadow));
    EXPECT_EQ(PixelAt(shot.image, at.x() + 5, at.y() + 5), RgbOf(kRed));
}

TEST(ImageMenuClassicLook, CheckedItemIsSunkenOnLightButtonFace) {
    MenuShot shot = ShootMenu(MenuLook::Classic);
    const QPoint at = shot.imageAt(shot.checked);
    EXPECT_EQ(PixelAt(shot.image, at.x(), at.y()), RgbOf(LightenColour(shot.colours.buttonFace, 60)));
    EXPECT_EQ(PixelAt(shot.image, at.x() - 2, at.y() - 2), RgbOf(shot.colours.buttonShadow));
    EXPECT_EQ(PixelAt(shot.image, at.x() + 17, at.y() + 16), RgbOf(shot.colours.buttonHighlight));
    EXPECT_GT(CountPixels(shot.image, QRect(at, QSize(16, 15)), shot.colours.menuText), 5);
}

TEST(ImageMenuClassicLook, DisabledImageAndTextAreEmbossed) {
    MenuShot shot = ShootMenu(MenuLook::Classic);
    const QPoint at = shot.imageAt(shot.disabled);
    EXPECT_EQ(PixelAt(shot.image, at.x() + 5, at.y() + 5), RgbOf(shot.colours.buttonShadow));
    EXPECT_EQ(PixelAt(shot.image, at.x() + 15, at.y() + 14), RgbOf(shot.colours.buttonHighlight));
    EXPECT_EQ(CountPixels(shot.image, QRect(at, QSize(16, 15)), kBlue), 0);
    const QRect d = shot.rectOf(shot.disabled);
    const QRect text(d.left() + 24, d.top(), d.width() - 24, d.height());
    EXPECT_GT(CountPixels(shot.image, text, shot.colours.greyText), 10);
    EXPECT_GT(CountPixels(shot.image, text, shot.colours.buttonHighlight), 10);
    EXPECT_EQ(CountPixels(shot.image, text, shot.colours.menuText), 0);
}

TEST(ImageMenuMeasuring, SeparatorHeightAndEtchedLineInBothLooks) {
    for (MenuLook look : {MenuLook::Classic, MenuLook::Flat}) {
        MenuShot shot = ShootMenu(look);
        const QRect s = shot.rectOf(shot.separator);
        const int expected = std::max(shot.menu->systemMenuHeight() / 2, (15 + MenuGap(look)) / 2);
        EXPECT_EQ(s.height(), expected);
        EXPECT_EQ(PixelAt(shot.image, s.right() - 4, s.center().y()), RgbOf(shot.colours.buttonShadow));
        EXPECT_EQ(PixelAt(shot.image, s.right() - 4, s.center().y() + 1), RgbOf(shot.colours.buttonHighlight));
        const QRect item = shot.rectOf(shot.plain);
        EXPECT_EQ(item.height(), std::max(shot.menu->systemMenuHeight(), 15 + MenuGap(look)));
    }
}

TEST(ImageMenuMeasuring, AcceleratorIsRightAligned) {
    MenuShot shot = ShootMenu(MenuLook::Classic);
    const QRect r = shot.rectOf(shot.open);
    const QRect ink = InkBounds(shot.image, r.adjusted(24, 0, 0, 0), shot.colours.highlightText);
    EXPECT_NEAR(ink.right(), r.right() - 8, 2);
}

TEST(ImageMenuMeasuring, NineXLineLeavesRoomOfThreePlusThreeAverageCharacters) {
    ImageMenu nt(MenuLook::Classic, false);
    ImageMenu nineX(MenuLook::Classic, true);
    const QSize ntSize = nt.measureItem(false, "&Settings...");
    const QSize nineXSize = nineX.measureItem(false, "&Settings...");
    EXPECT_EQ(nineXSize.width() - ntSize.width(), 3 + 3 * nt.fontMetrics().averageCharWidth());
    EXPECT_EQ(ntSize.width(), nt.fontMetrics().horizontalAdvance("Settings...") + 2 * 16 + 1);
}

TEST(ImageMenuCheckImages, GivenCheckImagesReplaceTheBuiltInMarks) {
    ImageMenu menu(MenuLook::Classic);
    QImage mark(8, 8, QImage::Format_ARGB32);
    mark.fill(QColor(0x10, 0xa0, 0x30));
    QImage bullet(8, 8, QImage::Format_ARGB32);
    bullet.fill(QColor(0xa0, 0x10, 0x90));
    menu.setCheckImages(mark, bullet);
    QAction* checked = menu.appendItem("&Details", 1, kChecked);
    QAction* radio = menu.appendItem("&List", 2, kChecked | kRadio);
    menu.popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QImage shot = menu.grab().toImage();
    EXPECT_EQ(CountPixels(shot, menu.actionGeometry(checked), QColor(0x10, 0xa0, 0x30)), 64);
    EXPECT_EQ(CountPixels(shot, menu.actionGeometry(radio), QColor(0xa0, 0x10, 0x90)), 64);
}

TEST(MenuImages, StripIsCutByImageSizeWithItsKeyColourSeeThrough) {
    MenuImageList images;
    images.setImageSize({8, 8});
    images.setTransparentColour(Qt::magenta);
    QImage strip(20, 8, QImage::Format_RGB32);
    strip.fill(QColor(0x40, 0x80, 0xc0));
    strip.setPixelColor(0, 0, Qt::magenta);
    EXPECT_EQ(images.addToolBar(strip), 0);
    ASSERT_EQ(images.count(), 2);   // the last 4 columns make no whole image
    const MenuImageList::Entry* first = images.entry(0);
    EXPECT_EQ(qAlpha(first->normal.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(first->washed.pixel(0, 0)), 0);
    EXPECT_EQ(first->washed.pixel(3, 3) & 0xffffff, Lighten(0x4080c0, 30));
    EXPECT_EQ(first->shadow.pixel(3, 3) & 0xffffff, 0x808080u);
    EXPECT_EQ(images.entry(2), nullptr);
    EXPECT_EQ(images.entry(-1), nullptr);
}

TEST(ImageMenuPopups, AnItemOpeningASubMenuShowsItsArrowAtTheRight) {
    for (MenuLook look : {MenuLook::Classic, MenuLook::Flat}) {
        ImageMenu menu(look);
        QAction* plain = menu.appendItem("&List", 1);
        menu.appendPopup("&Arrange Icons")->appendItem("Ico&ns", 2);
        QAction* popup = menu.actions().last();
        menu.popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
        const QImage shot = menu.grab().toImage();
        const QColor text = MenuPalette::from(menu.palette()).menuText;
        const QRect popupEnd = menu.actionGeometry(popup).adjusted(menu.actionGeometry(popup).width() - kSubMenuArrowRoom, 0, 0, 0);
        const QRect plainEnd = popupEnd.translated(0, menu.actionGeometry(plain).top() - popupEnd.top());
        EXPECT_GE(CountPixels(shot, popupEnd, text), 12);
        EXPECT_EQ(CountPixels(shot, plainEnd, text), 0);
    }
}

TEST(ImageMenuTemplate, BuildsPopupsAndReportsChosenCommandsOnce) {
    ImageMenu bar(MenuLook::Flat);
    AppendMenuTemplate(bar, ParseMenuTemplate({
        {kPopup, 0, "&View"},
        {kRadio | kChecked, 11, "Ico&ns"},
        {kRadio, 12, "&List", 1},
        {kEnd, 13, "&Details"},
        {kPopup | kEnd, 0, "&Help"},
        {kEnd, 21, "&Contents\tF1"},
    }));
    ASSERT_EQ(bar.actions().size(), 2);
    auto* view = qobject_cast<ImageMenu*>(bar.actions()[0]->menu());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->title(), "&View");
    ASSERT_EQ(view->actions().size(), 3);
    EXPECT_TRUE(view->actions()[0]->isChecked());
    EXPECT_EQ(view->itemOf(view->actions()[1])->image, 1);
    EXPECT_EQ(view->itemOf(view->actions()[2])->image, -1);
    auto* help = qobject_cast<ImageMenu*>(bar.actions()[1]->menu());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->itemOf(help->actions()[0])->accelerator, "F1");
    QSignalSpy chosen(&bar, &ImageMenu::commandChosen);
    view->actionOfCommand(12)->trigger();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 12);
}

}  // namespace
}  // namespace lumbra
