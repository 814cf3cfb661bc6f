// An image cut short: a pool that runs past its end is said before anything is read from it,
// and a partition header whose pool information is gone lists no pool at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(CliTruncatedImage, APoolPastTheImageEndIsSaidOnceWithBothEnds) {
    VolumePlan volume{.name = "DATA"};
    volume.addFile("Report.doc", 0, 100);
    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_truncated");
    const BuiltSegment& segment = disk.image.pool("POOL").segments.at(0);
    const uint64_t poolEnd = segment.dataStart + disk.image.pool("POOL").poolSize;
    struct Case {
        uint64_t imageSectors;
        bool warned;
        bool listed;
    };
    const Case cases[] = {
        {poolEnd + 1, false, true},
        {poolEnd, false, true},
        {poolEnd - 1, true, true},
        {segment.headerSector + 30, true, true},
        {segment.headerSector + 29, false, false},  // the pool information is the first sector missing
    };
    for (const Case& c : cases) {
        std::filesystem::resize_file(disk.path, c.imageSectors * 512);
        const std::string warning = "lumbra-nss-cli: warning: pool POOL ends at sector " + std::to_string(poolEnd) +
                                    ", past the end of the disk at sector " + std::to_string(c.imageSectors) +
                                    "; what lies beyond reads as zeros\n";
        const CliRun pools = disk.run({"pools", "--drive", "0"});
        EXPECT_EQ(pools.exitCode, 0) << pools.err;
        EXPECT_EQ(Occurrences(pools.out, "\n0    POOL "), c.listed ? 1u : 0u) << c.imageSectors << ": " << pools.out;
        EXPECT_EQ(Occurrences(pools.out, "\n0     "), 0u) << "a pool without a name: " << pools.out;
        EXPECT_EQ(Occurrences(pools.err, warning), c.warned ? 1u : 0u) << c.imageSectors << ": " << pools.err;
        if (!c.listed) continue;
        const CliRun list = disk.run({"list", "--drive", "0", "--pool", "0", "--volume", "0"});
        EXPECT_EQ(Occurrences(list.err, warning), c.warned ? 1u : 0u) << c.imageSectors << ": " << list.err;
        EXPECT_EQ(list.err.find(warning) == 0, c.warned) << "the warning comes first: " << list.err;
    }
}

}  // namespace
}  // namespace lumbra::test
