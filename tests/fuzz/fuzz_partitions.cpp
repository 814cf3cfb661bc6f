// The partition table, the partition chain and the pool listing over an image made of the
// input's bytes.
#include "discovery/partition_table.h"
#include "discovery/pool_listing.h"
#include "pool_checks.h"

using namespace lumbra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::CountingReader reader({data, size});
    PoolTable pools;
    const bool tableFound = ListPoolsFromPartitionTable(reader, pools);
    fuzz::CheckPoolTable(pools);
    if (!tableFound) FUZZ_CHECK(pools.empty());
    for (uint32_t row = 0; row < pools.count(); ++row) {
        const auto selected = SelectPool(pools, row);
        FUZZ_CHECK(selected && selected->name == pools[row].name);
    }
    FUZZ_CHECK(!SelectPool(pools, pools.count()));
    // Four chains, each header met once per walk, and a segmented pool's chain walked again
    // for each pool listed.
    reader.checkBounded(4 * 8 * (kMaxPools + 1), 4096);
    return 0;
}
