#include "toolkit/qt/icon_button.h"

#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "platform/sound_player.h"
#include "toolkit/qt/image_menu.h"
#include "toolkit/qt/pixel_probe.h"

namespace lumbra {
namespace {

class RecordingSounds : public SoundPlayer {
public:
    void play(const std::string& sound) override { played.push_back(sound); }
    std::vector<std::string> played;
};

QImage Swatch(const QColor& colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

class IconButtonOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(300, 200);
        button = new IconButton("Tools", &host);
        button->setGeometry(10, 10, 90, 28);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    // Normal and focused look alike here, whichever the button has after showing.
    void setRestingColour(const QColor& colour) {
        button->setColours(IconButton::State::Normal, colour, Qt::black);
        button->setColours(IconButton::State::Focus, colour, Qt::black);
    }
    void enter() {
        QEnterEvent enterEvent(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
        QCoreApplication::sendEvent(button, &enterEvent);
    }
    void leave() {
        QEvent leaveEvent(QEvent::Leave);
        QCoreApplication::sendEvent(button, &leaveEvent);
    }

    QWidget host;
    IconButton* button = nullptr;
};

TEST_F(IconButtonOnScreen, MenuButtonOpensBelowAndPostsTheChosenCommand) {
    ImageMenu menu(MenuLook::Flat);
    menu.appendItem("&Find Files...", 41);
    QAction* settings = menu.appendItem("Se&ttings...", 42);
    button->setMenuRole(&menu);
    std::vector<QMenu*> notified;
    std::vector<int> posted;
    QObject::connect(button, &IconButton::menuAboutToOpen, [&](QMenu* m) { notified.push_back(m); });
    QObject::connect(button, &IconButton::commandPosted, [&](int id) { posted.push_back(id); });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notified[0], &menu);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    EXPECT_EQ(menu.pos(), button->mapToGlobal(QPoint(0, button->height())));
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(settings).center());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(posted.empty());   // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(posted, std::vector<int>{42});
}

TEST_F(IconButtonOnScreen, HoverShowsTheColouredPictureAndNormalTheGreyOne) {
    button->setImages(Swatch(QColor(220, 40, 40)), IconButton::AutoNormal::Grey);
    const int grey = qGray(QColor(220, 40, 40).rgb());
    QImage shot = button->grab().toImage();
    EXPECT_GT(CountPixels(shot, shot.rect(), QColor(grey, grey, grey)), 200);
    enter();
    shot = button->grab().toImage();
    EXPECT_GT(CountPixels(shot, shot.rect(), QColor(220, 40, 40)), 200);
    leave();
    EXPECT_FALSE(button->isHovering());
}

TEST_F(IconButtonOnScreen, FlatButtonIsRaisedOnlyWhileHoveredAndColoursFollowTheState) {
    setRestingColour(QColor(230, 230, 230));
    button->setColours(IconButton::State::Hover, QColor(255, 240, 200), Qt::blue);
    EXPECT_EQ(PixelAt(button->grab().toImage(), 0, 0), 0xe6e6e6u);
    enter();
    const QImage hovered = button->grab().toImage();
    EXPECT_EQ(PixelAt(hovered, 0, 0), RgbOf(button->palette().color(QPalette::Light)));
    EXPECT_EQ(PixelAt(hovered, 89, 27), RgbOf(button->palette().color(QPalette::Dark)));
    EXPECT_EQ(PixelAt(hovered, 45, 2), 0xfff0c8u);
}

TEST_F(IconButtonOnScreen, RaisedLookAlwaysHasItsEdgeAndTransparentOneShowsTheParent) {
    setRestingColour(QColor(230, 230, 230));
    button->setFlat(false);
    QImage shot = button->grab().toImage();
    EXPECT_EQ(PixelAt(shot, 0, 0), RgbOf(button->palette().color(QPalette::Light)));
    EXPECT_EQ(PixelAt(shot, 89, 27), RgbOf(button->palette().color(QPalette::Dark)));
    QPalette green = host.palette();
    green.setColor(QPalette::Window, QColor(20, 160, 60));
    host.setPalette(green);
    host.setAutoFillBackground(true);
    button->setFlat(true);
    button->setTransparentBackground(true);
    shot = host.grab(button->geometry()).toImage();
    EXPECT_EQ(PixelAt(shot, 45, 2), 0x14a03cu);
}

TEST_F(IconButtonOnScreen, CheckBoxRoleTogglesThePressedLook) {
    button->setCheckBoxRole(true);
    setRestingColour(QColor(230, 230, 230));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(PixelAt(button->grab().toImage(), 0, 0), RgbOf(button->palette().color(QPalette::Dark)));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(PixelAt(button->grab().toImage(), 0, 0), 0xe6e6e6u);
}

TEST_F(IconButtonOnScreen, LinkButtonOpensItsAddressAndSoundsPlayOnEnterAndClick) {
    RecordingSounds sounds;
    std::vector<QString> opened;
    button->setLinkRole("https://www.example.com/", [&](const QString& address) { opened.push_back(address); });
    button->setSounds(&sounds, "enter.wav", "click.wav");
    enter();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<QString>{"https://www.example.com/"});
    EXPECT_EQ(sounds.played, (std::vector<std::string>{"enter.wav", "click.wav"}));
}

TEST(IconButtonPictures, DarkenedNormalPictureKeepsThreeQuartersOfEachChannel) {
    const QImage dark = DarkenedImage(Swatch(QColor(200, 100, 40)));
    EXPECT_EQ(PixelAt(dark, 3, 3), RgbOf(QColor(150, 75, 30)));
}

}  // namespace
}  // namespace lumbra
