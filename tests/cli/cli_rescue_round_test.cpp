// The round a user goes with ddrescue on a failing disk: plan the metadata, let ddrescue copy
// it, plan again until nothing is missing, then plan the files and copy them, then extract from
// the partial image. The failing disk is a builder image with bad areas: a hand-made mapfile
// marks them bad ("-"), so that ddrescue, which retries no bad area unless asked, never copies
// them, as a disk that cannot give them would not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "cli_recovery_fixture.h"
#include "disk/rescue_map.h"
#include "disk/sector.h"
#include "support/whole_file.h"

namespace lumbra {
namespace {

constexpr const char* kRescuer = "/usr/bin/ddrescue";
constexpr const char* kMapTool = "/usr/bin/ddrescuelog";
constexpr int kMaxRounds = 16;

test::NssImage FailingSample() {
    test::VolumePlan volume{.name = "DATA"};
    for (int folder = 0; folder < 3; ++folder) {
        const uint64_t id = volume.addFolder("Folder" + std::to_string(folder));
        for (int file = 0; file < 20; ++file)
            volume.files.push_back({.parent = id, .name = "File" + std::to_string(file) + ".dat",
                                    .size = uint64_t(1 + (folder * 20 + file) * 3011), .fragments = uint32_t(1 + file % 3)});
    }
    return test::NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build();
}

// The sectors of a map's areas of one status.
std::set<uint64_t> SectorsMarked(const std::string& path, char status) {
    std::set<uint64_t> sectors;
    std::ifstream in(path);
    std::string line;
    bool statusLine = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (statusLine) {
            statusLine = false;
            continue;
        }
        std::istringstream words(line);
        std::string position, size, mark;
        words >> position >> size >> mark;
        if (mark.size() != 1 || mark[0] != status) continue;
        const uint64_t first = std::stoull(position, nullptr, 0), bytes = std::stoull(size, nullptr, 0);
        for (uint64_t sector = first / kSectorSize; sector * kSectorSize < first + bytes; ++sector) sectors.insert(sector);
    }
    return sectors;
}

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

TEST(RescueRound, MetadataThenFilesGivesEveryFileOutsideTheBadAreasWhole) {
    if (!std::filesystem::exists(kRescuer) || !std::filesystem::exists(kMapTool))
        GTEST_SKIP() << "ddrescue is not installed (Debian package gddrescue)";
    test::CliImage disk(FailingSample(), "rescue_round");
    const test::BuiltPool& pool = disk.image.pools()[0];
    const test::BuiltVolume& volume = pool.volumes[0];
    const uint64_t diskSectors = disk.image.sectorCount();
    // Bad areas in the data of two files: 4 sectors of one, 9 of another across a block edge.
    const auto dataSector = [&](size_t file, uint64_t offset) {
        return *pool.toDiskSector(volume.files[file].firstBlock * kSectorsPerBlock + offset);
    };
    const std::vector<SectorRange> bad = {{dataSector(41, 2), 4}, {dataSector(58, 5), 9}};
    const std::string part = disk.scratch("part.img"), partMap = disk.scratch("part.map");
    // The partial image is as long as the disk from the start, as truncate makes it.
    std::ofstream(part).close();
    std::filesystem::resize_file(part, diskSectors * kSectorSize);
    {
        std::ofstream map(partMap);
        map << "# current_pos  current_status  current_pass\n0x0  ?  1\n";
        uint64_t done = 0;
        for (const SectorRange& area : bad) {
            map << "0x" << std::hex << done * kSectorSize << " 0x" << (area.first - done) * kSectorSize << " ?\n0x"
                << area.first * kSectorSize << " 0x" << area.count * kSectorSize << " -\n";
            done = area.end();
        }
        map << "0x" << done * kSectorSize << " 0x" << (diskSectors - done) * kSectorSize << " ?\n";
    }
    const auto plan = [&](const std::string& what, const std::string& out) {
        return test::RunCli({"--no-drives", "--image", part, "--mapfile", partMap, "plan", "--drive", "0", "--what", what,
                             "--out", out});
    };
    const auto copy = [&](const std::string& domain) {
        EXPECT_EQ(Shell(std::string(kMapTool) + " -t " + domain), 0) << "the copier's map tool refuses " << domain;
        return Shell(std::string(kRescuer) + " -q -b 512 -m " + domain + " " + disk.path + " " + part + " " + partMap);
    };

    const std::string metadata = disk.scratch("metadata.map"), files = disk.scratch("files.map");
    std::set<uint64_t> planned;
    std::vector<uint8_t> previous;
    int rounds = 0;
    for (; rounds < kMaxRounds; ++rounds) {
        const auto run = plan("metadata", metadata);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto now = test::ReadWholeFile(metadata);
        if (now == previous) {
            EXPECT_EQ(run.err, "") << "the metadata is whole once the plan stops growing";
            break;
        }
        EXPECT_NE(run.err.find("is not rescued yet: run ddrescue with the metadata plan, then plan again"), std::string::npos)
            << run.err;
        previous = now;
        for (uint64_t sector : SectorsMarked(metadata, '+')) planned.insert(sector);
        ASSERT_EQ(copy(metadata), 0);
    }
    ASSERT_LT(rounds, kMaxRounds);
    const std::set<uint64_t> metadataSectors = SectorsMarked(metadata, '+');
    auto run = plan("files", files);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::set<uint64_t> fileSectors = SectorsMarked(files, '+');
    for (uint64_t sector : fileSectors) planned.insert(sector);
    ASSERT_EQ(copy(files), 0);

    // The copier read no sector outside the plans: its sector size is the plans' own.
    const std::set<uint64_t> rescued = SectorsMarked(partMap, '+');
    for (uint64_t sector : rescued) ASSERT_TRUE(planned.count(sector)) << "sector " << sector << " read outside the plans";
    for (const SectorRange& area : bad)
        for (uint64_t sector = area.first; sector < area.end(); ++sector) EXPECT_FALSE(rescued.count(sector));

    const std::string out = disk.scratch("out");
    run = test::RunCli({"--no-drives", "--image", part, "--mapfile", partMap, "extract", "--drive", "0", "--pool", "0",
                        "--volume", "0", "--out", out, "--no-report"});
    const auto written = test::FolderContents(out);
    size_t whole = 0, damaged = 0;
    for (size_t index = 0; index < volume.files.size(); ++index) {
        const test::BuiltFile& file = volume.files[index];
        bool touched = false;
        for (uint64_t offset = 0; offset < uint64_t(file.blockCount) * kSectorsPerBlock; ++offset) {
            const uint64_t sector = *pool.toDiskSector(file.firstBlock * kSectorsPerBlock + offset);
            for (const SectorRange& area : bad) touched = touched || (sector >= area.first && sector < area.end());
        }
        const std::string folder = "Folder" + std::to_string(index / 20);
        const auto found = written.find(folder + "/" + file.name);
        ASSERT_NE(found, written.end()) << file.name;
        if (touched) {
            ++damaged;
            EXPECT_NE(found->second, disk.image.consecutiveContent(pool, file)) << file.name;
            continue;
        }
        EXPECT_EQ(found->second, disk.image.consecutiveContent(pool, file)) << folder << "/" << file.name;
        whole += found->second == disk.image.consecutiveContent(pool, file);
    }
    EXPECT_EQ(damaged, 2u);
    EXPECT_EQ(whole, volume.files.size() - 2);
    std::cout << "rescue round: " << rounds << " metadata round(s); plan " << metadataSectors.size() << " metadata + "
              << fileSectors.size() << " file sectors of " << diskSectors << " on the disk; the copier read "
              << rescued.size() << "; " << whole << " of " << volume.files.size() << " files whole\n";
}

}  // namespace
}  // namespace lumbra
