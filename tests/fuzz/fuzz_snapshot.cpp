// The snapshot reader over the input's bytes. Every snapshot it accepts is saved again and
// loaded again: the second load holds the same state and records as the first, and saving
// it gives the same bytes as the first save. The one exception is the stored item numbers
// when the first load counted folders it refused: they follow the loader's counter, so the
// first save keeps the gaps and the second load closes them; from then on saves are equal.
#include "fuzz_input.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"

using namespace lumbra;

namespace {

bool SameRecord(const ItemRecord& a, const ItemRecord& b, bool compareItemNumbers) {
    return a.objectId == b.objectId && a.parentId == b.parentId && a.firstBlock == b.firstBlock &&
           a.blockCount == b.blockCount && a.name == b.name && a.timeStamp == b.timeStamp && a.size == b.size &&
           (!compareItemNumbers || a.itemNumber == b.itemNumber);
}

bool SameList(const std::deque<ItemRecord>& a, const std::deque<ItemRecord>& b, bool compareItemNumbers) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameRecord(a[i], b[i], compareItemNumbers)) return false;
    return true;
}

bool SamePool(const SelectedPool& a, const SelectedPool& b) {
    return a.name == b.name && a.poolSize == b.poolSize && a.segmentCount == b.segmentCount &&
           a.segmentStart == b.segmentStart && a.segmentExtent == b.segmentExtent;
}

bool SameVolumes(const VolumeTable& a, const VolumeTable& b) {
    if (a.count() != b.count()) return false;
    for (uint32_t i = 0; i < a.count(); ++i)
        if (a[i].name != b[i].name || a[i].rootSector != b[i].rootSector) return false;
    return true;
}

bool SameState(const SnapshotState& a, const SnapshotState& b) {
    return a.selectedDrive == b.selectedDrive && SamePool(a.pool, b.pool) &&
           a.objectTree.superblockSector == b.objectTree.superblockSector &&
           a.objectTree.rootSector == b.objectTree.rootSector && SameVolumes(a.volumes, b.volumes) &&
           a.selectedPool == b.selectedPool && a.selectedVolume == b.selectedVolume &&
           a.treeSample == b.treeSample && a.partial == b.partial;
}

// The snapshot as saved and loaded once more.
LoadedSnapshot RoundTrip(const LoadedSnapshot& loaded, std::vector<uint8_t>& saved) {
    auto bytes = EncodeSnapshot(loaded.state, loaded.records);
    FUZZ_CHECK(bytes.has_value());
    saved = std::move(*bytes);
    auto again = DecodeSnapshot(saved);
    FUZZ_CHECK(std::holds_alternative<LoadedSnapshot>(again));
    return std::move(std::get<LoadedSnapshot>(again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto first = DecodeSnapshot({data, size});
    if (!std::holds_alternative<LoadedSnapshot>(first)) return 0;
    const LoadedSnapshot& loaded = std::get<LoadedSnapshot>(first);
    FUZZ_CHECK(loaded.records.folders().size() <= loaded.records.folderCounter);
    FUZZ_CHECK(loaded.records.files().size() <= loaded.records.fileCounter);

    std::vector<uint8_t> savedOnce, savedTwice;
    const LoadedSnapshot second = RoundTrip(loaded, savedOnce);
    // Item numbers follow the loader's counters, which may count records it refused.
    FUZZ_CHECK(SameState(loaded.state, second.state));
    FUZZ_CHECK(SameList(loaded.records.folders(), second.records.folders(), false));
    FUZZ_CHECK(SameList(loaded.records.files(), second.records.files(), false));

    const LoadedSnapshot third = RoundTrip(second, savedTwice);
    const bool countersAreLengths = loaded.records.folders().size() == loaded.records.folderCounter &&
                                    loaded.records.files().size() == loaded.records.fileCounter;
    if (countersAreLengths) FUZZ_CHECK(savedTwice == savedOnce);
    FUZZ_CHECK(second.records.folders().size() == second.records.folderCounter);
    FUZZ_CHECK(second.records.files().size() == second.records.fileCounter);
    FUZZ_CHECK(SameState(second.state, third.state));
    FUZZ_CHECK(SameList(second.records.folders(), third.records.folders(), true));
    FUZZ_CHECK(SameList(second.records.files(), third.records.files(), true));
    std::vector<uint8_t> savedThrice;
    RoundTrip(third, savedThrice);
    FUZZ_CHECK(savedThrice == savedTwice);
    return 0;
}
