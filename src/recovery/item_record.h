#pragma once
// One recovered folder or file of the mounted volume.
#include <cstdint>
#include <string>

#include "disk/text_encoding.h"

namespace lumbra {

// Names are at most this many bytes of 8-bit text (the low byte of each on-disk UTF-16 unit).
constexpr size_t kMaxItemNameLength = 255;

// Time stamps at or above this value are not real dates: such records are refused on disk,
// and FormatStamp shows "unknown" above it.
constexpr uint32_t kTimeStampLimit = 2'100'000'000u;

struct ItemRecord {
    // Object number in the volume. Folders read from disk use only the low 32 bits; an
    // invented lost folder carries the missing parent's full 64-bit number.
    uint64_t objectId = 0;
    // Running number within its own list, from 0, in the order of admission. A file row of the
    // list view finds its record again by it. High half always 0.
    uint64_t itemNumber = 0;
    // Object number of the containing folder; 0 is the volume root.
    uint64_t parentId = 0;
    // Files: pool-relative number of the first 4096-byte data block. Folders: 0.
    uint64_t firstBlock = 0;
    // Files: number of 4096-byte blocks. Folders: 0.
    uint32_t blockCount = 0;
    // 8-bit text, never empty for records read from disk, at most kMaxItemNameLength bytes. The
    // matching and sorting rules read this form.
    std::string name;
    // The name in full as UTF-8 when it holds characters beyond Latin-1 (so that `name` lost
    // them); empty otherwise, which keeps the records of most volumes as small as before.
    std::string fullName;
    // Seconds since 1970-01-01 00:00 UTC; 0 for invented lost folders.
    uint32_t timeStamp = 0;
    // Files: size in bytes. Folders: 0.
    int64_t size = 0;
    // Folders: the id of the folder's item in the folder tree once the tree is built, 0 until
    // then. Files: always 0. Not kept in snapshots.
    uint32_t treeItem = 0;
};

// The name as people read it and as a file written takes it: UTF-8, in full.
inline std::string NameUtf8(const ItemRecord& record) {
    return record.fullName.empty() ? Latin1ToUtf8(record.name) : record.fullName;
}

}  // namespace lumbra
