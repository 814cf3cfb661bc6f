// A snapshot names its disk by a drive row only; a run whose row holds another disk refuses the
// snapshot before listing or copying anything, and --drive names the right row.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli_recovery_fixture.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::FolderContents;
using test::VolumePlan;

// Two disks built alike, so that only their pool or volume, or the files they hold, tell them apart.
test::NssImage Disk(const std::string& poolName, const std::string& volumeName, uint64_t notesSize = 3000) {
    VolumePlan volume{.name = volumeName};
    const uint64_t docs = volume.addFolder("Documents");
    volume.addFile("Report.doc", docs, 12345);
    volume.addFile("Notes.txt", 0, notesSize);
    return test::NssImageBuilder().pool({.name = poolName, .volumes = {volume}}).build();
}

// A rescue map of the image at `path` in which one sector was never read.
std::string MapHidingSector(const std::string& mapPath, const std::string& imagePath, uint64_t sector) {
    const uint64_t size = fs::file_size(imagePath), at = sector * 512;
    std::ofstream(mapPath) << std::hex << "0x0 +\n0x0 0x" << at << " +\n0x" << at << " 0x200 -\n0x" << at + 512
                           << " 0x" << size - at - 512 << " +\n";
    return mapPath;
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
    const auto refused = test::RunCli({"--no-drives", "--image", other, "extract", "--snapshot", snapshot, "--out", out});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, Refusal(other, 0));
    EXPECT_FALSE(fs::exists(out));
    const auto listed = test::RunCli({"--no-drives", "--image", other, "list", "--snapshot", snapshot});
    EXPECT_EQ(listed.exitCode, 2);
    EXPECT_EQ(listed.out, "");
    // A row named with --drive is taken as it is: no other row is searched.
    const auto namedWrong = test::RunCli(
        {"--no-drives", "--image", other, "--image", right, "list", "--snapshot", snapshot, "--drive", "0"});
    EXPECT_EQ(namedWrong.exitCode, 2);
    EXPECT_EQ(namedWrong.err, Refusal(other, 0));

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

// Without --drive, the snapshot's disk is looked for in the other rows: one is used and said,
// several are named.
TEST_F(CliSnapshotDisk, TheSnapshotsDiskInAnotherRowIsFoundAndSaid) {
    Disk("ALPHA", "DATA", 3100).writeTo(other);
    const std::string out = folder.file("out");
    const auto found =
        test::RunCli({"--no-drives", "--image", other, "--image", right, "extract", "--snapshot", snapshot, "--out", out});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    EXPECT_NE(found.err.find("lumbra-nss-cli: snapshot " + snapshot + " was made from drive row 0; its disk is drive 1 (" +
                             right + ") in this run, which is read instead\n"),
              std::string::npos)
        << found.err;
    EXPECT_TRUE(fs::exists(out + "/Documents/Report.doc"));
    // A row past this run's table: the disk is looked for all the same.
    const std::string rowOne = folder.file("ROW1.QVDX");
    ASSERT_EQ(test::RunCli({"--no-drives", "--image", other, "--image", right, "snapshot-save", rowOne, "--drive", "1",
                            "--pool", "0", "--volume", "0"})
                  .exitCode,
              0);
    const auto beyond = test::RunCli({"--no-drives", "--image", right, "list", "--snapshot", rowOne});
    EXPECT_EQ(beyond.exitCode, 0) << beyond.err;
    EXPECT_NE(beyond.err.find("was made from drive row 1; its disk is drive 0 (" + right + ")"), std::string::npos)
        << beyond.err;

    const std::string twin = folder.file("twin.img");
    fs::copy_file(right, twin);
    const auto several = test::RunCli(
        {"--no-drives", "--image", other, "--image", right, "--image", twin, "list", "--snapshot", snapshot});
    EXPECT_EQ(several.exitCode, 2);
    EXPECT_EQ(several.err, "lumbra-nss-cli: snapshot " + snapshot + " fits drives 1 (" + right + "), 2 (" + twin +
                               "); name one with --drive\n");
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

TEST_F(CliSnapshotDisk, AnAlikeDiskHoldingOtherFilesIsAnotherDisk) {
    Disk("ALPHA", "DATA", 3100).writeTo(other);
    const std::string out = folder.file("out");
    const auto refused = test::RunCli({"--no-drives", "--image", other, "extract", "--snapshot", snapshot, "--out", out});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, Refusal(other, 0));
    EXPECT_FALSE(fs::exists(out));
}

// A snapshot written before the tree digests were kept ends with its file records; it loads,
// checked as before, with a warning.
TEST_F(CliSnapshotDisk, AnOlderSnapshotLoadsWithAWarning) {
    std::ifstream in(snapshot, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t tail = bytes.rfind("LNSXTAIL");
    ASSERT_NE(tail, std::string::npos);
    const std::string old = folder.file("OLD.QVDX");
    std::ofstream(old, std::ios::binary) << bytes.substr(0, tail);
    const auto listed = test::RunCli({"--no-drives", "--image", right, "list", "--snapshot", old});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("Report.doc"), std::string::npos) << listed.out;
    EXPECT_EQ(listed.err, "lumbra-nss-cli: warning: snapshot " + old +
                              " was saved without digests of its tree blocks (an older snapshot); drive 0 (" + right +
                              ") was checked by its pool, superblock and volume only\n");
}

// The snapshot's own disk, behind a rescue map that hides a place the check reads: the rest is
// compared and the place is named.
TEST_F(CliSnapshotDisk, APlaceTheRescueMapHidesIsNamedNotHeldAgainstTheDisk) {
    const test::NssImage built = Disk("ALPHA", "DATA");
    const auto& pool = built.pools().at(0);
    const struct {
        uint64_t sector;
        std::string place;
    } cases[] = {
        {pool.superblockSector, "the superblock"},
        {pool.treeRootSector, "the object tree, which lists the volumes"},
        {pool.segments.at(0).headerSector + 29, "the pool information"},
        {pool.volumes.at(0).rootSector, "a block of the volume's tree"},
    };
    for (const auto& c : cases) {
        const std::string map = MapHidingSector(folder.file("hide.map"), right, c.sector);
        const auto listed = test::RunCli({"--no-drives", "--image", right, "--mapfile", map, "list", "--snapshot", snapshot});
        EXPECT_EQ(listed.exitCode, 0) << c.place << ": " << listed.err;
        EXPECT_NE(listed.err.find("warning: snapshot " + snapshot + " could not be checked against drive 0 (" + right +
                                  ") where the disk cannot be read: " + c.place + " (sector " +
                                  std::to_string(c.sector) + ")\n"),
                  std::string::npos)
            << listed.err;
    }
}

}  // namespace
}  // namespace lumbra
