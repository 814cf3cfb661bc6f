// What the recovery commands print when names carry control bytes, when memory runs out, and
// when what they print cannot be written.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <streambuf>

#include "cli_recovery_fixture.h"
#include "support/failing_allocator.h"

namespace lumbra::test {
namespace {

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

std::vector<std::string> With(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), kMount.begin(), kMount.end());
    return arguments;
}

CliImage ControlNameImage() {
    VolumePlan volume{.name = "DATA"};
    const uint64_t folder = volume.addFolder("Dir\x1b[2J");
    volume.addFile("Tab\tbed\x01\u009b.txt", folder, 10);
    return CliImage(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_control");
}

TEST(CliOutput, TextEscapesTheControlBytesOfNamesAndJsonKeepsItsOwnEscapes) {
    const CliImage disk = ControlNameImage();
    const auto list = disk.run(With({"list"}));
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("  Dir\\x1b[2J\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  \\Dir\\x1b[2J\\Tab\\x09bed\\x01\\x9b.txt\n"), std::string::npos) << list.out;

    const auto find = disk.run(With({"find", "bed"}));
    ASSERT_EQ(find.exitCode, 0) << find.err;
    EXPECT_EQ(find.out, "\\Dir\\x1b[2J\tTab\\x09bed\\x01\\x9b.txt\t10\n");

    const auto json = disk.run(With({"list", "--json"}));
    EXPECT_NE(json.out.find("\"name\":\"Tab\\tbed\\u0001\u009b.txt\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"name\":\"Dir\\u001b[2J\""), std::string::npos) << json.out;
}

TEST(CliOutput, MemoryRunningOutPrintsTheMessageAndExitsOne) {
    VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 3000; ++i) volume.addFile("A file with a long name " + std::to_string(i), 0, 10);
    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_memory");
    const std::vector<std::string> arguments = With({"find", "nothing matches this"});
    const uint64_t before = AllocationCount();
    ASSERT_EQ(disk.run(arguments).exitCode, 0);
    // Half way through the run's allocations the mount is filling the tree.
    FailAllocationAfter((AllocationCount() - before) / 2);
    const auto run = disk.run(arguments);
    StopFailingAllocations();
    ASSERT_TRUE(AllocationFailed());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "lumbra-nss-cli: Out of memory, close other applications and run again\n");
    EXPECT_EQ(run.out, "");
}

// Standard output on a full disk: every write fails.
class FullStreamBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(CliOutput, OutputThatCannotBeWrittenIsAnErrorNotASuccess) {
    const CliImage disk = ControlNameImage();
    FullStreamBuffer full;
    std::ostream out(&full);
    std::ostringstream err;
    std::vector<std::string> arguments = With({"list"});
    arguments.insert(arguments.begin(), {"--no-drives", "--image", disk.path});
    EXPECT_EQ(cli::RunProgram(arguments, out, err), 1);
    EXPECT_NE(err.str().find("lumbra-nss-cli: the output could not be written"), std::string::npos) << err.str();
}

// The program itself with its standard output on /dev/full, a device every write fails on.
TEST(CliOutput, TheProgramWritingToAFullDeviceExitsOne) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string program = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli";
    const int status = std::system((program + " --version > /dev/full 2> /dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --version > /dev/null").c_str())), 0);
}

// A listing much longer than a pipe holds, so that its reader goes before the end.
CliImage LongListImage() {
    VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 3000; ++i) volume.addFile("A file with a long name " + std::to_string(i), 0, 10);
    return CliImage(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_long_list");
}

std::string Program() { return std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli"; }

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CliOutput, JsonToAFullDeviceSaysSoAndExitsOne) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const CliImage disk = LongListImage();
    const std::string err = disk.scratch("err.txt");
    const int status = std::system((Program() + " --no-drives --image " + disk.path +
                                    " list --json --drive 0 --pool 0 --volume 0 > /dev/full 2> " + err).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(Slurp(err), "lumbra-nss-cli: the output could not be written\n");
}

// `| head` closes the pipe early: the program ends without a word, also when its caller left
// the pipe signal ignored.
TEST(CliOutput, AReaderThatGoesEarlyEndsTheProgramQuietly) {
    const CliImage disk = LongListImage();
    const std::string err = disk.scratch("err.txt");
    for (const char* signalSetting : {"", "trap '' PIPE; "}) {
        const std::string command = std::string(signalSetting) + Program() + " --no-drives --image " + disk.path +
                                    " list --drive 0 --pool 0 --volume 0 2> " + err + " | head -c 10 > /dev/null";
        EXPECT_EQ(std::system(("sh -c \"" + command + "\"").c_str()), 0);
        EXPECT_EQ(Slurp(err), "") << signalSetting;
    }
}

}  // namespace
}  // namespace lumbra::test
