// The pools and volumes commands on built images: JSON shapes, scans, empty results and
// refused arguments.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_runner.h"
#include "support/nss_image_builder.h"
#include "support/numbered_name.h"
#include "support/scratch_folder.h"

namespace lumbra::test {
namespace {

// One pool of two volumes at 2048, with the partition table entry, plus a pool named with a
// Latin-1 letter that only a scan finds (no entry of its own, a chain of its own).
std::string WriteDisk(const ScratchFolder& folder) {
    PoolPlan data{.name = "DATA", .segments = {{.headerSector = 2048}}};
    data.volumes = {VolumePlan{.name = "SYS"}, VolumePlan{.name = "USERS"}};
    SegmentPlan hidden{.headerSector = 300000};
    hidden.header.chain = 1;
    const std::string path = folder.file("disk.img");
    NssImageBuilder()
        .pool(data)
        .pool("CAF\u00c9", hidden)
        .partitionTableEntry(2048)
        .build()
        .writeTo(path);
    return path;
}

TEST(CliPools, ListsThePartitionTablePoolsAsJson) {
    ScratchFolder folder("cli_pools");
    const std::string disk = WriteDisk(folder);
    const auto run = RunCli({"--no-drives", "pools", "--drive", disk, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"pools\":[{\"row\":0,\"name\":\"DATA\",\"poolSize\":", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"segmentCount\":1,\"segments\":[{\"start\":2080,\"extent\":"), std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("CAF"), std::string::npos);
    EXPECT_TRUE(run.err.empty()) << "no progress line when stderr is not a terminal";
}

// A segment's extent is its length in sectors, alone in its partition or one of several.
TEST(CliPools, EachSegmentsExtentIsItsLength) {
    const struct {
        std::vector<SegmentPlan> segments;
        std::string json;
    } cases[] = {
        {{{.headerSector = 2048, .extent = 4096}},
         "\"poolSize\":4096,\"poolSizeFrom\":\"pool information\",\"segmentCount\":1,\"segments\":[{\"start\":2080,\"extent\":4096}]"},
        {{{.headerSector = 2048, .extent = 1004}, {.headerSector = 8192, .extent = 3092}},
         "\"poolSize\":4096,\"poolSizeFrom\":\"pool information\",\"segmentCount\":2,\"segments\":[{\"start\":2080,\"extent\":1004},"
         "{\"start\":8224,\"extent\":3092}]"},
    };
    for (const auto& c : cases) {
        ScratchFolder folder("cli_extent");
        const std::string disk = folder.file("disk.img");
        NssImageBuilder()
            .pool({.name = "P", .segments = c.segments, .volumes = {VolumePlan{.name = "V"}}})
            .partitionTableEntry(2048)
            .build()
            .writeTo(disk);
        const auto run = RunCli({"--no-drives", "pools", "--drive", disk, "--json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find(c.json), std::string::npos) << run.out;
    }
}

// A pool alone in its partition whose pool information cannot be read (header + 29) is not
// lost: its size is taken from its partition table entry, or, found by a scan, from the disk's
// end; one warning says so, the volumes are listed with that note and the files are found.
TEST(CliPools, APoolWhoseSizeCannotBeReadFillsItsPartitionOrTheDisk) {
    VolumePlan volume{.name = "V"};
    volume.addFile("Kept.txt", 0, 5000);
    ScratchFolder folder("cli_pool_size");
    const std::string disk = folder.file("disk.img");
    NssImageBuilder()
        .pool({.name = "P", .segments = {{.headerSector = 2048, .extent = 4096}}, .volumes = {volume}})
        .partitionTableEntry(2048, 32 + 4096)
        .diskSectors(8192)
        .build()
        .writeTo(disk);
    const auto map = [&](const std::string& name, uint64_t lost) {
        const std::string path = folder.file(name);
        std::ofstream(path) << "0 +\n0 " << lost * 512 << " +\n" << lost * 512 << " 512 -\n" << (lost + 1) * 512
                            << " " << (8192 - lost - 1) * 512 << " +\n";
        return path;
    };
    const struct {
        uint64_t lost;  // the sector the map hides
        std::vector<std::string> scan;
        std::string from;
        uint64_t poolSize;
    } cases[] = {
        {2048 + 29, {}, "partition table entry", 4096},
        {2048 + 29, {"--scan", "0", "8192"}, "disk end", 8192 - 2080},
        {2048 + 30, {}, "pool information", 4096},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> image = {"--no-drives", "--image", disk, "--mapfile", map("m" + std::to_string(c.lost), c.lost)};
        const auto command = [&](std::vector<std::string> words) {
            words.insert(words.begin(), image.begin(), image.end());
            words.insert(words.end(), {"--drive", "0"});
            words.insert(words.end(), c.scan.begin(), c.scan.end());
            return RunCli(words);
        };
        auto run = command({"pools", "--json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find("\"poolSize\":" + std::to_string(c.poolSize) + ",\"poolSizeFrom\":\"" + c.from + "\""),
                  std::string::npos) << c.from << ": " << run.out;
        size_t warnings = 0;
        for (size_t at = run.err.find("gives no usable size"); at != std::string::npos; at = run.err.find("gives no usable size", at + 1))
            ++warnings;
        EXPECT_EQ(warnings, c.from == "pool information" ? 0u : 1u) << c.from << ": " << run.err;
        run = command({"volumes", "--pool", "0"});
        ASSERT_EQ(run.exitCode, 0) << c.from << ": " << run.err;
        EXPECT_NE(run.out.find("V "), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("Note: the pool's size could not be read") != std::string::npos,
                  c.from != "pool information") << c.from << ": " << run.out;
        run = command({"list", "--pool", "0", "--volume", "0"});
        EXPECT_EQ(run.exitCode, 0) << c.from << ": " << run.err;
        EXPECT_NE(run.out.find("Kept.txt"), std::string::npos) << c.from << ": " << run.out;
    }
}

TEST(CliPools, ScanFindsEveryPoolAndWritesNamesAsUtf8) {
    ScratchFolder folder("cli_scan");
    const std::string disk = WriteDisk(folder);
    const auto run = RunCli({"--no-drives", "--sectors-per-read", "7", "pools", "--drive", disk, "--scan", "0",
                             "400000", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("{\"row\":0,\"name\":\"DATA\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"row\":1,\"name\":\"CAF\u00c9\""), std::string::npos) << run.out;
    // No progress line; the disk ends before sector 400000, and that line says so.
    const uint64_t diskSectors = std::filesystem::file_size(disk) / 512;
    EXPECT_EQ(run.err, "lumbra-nss-cli: scanned to the disk end (sector " + std::to_string(diskSectors) + ")\n");
}

// The scan ends once more than 48 pools are known: that is its limit, not a Ctrl-C, so the
// pools are listed and a mount over the scan goes on.
TEST(CliPools, PoolLimitEndsTheScanWithoutPassingForCtrlC) {
    ScratchFolder folder("cli_limit");
    PoolPlan data{.name = "DATA", .segments = {{.headerSector = 2048}}};
    VolumePlan volume{.name = "SYS"};
    volume.addFile("kept.txt", volume.addFolder("DOCS"), 100);
    data.volumes = {volume};
    NssImageBuilder builder;
    builder.pool(data).partitionTableEntry(2048);
    for (int i = 0; i < 50; ++i) {
        SegmentPlan segment{.headerSector = static_cast<uint32_t>(100000 + i * 4096)};
        segment.header.chain = i + 1;
        builder.pool(NumberedName("P", i), segment);
    }
    const std::string disk = folder.file("disk.img");
    builder.build().writeTo(disk);
    const std::string end = std::to_string(100000 + 50 * 4096);

    const auto pools = RunCli({"--no-drives", "pools", "--drive", disk, "--scan", "0", end});
    ASSERT_EQ(pools.exitCode, 0) << pools.err;
    EXPECT_NE(pools.out.find("\n48   P47 "), std::string::npos) << pools.out;
    EXPECT_NE(pools.err.find("more than 48 pools"), std::string::npos) << pools.err;
    EXPECT_EQ(pools.err.find("Ctrl-C"), std::string::npos) << pools.err;

    const auto list = RunCli({"--no-drives", "list", "--drive", disk, "--scan", "0", end, "--pool", "0", "--volume",
                              "0", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("\"name\":\"kept.txt\""), std::string::npos) << list.out;
}

TEST(CliPools, EmptyResultSaysWhatToTryNext) {
    ScratchFolder folder("cli_empty");
    const std::string disk = WriteDisk(folder);
    const auto table = RunCli({"--no-drives", "pools", "--drive", folder.numberedImage("blank.img", 64)});
    EXPECT_EQ(table.exitCode, 0);
    EXPECT_NE(table.out.find("--scan"), std::string::npos) << table.out;
    const auto scan = RunCli({"--no-drives", "pools", "--drive", disk, "--scan", "5000", "6000"});
    EXPECT_EQ(scan.exitCode, 0);
    EXPECT_NE(scan.out.find("No NSS pool found in the scanned range"), std::string::npos) << scan.out;
}

// A range past the end of a 64 MiB image ends at the disk end at once (scanning the empty
// sectors up to 4294967295 took more than a minute) and says so; a range ending at the last
// sector is whole and says nothing.
TEST(CliPools, ScanPastTheDiskEndStopsThereAndSaysSo) {
    ScratchFolder folder("cli_scan_end");
    const std::string disk = folder.file("disk.img");
    NssImageBuilder().pool("DATA", {.headerSector = 2048}).diskSectors(131072).build().writeTo(disk);
    const auto all = RunCli({"--no-drives", "--image", disk, "pools", "--drive", "0", "--scan", "0", "4294967295"});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_NE(all.out.find("DATA"), std::string::npos) << all.out;
    EXPECT_EQ(all.err, "lumbra-nss-cli: scanned to the disk end (sector 131072)\n");

    const auto oneMore = RunCli({"--no-drives", "pools", "--drive", disk, "--scan", "100000", "131073"});
    EXPECT_EQ(oneMore.exitCode, 0);
    EXPECT_EQ(oneMore.err, "lumbra-nss-cli: scanned to the disk end (sector 131072)\n");
    const auto toTheEnd = RunCli({"--no-drives", "pools", "--drive", disk, "--scan", "100000", "131072"});
    EXPECT_EQ(toTheEnd.exitCode, 0);
    EXPECT_EQ(toTheEnd.err, "");

    const auto past = RunCli({"--no-drives", "pools", "--drive", disk, "--scan", "131072", "140000"});
    EXPECT_EQ(past.exitCode, 0);
    EXPECT_EQ(past.err, "lumbra-nss-cli: --scan START (131072) lies past the disk end (sector 131072); nothing was scanned\n");
    EXPECT_NE(past.out.find("No NSS pool found in the scanned range"), std::string::npos) << past.out;
}

struct BadArguments {
    std::vector<std::string> arguments;
    std::string message;
};

class CliDiscoveryRefuses : public ::testing::TestWithParam<BadArguments> {};

TEST_P(CliDiscoveryRefuses, WithExitTwoAndAClearMessage) {
    ScratchFolder folder("cli_refuse");
    std::vector<std::string> arguments{"--no-drives", "--drive", WriteDisk(folder)};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const auto run = RunCli(arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliDiscoveryRefuses,
    ::testing::Values(BadArguments{{"pools", "--scan", "0", "0"}, "must be greater than START"},
                      BadArguments{{"pools", "--scan", "-5", "10"}, "START must be a sector number"},
                      BadArguments{{"pools", "--scan", "0", "4294967296"}, "END must be a sector number"},
                      BadArguments{{"pools", "--sectors-per-read", "101"}, "1 to 100"},
                      BadArguments{{"pools", "--retries", "0"}, "1 to 10"},
                      BadArguments{{"volumes"}, "--pool ROW is required"},
                      BadArguments{{"volumes", "--pool", "3"}, "there is no pool row 3"}));

TEST(CliVolumes, ListsTheVolumesOfAPoolAsJson) {
    ScratchFolder folder("cli_volumes");
    const std::string disk = WriteDisk(folder);
    const auto run = RunCli({"--no-drives", "volumes", "--drive", disk, "--pool", "0", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"superblockSector\":2088,\"rootSector\":", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\"volumes\":[{\"row\":0,\"name\":\"SYS\",\"rootSector\":"), std::string::npos);
    EXPECT_NE(run.out.find("{\"row\":1,\"name\":\"USERS\",\"rootSector\":"), std::string::npos);
}

TEST(CliVolumes, PoolRowsFollowTheScanAndPoolBasedGivesThePool) {
    ScratchFolder folder("cli_pool_based");
    const std::string disk = WriteDisk(folder);
    const auto none = RunCli({"--no-drives", "volumes", "--drive", disk, "--scan", "0", "400000", "--pool", "1"});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_NE(none.out.find("No volumes found in pool CAF\u00c9. Add --pool-based"), std::string::npos) << none.out;
    const auto pool = RunCli({"--no-drives", "volumes", "--drive", disk, "--scan", "0", "400000", "--pool", "1",
                              "--pool-based", "--json"});
    EXPECT_EQ(pool.exitCode, 0);
    EXPECT_NE(pool.out.find("\"volumes\":[{\"row\":0,\"name\":\"CAF\u00c9\""), std::string::npos) << pool.out;
}

}  // namespace
}  // namespace lumbra::test
