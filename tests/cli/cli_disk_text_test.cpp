// Text read from a disk, a snapshot or a mapfile reaches the terminal with its control
// characters written as \xNN, in every command that prints it.
#include <gtest/gtest.h>

#include <fstream>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

// An operating system command that would set the terminal's title.
const std::string kTitle = "\x1b]0;T\x07";
const std::string kTitleShown = "\\x1b]0;T\\x07";

CliImage TitleNamedDisk() {
    VolumePlan volume{.name = "V" + kTitle};
    volume.addFile("Report.doc", 0, 100);
    return CliImage(NssImageBuilder()
                        .pool({.name = "P" + kTitle, .volumes = {volume}})
                        .pool({.name = "E" + kTitle, .volumes = {}})
                        .build(),
                    "cli_disk_text");
}

TEST(CliDiskText, NamesFromTheDiskAndTheSnapshotAreEscapedInEveryCommand) {
    const CliImage disk = TitleNamedDisk();
    ASSERT_EQ(disk.run({"snapshot-save", disk.scratch("t.qvdx"), "--drive", "0", "--pool", "0", "--volume", "0"}).exitCode, 0);
    struct Case {
        std::vector<std::string> arguments;
        std::string shown;
    };
    const Case cases[] = {
        {{"pools", "--drive", "0"}, "P" + kTitleShown},
        {{"volumes", "--drive", "0", "--pool", "0"}, "V" + kTitleShown},
        {{"volumes", "--drive", "0", "--pool", "1"}, "No volumes found in pool E" + kTitleShown + "."},
        {{"snapshot-show", disk.scratch("t.qvdx")}, "pool P" + kTitleShown},
        {{"snapshot-show", disk.scratch("t.qvdx")}, "volume 0: V" + kTitleShown},
    };
    for (const Case& c : cases) {
        const CliRun run = disk.run(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.arguments[0] << ": " << run.err;
        EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    }
}

TEST(CliDiskText, ErrorsQuotingASnapshotOrAMapfileAreEscaped) {
    const CliImage disk = TitleNamedDisk();
    std::ofstream(disk.scratch("tag.qvdx"), std::ios::binary) << "q\x1b]0;\x07\xC3\xBC";
    std::ofstream(disk.scratch("map")) << "0 + 1\n0 " << kTitle << " +\n";
    const CliRun snapshot = disk.run({"snapshot-show", disk.scratch("tag.qvdx")});
    EXPECT_EQ(snapshot.exitCode, 2);
    EXPECT_NE(snapshot.err.find("q\\x1b]0;\\x07"), std::string::npos) << snapshot.err;
    const CliRun map = test::RunCli({"--no-drives", "--image", disk.path, "--mapfile", disk.scratch("map"), "pools", "--drive", "0"});
    EXPECT_EQ(map.exitCode, 2);
    EXPECT_NE(map.err.find("bad size " + kTitleShown), std::string::npos) << map.err;
    for (const CliRun* run : {&snapshot, &map}) EXPECT_EQ(run->err.find('\x1b'), std::string::npos) << run->err;
}

}  // namespace
}  // namespace lumbra::test
