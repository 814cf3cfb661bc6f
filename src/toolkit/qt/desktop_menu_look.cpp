#include "toolkit/qt/desktop_menu_look.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/platform_version.h"
#include "platform/settings_store.h"

namespace lumbra {

DesktopMenuStyle DetectDesktopMenuStyle(const PlatformVersion& platform, const SettingsStore& settings) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // Without a screen there is nothing to judge; the classic look is always safe.
    const int depth = screen ? screen->depth() : 0;
    const int code = platform.versionCode();
    return {ChooseMenuLook(code, IsClassicThemeInUse(settings), depth), IsNineXLine(code)};
}

}  // namespace lumbra
