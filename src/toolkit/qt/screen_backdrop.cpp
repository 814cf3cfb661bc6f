#include "toolkit/qt/screen_backdrop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QString>

#ifdef LUMBRA_WITH_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <memory>
#endif

namespace lumbra {

namespace {

bool OnX11() { return QGuiApplication::platformName() == QStringLiteral("xcb"); }

#ifdef LUMBRA_WITH_XCB
// The screen number of the display, as in "host:0.1"; 0 when the name gives none.
int ScreenNumber() {
    const QString display = QString::fromLocal8Bit(qgetenv("DISPLAY"));
    const qsizetype colon = display.lastIndexOf(u':');
    const qsizetype dot = display.indexOf(u'.', colon < 0 ? 0 : colon);
    if (dot < 0) return 0;
    bool ok = false;
    const int number = display.mid(dot + 1).toInt(&ok);
    return ok && number >= 0 && number < 64 ? number : 0;
}
#endif

}  // namespace

bool ScreenHasCompositor() {
#ifdef LUMBRA_WITH_XCB
    if (!OnX11()) return true;
    const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return true;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(ScreenNumber());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()),
                              nullptr),
        &free);
    if (!atom) return true;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr), &free);
    return owner && owner->owner != XCB_NONE;
#else
    return true;
#endif
}

bool PlatformCanCaptureScreen() { return OnX11(); }

SeeThrough ChooseSeeThrough() {
    return !ScreenHasCompositor() && PlatformCanCaptureScreen() ? SeeThrough::OverCapture : SeeThrough::Composited;
}

QPixmap CaptureScreenUnder(const QRect& global) {
    QScreen* screen = QGuiApplication::screenAt(global.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen || global.isEmpty()) return {};
    const QRect area = screen->geometry();
    return screen->grabWindow(0, global.left() - area.left(), global.top() - area.top(), global.width(), global.height());
}

}  // namespace lumbra
