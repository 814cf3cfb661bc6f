// plan on a builder disk: what each choice takes, and what a partial image leaves out and names.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli_recovery_fixture.h"
#include "disk/rescue_map.h"
#include "disk/sector.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

test::NssImage PlanSample() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.files.push_back({.id = 900, .parent = docs, .name = "Report.doc", .size = 12345, .time = 1078477651});
    volume.files.push_back({.id = 901, .parent = 0, .name = "Note.txt", .size = 4096, .time = 1100000000});
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

// The "+" areas of a plan, in sectors.
std::vector<SectorRange> PlanRanges(const std::string& path) {
    const auto bytes = test::ReadWholeFile(path);
    const auto parsed = ParseRescueMap(std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(std::holds_alternative<RescueMap>(parsed));
    if (!std::holds_alternative<RescueMap>(parsed)) return {};
    const RescueMap& map = std::get<RescueMap>(parsed);
    std::vector<SectorRange> rescued;
    uint64_t done = 0;
    const uint64_t sectors = map.coveredEnd / kSectorSize;
    for (const SectorRange& hole : UnrescuedSectors(map, map.coveredEnd)) {
        if (hole.first > done) rescued.push_back({done, hole.first - done});
        done = hole.end();
    }
    if (done < sectors) rescued.push_back({done, sectors - done});
    return rescued;
}

bool Holds(const std::vector<SectorRange>& ranges, uint64_t first, uint64_t count) {
    for (const SectorRange& range : ranges)
        if (range.first <= first && first + count <= range.end()) return true;
    return false;
}

uint64_t Total(const std::vector<SectorRange>& ranges) {
    uint64_t total = 0;
    for (const SectorRange& range : ranges) total += range.count;
    return total;
}

class CliPlan : public ::testing::Test {
protected:
    CliPlan() : disk(PlanSample(), "cli_plan"), plan(disk.scratch("plan.map")) {}

    const test::BuiltPool& pool() const { return disk.image.pools()[0]; }
    uint64_t fileSector(size_t file) const { return *pool().toDiskSector(pool().volumes[0].files[file].firstBlock * kSectorsPerBlock); }

    // plan of drive 0 into plan.map, after a mapfile of the image when map is not empty.
    test::CliRun Plan(std::vector<std::string> arguments, const std::string& map = "") const {
        arguments.insert(arguments.begin(), {"plan", "--drive", "0", "--out", plan});
        if (!map.empty()) arguments.insert(arguments.begin(), {"--mapfile", map});
        arguments.insert(arguments.begin(), {"--no-drives", "--image", disk.path});
        return test::RunCli(arguments);
    }
    // A mapfile of the whole image, rescued but for the sectors given.
    std::string MapWithout(uint64_t first, uint64_t count) const {
        const std::string map = disk.scratch("part.map");
        std::ofstream(map) << DomainMapText({{0, first}, {first + count, disk.image.sectorCount()}}, disk.image.sectorCount());
        return map;
    }

    test::CliImage disk;
    std::string plan;
};

TEST_F(CliPlan, MetadataFilesAndUsedTakeTheSectorsOfTheirKinds) {
    auto run = Plan({"--what", "metadata"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto metadata = PlanRanges(plan);
    const test::BuiltVolume& volume = pool().volumes[0];
    for (uint64_t sector : {uint64_t{0}, pool().segments[0].headerSector, pool().superblockSector, pool().treeRootSector,
                            volume.rootSector})
        EXPECT_TRUE(Holds(metadata, sector, 1)) << sector;
    EXPECT_FALSE(Holds(metadata, fileSector(0), 1));
    EXPECT_FALSE(Holds(metadata, fileSector(1), 1));

    run = Plan({"--what", "files"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "33 of " + std::to_string(disk.image.sectorCount()) + " sectors (16.5 KiB) in 2 area(s) written to " +
                           plan + "\n");  // 25 sectors of Report.doc, 8 of Note.txt
    const auto files = PlanRanges(plan);
    EXPECT_TRUE(Holds(files, fileSector(0), 25));
    EXPECT_TRUE(Holds(files, fileSector(1), 8));

    run = Plan({"--what", "used"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Total(PlanRanges(plan)), Total(metadata) + 33);
}

TEST_F(CliPlan, PathFilterAndListChooseTheFiles) {
    const std::string list = disk.scratch("list.txt");
    std::ofstream(list) << "\\Note.txt\n";
    const std::vector<std::pair<std::vector<std::string>, uint64_t>> cases = {
        {{"--path", "\\Docs"}, 25},           {{"--path", "/Note.txt"}, 8},        {{"--filter", "*.txt"}, 8},
        {{"--filter", "*.doc", "--filter", "*.txt"}, 33}, {{"--from-list", list}, 8}, {{"--filter", "*.xls"}, 0},
    };
    for (const auto& [choice, sectors] : cases) {
        std::vector<std::string> arguments = {"--what", "files"};
        arguments.insert(arguments.end(), choice.begin(), choice.end());
        const auto run = Plan(arguments);
        ASSERT_EQ(run.exitCode, 0) << choice.front() << run.err;
        EXPECT_EQ(Total(PlanRanges(plan)), sectors) << choice.front() << " " << choice.back();
    }
}

// Each structure out of the partial image is named, and what lies behind it is not planned yet.
TEST_F(CliPlan, FromAPartialImageWhatIsNotRescuedIsNamedAndLeftOut) {
    const std::string again = " is not rescued yet: run ddrescue with the metadata plan, then plan again\n";
    struct Case {
        uint64_t first, count;
        std::string named;
        bool filesFound;
    };
    const std::vector<Case> cases = {
        {0, 1, "the partition table", false},
        {pool().segments[0].headerSector, 1, "the partition headers", false},
        {pool().superblockSector, 1, "the superblock of pool POOL", false},
        {pool().treeRootSector, 8, "the object tree of pool POOL", false},
        {pool().volumes[0].rootSector, 8, "the B-tree of volume DATA", false},
        {fileSector(0), 25, "", true},
    };
    for (const Case& test : cases) {
        const std::string map = MapWithout(test.first, test.count);
        auto run = Plan({"--what", "metadata"}, map);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, test.named.empty() ? "" : "lumbra-nss-cli: " + test.named + again) << test.first;
        // The structure itself is in the plan, so that the next copy reads it.
        EXPECT_TRUE(Holds(PlanRanges(plan), test.first, 1)) << test.named;
        run = Plan({"--what", "files"}, map);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Total(PlanRanges(plan)), test.filesFound ? 33u : 0u) << test.named;
    }
}

TEST_F(CliPlan, ChoicesAreCheckedAndThePlanIsNeverWrittenOverAnInput) {
    const std::string map = MapWithout(0, 0);
    const auto before = test::ReadWholeFile(map);
    auto run = test::RunCli({"--no-drives", "--image", disk.path, "--mapfile", map, "plan", "--drive", "0", "--what",
                             "metadata", "--out", map});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(test::ReadWholeFile(map), before);
    EXPECT_EQ(Plan({"--what", "all"}).exitCode, 2);
    EXPECT_EQ(Plan({}).exitCode, 2);
    EXPECT_EQ(Plan({"--what", "metadata", "--filter", "*.txt"}).exitCode, 2);
    EXPECT_EQ(Plan({"--what", "files", "--path", "\\Docs", "--from-list", map}).exitCode, 2);
    EXPECT_EQ(Plan({"--what", "files", "--pool", "50"}).exitCode, 2);
    EXPECT_EQ(Plan({"--what", "files", "--pool", "49"}).exitCode, 0);
    EXPECT_EQ(Total(PlanRanges(plan)), 0u);
    run = test::RunCli({"--no-drives", "--image", disk.path, "plan", "--drive", "0", "--what", "metadata", "--out", "-"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("# Rescue domain", 0), 0u) << run.out;
}

}  // namespace
}  // namespace lumbra
