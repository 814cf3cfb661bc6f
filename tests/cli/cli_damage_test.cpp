#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "cli_recovery_fixture.h"
#include "cli/json_writer.h"
#include "cli/record_json.h"
#include "disk/sector.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;

test::NssImage DamageSample() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Documents");
    volume.files.push_back({.id = 900, .parent = docs, .name = "Report.doc", .size = 12345, .time = 1078477651});
    volume.files.push_back({.id = 901, .parent = 0, .name = "Note.txt", .size = 4096, .time = 1100000000});
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

const std::vector<std::string> kMount = {"--drive", "0", "--pool", "0", "--volume", "0"};

class CliDamage : public ::testing::Test {
protected:
    CliDamage() : disk(DamageSample(), "cli_damage") {
        const auto& pool = disk.image.pools()[0];
        map = MapWithBadBytes("disk.map", *pool.toDiskSector(pool.volumes[0].files[0].firstBlock * kSectorsPerBlock + 8), 0x10);
    }
    // A map of the whole image in which only `length` bytes at the start of `sector` were not rescued.
    std::string MapWithBadBytes(const std::string& name, uint64_t sector, uint64_t length) const {
        const std::string path = disk.scratch(name);
        std::ofstream(path) << "# rescue map\n0x0 +\n0x0 0x" << std::hex << sector * kSectorSize << " +\n0x"
                            << sector * kSectorSize << " 0x" << length << " -\n0x" << sector * kSectorSize + length
                            << " 0x" << disk.image.sizeBytes() - sector * kSectorSize - length << " +\n";
        return path;
    }
    test::CliRun Run(std::vector<std::string> arguments, const std::string& mapPath) const {
        arguments.insert(arguments.begin(), {"--no-drives", "--image", disk.path, "--mapfile", mapPath});
        arguments.insert(arguments.end(), kMount.begin(), kMount.end());
        return test::RunCli(arguments);
    }

    test::CliImage disk;
    std::string map;
};

TEST_F(CliDamage, MapfileGivesEachFileItsConditionInListAndFind) {
    auto run = Run({"list", "--json"}, map);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"condition\":\"damaged\",\"unreadableBytes\":512,"
                           "\"unreadableRanges\":[{\"offset\":4096,\"length\":512}]"),
              std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"name\":\"Note.txt\""), std::string::npos);
    EXPECT_NE(run.out.find("\"condition\":\"intact\""), std::string::npos) << run.out;
    run = Run({"find", "note", "--json"}, map);
    EXPECT_NE(run.out.find("\"size\":4096,\"condition\":\"intact\"}"), std::string::npos) << run.out;
}

// A file cut short names the bytes it lacks as a damaged one names those it could not read.
TEST(CliJson, ConditionsWithUnreadableBytesNameTheirRanges) {
    const struct {
        FileCondition condition;
        std::string json;
    } cases[] = {
        {{ConditionKind::Intact, 0, {}}, "{\"format\":1,\"condition\":\"intact\"}"},
        {{ConditionKind::NotReadYet, 0, {}}, "{\"format\":1,\"condition\":\"not read yet\"}"},
        {{ConditionKind::Damaged, 512, {{4096, 512}}},
         "{\"format\":1,\"condition\":\"damaged\",\"unreadableBytes\":512,\"unreadableRanges\":[{\"offset\":4096,\"length\":512}]}"},
        {{ConditionKind::CutShort, 1000, {{0, 24}, {9000, 976}}},
         "{\"format\":1,\"condition\":\"cut short\",\"unreadableBytes\":1000,\"unreadableRanges\":[{\"offset\":0,\"length\":24},"
         "{\"offset\":9000,\"length\":976}]}"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        {
            cli::JsonWriter json(out);
            json.beginObject();
            cli::WriteCondition(json, c.condition);
            json.endObject();
        }
        EXPECT_EQ(out.str(), c.json);
    }
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(CliDamage, AMapOfAnotherSizeThanTheImageIsToldOnce) {
    const uint64_t size = disk.image.sizeBytes();
    const std::string shorter = disk.scratch("short.map");
    std::ofstream(shorter) << "0 +\n0 " << size - 4096 << " +\n";
    auto run = Run({"list"}, shorter);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string less = "lumbra-nss-cli: warning: " + disk.path + ": the mapfile covers " + std::to_string(size - 4096) +
                             " bytes but the image holds " + std::to_string(size) +
                             " bytes; sectors it does not cover are treated as not rescued\n";
    EXPECT_EQ(Occurrences(run.err, less), 1u) << run.err;
    const std::string longer = disk.scratch("long.map");
    std::ofstream(longer) << "0 +\n0 " << size << " +\n" << size << " 512 -\n";
    run = Run({"list"}, longer);
    EXPECT_EQ(Occurrences(run.err, "the image holds " + std::to_string(size) + " bytes; areas past the image end are ignored\n"), 1u)
        << run.err;
    EXPECT_EQ(Occurrences(Run({"list"}, map).err, "the mapfile covers"), 0u);
}

// A B-tree leaf and a partition header that were never rescued: the steps that read them end
// with a warning, and the JSON counts the sectors; a sector of file data is no metadata.
TEST_F(CliDamage, UnreadableMetadataIsToldAtTheEndOfTheStep) {
    const auto& pool = disk.image.pools()[0];
    const uint64_t leaf = *pool.toDiskSector(pool.volumes[0].leafBlocks.at(0) * kSectorsPerBlock + 7);
    const std::string leafMap = MapWithBadBytes("leaf.map", leaf, 1);
    auto run = Run({"list"}, leafMap);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string warning = "lumbra-nss-cli: warning: 1 metadata sector(s) could not be read (first: sector " +
                                std::to_string(leaf) + "); some folders or files may be missing; try --pool-based\n";
    EXPECT_EQ(Occurrences(run.err, warning), 1u) << run.err;
    run = Run({"list", "--json"}, leafMap);
    EXPECT_NE(run.out.find("\"unreadableMetadataSectors\":1,\"complete\":true}"), std::string::npos) << run.out;
    EXPECT_NE(Run({"find", "txt", "--json"}, leafMap).out.find("\"unreadableMetadataSectors\":1}"), std::string::npos);

    const uint64_t header = pool.segments.at(0).headerSector;
    const std::string headerMap = MapWithBadBytes("header.map", header, 512);
    run = test::RunCli({"--no-drives", "--image", disk.path, "--mapfile", headerMap, "pools", "--drive", "0", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("warning: 1 metadata sector(s) could not be read (first: sector " + std::to_string(header) + ")"),
              std::string::npos) << run.err;
    EXPECT_NE(run.out.find("\"unreadableMetadataSectors\":1,\"complete\":true}"), std::string::npos) << run.out;

    run = Run({"list", "--json"}, map);  // only file data was lost
    EXPECT_EQ(run.err.find("metadata sector"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("\"unreadableMetadataSectors\":0,\"complete\":true}"), std::string::npos);
}

// --pool-based is advised only where it helps: when structures inside the pool were lost, not
// the partition table or a partition header, which a walk of the pool needs as much.
TEST_F(CliDamage, PoolBasedIsAdvisedOnlyForStructuresInsideThePool) {
    const auto& pool = disk.image.pools()[0];
    const uint64_t leaf = *pool.toDiskSector(pool.volumes[0].leafBlocks.at(0) * kSectorsPerBlock + 7);
    const uint64_t header = pool.segments.at(0).headerSector;
    const struct {
        uint64_t sector;
        std::vector<std::string> arguments;
        bool advice;
    } cases[] = {
        {leaf, {"list"}, true},
        {leaf, {"list", "--pool-based"}, false},
        {0, {"list"}, false},
        {header, {"list"}, false},
        {header + 29, {"volumes", "--drive", "0", "--pool", "0"}, false},
    };
    for (const auto& c : cases) {
        const std::string lost = MapWithBadBytes("lost" + std::to_string(c.sector) + ".map", c.sector, 512);
        std::vector<std::string> arguments = {"--no-drives", "--image", disk.path, "--mapfile", lost};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        if (c.arguments.front() == "list") arguments.insert(arguments.end(), kMount.begin(), kMount.end());
        const auto run = test::RunCli(arguments);
        EXPECT_NE(run.err.find("could not be read (first: sector " + std::to_string(c.sector) + ")"), std::string::npos)
            << c.sector << ": " << run.err;
        EXPECT_EQ(run.err.find("try --pool-based") != std::string::npos, c.advice) << c.sector << ": " << run.err;
    }
}

// A walk of the whole pool and a scan for partitions count what they could not read as the walk
// of the tree does: the first sector of a leaf, and a header inside the scanned range.
TEST_F(CliDamage, PoolBasedWalkAndScanCountTheSectorsTheyCouldNotRead) {
    const auto& pool = disk.image.pools()[0];
    const uint64_t leaf = *pool.toDiskSector(pool.volumes[0].leafBlocks.at(0) * kSectorsPerBlock);
    const uint64_t header = pool.segments.at(0).headerSector;
    const std::string end = std::to_string(disk.image.sectorCount());
    const struct {
        uint64_t sector;
        std::vector<std::string> arguments;
    } cases[] = {
        {leaf, {"list", "--drive", "0", "--pool", "0", "--pool-based"}},
        {header, {"pools", "--drive", "0", "--scan", "0", end}},
    };
    for (const auto& c : cases) {
        const std::string lost = MapWithBadBytes("walk" + std::to_string(c.sector) + ".map", c.sector, 512);
        std::vector<std::string> arguments = {"--no-drives", "--image", disk.path, "--mapfile", lost};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const auto run = test::RunCli(arguments);
        EXPECT_NE(run.err.find("warning: 1 metadata sector(s) could not be read (first: sector " + std::to_string(c.sector) +
                               ")"),
                  std::string::npos) << c.sector << ": " << run.exitCode << run.err << run.out;
    }
}

// The partition structures whose loss the warning counts are named by which, as the metadata
// blocks and files are.
TEST_F(CliDamage, WhichNamesThePartitionTableAndHeaderSectorsLost) {
    const uint64_t header = disk.image.pools()[0].segments.at(0).headerSector;
    const struct {
        uint64_t sector;
        std::string text;
        std::string json;
    } cases[] = {
        {0, "  partition table\tat 0\tfrom sector 0\t1 sector(s)\n",
         "{\"kind\":\"partition table\",\"headerSector\":0,\"firstSector\":0,\"sectors\":1}"},
        {header + 5, "  partition header\tat " + std::to_string(header) + "\tfrom sector " + std::to_string(header + 5),
         "{\"kind\":\"partition header\",\"headerSector\":" + std::to_string(header) +
             ",\"firstSector\":" + std::to_string(header + 5) + ",\"sectors\":1}"},
        {header - 1, "  no file or metadata block read lies here\n", "\"items\":[]"},
    };
    for (const auto& c : cases) {
        const std::string lost = MapWithBadBytes("which" + std::to_string(c.sector) + ".map", c.sector, 512);
        const std::vector<std::string> which = {"--no-drives", "--image", disk.path, "--mapfile", lost,
                                                "which", "--drive", "0", "--damaged"};
        auto run = test::RunCli(which);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.out.find(c.text), std::string::npos) << c.sector << ": " << run.out;
        auto json = which;
        json.push_back("--json");
        run = test::RunCli(json);
        EXPECT_NE(run.out.find(c.json), std::string::npos) << c.sector << ": " << run.out;
    }
}

TEST_F(CliDamage, AFileOnStandardOutputCountsItsUnreadableBytes) {
    const auto run = Run({"extract", "--path", "/Documents/Report.doc", "--out", "-"}, map);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.size(), 12345u);
    EXPECT_EQ(run.out.substr(4096, 512), std::string(512, '\0'));
    EXPECT_EQ(run.err, "lumbra-nss-cli: warning: 512 byte(s) of the file could not be read and were written as zeros\n");
}

TEST_F(CliDamage, MalformedMapfilesAndMisplacedOptionsAreRefused) {
    const std::string bad = disk.scratch("bad.map");
    std::ofstream(bad) << "# map\n0 +\n0 0x200 +\n0x200 0x200 !\n";
    auto run = Run({"list"}, bad);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("rescue map " + bad + " line 4: unknown status !"), std::string::npos) << run.err;
    run = test::RunCli({"--no-drives", "--mapfile", map, "--image", disk.path, "list", "--drive", "0", "--pool", "0", "--volume", "0"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--mapfile MAP follows the --image PATH"), std::string::npos) << run.err;
    // A map that cannot be used at all: named, with the line where there is one, and why.
    const std::string empty = disk.scratch("empty.map");
    std::ofstream(empty).flush();
    fs::create_directories(disk.scratch("folder.map"));
    const std::pair<std::string, std::string> refusals[] = {
        {disk.scratch("missing.map"), "rescue map " + disk.scratch("missing.map") + ": No such file or directory"},
        {empty, "rescue map " + empty + " line 1: no status line: the file is empty"},
        {disk.scratch("folder.map"), "rescue map " + disk.scratch("folder.map") + ": a folder, not a rescue map"},
    };
    for (const auto& [path, text] : refusals) {
        run = Run({"list"}, path);
        EXPECT_EQ(run.exitCode, 2) << path;
        EXPECT_EQ(run.err, "lumbra-nss-cli: " + text + "\n");
    }
    const auto noMap = disk.run({"extract", "--out", disk.scratch("x"), "--only-intact", "--drive", "0", "--pool", "0", "--volume", "0"});
    EXPECT_EQ(noMap.exitCode, 2);
    EXPECT_NE(noMap.err.find("needs the source's --mapfile"), std::string::npos) << noMap.err;
}

TEST_F(CliDamage, ExtractCountsDamagedFilesWritesTheReportAndKeepsTimes) {
    const std::string out = disk.scratch("out");
    auto run = Run({"extract", "--out", out, "--keep-times"}, map);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("1 file(s) damaged, 0 cut short; report " + out + "/lumbra-report.xml and " + out +
                           "/lumbra-report.csv"),
              std::string::npos) << run.out;
    struct stat status {};
    ASSERT_EQ(::stat((fs::path(out) / "Documents" / "Report.doc").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1078477651);
    ASSERT_EQ(::stat((fs::path(out) / "Note.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtime, 1100000000);

    const std::string only = disk.scratch("only");
    const std::string report = disk.scratch("elsewhere.xml");
    run = Run({"extract", "--out", only, "--only-damaged", "--report", report}, map);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(fs::path(only) / "Documents" / "Report.doc"));
    EXPECT_FALSE(fs::exists(fs::path(only) / "Note.txt"));
    EXPECT_TRUE(fs::exists(report));
    EXPECT_TRUE(fs::exists(disk.scratch("elsewhere.csv")));
    EXPECT_FALSE(fs::exists(fs::path(only) / "lumbra-report.xml"));
    run = Run({"extract", "--out", disk.scratch("intact"), "--only-intact", "--no-report"}, map);
    EXPECT_EQ(test::FolderContents(disk.scratch("intact")).size(), 1u);
}

// A report that cannot be written: exit 1 with its path and the reason; the files stay.
TEST_F(CliDamage, AReportThatCannotBeWrittenEndsWithItsPathAndTheReason) {
    const std::string out = disk.scratch("out");
    const std::string report = disk.scratch("no-such-folder") + "/report.xml";
    const auto run = Run({"extract", "--out", out, "--report", report}, map);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("lumbra-nss-cli: the report could not be written: " + report + ": No such file or directory\n"),
              std::string::npos) << run.err;
    EXPECT_EQ(test::FolderContents(out).size(), 2u);
}

}  // namespace
}  // namespace lumbra
