// Every file of every volume of the demo disk, extracted through the command line and compared
// byte for byte with the content the builder wrote.
#include <gtest/gtest.h>

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
// destination itself for files outside the tree, and "Copy (n ) of" for a name met again.
std::vector<ExpectedFile> ExpectedFiles(const BuiltVolume& volume) {
    std::vector<ExpectedFile> expected;
    std::set<std::string> taken;
    for (const test::ExpectedItem& item : test::NssImage::expectedMount(volume).files) {
        if (item.size == 0) continue;
        std::string folder;
        if (!item.path.empty()) {
            size_t start = 1;
            for (size_t slash; (slash = item.path.find('/', start)) != std::string::npos; start = slash + 1)
                folder += SafeFileName(item.path.substr(start, slash - start)) + "/";
        }
        std::string path = folder + SafeFileName(item.name);
        for (uint32_t n = 1; taken.count(path); ++n) path = folder + SafeFileName(DuplicateCandidate(n, item.name));
        taken.insert(path);
        expected.push_back({path, &volume.files.at(static_cast<size_t>(item.source))});
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
            EXPECT_EQ(RegularFilesBelow(out), expected.size()) << volume.name;
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
