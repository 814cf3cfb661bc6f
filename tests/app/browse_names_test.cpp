// Names as the browse step hands them on: a name with 8-bit characters reaches the desktop as
// the file that was really written, and the type names of a large folder cost one desktop
// question per extension.
#include <gtest/gtest.h>

#include <filesystem>

#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class BrowseNamesTest : public WizardTest {
protected:
    void SetUp() override {
        VolumePlan volume{.name = "DATA"};
        const uint64_t letters = volume.addFolder("Letters");
        volume.addFile("Caf\xe9 order 2002.txt", 0, 3000);
        for (int i = 0; i < 60; ++i) volume.addFile("note" + std::to_string(i) + ".txt", letters, 100);
        for (int i = 0; i < 20; ++i) volume.addFile("memo" + std::to_string(i) + ".doc", letters, 100);
        volume.addFile("README", letters, 100);
        Start({WriteImage(NssImageBuilder()
                              .pool({.name = "POOL1", .segments = {{.headerSector = 2048}}, .volumes = {volume}})
                              .build())});
        ToBrowse();
    }
};

TEST_F(BrowseNamesTest, OpenAndOpenWithHandOverTheFileWrittenForAnEightBitName) {
    const std::string copy = desktop.temporaryFolder + "Caf\xc3\xa9 order 2002.txt";
    MarkRow("Caf\xe9 order 2002.txt");
    wizard->OnCommand(Command::Open);
    ASSERT_EQ(desktop.opened, std::vector<std::string>{copy});
    EXPECT_EQ(std::filesystem::file_size(std::filesystem::u8path(desktop.opened[0])), 3000u);

    wizard->OnCommand(Command::OpenWith);
    ASSERT_EQ(desktop.chooser, std::vector<std::string>{copy});
    EXPECT_TRUE(std::filesystem::exists(desktop.chooser[0]));

    // The opener falls back to the chooser with the same path.
    desktop.unassociatedExtensions.insert(".txt");
    wizard->OnCommand(Command::Open);
    ASSERT_EQ(desktop.chooser.size(), 2u);
    EXPECT_EQ(desktop.chooser[1], copy);
}

TEST_F(BrowseNamesTest, TypeNamesAreAskedOncePerExtension) {
    const int before = desktop.typeNameLookups;
    ClickTree(TreeKind::Directory, "Letters");
    ASSERT_EQ(view.rows.size(), 81u);
    // ".txt" was met in the root already; ".doc" and the name without one are new.
    EXPECT_EQ(desktop.typeNameLookups - before, 2);
    EXPECT_EQ(view.rows[RowNamed("note7.txt")].type, "TXT File");
    EXPECT_EQ(view.rows[RowNamed("memo3.doc")].type, "DOC File");
    EXPECT_EQ(view.rows[RowNamed("README")].type, "File");
}

}  // namespace
}  // namespace lumbra::test
