// Where an output may not go besides the inputs' own names: onto the image behind a loop device
// the run reads, onto a file system of the disk being read (a loop device over the image,
// mounted; also a mount point inside --out), and standard output opened onto an input. Each is
// refused with exit 2 before a byte is written there.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>

#include "cli_recovery_fixture.h"
#include "disk/source_disk.h"
#include "recovery/run_inputs.h"
#include "support/loop_device.h"
#include "support/loop_mount.h"
#include "support/sha256.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::CliImage;
using test::VolumePlan;

test::NssImage ImageWithAFolder() {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("disk.img", 0, 9000);
    volume.addFile("note.txt", volume.addFolder("DOCS"), 700);
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

std::string DigestOf(const std::string& path) { return test::Sha256::hex(test::ReadWholeFile(path)); }

struct Refusal {
    std::string name;
    std::vector<std::string> arguments;  // after the global options
    std::string target;
};

class CliOutputPlaces : public ::testing::Test {
protected:
    void SetUp() override { before = DigestOf(disk.path); }

    // Space after the pools for a file system of the image's own.
    uint64_t AddSpace() {
        const uint64_t poolBytes = fs::file_size(disk.path);
        fs::resize_file(disk.path, poolBytes + kSpace);
        return poolBytes;
    }

    // Refused with exit 2, the message naming the target and what it would land on.
    static void ExpectRefused(const std::vector<std::string>& globals, const Refusal& refusal, const std::string& input) {
        const test::CliRun run = test::RunCli(With(globals, refusal.arguments));
        EXPECT_EQ(run.exitCode, 2) << refusal.name << ": " << run.err;
        EXPECT_NE(run.err.find(ReplacesInputText(refusal.target, input)), std::string::npos)
            << refusal.name << ": " << run.err;
    }

    // Nothing but what mke2fs made is on the mounted file system (whose own superblock the kernel
    // writes, so the image's digest is no test there).
    static void ExpectUntouched(const std::string& mountPoint) {
        for (const auto& entry : fs::directory_iterator(mountPoint))
            EXPECT_EQ(entry.path().filename(), "lost+found") << "written on the source: " << entry.path();
    }

    static constexpr uint64_t kSpace = 8 << 20;
    CliImage disk{ImageWithAFolder(), "cli_output_places"};
    std::string before;
};

TEST_F(CliOutputPlaces, TheImageBehindALoopDeviceIsAnInputOfTheRun) {
    const test::LoopDevice loop(disk.path);
    if (!loop.attached()) GTEST_SKIP() << loop.why();
    const std::string link = disk.scratch("IMAGE.QVDX");
    fs::create_symlink(disk.path, link);
    const std::vector<Refusal> refusals = {
        {"map --svg", {"map", "--drive", "0", "--svg", disk.path}, disk.path},
        {"snapshot-save", With({"snapshot-save", link}, kMount), link},
        {"extract --duplicates overwrite",
         With({"extract", "--out", disk.folder.path().string(), "--duplicates", "overwrite"}, kMount), disk.path},
    };
    // The image by the path the kernel gives, which in a container may differ from the test's.
    const std::string shown = test::ShellOutput("cat /sys/block/" + fs::path(loop.device()).filename().string() +
                                                "/loop/backing_file");
    for (const Refusal& refusal : refusals)
        ExpectRefused({"--no-drives", "--image", loop.device()}, refusal, shown + ", the image behind " + loop.device());
    EXPECT_EQ(DigestOf(disk.path), before);
}

// The file system lies in space after the pools and is mounted where the volume's folder DOCS
// goes in one destination; every output there is refused, and the one beside it is written.
TEST_F(CliOutputPlaces, EveryOutputOnAFileSystemOfTheDiskReadIsRefused) {
    const uint64_t poolBytes = AddSpace();
    const std::string out = disk.scratch("out");
    const std::string mountPoint = out + "/DOCS";
    fs::create_directories(mountPoint);
    const test::LoopMount mount(disk.path, poolBytes, kSpace, mountPoint);
    if (!mount.mounted()) GTEST_SKIP() << mount.why();
    const std::vector<Refusal> refusals = {
        {"--report", With({"extract", "--out", disk.scratch("a"), "--report", mountPoint + "/r.xml"}, kMount),
         mountPoint + "/r.xml"},
        {"snapshot-save", With({"snapshot-save", mountPoint + "/S.QVDX"}, kMount), mountPoint + "/S.QVDX"},
        {"map --svg", {"map", "--drive", "0", "--svg", mountPoint + "/m.svg"}, mountPoint + "/m.svg"},
        {"a mount point below --out", With({"extract", "--out", out, "--no-report"}, kMount),
         mountPoint + "/note.txt"},
    };
    for (const Refusal& refusal : refusals)
        ExpectRefused({"--no-drives", "--image", disk.path}, refusal, "on a file system of " + disk.path);
    ExpectUntouched(mountPoint);
    const test::CliRun beside = disk.run({"map", "--drive", "0", "--svg", disk.scratch("m.svg")});
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
}

// The run reads the pools through one loop device; a file system in the same image, on another
// loop device, is on the disk read all the same.
TEST_F(CliOutputPlaces, TwoLoopDevicesOverOneImageAreOneDisk) {
    const uint64_t poolBytes = AddSpace();
    const std::string mountPoint = disk.scratch("mnt");
    fs::create_directories(mountPoint);
    const test::LoopMount mount(disk.path, poolBytes, kSpace, mountPoint);
    if (!mount.mounted()) GTEST_SKIP() << mount.why();
    const test::LoopDevice pools(disk.path, true, 0, poolBytes);
    if (!pools.attached()) GTEST_SKIP() << pools.why();
    const std::vector<std::string> globals = {"--no-drives", "--image", pools.device()};
    const test::CliRun run = test::RunCli(With(globals, With({"extract", "--out", mountPoint + "/r"}, kMount)));
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find(kDestinationOnSourceText), std::string::npos) << run.err;
    ExpectRefused(globals, {"snapshot-save", With({"snapshot-save", mountPoint + "/S.QVDX"}, kMount), mountPoint + "/S.QVDX"},
                  "on a file system of " + pools.device());
    ExpectUntouched(mountPoint);
}

// The program itself, its standard output opened onto the image by the shell.
TEST_F(CliOutputPlaces, StandardOutputOntoAnInputIsRefusedBeforeAnyByte) {
    const std::string program = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli --no-drives --image '" + disk.path + "' ";
    const std::string mount = " --drive 0 --pool 0 --volume 0";
    const std::string err = disk.scratch("err.txt");
    struct Case {
        std::string arguments;
        std::string redirection;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {"list --json" + mount, "1<>'" + disk.path + "'", 2},
        {"extract --out - --path /disk.img" + mount, ">>'" + disk.path + "'", 2},
        {"pools --drive 0", ">>'" + disk.path + "'", 2},
        {"list --json" + mount, ">'" + disk.scratch("listing.json") + "'", 0},
        {"list --json" + mount, ">/dev/null", 0},
    };
    for (const Case& one : cases) {
        const int status = std::system((program + one.arguments + " 2>'" + err + "' " + one.redirection).c_str());
        ASSERT_TRUE(WIFEXITED(status)) << one.arguments;
        EXPECT_EQ(WEXITSTATUS(status), one.exitCode) << one.arguments << " " << one.redirection;
        if (one.exitCode == 2) {
            const std::vector<uint8_t> said = test::ReadWholeFile(err);
            EXPECT_NE(std::string(said.begin(), said.end()).find("refusing to write standard output: it is " + disk.path),
                      std::string::npos)
                << one.arguments;
        }
        EXPECT_EQ(DigestOf(disk.path), before) << one.arguments << " " << one.redirection;
    }
    EXPECT_NE(fs::file_size(disk.scratch("listing.json")), 0u);
}

}  // namespace
}  // namespace lumbra
