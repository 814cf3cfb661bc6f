#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "cli_recovery_fixture.h"
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
        const uint64_t sector = *pool.toDiskSector(pool.volumes[0].files[0].firstBlock * kSectorsPerBlock + 8);
        map = disk.scratch("disk.map");
        std::ofstream(map) << "# rescue map\n0x0 +\n0x0 0x" << std::hex << sector * kSectorSize << " +\n0x"
                           << sector * kSectorSize << " 0x10 -\n0x" << sector * kSectorSize + 0x10 << " 0x"
                           << disk.image.sizeBytes() - sector * kSectorSize - 0x10 << " +\n";
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
    EXPECT_NE(run.err.find("bad.map line 4: unknown status !"), std::string::npos) << run.err;
    run = test::RunCli({"--no-drives", "--mapfile", map, "--image", disk.path, "list", "--drive", "0", "--pool", "0", "--volume", "0"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--mapfile MAP follows the --image PATH"), std::string::npos) << run.err;
    EXPECT_EQ(Run({"list"}, disk.scratch("missing.map")).exitCode, 1);
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

}  // namespace
}  // namespace lumbra
