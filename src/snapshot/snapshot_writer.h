#pragma once
// Writing a recovery snapshot.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recovery/destination_files.h"
#include "recovery/record_lists.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

// The bytes of a snapshot of this state and these lists. F and G are the numbers of records
// written (the lengths of the lists, not their counters). nullopt when a field exceeds the
// bounds of the format, so that no file is ever written that a load would refuse.
std::optional<std::vector<uint8_t>> EncodeSnapshot(const SnapshotState& state, const RecoveredTree& records);

// The path a save writes for the path the user chose: the file name upper-cased, with ".QVDX"
// appended unless it already ends so. The folder part is kept as it is, since letter case
// matters on this file system.
std::string SnapshotSavePath(const std::string& chosenPath);

// Why a save wrote nothing.
struct SnapshotSaveError {
    bool replacesInput = false;  // the path is a file the run reads
    std::string message;         // what the wizard shows
    std::string reason;          // the system's words for the failure; empty when none is known
};

// Writes the bytes through the destination files, which put a file that replaces an earlier
// snapshot in place only once it is whole and never write over an input of the run. nullopt on
// success; else "Unable to save the recovery snapshot.", or the refusal that names the input.
std::optional<SnapshotSaveError> WriteSnapshotFile(DestinationFiles& files, const std::string& path,
                                                   const std::vector<uint8_t>& bytes);

// EncodeSnapshot, then WriteSnapshotFile.
std::optional<SnapshotSaveError> SaveSnapshot(DestinationFiles& files, const std::string& path,
                                              const SnapshotState& state, const RecoveredTree& records);

}  // namespace lumbra
