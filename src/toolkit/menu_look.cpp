#include "toolkit/menu_look.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/platform_version.h"
#include "platform/settings_store.h"

namespace lumbra {

namespace {
bool EqualNoCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}
}  // namespace

bool IsClassicThemePath(const std::string& themePath) {
    const std::string_view suffix = kClassicThemeSuffix;
    if (themePath.size() < suffix.size()) return false;
    const std::string_view tail = std::string_view(themePath).substr(themePath.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), EqualNoCase);
}

bool IsClassicThemeInUse(const SettingsStore& store) {
    const std::optional<std::string> theme = store.readString(kThemeKey, "");
    return theme && IsClassicThemePath(*theme);
}

MenuLook ChooseMenuLook(int versionCode, bool classicTheme, int colourDepthBits) {
    const bool paletteDisplay = colourDepthBits <= 8;
    if (versionCode == version_code::kNt51 && !classicTheme && !paletteDisplay) return MenuLook::Flat;
    return MenuLook::Classic;
}

}  // namespace lumbra
