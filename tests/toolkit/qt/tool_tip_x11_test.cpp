// The help balloon on a real X server (tool_tip_x11_check.sh starts one with a window manager and
// no compositing manager): the pointer is moved by xdotool and the screen is read back by
// ImageMagick's import, as a user would see it. Elsewhere these tests are skipped.
#ifdef LUMBRA_WITH_XCB
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/qt/help_tool_tips.h"
#include "toolkit/qt/screen_backdrop.h"

namespace lumbra {
namespace {

constexpr int kWaitMs = 20000;
// The window under the balloon: light, different on every row (so that a black band or a wrongly
// placed capture shows), and wider than the balloon (whose see-through parts over the black root
// window would show nothing).
const QColor kUnderTop(215, 230, 170);
const QColor kUnderBottom(170, 200, 235);
// How far a pixel may stray from the screen before the balloon: where the balloon is wholly
// see-through, only by rounding; under its shadow, by the shadow's grey at its darkest (a black
// band strays by some 400).
constexpr int kSeeThroughTolerance = 30;
constexpr int kShadowTolerance = 150;

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// The whole screen as the X server shows it, saved in the check's folder as the test's name
// followed by `moment`.
QImage GrabRoot(const QString& moment) {
    const QString folder = qEnvironmentVariable("LUMBRA_X11_GRABS", QDir::tempPath());
    const QString test = QString::fromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const QString path = folder + u'/' + test + u'_' + moment + ".png";
    if (QProcess::execute("import", {"-window", "root", path}) != 0) return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

struct Area {
    QRect global;
    int tolerance;
};

class ToolTipOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
        window.setGeometry(100, 100, 700, 400);
        window.setAutoFillBackground(true);
        QLinearGradient rows(0, 0, 0, 400);
        rows.setColorAt(0, kUnderTop);
        rows.setColorAt(1, kUnderBottom);
        QPalette palette = window.palette();
        palette.setBrush(QPalette::Window, rows);
        window.setPalette(palette);
        button = new QPushButton("?", &window);
        button->setGeometry(340, 60, 18, 20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kWaitMs));
        tip = CreateHelpToolTip(&window, button, HelpButton::VolumeIdentify);
    }

    bool MovePointer(const QPoint& global) {
        return QProcess::execute("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y())}) == 0;
    }

    // The screen with the window drawn and the pointer away from it.
    QImage ScreenBefore() {
        if (!MovePointer(window.geometry().bottomRight() + QPoint(40, 40))) return {};
        const QPoint middle = window.geometry().center();
        const QColor between((kUnderTop.red() + kUnderBottom.red()) / 2, (kUnderTop.green() + kUnderBottom.green()) / 2,
                             (kUnderTop.blue() + kUnderBottom.blue()) / 2);
        QImage shot;
        const bool drawn = QTest::qWaitFor([&] {
            shot = GrabRoot("before");
            return !shot.isNull() && Distance(shot.pixelColor(middle), between) < kSeeThroughTolerance;
        }, kWaitMs);
        return drawn ? shot : QImage();
    }

    // Real pointer motion onto the help button, until the balloon is shown.
    bool PointAtTheButton() {
        return MovePointer(button->mapToGlobal(button->rect().center())) &&
               QTest::qWaitFor([&] { return tip->state() == MarkupToolTip::Shown && tip->isVisible(); }, kWaitMs);
    }

    // The screen once the balloon's pale yellow body is on it.
    QImage ScreenWithTheBalloon() {
        const MarkupRect& body = tip->shape().body;
        const QRect inside = QRect(body.left, body.top, body.width(), body.height()).translated(tip->pos()).adjusted(8, 8, -8, -8);
        QImage shot;
        const bool shown = QTest::qWaitFor([&] {
            shot = GrabRoot("balloon");
            int yellow = 0;
            for (int y = inside.top(); !shot.isNull() && y <= inside.bottom(); y += 2)
                for (int x = inside.left(); x <= inside.right(); x += 2) {
                    const QColor c = shot.pixelColor(x, y);
                    yellow += c.red() > 220 && c.green() > 220 && c.blue() < 200 ? 1 : 0;
                }
            return yellow > 100;
        }, kWaitMs);
        return shown ? shot : QImage();
    }

    // Where the balloon's window shows what lies under it: beside the body's rounded corners and
    // the anchor, wholly; under the shadow right of and below the body, darkened.
    std::vector<Area> SeeThroughAreas() const {
        const ToolTipShape& shape = tip->shape();
        const QPoint at = tip->pos();
        const MarkupRect& b = shape.body;
        const int w = shape.window.width();
        const int h = shape.window.height();
        std::vector<Area> areas = {
            {QRect(0, 0, 4, 4), kSeeThroughTolerance},
            {QRect(b.left, b.top, 2, 1), kSeeThroughTolerance},
            {QRect(b.left, b.top, 1, 2), kSeeThroughTolerance},
            {QRect(b.right - 2, b.top, 2, 1), kSeeThroughTolerance},
            {QRect(b.left, b.bottom - 1, 1, 1), kSeeThroughTolerance},
            {QRect(b.right + 3, b.top + 10, w - b.right - 3, b.height() - 20), kShadowTolerance},
            {QRect(b.left + 10, b.bottom + 3, b.width() - 20, h - b.bottom - 3), kShadowTolerance},
        };
        for (Area& area : areas) area.global.translate(at);
        return areas;
    }

    // The pixels of the see-through areas that strayed from `before`, as "x,y before -> after".
    std::vector<std::string> Strayed(const QImage& before, const QImage& after) const {
        const QRect pressed = QRect(button->mapToGlobal(QPoint(0, 0)), button->size()).adjusted(-2, -2, 2, 2);
        std::vector<std::string> strayed;
        for (const Area& area : SeeThroughAreas()) {
            for (int y = area.global.top(); y <= area.global.bottom(); ++y)
                for (int x = area.global.left(); x <= area.global.right(); ++x) {
                    if (pressed.contains(x, y)) continue;  // the button's own hover look
                    const QColor was = before.pixelColor(x, y);
                    const QColor is = after.pixelColor(x, y);
                    if (Distance(was, is) > area.tolerance)
                        strayed.push_back(std::to_string(x) + "," + std::to_string(y) + " " +
                                          was.name().toStdString() + " -> " + is.name().toStdString());
                }
        }
        return strayed;
    }

    int CheckedPixels() const {
        int count = 0;
        for (const Area& area : SeeThroughAreas()) count += std::max(area.global.width() * area.global.height(), 0);
        return count;
    }

    QWidget window;
    QPushButton* button = nullptr;
    std::unique_ptr<MarkupToolTip> tip;
};

TEST_F(ToolTipOnX, WithoutACompositorTheCornersAndShadowShowTheWindowUnderTheBalloon) {
    ASSERT_FALSE(ScreenHasCompositor());
    const QImage before = ScreenBefore();
    ASSERT_FALSE(before.isNull());
    ASSERT_TRUE(PointAtTheButton());
    EXPECT_FALSE(tip->backdrop().isNull());
    const QImage after = ScreenWithTheBalloon();
    ASSERT_FALSE(after.isNull());
    ASSERT_GT(CheckedPixels(), 500);
    const std::vector<std::string> strayed = Strayed(before, after);
    EXPECT_TRUE(strayed.empty()) << strayed.size() << " pixels strayed, first " << strayed.front();
}

// A compositing manager owns the screen's selection: real translucency, no capture. None composes
// this screen, though, so the see-through pixels come out as the window's own, black: the fault
// that the capture prevents, seen here to be visible on this server.
TEST_F(ToolTipOnX, WithACompositorTheBalloonStaysTranslucent) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t owner = xcb_generate_id(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, owner, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const char name[] = "_NET_WM_CM_S0";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof(name) - 1, name), nullptr), &free);
    ASSERT_TRUE(atom);
    xcb_set_selection_owner(connection, owner, atom->atom, XCB_CURRENT_TIME);
    xcb_flush(connection);
    EXPECT_TRUE(ScreenHasCompositor());
    EXPECT_EQ(ChooseSeeThrough(), SeeThrough::Composited);
    const QImage before = ScreenBefore();
    ASSERT_FALSE(before.isNull());
    ASSERT_TRUE(PointAtTheButton());
    EXPECT_TRUE(tip->backdrop().isNull());
    const QImage after = ScreenWithTheBalloon();
    ASSERT_FALSE(after.isNull());
    EXPECT_GT(Strayed(before, after).size(), static_cast<size_t>(CheckedPixels() / 2));
    xcb_destroy_window(connection, owner);
    xcb_flush(connection);
    EXPECT_FALSE(ScreenHasCompositor());
}

}  // namespace
}  // namespace lumbra
#endif
