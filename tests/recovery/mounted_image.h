#pragma once
// A built NSS disk, its first pool found through the partition table as the wizard finds it,
// and everything a mount of one of its volumes needs.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "discovery/pool_listing.h"
#include "disk/device_sector_reader.h"
#include "recovery/volume_mount.h"
#include "support/faulty_device.h"
#include "support/nss_image_builder.h"

namespace lumbra::test {

// Remembers every report of a mount; `onFileFound` may act in the middle of it (set Stop).
class RecordingMountEvents : public MountEvents {
public:
    void currentSector(uint64_t sector) override { sectors.push_back(sector); }
    void foldersFound(uint32_t count) override { folderCounts.push_back(count); }
    void filesFound(uint32_t count) override {
        fileCounts.push_back(count);
        if (onFileFound) onFileFound(count);
    }
    void lastFileFolder(std::string_view name) override { lastNames.emplace_back(name); }
    void statusLine(std::string_view text) override { status.emplace_back(text); }
    void progress(uint32_t percent) override { percents.push_back(percent); }

    std::vector<uint64_t> sectors;
    std::vector<uint32_t> folderCounts;
    std::vector<uint32_t> fileCounts;
    std::vector<std::string> lastNames;
    std::vector<std::string> status;
    std::vector<uint32_t> percents;
    std::function<void(uint32_t)> onFileFound;
};

class MountedImage {
public:
    // unreadable: disk sectors that fail every read of the mount and the copies; the pool is
    // found on the healthy disk first.
    explicit MountedImage(NssImage built, std::set<uint64_t> unreadable = {})
        : image(std::move(built)),
          reader(unreadable.empty() ? image.device()
                                    : std::make_unique<FaultyDevice>(image.device(), std::move(unreadable))) {
        PoolTable pools;
        ListPoolsFromPartitionTable(*image.reader(), pools);
        if (auto selected = SelectPool(pools, 0)) pool = *selected;
    }

    const BuiltPool& builtPool() const { return image.pools().at(0); }
    const BuiltVolume& builtVolume(size_t index = 0) const { return builtPool().volumes.at(index); }

    MountOutcome MountVolumeBased(size_t volume = 0) {
        return Mount({.recoveryMode = 1, .rootSector = builtVolume(volume).rootSector});
    }
    MountOutcome MountPoolBased() { return Mount({.recoveryMode = 2, .rootSector = 0}); }

    MountOutcome Mount(const MountRequest& request) {
        MountContext context{reader, pool, queue, tree, events, stop};
        return MountVolume(context, request);
    }

    NssImage image;
    DeviceSectorReader reader;
    SelectedPool pool;
    BlockQueue queue;
    RecoveredTree tree;
    RecordingMountEvents events;
    std::atomic<int32_t> stop{0};
};

// A one-pool, one-volume disk.
inline NssImage BuildVolume(VolumePlan volume) {
    return NssImageBuilder().pool({.name = "POOL", .volumes = {std::move(volume)}}).build();
}

// Compares the mounted lists with the reference result of the builder, record by record.
inline void ExpectMountedAsBuilt(const RecoveredTree& tree, const ExpectedMount& expected) {
    ASSERT_EQ(tree.folders().size(), expected.folders.size());
    ASSERT_EQ(tree.files().size(), expected.files.size());
    EXPECT_EQ(tree.folderCounter, expected.folders.size());
    EXPECT_EQ(tree.fileCounter, expected.files.size());
    for (size_t i = 0; i < expected.folders.size(); ++i) {
        const ItemRecord& got = tree.folders()[i];
        const ExpectedItem& want = expected.folders[i];
        EXPECT_EQ(got.name, want.name) << "folder " << i;
        EXPECT_EQ(got.objectId, want.objectId) << want.name;
        EXPECT_EQ(got.parentId, want.parentId) << want.name;
        EXPECT_EQ(got.timeStamp, want.time) << want.name;
        EXPECT_EQ(got.itemNumber, i) << want.name;
    }
    for (size_t i = 0; i < expected.files.size(); ++i) {
        const ItemRecord& got = tree.files()[i];
        const ExpectedItem& want = expected.files[i];
        EXPECT_EQ(got.name, want.name) << "file " << i;
        EXPECT_EQ(got.objectId, want.objectId) << want.name;
        EXPECT_EQ(got.parentId, want.parentId) << want.name;
        EXPECT_EQ(got.timeStamp, want.time) << want.name;
        EXPECT_EQ(static_cast<uint64_t>(got.size), want.size) << want.name;
        EXPECT_EQ(got.firstBlock, want.firstBlock) << want.name;
        EXPECT_EQ(got.blockCount, want.blockCount) << want.name;
        EXPECT_EQ(got.itemNumber, i) << want.name;
    }
}

}  // namespace lumbra::test
