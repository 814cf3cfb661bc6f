// Every limit of the command line on both sides: the last value accepted and the first refused.
// An accepted value that then names nothing (pool row 49 of a disk with one pool) is told
// apart from a refused one by its message.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

// The destination folder of extract, put in by the test.
const std::string kOut = "{out}";

struct LimitCase {
    std::string label;                   // the option and the value tried
    std::vector<std::string> arguments;  // after the disk image given as drive row 0
    int exitCode;
    std::string message;  // a part of stderr; empty: stderr stays empty
};

void PrintTo(const LimitCase& limit, std::ostream* out) { *out << limit.label; }

const CliImage& Disk() {
    static const CliImage disk(
        NssImageBuilder().pool({.name = "POOL", .volumes = {VolumePlan{.name = "DATA"}}}).build(), "cli_limits");
    return disk;
}

std::vector<std::string> Filters(size_t count, size_t length) {
    std::vector<std::string> arguments{"extract", "--out", kOut, "--no-report",
                                       "--drive", "0", "--pool", "0", "--volume", "0"};
    for (size_t i = 0; i < count; ++i) {
        std::string pattern(length, 'x');
        pattern.replace(0, std::to_string(i).size(), std::to_string(i));
        arguments.insert(arguments.end(), {"--filter", pattern});
    }
    return arguments;
}

// A global option before the pools command.
std::vector<std::string> Pools(const std::string& option, const std::string& value) {
    return {option, value, "pools", "--drive", "0"};
}

std::vector<std::string> List(const std::string& pool, const std::string& volume) {
    return {"list", "--drive", "0", "--pool", pool, "--volume", volume};
}

std::vector<std::string> Read(const std::string& sector, const std::string& count) {
    return {"read", "--drive", "0", "--sector", sector, "--count", count};
}

// The highest sector --sector takes: a read of the most sectors from it stays inside 64 bits.
const std::string kLastSector = std::to_string(UINT64_MAX / 512 - 2048);
const std::string kFirstSectorPast = std::to_string(UINT64_MAX / 512 - 2047);

class CliLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(CliLimits, TheLastValueIsAcceptedAndTheFirstPastItRefused) {
    std::vector<std::string> arguments = GetParam().arguments;
    std::replace(arguments.begin(), arguments.end(), kOut, Disk().scratch("out"));
    const CliRun run = Disk().run(arguments);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    if (GetParam().message.empty()) EXPECT_EQ(run.err, "");
    else EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    GlobalOptions, CliLimits,
    ::testing::Values(LimitCase{"sectors-per-read 1", Pools("--sectors-per-read", "1"), 0, ""},
                      LimitCase{"sectors-per-read 0", Pools("--sectors-per-read", "0"), 2, "from 1 to 100, not 0"},
                      LimitCase{"sectors-per-read 100", Pools("--sectors-per-read", "100"), 0, ""},
                      LimitCase{"sectors-per-read 101", Pools("--sectors-per-read", "101"), 2, "from 1 to 100, not 101"},
                      LimitCase{"retries 1", Pools("--retries", "1"), 0, ""},
                      LimitCase{"retries 0", Pools("--retries", "0"), 2, "from 1 to 10, not 0"},
                      LimitCase{"retries 10", Pools("--retries", "10"), 0, ""},
                      LimitCase{"retries 11", Pools("--retries", "11"), 2, "from 1 to 10, not 11"}));

INSTANTIATE_TEST_SUITE_P(
    Rows, CliLimits,
    ::testing::Values(
        LimitCase{"volumes pool 49", {"volumes", "--drive", "0", "--pool", "49"}, 2, "there is no pool row 49"},
        LimitCase{"volumes pool 50", {"volumes", "--drive", "0", "--pool", "50"}, 2, "takes a pool row from 0 to 49, not 50"},
        LimitCase{"list pool 49", List("49", "0"), 2, "there is no pool row 49"},
        LimitCase{"list pool 50", List("50", "0"), 2, "--pool takes a row from 0 to 49, not 50"},
        LimitCase{"volume 48", List("0", "48"), 2, "there is no volume row 48"},
        LimitCase{"volume 49", List("0", "49"), 2, "--volume takes a row from 0 to 48, not 49"},
        LimitCase{"count 1", Read("0", "1"), 0, ""},
        LimitCase{"count 0", Read("0", "0"), 2, "--count takes a number from 1 to 2048"},
        LimitCase{"count 2048", Read("0", "2048"), 0, ""},
        LimitCase{"count 2049", Read("0", "2049"), 2, "--count takes a number from 1 to 2048"},
        LimitCase{"last sector", Read(kLastSector, "1"), 1, "1 of 1 sector(s) could not be read"},
        LimitCase{"sector past the last", Read(kFirstSectorPast, "1"), 2, "--sector takes a sector number"}));

INSTANTIATE_TEST_SUITE_P(
    Filters, CliLimits,
    ::testing::Values(LimitCase{"filter of 19", Filters(1, 19), 0, ""},
                      LimitCase{"filter of 20", Filters(1, 20), 0, ""},
                      LimitCase{"filter of 300", Filters(1, 300), 0, ""},
                      LimitCase{"99 filters", Filters(99, 5), 0, ""},
                      LimitCase{"100 filters", Filters(100, 5), 2, "at most 99 filters"}));

// The drive table holds 32 rows: images past them get none, and a drive named by a path that
// would need a 33rd row is refused.
TEST(CliDriveLimits, ThirtyTwoDriveRowsAndNotOneMore) {
    ScratchFolder folder("cli_drive_rows");
    std::vector<std::string> images;
    for (int i = 0; i < 33; ++i) images.push_back(folder.numberedImage("disk" + std::to_string(i) + ".img", 4));
    auto withImages = [&](size_t count, std::vector<std::string> arguments) {
        std::vector<std::string> all{"--no-drives"};
        for (size_t i = 0; i < count; ++i) all.insert(all.end(), {"--image", images[i]});
        all.insert(all.end(), arguments.begin(), arguments.end());
        return RunCli(all);
    };
    EXPECT_EQ(withImages(32, {"read", "--drive", "31", "--sector", "0"}).exitCode, 0);
    const CliRun past = withImages(33, {"read", "--drive", "32", "--sector", "0"});
    EXPECT_EQ(past.exitCode, 2);
    EXPECT_NE(past.err.find("there is no drive row 32 (32 rows"), std::string::npos) << past.err;

    EXPECT_EQ(withImages(31, {"read", "--drive", images[32], "--sector", "0"}).exitCode, 0);
    const CliRun full = withImages(32, {"read", "--drive", images[32], "--sector", "0"});
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.err.find("the drive table is full (32 rows)"), std::string::npos) << full.err;
}

}  // namespace
}  // namespace lumbra::test
