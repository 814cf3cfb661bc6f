// Every way of aiming an output of the program at one of its inputs is refused with exit 2,
// the message names both paths, and the input keeps every byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli_recovery_fixture.h"
#include "disk/source_disk.h"
#include "support/loop_mount.h"
#include "support/sha256.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CliImage;
using test::VolumePlan;

// The volume holds a file named like the image, so that a recovery into the image's own folder
// meets the image.
test::NssImage ImageWithItsOwnName() {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("disk.img", 0, 9000);
    volume.addFile("other.txt", 0, 500);
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

std::string DigestOf(const std::string& path) { return test::Sha256::hex(test::ReadWholeFile(path)); }

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

class CliOutputGuard : public ::testing::Test {
protected:
    void SetUp() override { before = DigestOf(disk.path); }

    // The run was refused before writing, named both paths, and the image is whole.
    void ExpectRefused(const test::CliRun& run, const std::string& target, const std::string& input) {
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find("refusing to write " + target + ": it is " + input + ", which this run reads"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(DigestOf(disk.path), before);
    }

    CliImage disk{ImageWithItsOwnName(), "cli_output_guard"};
    std::string before;
};

TEST_F(CliOutputGuard, AReportAimedAtTheImageIsRefusedBeforeAnythingIsWritten) {
    const std::string out = disk.scratch("out");
    ExpectRefused(disk.run(With({"extract", "--out", out, "--report", disk.path}, kMount)), disk.path, disk.path);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliOutputGuard, AReportAimedAtTheRescueMapIsRefused) {
    const std::string map = disk.scratch("disk.map");
    std::ofstream(map) << "0x00000000 +\n0x00000000 0x" << std::hex << fs::file_size(disk.path) << " +\n";
    const std::string mapBefore = DigestOf(map);
    const auto run = test::RunCli(With({"--no-drives", "--image", disk.path, "--mapfile", map, "extract", "--out",
                                        disk.scratch("out"), "--report", map},
                                       kMount));
    ExpectRefused(run, map, map);
    EXPECT_EQ(DigestOf(map), mapBefore);
}

TEST_F(CliOutputGuard, LinksToTheImageAreFoundAsTheImage) {
    const std::string symbolic = disk.scratch("link.xml");
    const std::string hard = disk.scratch("hard.xml");
    fs::create_symlink(disk.path, symbolic);
    fs::create_hard_link(disk.path, hard);
    ExpectRefused(disk.run(With({"extract", "--out", disk.scratch("a"), "--report", symbolic}, kMount)), symbolic,
                  disk.path);
    ExpectRefused(disk.run(With({"extract", "--out", disk.scratch("b"), "--report", hard}, kMount)), hard, disk.path);
}

TEST_F(CliOutputGuard, AnExistingReportPathIsRefusedAndTheDefaultNameStillCounts) {
    const std::string kept = disk.scratch("kept.xml");
    std::ofstream(kept) << "an earlier report";
    const auto run = disk.run(With({"extract", "--out", disk.scratch("out"), "--report", kept}, kMount));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(kept + " exists"), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadWholeFile(kept).size(), 17u);

    const std::string out = disk.scratch("out2");
    ASSERT_EQ(disk.run(With({"extract", "--out", out}, kMount)).exitCode, 0);
    ASSERT_EQ(disk.run(With({"extract", "--out", out}, kMount)).exitCode, 0);
    EXPECT_TRUE(fs::exists(out + "/lumbra-report-2.xml"));
}

// A report named like a file the run recovers is not written: the recovered file keeps its
// bytes and the run says why the report is missing.
TEST_F(CliOutputGuard, AReportNeverReplacesAFileThisRunRecovered) {
    ASSERT_EQ(disk.run(With({"extract", "--out", disk.scratch("clean"), "--no-report"}, kMount)).exitCode, 0);
    auto clean = test::FolderContents(disk.scratch("clean"));
    ASSERT_EQ(clean["other.txt"].size(), 500u);
    const std::string out = disk.scratch("out");
    const std::string taken = out + "/other.txt";
    const auto run = disk.run(With({"extract", "--out", out, "--report", taken}, kMount));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("the report could not be written: " + taken + ": File exists"), std::string::npos)
        << run.err;
    EXPECT_TRUE(test::ReadWholeFile(taken) == clean["other.txt"]);
}

TEST_F(CliOutputGuard, OverwritingARecoveredFileOntoTheImageIsRefused) {
    const std::string folder = disk.folder.path().string();
    ExpectRefused(disk.run(With({"extract", "--out", folder, "--duplicates", "overwrite"}, kMount)), disk.path,
                  disk.path);
}

TEST_F(CliOutputGuard, ASnapshotIsNeverSavedOverTheImageOrTheSnapshotItLoaded) {
    const std::string link = disk.scratch("IMAGE.QVDX");
    fs::create_symlink(disk.path, link);
    ExpectRefused(disk.run(With({"snapshot-save", link}, kMount)), link, disk.path);

    const std::string snapshot = disk.scratch("S.QVDX");
    ASSERT_EQ(disk.run(With({"snapshot-save", snapshot}, kMount)).exitCode, 0);
    const std::string saved = DigestOf(snapshot);
    const auto again = disk.run({"snapshot-save", snapshot, "--snapshot", snapshot});
    EXPECT_EQ(again.exitCode, 2) << again.err;
    EXPECT_NE(again.err.find("refusing to write " + snapshot + ": it is " + snapshot), std::string::npos) << again.err;
    EXPECT_EQ(DigestOf(snapshot), saved);
}

// A real file system on a loop device backed by the image (in space added after its pools): a
// destination there lies on the disk being recovered and is refused before anything is made;
// a destination beside the image, on the file system that holds it, is fine.
TEST_F(CliOutputGuard, ADestinationOnALoopFileSystemOfTheImageIsRefused) {
    const uint64_t poolBytes = fs::file_size(disk.path);
    const uint64_t extra = 8 << 20;
    fs::resize_file(disk.path, poolBytes + extra);
    const std::string mountPoint = disk.scratch("mnt");
    fs::create_directories(mountPoint);
    const test::LoopMount mount(disk.path, poolBytes, extra, mountPoint);
    if (!mount.mounted()) GTEST_SKIP() << mount.why();

    const std::string onSource = mountPoint + "/recovered";
    const test::CliRun refused = disk.run(With({"extract", "--out", onSource}, kMount));
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find(kDestinationOnSourceText), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(onSource));

    const std::string beside = disk.scratch("out");
    const test::CliRun allowed = disk.run(With({"extract", "--out", beside}, kMount));
    EXPECT_EQ(allowed.exitCode, 0) << allowed.err;
    EXPECT_TRUE(fs::exists(beside + "/lumbra-report.xml"));
}

}  // namespace
}  // namespace lumbra
