// A snapshot names its disk by a drive row only; a run whose row holds another disk refuses the
// snapshot before listing or copying anything, and --drive names the right row.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_recovery_fixture.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::FolderContents;
using test::VolumePlan;

// Two disks built alike, so that only their pool or volume tells them apart.
test::NssImage Disk(const std::string& poolName, const std::string& volumeName) {
    VolumePlan volume{.name = volumeName};
    const uint64_t docs = volume.addFolder("Documents");
    volume.addFile("Report.doc", docs, 12345);
    volume.addFile("Notes.txt", 0, 3000);
    return test::NssImageBuilder().pool({.name = poolName, .volumes = {volume}}).build();
}

class CliSnapshotDisk : public ::testing::Test {
protected:
    void SetUp() override {
        Disk("ALPHA", "DATA").writeTo(right);
        const auto saved = test::RunCli({"--no-drives", "--image", right, "snapshot-save", snapshot, "--drive", "0",
                                         "--pool", "0", "--volume", "0"});
        ASSERT_EQ(saved.exitCode, 0) << saved.err;
    }

    std::string Refusal(const std::string& drivePath, size_t row) const {
        return "lumbra-nss-cli: snapshot " + snapshot + " was made from another disk than drive " +
               std::to_string(row) + " (" + drivePath + "); name the right one with --drive\n";
    }

    test::ScratchFolder folder{"cli_snapshot_disk"};
    std::string right = folder.file("right.img");
    std::string other = folder.file("other.img");
    std::string snapshot = folder.file("S.QVDX");
};

TEST_F(CliSnapshotDisk, AnotherPoolInTheSnapshotsRowIsRefusedAndDriveNamesTheRightRow) {
    Disk("BETA", "DATA").writeTo(other);
    const std::string out = folder.file("out");
    const auto refused =
        test::RunCli({"--no-drives", "--image", other, "--image", right, "extract", "--snapshot", snapshot, "--out", out});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, Refusal(other, 0));
    EXPECT_FALSE(fs::exists(out));
    const auto listed = test::RunCli({"--no-drives", "--image", other, "list", "--snapshot", snapshot});
    EXPECT_EQ(listed.exitCode, 2);
    EXPECT_EQ(listed.out, "");

    const auto byRow = test::RunCli(
        {"--no-drives", "--image", other, "--image", right, "extract", "--snapshot", snapshot, "--drive", "1", "--out", out});
    ASSERT_EQ(byRow.exitCode, 0) << byRow.err;
    const auto byPath = test::RunCli({"--no-drives", "--image", other, "extract", "--snapshot", snapshot, "--drive",
                                      right, "--out", folder.file("out2")});
    ASSERT_EQ(byPath.exitCode, 0) << byPath.err;
    const auto mounted = test::RunCli({"--no-drives", "--image", right, "extract", "--drive", "0", "--pool", "0",
                                       "--volume", "0", "--no-report", "--out", folder.file("mounted")});
    ASSERT_EQ(mounted.exitCode, 0) << mounted.err;
    auto fromSnapshot = FolderContents(out);
    fromSnapshot.erase("lumbra-report.xml");
    fromSnapshot.erase("lumbra-report.csv");
    EXPECT_EQ(fromSnapshot, FolderContents(folder.file("mounted")));
    EXPECT_EQ(fromSnapshot.size(), 2u);
}

TEST_F(CliSnapshotDisk, ThePoolsNameAloneDoesNotMakeItTheSameDisk) {
    Disk("ALPHA", "OTHER").writeTo(other);
    const auto refused = test::RunCli({"--no-drives", "--image", other, "snapshot-save", folder.file("T.QVDX"),
                                       "--snapshot", snapshot});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, Refusal(other, 0));
    EXPECT_FALSE(fs::exists(folder.file("T.QVDX")));
}

TEST_F(CliSnapshotDisk, ASnapshotOnItsOwnDiskLoadsAsBefore) {
    const auto listed = test::RunCli({"--no-drives", "--image", right, "list", "--snapshot", snapshot});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("Report.doc"), std::string::npos) << listed.out;
    const auto resaved = test::RunCli({"--no-drives", "--image", right, "snapshot-save", folder.file("AGAIN.QVDX"),
                                       "--snapshot", snapshot});
    ASSERT_EQ(resaved.exitCode, 0) << resaved.err;
    EXPECT_EQ(FolderContents(folder.path())["AGAIN.QVDX"], FolderContents(folder.path())["S.QVDX"]);
}

}  // namespace
}  // namespace lumbra
