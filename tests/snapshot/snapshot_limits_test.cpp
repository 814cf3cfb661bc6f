// The bounds of the snapshot format on both sides: a state exactly at every bound is saved and
// loaded whole; one past any bound is never written.
#include <gtest/gtest.h>

#include "recovery/destination_files.h"
#include "snapshot/snapshot_format.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"
#include "support/scratch_folder.h"

namespace lumbra {
namespace {

namespace format = snapshot_format;

// 49 volumes of 49-character names, a pool name of 19 characters in 50 segments, and a file
// whose name has 255 characters.
SnapshotState StateAtEveryBound() {
    SnapshotState state;
    state.pool.name = std::string(format::kMaxPoolNameLength, 'P');
    state.pool.poolSize = 500000;
    state.pool.segmentCount = format::kMaxSegments;
    for (uint32_t i = 0; i < format::kMaxSegments; ++i) {
        state.pool.segmentStart.push_back(2048 + i * 10000);
        state.pool.segmentExtent.push_back(10000);
    }
    state.objectTree = {2056, 4096};
    for (size_t i = 0; i < kMaxVolumes; ++i) {
        std::string name(format::kMaxVolumeNameLength, 'V');
        name.replace(0, 2, std::to_string(10 + i));
        EXPECT_TRUE(state.volumes.add({name, 100000 + i, 0}));
    }
    state.selectedVolume = kMaxVolumes - 1;
    return state;
}

RecoveredTree RecordsAtEveryBound() {
    RecoveredTree records;
    records.AddFolderRecord("DIR", 7, 0, 0, 1);
    records.AddFileRecord(std::string(kMaxItemNameLength, 'F'), 8, 7, 0, 30, 1, 10, 2);
    return records;
}

TEST(SnapshotLimits, AStateAtEveryBoundIsSavedAndLoadedWhole) {
    test::ScratchFolder folder("snapshot_limits");
    const std::string path = folder.file("FULL.QVDX");
    const SnapshotState state = StateAtEveryBound();
    ASSERT_EQ(state.volumes.count(), 49u);
    PosixDestinationFiles files;
    ASSERT_FALSE(SaveSnapshot(files, path, state, RecordsAtEveryBound()).has_value());

    const SnapshotLoadResult result = LoadSnapshotFile(path);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    const LoadedSnapshot& loaded = std::get<LoadedSnapshot>(result);
    EXPECT_EQ(loaded.state.pool.name, state.pool.name);
    EXPECT_EQ(loaded.state.pool.segmentStart, state.pool.segmentStart);
    ASSERT_EQ(loaded.state.volumes.count(), 49u);
    for (size_t i = 0; i < kMaxVolumes; ++i) {
        EXPECT_EQ(loaded.state.volumes[i].name, state.volumes[i].name) << i;
        EXPECT_EQ(loaded.state.volumes[i].rootSector, state.volumes[i].rootSector) << i;
    }
    EXPECT_EQ(loaded.state.selectedVolume, 48u);
    ASSERT_EQ(loaded.records.files().size(), 1u);
    EXPECT_EQ(loaded.records.files()[0].name.size(), 255u);
}

TEST(SnapshotLimits, OnePastAnyBoundIsNeverWritten) {
    const RecoveredTree records = RecordsAtEveryBound();
    ASSERT_TRUE(EncodeSnapshot(StateAtEveryBound(), records));

    SnapshotState longPoolName = StateAtEveryBound();
    longPoolName.pool.name += 'P';
    EXPECT_FALSE(EncodeSnapshot(longPoolName, records));

    SnapshotState segments = StateAtEveryBound();
    segments.pool.segmentCount += 1;
    segments.pool.segmentStart.push_back(1);
    segments.pool.segmentExtent.push_back(1);
    EXPECT_FALSE(EncodeSnapshot(segments, records));

    SnapshotState longVolumeName = StateAtEveryBound();
    longVolumeName.volumes[48].name += 'V';
    EXPECT_FALSE(EncodeSnapshot(longVolumeName, records));
}

}  // namespace
}  // namespace lumbra
