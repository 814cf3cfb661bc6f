#pragma once
// The two looks of the owner-drawn menus and how the look is chosen from the desktop.
#include <optional>
#include <string>

namespace lumbra {

class SettingsStore;

enum class MenuLook { Classic, Flat };

// Where the desktop records its current theme file (the key's default value).
inline constexpr const char* kThemeKey = "Software\\Microsoft\\Plus!\\Themes\\Current";
inline constexpr const char* kClassicThemeSuffix = "Windows Classic.theme";

// True when the theme path ends, in any case, with the classic theme's file name.
bool IsClassicThemePath(const std::string& themePath);
bool IsClassicThemeInUse(const SettingsStore& store);

// The flat look needs the newest desktop line, no classic theme and more than 256 colours.
MenuLook ChooseMenuLook(int versionCode, bool classicTheme, int colourDepthBits);

}  // namespace lumbra
