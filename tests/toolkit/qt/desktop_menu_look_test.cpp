#include "toolkit/qt/desktop_menu_look.h"

#include <gtest/gtest.h>
#include <map>

#include "platform/platform_version.h"
#include "platform/settings_store.h"

namespace lumbra {
namespace {

class ThemeStore : public SettingsStore {
public:
    std::optional<std::string> readString(const std::string& key, const std::string& name) const override {
        if (key == "Software\\Microsoft\\Plus!\\Themes\\Current" && name.empty() && !theme.empty()) return theme;
        return std::nullopt;
    }
    std::optional<uint32_t> readNumber(const std::string&, const std::string&) const override { return std::nullopt; }
    bool writeString(const std::string&, const std::string&, const std::string&) override { return false; }
    bool writeNumber(const std::string&, const std::string&, uint32_t) override { return false; }
    std::string theme;
};

class FixedVersion : public PlatformVersion {
public:
    explicit FixedVersion(int code) : code_(code) {}
    int versionCode() const override { return code_; }

private:
    int code_;
};

TEST(DesktopMenuStyle, LinuxDesktopGetsTheFlatLookUnlessTheClassicThemeIsRemembered) {
    ThemeStore store;
    const DesktopMenuStyle flat = DetectDesktopMenuStyle(LinuxPlatformVersion(), store);
    EXPECT_EQ(flat.look, MenuLook::Flat);
    EXPECT_FALSE(flat.nineXLine);
    store.theme = "C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme";
    EXPECT_EQ(DetectDesktopMenuStyle(LinuxPlatformVersion(), store).look, MenuLook::Classic);
}

TEST(DesktopMenuStyle, OlderLinesAreClassicAndTheNineXLineMeasuresItsWay) {
    ThemeStore store;
    const DesktopMenuStyle nineX = DetectDesktopMenuStyle(FixedVersion(version_code::kNineX490), store);
    EXPECT_EQ(nineX.look, MenuLook::Classic);
    EXPECT_TRUE(nineX.nineXLine);
    EXPECT_EQ(DetectDesktopMenuStyle(FixedVersion(version_code::kNt50), store).look, MenuLook::Classic);
}

}  // namespace
}  // namespace lumbra
