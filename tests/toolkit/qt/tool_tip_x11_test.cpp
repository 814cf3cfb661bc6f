// The balloon on a real X server (tool_tip_x11_check.sh starts one with a window manager and
// no compositing manager): the pointer is moved by xdotool, the screen read back from the
// server. Elsewhere these tests are skipped.
#ifdef LUMBRA_WITH_XCB
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>

#include "toolkit/qt/screen_backdrop.h"
#include "toolkit/qt/tool_tip.h"

namespace lumbra {
namespace {

constexpr int kWaitMs = 20000;
const QColor kUnder(40, 160, 90);

bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 40;
}

class ToolTipOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
        window.setGeometry(100, 100, 400, 300);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kUnder);
        window.setPalette(palette);
        tool = new QWidget(&window);
        tool->setGeometry(40, 40, 120, 40);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kWaitMs));
        tip = std::make_unique<MarkupToolTip>(&window, true);
        tip->addTool(tool, "<b>Tool</b> text");
    }

    // Real pointer motion from outside the window into the tool, until the balloon is shown.
    bool PointAtTheTool() {
        const QPoint at = tool->mapToGlobal(QPoint(30, 20));
        const QPoint outside = window.geometry().bottomRight() + QPoint(40, 40);
        for (const QPoint& point : {outside, at})
            if (QProcess::execute("xdotool", {"mousemove", QString::number(point.x()), QString::number(point.y())}) != 0)
                return false;
        return QTest::qWaitFor([&] { return tip->state() == MarkupToolTip::Shown && tip->isVisible(); }, kWaitMs);
    }

    // The balloon window's top-left corner, outside its rounded body, as the X server shows it.
    QColor CornerOnScreen() const {
        const QRect area = tip->geometry();
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, area.left(), area.top(), 4, 4).toImage();
        return shot.pixelColor(1, 1);
    }

    QWidget window;
    QWidget* tool = nullptr;
    std::unique_ptr<MarkupToolTip> tip;
};

TEST_F(ToolTipOnX, WithoutACompositorTheCornersShowTheWindowUnderTheBalloon) {
    ASSERT_FALSE(ScreenHasCompositor());
    ASSERT_TRUE(PointAtTheTool());
    EXPECT_FALSE(tip->backdrop().isNull());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Near(CornerOnScreen(), kUnder); }, kWaitMs))
        << CornerOnScreen().name().toStdString();
}

// A compositing manager owns the screen's selection: real translucency, no capture.
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
    ASSERT_TRUE(PointAtTheTool());
    EXPECT_TRUE(tip->backdrop().isNull());
    xcb_destroy_window(connection, owner);
    xcb_flush(connection);
    EXPECT_FALSE(ScreenHasCompositor());
}

}  // namespace
}  // namespace lumbra
#endif
