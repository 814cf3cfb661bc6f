#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(WizardTest, SavingAsksForANewNameAndUpperCasesTheFileNameOnly) {
    StartStandard();
    ToBrowse();
    std::filesystem::create_directories(scratch.file("Saves"));
    view.saveName = scratch.file("Saves/scan");
    wizard->OnToolbarButton(3);
    EXPECT_EQ(view.saveNameAsked, 1);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"The recovery snapshot was saved to " +
                                                     scratch.file("Saves/SCAN.QVDX") + "."}));
    EXPECT_EQ(view.messages[0].kind, MessageKind::Information);
    EXPECT_TRUE(std::filesystem::exists(scratch.file("Saves/SCAN.QVDX")));
    EXPECT_FALSE(std::filesystem::exists(scratch.file("Saves/scan")));

    view.saveName = scratch.file("Saves/x.qvdx");
    wizard->OnCommand(Command::SaveSnapshot);
    EXPECT_TRUE(std::filesystem::exists(scratch.file("Saves/X.QVDX")));
    EXPECT_FALSE(std::filesystem::exists(scratch.file("Saves/X.QVDX.QVDX")));
    EXPECT_EQ(FileBytes(scratch.file("Saves/X.QVDX")), FileBytes(scratch.file("Saves/SCAN.QVDX")));
}

TEST_F(WizardTest, SavingCancelledWritesNothing) {
    StartStandard();
    ToBrowse();
    view.saveName.reset();
    wizard->OnCommand(Command::SaveSnapshot);
    EXPECT_EQ(view.saveNameAsked, 1);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(WizardTest, SavingWhereNoFileCanBeCreatedSaysSo) {
    StartStandard();
    ToBrowse();
    view.saveName = scratch.file("missing-folder/scan");
    wizard->OnCommand(Command::SaveSnapshot);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text, "Unable to save the recovery snapshot.");
}

TEST_F(WizardTest, LoadingASnapshotOpensTheBrowseStepWithoutBack) {
    const std::string image = WriteImage(StandardImage());
    Start({image});
    ToBrowse();
    view.saveName = scratch.file("first");
    wizard->OnCommand(Command::SaveSnapshot);

    // A second run of the program over the same disk.
    Session second{AccessMode::N};
    FakeView secondView;
    WizardController loader(second, secondView, desktop);
    ASSERT_TRUE(loader.StartUp(DriveSources{.listSystemDisks = false, .images = {image}}, ""));
    secondView.loadName = scratch.file("FIRST.QVDX");
    loader.OnToolbarButton(4);
    ASSERT_TRUE(secondView.messages.empty());
    EXPECT_EQ(second.wizard.currentStep(), WizardStep::StepBrowse);
    EXPECT_FALSE(secondView.visible(Element::DriveTree));
    EXPECT_FALSE(secondView.enabled(Element::DriveTree));
    EXPECT_FALSE(secondView.visible(Element::BackButton));
    EXPECT_FALSE(secondView.visible(Element::NextButton));
    EXPECT_FALSE(secondView.visible(Element::StopButton));
    EXPECT_FALSE(secondView.visible(Element::ProgressBar));
    EXPECT_FALSE(secondView.visible(Element::IdentifyFrame));
    EXPECT_TRUE(secondView.visible(Element::DirectoryTree));
    EXPECT_TRUE(secondView.enabled(Element::DirectoryTree));
    EXPECT_TRUE(secondView.visible(Element::FileList));
    EXPECT_EQ(secondView.columns.size(), 6u);
    const FakeTree& tree = secondView.tree(TreeKind::Directory);
    EXPECT_EQ(tree.items.at(tree.root).text, "DATA");
    EXPECT_EQ(secondView.treeChildren(TreeKind::Directory), (std::vector<std::string>{"Documents", "Pictures"}));
    std::vector<std::string> names;
    for (const ItemRow& row : secondView.rows) names.push_back(row.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Documents", "Pictures", "readme.txt", "empty.txt"}));
    EXPECT_TRUE(secondView.commandEnabled(Command::SaveSnapshot));
    EXPECT_FALSE(secondView.commandEnabled(Command::LoadSnapshot));
    EXPECT_EQ(secondView.quickHelp.back(), view.quickHelp.back());
    EXPECT_EQ(second.selectedPool.name, "POOL1");
    EXPECT_TRUE(second.reader != nullptr);

    // Saving again gives the same bytes.
    secondView.saveName = scratch.file("again");
    loader.OnCommand(Command::SaveSnapshot);
    EXPECT_EQ(FileBytes(scratch.file("AGAIN.QVDX")), FileBytes(scratch.file("FIRST.QVDX")));

    // Files open from the reopened disk.
    loader.OnLeftTreeClick(secondView.findTreeItem(TreeKind::Directory, "Documents"), TreeHitPart::Label);
    loader.OnListFocused();
    secondView.selectionMark = 0;
    loader.OnCommand(Command::Open);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(desktop.opened[0]), 12345u);
}

TEST_F(WizardTest, LoadingAfterSearchPartitionHidesTheRangeFields) {
    StartStandard();
    ToBrowse();
    view.saveName = scratch.file("range");
    wizard->OnCommand(Command::SaveSnapshot);
    for (int press = 0; press < 3; ++press) wizard->OnBack();
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    wizard->OnIdentifyOption(kSearchPartition);
    ASSERT_TRUE(view.visible(Element::StartField));
    view.loadName = scratch.file("RANGE.QVDX");
    wizard->OnCommand(Command::LoadSnapshot);
    ASSERT_EQ(session.wizard.currentStep(), WizardStep::StepBrowse);
    for (Element element : {Element::RangeCaption, Element::RangeFrame, Element::StartCaption, Element::EndCaption,
                            Element::StartField, Element::EndField, Element::HelpButtonB})
        EXPECT_FALSE(view.visible(element)) << static_cast<int>(element);
}

TEST_F(WizardTest, AWrongSnapshotIsRefusedAndNothingChanges) {
    StartStandard();
    const std::string wrongTag = scratch.file("wrong.qvdx");
    std::ofstream(wrongTag, std::ios::binary) << "abcdefg1.0rest";
    const std::string wrongVersion = scratch.file("version.qvdx");
    std::ofstream(wrongVersion, std::ios::binary) << "QVD4.032.0rest";

    view.loadName = wrongTag;
    wizard->OnCommand(Command::LoadSnapshot);
    view.loadName = wrongVersion;
    wizard->OnCommand(Command::LoadSnapshot);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "    Invalid version of the file found : abcdefg",
                              "              version of file does not match with current version 1.0"}));
    for (const ShownMessage& message : view.messages) EXPECT_EQ(message.kind, MessageKind::Error);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(view.visible(Element::DriveTree));
    EXPECT_TRUE(view.commandEnabled(Command::LoadSnapshot));
}

TEST_F(WizardTest, LoadCancelledDoesNothing) {
    StartStandard();
    wizard->OnCommand(Command::LoadSnapshot);
    EXPECT_EQ(view.loadNameAsked, 1);
    EXPECT_EQ(session.wizard.currentStep(), WizardStep::StepDisks);
    EXPECT_TRUE(view.messages.empty());
}

}  // namespace
}  // namespace lumbra::test
