#pragma once
// Reading a recovery snapshot. The whole file is checked before anything is handed back, so a
// refused file leaves the caller's records, pool and volumes as they were.
#include <string>
#include <variant>

#include "disk/byte_order.h"
#include "snapshot/snapshot_state.h"

namespace lumbra {

struct SnapshotLoadError {
    enum class Kind {
        Unreadable,    // the file cannot be opened or read
        WrongTag,      // the first 7 bytes are not "qvd4.03" (any case)
        WrongVersion,  // the next 3 are not "1.0" (any case)
        Damaged,       // a field beyond its bounds, a file that ends early or goes on after G
    };
    Kind kind = Kind::Damaged;
    std::string message;  // what the wizard shows, exactly
};

using SnapshotLoadResult = std::variant<LoadedSnapshot, SnapshotLoadError>;

// Checks and reads the bytes of a snapshot. Records are admitted by the loader's own rule: a
// record whose timeStamp is 2,100,000,000 or more is skipped; every other one takes the
// current counter as its itemNumber and counts, also a folder that AddFolderRecord refuses.
SnapshotLoadResult DecodeSnapshot(ByteView bytes);

// Reads the file (opened read-only) and decodes it.
SnapshotLoadResult LoadSnapshotFile(const std::string& path);

}  // namespace lumbra
