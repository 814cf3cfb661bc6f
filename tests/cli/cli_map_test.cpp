// map and which on a builder disk with a rescue map: the legend, the SVG and the files that lie
// in a range or in the damage.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli_recovery_fixture.h"
#include "disk/sector.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

test::NssImage MapSample() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.files.push_back({.id = 900, .parent = docs, .name = "Report.doc", .size = 12345, .time = 1078477651});
    volume.files.push_back({.id = 901, .parent = 0, .name = "Note.txt", .size = 4096, .time = 1100000000});
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

class CliMap : public ::testing::Test {
protected:
    CliMap() : disk(MapSample(), "cli_map") {
        const auto& pool = disk.image.pools()[0];
        reportSector = *pool.toDiskSector(pool.volumes[0].files[0].firstBlock * kSectorsPerBlock + 8);
        map = disk.scratch("disk.map");
        std::ofstream(map) << "# rescue map\n0x0 +\n0x0 0x" << std::hex << reportSector * kSectorSize << " +\n0x"
                           << reportSector * kSectorSize << " 0x400 -\n0x" << reportSector * kSectorSize + 0x400
                           << " 0x" << disk.image.sizeBytes() - reportSector * kSectorSize - 0x400 << " +\n";
    }
    test::CliRun Run(std::vector<std::string> arguments, bool mounted = true) const {
        arguments.insert(arguments.begin(), {"--no-drives", "--image", disk.path, "--mapfile", map});
        if (mounted) arguments.insert(arguments.end(), kMount.begin(), kMount.end());
        return test::RunCli(arguments);
    }

    test::CliImage disk;
    std::string map;
    uint64_t reportSector = 0;
};

TEST_F(CliMap, LegendGivesTheSizeOfEachKindAndTheDamageOfTheMapfile) {
    auto run = Run({"map", "--drive", "0"}, false);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("pool POOL "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("partition table                              1 sectors  512 B"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nDamaged and never read sectors count also in the kind of area they lie in.\n"),
              std::string::npos) << run.out;
    run = Run({"map", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"diskSectors\":", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("{\"name\":\"damaged\",\"colour\":\"#d55e00\",\"hatched\":true,\"sectors\":2,\"faded\":false}"),
              std::string::npos) << run.out;
    EXPECT_NE(run.out.find("{\"name\":\"file data\",\"colour\":\"#0072b2\",\"hatched\":false,\"sectors\":33,\"faded\":false}"),
              std::string::npos) << run.out;  // 25 sectors of Report.doc, 8 of Note.txt
    // The mount reads no file's data: all of it is never read, and more.
    const size_t neverRead = run.out.find("{\"name\":\"never read\",\"colour\":\"#aaaaaa\",\"hatched\":false,\"sectors\":");
    ASSERT_NE(neverRead, std::string::npos) << run.out;
    EXPECT_GT(std::stoull(run.out.substr(neverRead + 66)), 33u) << run.out;
    EXPECT_NE(run.out.find(",\"faded\":true}", neverRead), std::string::npos) << run.out;
}

TEST_F(CliMap, SvgIsWrittenWholeButNeverOverAnInput) {
    const std::string svg = disk.scratch("map.svg");
    auto run = Run({"map", "--svg", svg, "--cells", "100"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto bytes = test::ReadWholeFile(svg);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("url(#damaged)"), std::string::npos);
    EXPECT_NE(text.find("in 100 cells"), std::string::npos);
    const auto before = test::ReadWholeFile(map);
    run = Run({"map", "--svg", map});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(test::ReadWholeFile(map), before);
}

TEST_F(CliMap, CellsAreCountedFromOneTo65536) {
    EXPECT_EQ(Run({"map", "--cells", "0"}).exitCode, 2);
    EXPECT_EQ(Run({"map", "--cells", "65537"}).exitCode, 2);
    EXPECT_EQ(Run({"map", "--cells", "1"}).exitCode, 0);
    EXPECT_EQ(Run({"map", "--cells", "65536"}).exitCode, 0);
}

TEST_F(CliMap, WhichNamesTheFileInASectorRangeAndInTheDamage) {
    auto run = Run({"which", "--sector", std::to_string(reportSector - 8), "--count", "9", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"format\":1,\"ranges\":[{\"firstSector\":" + std::to_string(reportSector - 8) +
                                ",\"count\":9,\"items\":[{\"kind\":\"file\",\"itemNumber\":0,\"name\":\"Report.doc\","
                                "\"path\":\"\\\\Docs\\\\Report.doc\",\"firstSector\":" +
                                std::to_string(reportSector - 8) + ",\"sectors\":9}]}]}",
                            0),
              0u) << run.out;
    run = Run({"which", "--damaged"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "sectors " + std::to_string(reportSector) + "-" + std::to_string(reportSector + 1) +
                           "\n  file\t\\Docs\\Report.doc\tfrom sector " + std::to_string(reportSector) + "\t2 sector(s)\n");
    run = Run({"which", "--sector", "1"});
    EXPECT_EQ(run.out, "sectors 1-1\n  no file or metadata block read lies here\n");
}

// Where a sector is asked for, a hexadecimal number or a byte position as the mapfile writes it
// names the same sector.
TEST_F(CliMap, WhichTakesASectorInHexadecimalOrAsABytePosition) {
    const auto expected = Run({"which", "--sector", std::to_string(reportSector)});
    ASSERT_EQ(expected.exitCode, 0) << expected.err;
    ASSERT_NE(expected.out.find("Report.doc"), std::string::npos) << expected.out;
    std::ostringstream hex, bytes, lastByte;
    hex << "0x" << std::uppercase << std::hex << reportSector;
    bytes << "0x" << std::uppercase << std::hex << reportSector * kSectorSize << "b";
    lastByte << (reportSector + 1) * kSectorSize - 1 << "b";
    for (const std::string& form : {hex.str(), bytes.str(), lastByte.str()}) {
        const auto run = Run({"which", "--sector", form});
        EXPECT_EQ(run.exitCode, 0) << form << ": " << run.err;
        EXPECT_EQ(run.out, expected.out) << form;
    }
    EXPECT_NE(Run({"which", "--sector", std::to_string((reportSector + 1) * kSectorSize) + "b"}).out, expected.out);
    EXPECT_EQ(Run({"which", "--sector", "0xg"}).exitCode, 2);
}

// A walk of the whole pool pictures the leaves it read, and the object tree's root, which it
// takes for its volume's, once.
TEST_F(CliMap, PoolBasedPicturesTheLeavesItReadAndTheRootOnce) {
    const std::vector<std::string> poolBased = {"--drive", "0", "--pool", "0", "--pool-based"};
    const auto withSource = [&](std::vector<std::string> words) {
        words.insert(words.end(), poolBased.begin(), poolBased.end());
        return Run(words, false);
    };
    const auto volumes = withSource({"volumes", "--json"});
    const size_t root = volumes.out.find("\"rootSector\":");
    ASSERT_NE(root, std::string::npos) << volumes.out;
    const uint64_t rootSector = std::stoull(volumes.out.substr(root + 13));
    const auto& pool = disk.image.pools()[0];
    const uint64_t leaf = *pool.toDiskSector(pool.volumes[0].leafBlocks.at(0) * kSectorsPerBlock);
    for (const uint64_t sector : {rootSector, leaf}) {
        const auto run = withSource({"which", "--sector", std::to_string(sector), "--json"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        size_t blocks = 0;
        for (size_t at = run.out.find("\"kind\":\"metadata\""); at != std::string::npos;
             at = run.out.find("\"kind\":\"metadata\"", at + 1))
            ++blocks;
        EXPECT_EQ(blocks, 1u) << sector << ": " << run.out;
    }
}

TEST_F(CliMap, WhichTakesOneQuestionAndACountFromOne) {
    EXPECT_EQ(Run({"which"}).exitCode, 2);
    EXPECT_EQ(Run({"which", "--sector", "5", "--damaged"}).exitCode, 2);
    EXPECT_EQ(Run({"which", "--damaged", "--count", "2"}).exitCode, 2);
    EXPECT_EQ(Run({"which", "--sector", "5", "--count", "0"}).exitCode, 2);
    EXPECT_EQ(Run({"which", "--sector", "5", "--count", "1"}).exitCode, 0);
}

}  // namespace
}  // namespace lumbra
