#include "recovery/lost_folders.h"

#include <algorithm>
#include <string>

namespace lumbra {

void SearchLostFolders(RecoveredTree& tree, MountEvents& events,
                       const std::atomic<int32_t>& stopRequested) {
    events.statusLine("Searching Lost Data ...");
    events.progress(0);
    uint32_t shown = 0;
    uint64_t invented = 0;
    for (size_t position = 0; position < tree.folders().size(); ++position) {
        if (stopRequested.load(std::memory_order_relaxed) != 0) return;
        uint64_t divisor = tree.folderCounter == 0 ? 1 : tree.folderCounter;
        auto percent = static_cast<uint32_t>(std::min<uint64_t>(100 * position / divisor, 99));
        if (percent != shown) events.progress(shown = percent);
        uint64_t parentId = tree.folders()[position].parentId;
        if (parentId == 0 || tree.HasFolder(parentId)) continue;
        if (tree.AddFolderRecord("Dir" + std::to_string(invented), parentId, 0, tree.folderCounter, 0)) {
            ++tree.folderCounter;
            ++invented;
        }
    }
}

}  // namespace lumbra
