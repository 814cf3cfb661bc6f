// Menus and message boxes open as windows of the main window: each names it as its transient
// parent and lies where the main window puts it, which is all a Wayland compositor lets a
// program decide. The Wayland check runs these tests under weston and takes its screenshots
// at their handshakes.
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gui/gui_harness.h"

namespace lumbra::test {
namespace {

// With LUMBRA_POPUP_HANDSHAKE naming a folder, a stage writes STAGE.shown there and keeps its
// windows on the screen until STAGE.seen exists; without it, nothing.
void Handshake(const QString& stage) {
    const QString folder = qEnvironmentVariable("LUMBRA_POPUP_HANDSHAKE");
    if (folder.isEmpty()) return;
    QFile shown(folder + "/" + stage + ".shown");
    ASSERT_TRUE(shown.open(QIODevice::WriteOnly));
    shown.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + "/" + stage + ".seen"); }, 60000)) << "no " << stage.toStdString() << ".seen";
}

bool ShownOnScreen(QWidget* widget) {
    return QTest::qWaitFor([widget] {
        return widget->isVisible() && widget->windowHandle() && widget->windowHandle()->isExposed();
    });
}

QWindow* TransientParent(QWidget* widget) {
    return widget->windowHandle() ? widget->windowHandle()->transientParent() : nullptr;
}

TEST(PopupPlacement, AMenuOfTheMenuBarOpensUnderItsTitleAsAPopupOfTheWindow) {
    MainWindowHarness h;
    ASSERT_TRUE(ShownOnScreen(h.window.get()));
    Handshake("menu_window");
    QMenuBar* bar = h.window->menuBar();
    const QList<QAction*> titles = bar->actions();
    ASSERT_GE(titles.size(), 2);
    // The second title, so that a menu placed at the window's corner cannot pass for it.
    QAction* title = titles[1];
    QMenu* menu = title->menu();
    ASSERT_NE(menu, nullptr);
    bar->setActiveAction(title);
    ASSERT_TRUE(ShownOnScreen(menu));
    EXPECT_TRUE(menu->windowFlags().testFlag(Qt::Popup));
    EXPECT_EQ(TransientParent(menu), h.window->windowHandle());
    const QRect titleRect = bar->actionGeometry(title);
    EXPECT_EQ(menu->mapToGlobal(QPoint(0, 0)), bar->mapToGlobal(titleRect.bottomLeft() + QPoint(0, 1)));
    Handshake("menu");
    menu->hide();
}

TEST(PopupPlacement, AMessageBoxOpensCentredOverTheWindowAsItsDialog) {
    MainWindowHarness h;
    ASSERT_TRUE(ShownOnScreen(h.window.get()));
    QWindow* parent = nullptr;
    QPoint boxCentre;
    bool shown = false;
    h.answers.expect([&](QWidget* box) {
        shown = ShownOnScreen(box);
        parent = TransientParent(box);
        boxCentre = box->frameGeometry().center();
        Handshake("message_box");
        h.answers.pressOk()(box);
    });
    Handshake("message_window");
    h.window->ShowMessage(MessageKind::Information, "No Pool Found  !! \r\nSelect Search Partition and than Click Next.");
    EXPECT_TRUE(h.answers.allAnswered());
    EXPECT_TRUE(shown);
    EXPECT_EQ(parent, h.window->windowHandle());
    // Where the program places its windows, centred up to the halving of odd sizes; on Wayland
    // the compositor places a dialog, and the program knows no window's position.
    if (QGuiApplication::platformName().startsWith("wayland")) return;
    const QPoint offset = boxCentre - h.window->frameGeometry().center();
    EXPECT_LE(std::abs(offset.x()), 2) << offset.x();
    EXPECT_LE(std::abs(offset.y()), 2) << offset.y();
}

}  // namespace
}  // namespace lumbra::test
