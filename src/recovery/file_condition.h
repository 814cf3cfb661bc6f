#pragma once
// The condition of a recovered file: where its data lies on the disk (from its pool mapping)
// set against the drive's damage map.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/damage_map.h"
#include "disk/rescue_map.h"

namespace lumbra {

enum class ConditionKind {
    Intact,     // every sector of its data was read
    Damaged,    // some of its bytes could not be read and are zeros in the copy
    CutShort,   // its data ends early: at the end of its pool or of the disk, or by Skip/Stop
    NotReadYet  // a disk without a rescue map, before the file's data was read
};

// "intact", "damaged", "cut short", "not read yet".
std::string ConditionText(ConditionKind kind);

// Part of a file's data lying in one piece on the disk.
struct DiskRun {
    uint64_t fileOffset = 0;
    uint64_t diskOffset = 0;  // in bytes from the start of the disk
    uint64_t length = 0;
};

struct FileLayout {
    std::vector<DiskRun> runs;  // in file order, together shorter than the size when cut short
    bool cutShort = false;      // the pool or the disk ends before the file's size
};

struct FileCondition {
    ConditionKind kind = ConditionKind::NotReadYet;
    uint64_t unreadableBytes = 0;
    std::vector<ByteArea> unreadableRanges;  // offsets within the file, in order
};

// Where `size` bytes of consecutive pool blocks from firstBlock lie on the disk. diskSectors:
// the disk's size when known.
FileLayout LayFileOut(const SelectedPool& pool, std::optional<uint64_t> diskSectors, uint64_t firstBlock, int64_t size);

// The condition from a layout and the damage map (null: nothing recorded). dataRead: the
// file's data was read in this run (a copy); a map filled in advance knows it without that.
// copyCutShort: the copy ended early by Skip or Stop.
FileCondition ConditionOf(const FileLayout& layout, const DamageMap* damage, bool dataRead, bool copyCutShort = false);

}  // namespace lumbra
