#include <gtest/gtest.h>

#include <map>

#include "platform/platform_version.h"
#include "platform/settings_store.h"
#include "toolkit/colour_lighten.h"
#include "toolkit/menu_look.h"
#include "toolkit/menu_metrics.h"

namespace lumbra {
namespace {

class MemoryStore : public SettingsStore {
public:
    std::optional<std::string> readString(const std::string& key, const std::string& name) const override {
        auto found = strings.find(key + "|" + name);
        if (found == strings.end()) return std::nullopt;
        return found->second;
    }
    std::optional<uint32_t> readNumber(const std::string&, const std::string&) const override { return std::nullopt; }
    bool writeString(const std::string& key, const std::string& name, const std::string& value) override {
        strings[key + "|" + name] = value;
        return true;
    }
    bool writeNumber(const std::string&, const std::string&, uint32_t) override { return false; }
    std::map<std::string, std::string> strings;
};

TEST(Lighten, MovesEveryChannelTowardsWhiteAndTruncates) {
    EXPECT_EQ(Lighten(0x000000, 70), 0xb2b2b2u);        // 178.5 truncated
    EXPECT_EQ(Lighten(0x316ac5, 70), MakeRgb(0x31 + 70 * (255 - 0x31) / 100, 0x6a + 70 * (255 - 0x6a) / 100, 0xc5 + 70 * (255 - 0xc5) / 100));
    EXPECT_EQ(Lighten(0x808080, 30), MakeRgb(166, 166, 166));
    EXPECT_EQ(Lighten(0x123456, 100), 0xffffffu);
    EXPECT_EQ(Lighten(0x123456, 0), 0x123456u);
}

TEST(MenuLookChoice, FlatOnlyOnTheNewestLineWithoutClassicThemeAndWithTrueColour) {
    EXPECT_EQ(ChooseMenuLook(version_code::kNt51, false, 32), MenuLook::Flat);
    EXPECT_EQ(ChooseMenuLook(version_code::kNt51, true, 32), MenuLook::Classic);
    EXPECT_EQ(ChooseMenuLook(version_code::kNt51, false, 8), MenuLook::Classic);
    EXPECT_EQ(ChooseMenuLook(version_code::kNt51, false, 16), MenuLook::Flat);
    for (int code : {0, 1, 2, 3, 4, 5, 6}) EXPECT_EQ(ChooseMenuLook(code, false, 32), MenuLook::Classic) << code;
}

TEST(MenuLookChoice, ThemeCheckReadsTheDefaultValueOfTheThemeKeyIgnoringCase) {
    MemoryStore store;
    EXPECT_FALSE(IsClassicThemeInUse(store));
    store.writeString("Software\\Microsoft\\Plus!\\Themes\\Current", "", "C:\\WINDOWS\\Resources\\Themes\\windows classic.THEME");
    EXPECT_TRUE(IsClassicThemeInUse(store));
    store.writeString("Software\\Microsoft\\Plus!\\Themes\\Current", "", "C:\\WINDOWS\\Resources\\Themes\\Luna.theme");
    EXPECT_FALSE(IsClassicThemeInUse(store));
    EXPECT_FALSE(IsClassicThemePath("Classic.theme"));
    EXPECT_TRUE(IsClassicThemePath("Windows Classic.theme"));
}

TEST(MenuMetrics, SeparatorIsHalfTheMenuHeightOrHalfImagePlusGap) {
    EXPECT_EQ(MeasureMenuSeparator(MenuLook::Classic, {16, 15}, 19).height, 9);    // max(9, 19/2)
    EXPECT_EQ(MeasureMenuSeparator(MenuLook::Flat, {16, 15}, 19).height, 11);      // (15+7)/2
    EXPECT_EQ(MeasureMenuSeparator(MenuLook::Classic, {16, 30}, 19).height, 17);   // (30+4)/2
    EXPECT_EQ(MeasureMenuSeparator(MenuLook::Flat, {16, 15}, 19).width, 0);
}

TEST(MenuMetrics, ItemSizeFollowsTheLookAndTheDesktopLine) {
    const MenuTextExtent text{60, 6};
    EXPECT_EQ(MeasureMenuItem(MenuLook::Flat, false, text, {16, 15}, 19).width, 60 + 16 + 7 + 8);
    EXPECT_EQ(MeasureMenuItem(MenuLook::Classic, false, text, {16, 15}, 19).width, 60 + 32 + 1);
    EXPECT_EQ(MeasureMenuItem(MenuLook::Classic, true, text, {16, 15}, 19).width, 60 + 3 + 18 + 32 + 1);
    EXPECT_EQ(MeasureMenuItem(MenuLook::Flat, false, text, {16, 15}, 19).height, 22);
    EXPECT_EQ(MeasureMenuItem(MenuLook::Classic, false, text, {16, 15}, 19).height, 19);
    EXPECT_EQ(MeasureMenuItem(MenuLook::Classic, false, text, {16, 15}, 24).height, 24);
}

}  // namespace
}  // namespace lumbra
