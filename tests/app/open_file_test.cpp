// Open keeps its copies to the user, says when nothing opens them, and asks before a damaged
// copy is handed to a program.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "disk/sector.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

class OpenFileTest : public WizardTest {
protected:
    void SetUp() override {
        StartStandard();
        ToBrowse();
    }
};

TEST_F(OpenFileTest, TheCopyOfAnOpenedFileIsTheUsersAlone) {
    const mode_t saved = ::umask(0);
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    struct stat status {};
    EXPECT_EQ(::stat((desktop.temporaryFolder + "readme.txt").c_str(), &status), 0);
    ::umask(saved);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(OpenFileTest, AProgramThatDoesNotStartIsToldOfOnce) {
    const std::string copy = desktop.temporaryFolder + "readme.txt";
    desktop.failingExtensions.insert(".txt");
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    EXPECT_EQ(Messages(), std::vector<std::string>{"No program could open " + copy + "."});
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(desktop.chooser.empty());
}

TEST_F(OpenFileTest, APathOfThisMachineIsShownAsItsCharacters) {
    desktop.temporaryFolder = scratch.file("K\xC3\xBCndigung") + "/";
    std::filesystem::create_directories(desktop.temporaryFolder);
    desktop.failingExtensions.insert(".txt");
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("/K\xFCndigung/readme.txt."), std::string::npos) << Messages()[0];
}

TEST_F(OpenFileTest, AChooserWhoseProgramDoesNotStartIsToldOf) {
    const std::string copy = desktop.temporaryFolder + "readme.txt";
    desktop.unassociatedExtensions.insert(".txt");
    desktop.chooserStarts = false;
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    EXPECT_EQ(desktop.chooser, std::vector<std::string>{copy});
    EXPECT_EQ(Messages(), std::vector<std::string>{"No program could open " + copy + "."});

    wizard->OnCommand(Command::OpenWith);
    EXPECT_EQ(Messages().size(), 2u);
    desktop.chooserStarts = true;
    wizard->OnCommand(Command::OpenWith);
    EXPECT_EQ(Messages().size(), 2u) << "a program started, or the user cancelled: nothing to say";
}

// readme.txt's second sector was never rescued.
class DamagedOpenTest : public WizardTest {
protected:
    void SetUp() override {
        const NssImage image = StandardImage();
        StartWithUnrescued(image, FileSector(image, "readme.txt", 1), kSectorSize);
        ToBrowse();
    }
};

TEST_F(DamagedOpenTest, ADamagedFileIsOpenedOnlyAfterAYes) {
    const std::string question =
        "readme.txt is damaged: 512 bytes unreadable; the unreadable parts are zeros in the copy.\r\nOpen it anyway ?";
    view.answers = {Answer::No, Answer::Yes};
    MarkRow("readme.txt");
    wizard->OnCommand(Command::Open);
    ASSERT_EQ(Messages(), std::vector<std::string>{question});
    EXPECT_TRUE(view.messages[0].question);
    EXPECT_TRUE(desktop.opened.empty());

    wizard->OnCommand(Command::Open);
    EXPECT_EQ(Messages(), (std::vector<std::string>{question, question}));
    EXPECT_EQ(desktop.opened, std::vector<std::string>{desktop.temporaryFolder + "readme.txt"});
}

}  // namespace
}  // namespace lumbra::test
