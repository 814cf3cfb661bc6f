// The browse step's list binding keeps no rows of its own: each goes to the view once, marked
// as the damage test says, and commands read rows back from the view.
#include <gtest/gtest.h>

#include "app/browse_bindings.h"
#include "support/fake_desktop.h"
#include "support/fake_view.h"

namespace lumbra::test {
namespace {

ItemRow FileRow(const std::string& name, bool damaged = false) {
    return {ItemRow::Kind::File, name, "TXT File", "100", "05-Mar-2004", "09:07:31", "7", damaged};
}

TEST(FileListBinding, RowsAreReadBackFromTheViewWithTheirNamesAsLastSet) {
    FakeView view;
    FakeDesktop desktop;
    FileListBinding list(view, desktop);
    list.appendRow(FileRow("a.txt"));
    list.appendRow(FileRow("b.txt"));
    ASSERT_EQ(view.rows.size(), 2u);
    view.rows[1].size = "999";
    ASSERT_TRUE(list.row(1));
    EXPECT_EQ(list.row(1)->size, "999") << "the view's row is the one read";
    list.setRowName(0, "renamed.txt");
    EXPECT_EQ(view.rows[0].name, "renamed.txt");
    EXPECT_EQ(list.row(0)->name, "renamed.txt");
    EXPECT_FALSE(list.row(-1));
    EXPECT_FALSE(list.row(2));
    list.deleteAllRows();
    EXPECT_FALSE(list.row(0));
}

TEST(FileListBinding, TheDamageTestDecidesEachRowsMark) {
    FakeView view;
    FakeDesktop desktop;
    FileListBinding list(view, desktop);
    list.setDamageTest([](const ItemRow& row) { return row.name == "broken.txt"; });
    list.appendRow(FileRow("broken.txt"));
    list.appendRow(FileRow("fine.txt", true));
    list.appendRow(FileRow("plain.txt"));
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_TRUE(view.rows[0].damaged);
    EXPECT_FALSE(view.rows[1].damaged) << "a mark the test does not confirm goes";
    EXPECT_FALSE(view.rows[2].damaged);
    EXPECT_EQ(view.rows[0].name, "broken.txt");
    EXPECT_EQ(view.rows[0].type, "TXT File");
}

}  // namespace
}  // namespace lumbra::test
