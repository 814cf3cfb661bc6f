#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "toolkit/help_button_texts.h"
#include "toolkit/markup_drawer.h"
#include "toolkit/qt/markup_pictures.h"
#include "toolkit/qt/markup_qt_surface.h"

namespace lumbra {
namespace {

TEST(QtMarkupSurface, FontsAreSizedByTheirCellHeight) {
    for (int size : {8, 13, 16, 24}) {
        for (const char* face : {"verdana", "arial", "courier"}) {
            const QFontMetrics metrics(MarkupFont({size, 400, false, false, false, face}));
            EXPECT_NEAR(metrics.ascent() + metrics.descent(), size, 1) << face << " " << size;
        }
    }
    const QFont bold = MarkupFont({16, 700, true, true, false, "verdana"});
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_TRUE(bold.italic());
    EXPECT_TRUE(bold.underline());
}

TEST(QtMarkupSurface, EightBitTextIsTheWesternCodePage) {
    EXPECT_EQ(MarkupTextToQString("\x80 \x95 \xA9 \x99 abc"), QString::fromUtf8("€ • © ™ abc"));
}

TEST(QtMarkupSurface, PicturesRoundTrip) {
    PixelBuffer pixels(3, 2, OpaquePixel(0x102030));
    pixels.at(2, 1) = 0x00ff00ffu;
    const QImage image = ToQImage(pixels);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(FromQImage(image).pixels, pixels.pixels);
}

TEST(QtMarkupSurface, HelpAnimationPictureIsAStripOfFrames) {
    const auto picture = MarkupPictures::instance().resource(picture_id::kHelpAnimation);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->height(), 32);
    EXPECT_EQ(picture->width() % 32, 0);
    EXPECT_GT(picture->width() / 32, 1);
    EXPECT_EQ(picture->pixelColor(0, 0), QColor(255, 0, 255));
}

TEST(QtMarkupSurface, DrawsMarkupIntoAnImage) {
    MarkupDrawer drawer;
    QtMarkupSurface measuring;
    const MarkupSize size = drawer.prepare(measuring, "<font color=red size=20px>Red text</font>");
    ASSERT_GT(size.width, 40);
    ASSERT_GT(size.height, 15);
    QImage image(size.width, size.height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtMarkupSurface surface(&painter);
        drawer.draw(surface, {0, 0, size.width, size.height});
    }
    int reddish = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++reddish;
        }
    }
    EXPECT_GT(reddish, 20);
}

TEST(QtMarkupSurface, HelpTextMeasuresWithItsPicture) {
    MarkupDrawer drawer;
    QtMarkupSurface measuring;
    const MarkupSize size = drawer.prepare(measuring, kHelpButtonAText);
    EXPECT_GT(size.width, 64 + 200);
    EXPECT_GT(size.height, 64);
    EXPECT_EQ(drawer.records().animations.size(), 1u);
}

}  // namespace
}  // namespace lumbra
