#pragma once
// The look of the owner-drawn menus on this desktop: from the platform's version code, the
// theme remembered in the settings store and the colour depth of the screen. The main window
// asks once at start-up and hands the answer to every menu it builds.
#include "toolkit/menu_look.h"

namespace lumbra {

class PlatformVersion;
class SettingsStore;

struct DesktopMenuStyle {
    MenuLook look = MenuLook::Classic;
    bool nineXLine = false;   // menu texts measured the 9x way
};

DesktopMenuStyle DetectDesktopMenuStyle(const PlatformVersion& platform, const SettingsStore& settings);

}  // namespace lumbra
