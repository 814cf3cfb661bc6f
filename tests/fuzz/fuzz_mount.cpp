// The mount of a volume as the front ends run it: pools from the partition table, volumes of
// the first pool, then the mount (the B-tree walk, or every block of the pool), the folder
// tree, one folder's list, Find and the names the saving would write. The option byte picks
// pool based (bit 0) and the volume (the rest); the image is the remaining bytes.
#include <atomic>
#include <set>

#include "discovery/pool_listing.h"
#include "discovery/volume_discovery.h"
#include "fuzz_input.h"
#include "recovery/find_search.h"
#include "recovery/folder_browse.h"
#include "recovery/folder_path.h"
#include "recovery/name_match.h"
#include "recovery/recording_views.h"
#include "recovery/safe_file_name.h"
#include "recovery/volume_mount.h"

using namespace lumbra;

namespace {

class CountingSink : public FindResultSink {
public:
    void rowFound(const FindRow& row, uint32_t filesFound) override {
        FUZZ_CHECK(filesFound == ++rows);
        FUZZ_CHECK(!row.path.empty() && row.path[0] == '\\');
    }
    uint32_t rows = 0;
};

// The name a record gets on the destination names an entry directly inside its folder.
void CheckSafeName(const std::string& name) {
    FUZZ_CHECK(!name.empty() && name.size() <= kMaxItemNameLength);
    const std::string safe = SafeFileName(name);
    FUZZ_CHECK(!safe.empty() && safe.size() <= kMaxDestinationNameBytes);
    FUZZ_CHECK(safe != "." && safe != "..");
    for (unsigned char c : safe) FUZZ_CHECK(c >= 0x20 && c != 0x7F && c != '/' && c != '\\');
}

// A name without wildcards matches itself (a substring test), and "*" matches every name.
void CheckNameMatch(const std::string& name) {
    const std::string upper = UpperCase8Bit(name);
    FUZZ_CHECK(upper.size() == name.size());
    if (upper.find_first_of("*?") == std::string::npos) FUZZ_CHECK(MatchName(upper, upper));
    FUZZ_CHECK(MatchName(upper, "*"));
}

void CheckTree(RecoveredTree& tree) {
    test::RecordingTreeView view;
    BuildFolderTree(tree, view, test::RecordingTreeView::kRoot, 0);
    FUZZ_CHECK(view.items.size() <= tree.folders().size());
    std::set<uint32_t> items;
    for (const ItemRecord& folder : tree.folders())
        if (folder.treeItem != 0) FUZZ_CHECK(items.insert(folder.treeItem).second && view.items.count(folder.treeItem));

    test::RecordingListView list;
    FillItemList(tree, list, 0, {});
    if (!tree.folders().empty()) FillItemList(tree, list, tree.folders().back().objectId, {"*.*"});

    for (const ItemRecord& folder : tree.folders()) {
        CheckSafeName(folder.name);
        CheckNameMatch(folder.name);
    }
    for (const ItemRecord& file : tree.files()) {
        CheckSafeName(file.name);
        CheckNameMatch(file.name);
        const auto chain = ParentFolderChain(tree, file.parentId);
        FUZZ_CHECK(chain.size() <= tree.folders().size());
        FUZZ_CHECK(std::set<const ItemRecord*>(chain.begin(), chain.end()).size() == chain.size());
    }

    CountingSink sink;
    SearchControl control;
    const FindOutcome all = RunFindSearch(tree, "*", sink, control);
    FUZZ_CHECK(!all.cancelled && all.filesFound == tree.files().size());
    if (!tree.files().empty()) {
        CountingSink named;
        RunFindSearch(tree, tree.files().front().name, named, control);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto [options, image] = fuzz::SplitOptionByte(data, size);
    const bool poolBased = options & 1;
    fuzz::CountingReader reader(image);
    PoolTable pools;
    ListPoolsFromPartitionTable(reader, pools);
    const auto pool = SelectPool(pools, 0);
    if (!pool) return 0;
    ObjectTree objectTree;
    VolumeTable volumes;
    BlockQueue queue;
    const RecoveryMode mode = poolBased ? RecoveryMode::PoolBased : RecoveryMode::VolumeBased;
    DiscoverVolumes(reader, *pool, mode, objectTree, volumes, queue);
    if (volumes.empty()) return 0;
    const VolumeEntry& volume = volumes[(options >> 1) % volumes.count()];

    RecoveredTree tree;
    NoMountEvents events;
    std::atomic<int32_t> stop{0};
    MountContext context{reader, *pool, queue, tree, events, stop};
    const MountOutcome outcome =
        MountVolume(context, {static_cast<uint16_t>(poolBased ? 2 : 1), volume.rootSector});
    FUZZ_CHECK(!outcome.stopped && outcome.memoryFailure == MemoryFailure::None);
    FUZZ_CHECK(tree.folderCounter == tree.folders().size() && tree.fileCounter == tree.files().size());
    for (size_t i = 0; i < tree.files().size(); ++i) FUZZ_CHECK(tree.files()[i].itemNumber == i);
    CheckTree(tree);
    // Discovery and the mount each read a block once per link of the image that names it,
    // and the pool-based scan reads each sector of the pool that lies on the disk once.
    reader.checkBounded(4 * 8 * (kMaxPools + 1) + 2 * 8 * (kSectorSize / 12 + 1), 65536);
    return 0;
}
