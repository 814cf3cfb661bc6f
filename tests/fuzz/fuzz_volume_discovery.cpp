// Volume discovery (superblock, object tree) of every pool the partition table lists, volume
// based and pool based, over an image made of the input's bytes.
#include <set>

#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "pool_checks.h"

using namespace lumbra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::CountingReader reader({data, size});
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    fuzz::CheckPoolTable(pools);
    for (uint32_t row = 0; row < pools.count(); ++row) {
        const SelectedPool pool = *SelectPool(pools, row);
        for (RecoveryMode mode : {RecoveryMode::VolumeBased, RecoveryMode::PoolBased}) {
            ObjectTree tree;
            VolumeTable volumes;
            BlockQueue queue;
            FUZZ_CHECK(DiscoverVolumes(reader, pool, mode, tree, volumes, queue) == MemoryFailure::None);
            FUZZ_CHECK(volumes.count() <= kMaxVolumes);
            for (const VolumeEntry& volume : volumes.volumes())
                FUZZ_CHECK(mode == RecoveryMode::PoolBased || volume.name.size() <= kMaxVolumeNameLength);
            if (mode == RecoveryMode::PoolBased) FUZZ_CHECK(volumes.count() <= 1);
            std::set<uint64_t> visited;
            for (size_t i = 0; i < queue.size(); ++i) FUZZ_CHECK(visited.insert(queue[i]).second);
        }
    }
    // Each pool's tree block is read once per discovery, and each is named by a link of the
    // image (a 12-byte branch entry leads to one 8-sector block).
    reader.checkBounded(4 * 8 * (kMaxPools + 1) + 2 * kMaxPools * 8 * (kSectorSize / 12 + 1), 65536);
    return 0;
}
