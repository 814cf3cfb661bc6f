#include "toolkit/menu_template.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

using namespace menu_flag;

TEST(MenuTemplate, PopupsNestUntilTheirEndItem) {
    const MenuTemplate menu = {
        {kPopup, 0, "&Recovery"},
        {0, 1, "&Recover Selected..."},
        {kSeparator, 0, ""},
        {kPopup, 0, "More"},
        {kChecked | kEnd, 7, "Deep"},
        {kEnd, 2, "E&xit..."},
        {kPopup | kEnd, 0, "&Help"},
        {kDisabled | kEnd, 3, "&Contents\tF1"},
    };
    const std::vector<MenuNode> top = ParseMenuTemplate(menu);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].text, "&Recovery");
    ASSERT_EQ(top[0].children.size(), 4u);
    EXPECT_EQ(top[0].children[1].flags, kSeparator);
    ASSERT_EQ(top[0].children[2].children.size(), 1u);
    EXPECT_EQ(top[0].children[2].children[0].commandId, 7);
    EXPECT_EQ(top[0].children[2].children[0].flags, kChecked);
    EXPECT_EQ(top[0].children[3].text, "E&xit...");
    ASSERT_EQ(top[1].children.size(), 1u);
    EXPECT_EQ(top[1].children[0].text, "&Contents\tF1");
    EXPECT_EQ(top[1].flags, kPopup);
}

TEST(MenuTemplate, ATemplateCutShortEndsWhereItsItemsEnd) {
    const MenuTemplate menu = {{kPopup, 0, "&View"}, {0, 4, "Ico&ns"}, {kPopup, 0, "Sub"}};
    const std::vector<MenuNode> top = ParseMenuTemplate(menu);
    ASSERT_EQ(top.size(), 1u);
    ASSERT_EQ(top[0].children.size(), 2u);
    EXPECT_TRUE(top[0].children[1].children.empty());
    EXPECT_TRUE(ParseMenuTemplate({}).empty());
}

}  // namespace
}  // namespace lumbra
