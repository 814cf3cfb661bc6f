#pragma once
// The lost-data search: every folder whose parent was not found gets an invented parent.
#include <atomic>
#include <cstdint>

#include "recovery/mount_events.h"
#include "recovery/record_lists.h"

namespace lumbra {

// Walks the folder list in order, folders invented on the way included. For each folder whose
// parentId is not 0 and names no listed folder, appends a folder "Dir" + n (n = 0, 1, ...) with
// that parentId as its objectId, directly under the root, time stamp 0. Reports the status
// line "Searching Lost Data ..." and progress; ends early when a stop is requested.
void SearchLostFolders(RecoveredTree& tree, MountEvents& events,
                       const std::atomic<int32_t>& stopRequested);

}  // namespace lumbra
