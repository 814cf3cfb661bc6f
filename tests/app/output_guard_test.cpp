// The desktop side of the output rules: a snapshot is loaded only onto its own disk, no snapshot
// is saved over an input, and no destination on the disk being recovered is used.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>

#include "support/sha256.h"
#include "app/snapshot_texts.h"
#include "wizard_fixture.h"

namespace lumbra::test {
namespace {

namespace fs = std::filesystem;

std::string DigestOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Sha256::hex(bytes);
}

NssImage OtherImage() {
    VolumePlan volume = StandardVolume();
    return NssImageBuilder().pool({.name = "POOL2", .segments = {{.headerSector = 2048}}, .volumes = {volume}}).build();
}

// The snapshot's row holds another disk in a later run: the row that holds its disk is used and
// named; where none or several do, the user picks the drive, and a wrong pick changes nothing.
TEST_F(WizardTest, ASnapshotFindsItsDiskInAnotherRowOrLetsTheUserPickIt) {
    const std::string image = WriteImage(StandardImage());
    Start({image});
    ToBrowse();
    view.saveName = scratch.file("first");
    wizard->OnCommand(Command::SaveSnapshot);
    const std::string snapshot = scratch.file("FIRST.QVDX");
    ASSERT_TRUE(fs::exists(snapshot));
    const std::string other = WriteImage(OtherImage(), "other.img");
    const std::string twin = scratch.file("twin.img");
    fs::copy_file(image, twin);

    const struct {
        const char* name;
        std::vector<std::string> images;
        std::optional<size_t> picked;       // the user's answer, when asked
        size_t questions;                   // how often the user was asked
        size_t preselected;
        std::optional<size_t> loadedFrom;   // the row read, or nullopt when nothing loads
        std::string message;                // the last message shown
    } cases[] = {
        {"found in another row", {other, image}, {}, 0, 0, 1, SnapshotDiskFoundText(1, image)},
        {"none: cancelled", {other}, std::nullopt, 1, 0, std::nullopt, ""},
        {"none: the wrong disk picked", {other}, 0, 1, 0, std::nullopt, SnapshotOtherDiskText(0, other)},
        {"several: the second picked", {other, image, twin}, 2, 1, 1, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session second{AccessMode::N};
        FakeView secondView;
        WizardController loader(second, secondView, desktop);
        ASSERT_TRUE(loader.StartUp(DriveSources{.listSystemDisks = false, .images = c.images}, ""));
        secondView.loadName = snapshot;
        secondView.snapshotDrive = c.picked;
        loader.OnCommand(Command::LoadSnapshot);
        ASSERT_EQ(secondView.snapshotDriveQuestions.size(), c.questions);
        if (c.questions) {
            const auto& question = secondView.snapshotDriveQuestions[0];
            EXPECT_EQ(question.text, c.images.size() > 2 ? kSnapshotDiskSeveralText : kSnapshotDiskNotFoundText);
            EXPECT_EQ(question.drives.size(), c.images.size());
            EXPECT_EQ(question.drives[0], DriveLabel(0) + " (" + other + ")");
            EXPECT_EQ(question.preselected, c.preselected);
        }
        EXPECT_EQ(secondView.messages.empty() ? std::string() : secondView.messages.back().text, c.message);
        if (!c.loadedFrom) {
            EXPECT_EQ(second.wizard.currentStep(), WizardStep::StepDisks);
            EXPECT_TRUE(secondView.visible(Element::DriveTree));
            EXPECT_TRUE(second.records.files().empty());
            EXPECT_EQ(second.reader, nullptr);
            continue;
        }
        EXPECT_EQ(second.wizard.currentStep(), WizardStep::StepBrowse);
        EXPECT_EQ(second.wizard.selectedDrive, *c.loadedFrom);
        EXPECT_FALSE(second.records.files().empty());
    }
}

TEST_F(WizardTest, NoSnapshotIsSavedOverTheDiskImage) {
    const std::string image = WriteImage(StandardImage());
    Start({image});
    ToBrowse();
    const std::string before = DigestOf(image);
    fs::create_symlink(image, scratch.file("IMAGE.QVDX"));
    view.saveName = scratch.file("IMAGE.QVDX");
    wizard->OnCommand(Command::SaveSnapshot);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "refusing to write " + scratch.file("IMAGE.QVDX") + ": it is " + image + ", which this run reads");
    EXPECT_EQ(DigestOf(image), before);
}

// A sysfs (in the scratch folder) that makes the device holding the scratch folder a loop device
// backed by the disk image: every output in the scratch folder lies on the disk being recovered.
std::string ScratchOnALoopDeviceOf(const ScratchFolder& scratch, const std::string& image) {
    struct stat status {};
    ::stat(scratch.path().c_str(), &status);
    const std::string number = std::to_string(major(status.st_dev)) + ":" + std::to_string(minor(status.st_dev));
    const fs::path sys = scratch.path() / "sys";
    fs::create_directories(sys / "block/loop9/loop");
    fs::create_directories(sys / "dev/block");
    std::ofstream(sys / "block/loop9/dev") << number << "\n";
    std::ofstream(sys / "block/loop9/loop/backing_file") << image << "\n";
    fs::create_symlink("../../block/loop9", sys / "dev/block" / number);
    return sys.string();
}

// Every output, not the destination folder alone: a snapshot there is refused before it is made.
TEST_F(WizardTest, ASnapshotOnAFileSystemOfTheDiskBeingRecoveredIsRefused) {
    const std::string image = WriteImage(StandardImage());
    Start({image});
    session.sysRoot = ScratchOnALoopDeviceOf(scratch, image);
    ToBrowse();
    view.saveName = scratch.file("near");
    wizard->OnCommand(Command::SaveSnapshot);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "refusing to write " + scratch.file("NEAR.QVDX") + ": it is on a file system of " +
                                         image + ", which this run reads");
    EXPECT_FALSE(fs::exists(scratch.file("NEAR.QVDX")));
}

TEST_F(WizardTest, ADestinationOnTheDiskBeingRecoveredIsRefusedAndAnotherIsAskedFor) {
    const std::string image = WriteImage(StandardImage());
    Start({image});
    ToBrowse();
    session.sysRoot = ScratchOnALoopDeviceOf(scratch, image);
    struct stat status {};
    ASSERT_EQ(::stat(scratch.path().c_str(), &status), 0);

    // A folder on another file system, in which files can be created.
    const std::string elsewhere = "/dev/shm/lumbra_guard_" + std::to_string(::getpid());
    std::error_code made;
    fs::create_directory(elsewhere, made);
    struct stat other {};
    if (made || ::stat(elsewhere.c_str(), &other) != 0 || other.st_dev == status.st_dev)
        GTEST_SKIP() << "no writable folder on another file system";
    view.destinationAnswers = {scratch.file("recovered"), elsewhere};
    wizard->OnCommand(Command::RecoverAll);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(view.messages[0].text,
              "The destination lies on the disk being recovered; writing there can overwrite the data you are "
              "recovering.");
    EXPECT_EQ(view.destinationAsked, 2u);
    EXPECT_EQ(view.savingDestinations, std::vector<std::string>{elsewhere});
    EXPECT_FALSE(fs::exists(scratch.file("recovered")));
    fs::remove(elsewhere);
}

}  // namespace
}  // namespace lumbra::test
