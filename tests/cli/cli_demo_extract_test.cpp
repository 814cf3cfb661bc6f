// Every file of every volume of the demo disk, extracted through the command line and compared
// byte for byte with the content the builder wrote.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "cli_recovery_fixture.h"
#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "recovery/file_copy.h"
#include "recovery/safe_file_name.h"
#include "support/demo_image.h"

namespace lumbra {
namespace {

namespace fs = std::filesystem;
using test::BuiltFile;
using test::BuiltPool;
using test::BuiltVolume;

struct ExpectedFile {
    std::string relativePath;
    const BuiltFile* file;
};

// Where the extraction puts each mounted file: its folder path with every name made safe, the
// destination itself for files outside the tree, and "Copy (n ) of" for a name met again in
// the same folder. Each folder has a path of its own: one whose name is already taken there (by
// another folder, or a file written before) takes the next "Copy (n ) of" name.
class ExpectedPlaces {
public:
    explicit ExpectedPlaces(const test::ExpectedMount& mount) {
        for (const test::ExpectedItem& folder : mount.folders) folders_[folder.objectId] = &folder;
    }

    std::string fileIn(const test::ExpectedItem& file) {
        const std::string folder = file.path.empty() ? std::string() : folderPath(file.parentId);
        std::string path = folder + SafeFileName(file.name);
        for (uint32_t n = 1; taken_.count(path); ++n) path = folder + SafeFileName(DuplicateCandidate(n, file.name));
        taken_.insert(path);
        return path;
    }

private:
    std::string folderPath(uint64_t id) {
        if (id == 0) return {};
        if (auto known = given_.find(id); known != given_.end()) return known->second;
        const test::ExpectedItem& folder = *folders_.at(id);
        const std::string parent = folderPath(folder.parentId);
        std::string path = parent + SafeFileName(folder.name);
        for (uint32_t n = 1; taken_.count(path); ++n) path = parent + SafeFileName(DuplicateCandidate(n, folder.name));
        taken_.insert(path);
        return given_[id] = path + "/";
    }

    std::map<uint64_t, const test::ExpectedItem*> folders_;
    std::map<uint64_t, std::string> given_;
    std::set<std::string> taken_;
};

std::vector<ExpectedFile> ExpectedFiles(const BuiltVolume& volume) {
    const test::ExpectedMount mount = test::NssImage::expectedMount(volume);
    ExpectedPlaces places(mount);
    std::vector<ExpectedFile> expected;
    for (const test::ExpectedItem& item : mount.files) {
        if (item.size == 0) continue;
        expected.push_back({places.fileIn(item), &volume.files.at(static_cast<size_t>(item.source))});
    }
    return expected;
}

size_t RegularFilesBelow(const fs::path& root) {
    size_t count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) count += entry.is_regular_file() ? 1 : 0;
    return count;
}

std::vector<uint8_t> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CliDemoExtract, EveryFileOfTheDemoDiskComesOutByteForByte) {
    test::CliImage disk(test::buildImage(test::demoImagePlan()), "cli_demo");
    auto reader = disk.image.reader();
    PoolTable pools;
    ListPoolsFromPartitionTable(*reader, pools);
    size_t volumesChecked = 0;
    for (uint32_t poolRow = 0; poolRow < pools.count(); ++poolRow) {
        const BuiltPool& built = disk.image.pool(pools[poolRow].name);
        ObjectTree tree;
        VolumeTable volumes;
        BlockQueue queue;
        DiscoverVolumes(*reader, *SelectPool(pools, poolRow), RecoveryMode::VolumeBased, tree, volumes, queue);
        for (uint32_t volumeRow = 0; volumeRow < volumes.count(); ++volumeRow) {
            const BuiltVolume& volume = built.volume(volumes[volumeRow].name);
            const std::string out = disk.scratch(volumes[volumeRow].name);
            const auto run = disk.run({"extract", "--out", out, "--drive", "0", "--pool", std::to_string(poolRow),
                                       "--volume", std::to_string(volumeRow)});
            ASSERT_EQ(run.exitCode, 0) << run.err;
            const auto expected = ExpectedFiles(volume);
            // The files, the report's XML and CSV beside them, and the extract's ledger.
            EXPECT_EQ(RegularFilesBelow(out), expected.size() + 3) << volume.name;
            EXPECT_TRUE(fs::exists(fs::path(out) / kRunLedgerName)) << volume.name;
            EXPECT_TRUE(fs::exists(fs::path(out) / "lumbra-report.csv")) << volume.name;
            for (const ExpectedFile& file : expected) {
                EXPECT_TRUE(Bytes(fs::path(out) / file.relativePath) ==
                            disk.image.consecutiveContent(built, *file.file))
                    << volume.name << ": " << file.relativePath;
            }
            fs::remove_all(out);
            ++volumesChecked;
        }
    }
    EXPECT_EQ(volumesChecked, 3u);
}

}  // namespace
}  // namespace lumbra
