#include "recovery/file_condition.h"

#include <algorithm>

#include "discovery/pool_mapping.h"
#include "disk/sector.h"

namespace lumbra {

std::string ConditionText(ConditionKind kind) {
    switch (kind) {
        case ConditionKind::Intact: return "intact";
        case ConditionKind::Damaged: return "damaged";
        case ConditionKind::CutShort: return "cut short";
        case ConditionKind::NotReadYet: return "not read yet";
    }
    return "not read yet";
}

// A file is consecutive pool blocks, that is consecutive pool sectors; each segment it crosses
// gives one run. A segment whose extent is not a multiple of 8 ends inside a block, so the walk
// goes from segment to segment by sectors, never by whole blocks.
FileLayout LayFileOut(const SelectedPool& pool, std::optional<uint64_t> diskSectors, uint64_t firstBlock, int64_t size) {
    FileLayout layout;
    if (size <= 0) return layout;
    const uint64_t total = static_cast<uint64_t>(size);
    const uint64_t diskEnd = diskSectors.value_or(UINT64_MAX);
    // A block number too large to be a sector number maps nothing.
    const bool mappable = firstBlock <= UINT64_MAX / kSectorsPerBlock;
    uint64_t poolSector = mappable ? firstBlock * kSectorsPerBlock : 0;
    uint64_t offset = 0;
    while (mappable && offset < total) {
        const auto mapped = MapPoolRun(pool, poolSector);
        if (!mapped || mapped->diskSector >= diskEnd) break;
        const uint64_t sectors = std::min(mapped->sectors, diskEnd - mapped->diskSector);
        const uint64_t bytes = sectors > (UINT64_MAX / kSectorSize) ? UINT64_MAX : sectors * kSectorSize;
        const uint64_t length = std::min(total - offset, bytes);
        layout.runs.push_back({offset, mapped->diskSector * kSectorSize, length});
        offset += length;
        if (length < bytes || sectors < mapped->sectors) break;
        // The run ended with its segment: the next sector starts the next segment's run. A
        // run is at most one segment's extent, so the sum stays far below 2^64.
        poolSector += sectors;
    }
    layout.cutShort = offset < total;
    return layout;
}

FileCondition ConditionOf(const FileLayout& layout, const DamageMap* damage, bool dataRead, bool copyCutShort) {
    FileCondition condition;
    if (damage) {
        for (const DiskRun& run : layout.runs) {
            const uint64_t firstSector = run.diskOffset / kSectorSize;
            const uint64_t endSector = (run.diskOffset + run.length + kSectorSize - 1) / kSectorSize;
            for (const SectorRange& bad : damage->within(firstSector, endSector - firstSector)) {
                const uint64_t from = std::max(bad.first * kSectorSize, run.diskOffset);
                const uint64_t to = std::min(bad.end() * kSectorSize, run.diskOffset + run.length);
                const uint64_t fileFrom = run.fileOffset + (from - run.diskOffset);
                auto& ranges = condition.unreadableRanges;
                if (!ranges.empty() && ranges.back().position + ranges.back().size == fileFrom)
                    ranges.back().size += to - from;
                else
                    ranges.push_back({fileFrom, to - from});
                condition.unreadableBytes += to - from;
            }
        }
    }
    const bool known = dataRead || (damage && damage->knownInAdvance());
    if (layout.cutShort || copyCutShort) condition.kind = ConditionKind::CutShort;
    else if (condition.unreadableBytes > 0) condition.kind = ConditionKind::Damaged;
    else condition.kind = known ? ConditionKind::Intact : ConditionKind::NotReadYet;
    return condition;
}

}  // namespace lumbra
