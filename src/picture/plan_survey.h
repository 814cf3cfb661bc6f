#pragma once
// The rescue plan of a whole disk: every pool's partition structures and metadata, and for
// every volume the B-tree the mount reads and its files' data, gathered by discovering and
// mounting each in turn. Read from a partial image, what cannot be read yet is left out and
// named as a gap, so that the user copies the plan, then plans again with what was rescued.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discovery/memory_failure.h"
#include "discovery/pool_table.h"
#include "disk/sector_reader.h"
#include "picture/rescue_plan.h"
#include "recovery/mount_events.h"
#include "recovery/record_lists.h"

namespace lumbra {

// A structure the plan needs but could not read; the names are 8-bit text from the disk.
struct PlanGap {
    enum class Kind : uint8_t { PartitionTable, PartitionHeaders, Superblock, ObjectTree, VolumeTree };
    Kind kind = Kind::PartitionTable;
    std::string pool;
    std::string volume;
    bool operator==(const PlanGap&) const = default;
};

struct PlanRequest {
    PlanContent content = PlanContent::Used;
    std::optional<uint32_t> poolRow;    // nullopt: every pool
    std::optional<uint32_t> volumeRow;  // nullopt: every volume of those pools
    // Which files of a mounted volume go into the plan, by index in its file list; empty:
    // every file.
    std::function<std::vector<bool>(const RecoveredTree&)> chooseFiles;
};

struct PlanSurvey {
    RescuePlan plan;
    std::vector<PlanGap> gaps;  // in the order met, each once
    bool stopped = false;       // a stop ended a mount: the plan is not whole
    MemoryFailure memoryFailure = MemoryFailure::None;
};

// Surveys the pools found on the disk (by row) through the reader, whose damage map knows the
// sectors not rescued yet.
PlanSurvey SurveyDiskForPlan(SectorReader& reader, const PoolTable& pools, uint64_t diskSectors,
                             const PlanRequest& request, MountEvents& events, std::atomic<int32_t>& stopRequested);

// "the B-tree of volume V is not rescued yet: run ddrescue with the metadata plan, then plan
// again", and the like for the other gaps; the names as given (escaped by the caller).
std::string PlanGapText(PlanGap::Kind kind, std::string_view pool, std::string_view volume);

}  // namespace lumbra
