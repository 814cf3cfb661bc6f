#include "picture/plan_survey.h"

#include <algorithm>
#include <new>

#include "discovery/partition_header.h"
#include "discovery/sector_io.h"
#include "discovery/volume_discovery.h"
#include "disk/sector.h"
#include "picture/disk_facts.h"
#include "picture/header_areas.h"
#include "recovery/volume_mount.h"

namespace lumbra {
namespace {

class Survey {
public:
    Survey(SectorReader& reader, uint64_t diskSectors, const PlanRequest& request, MountEvents& events,
           std::atomic<int32_t>& stopRequested, PlanSurvey& result)
        : reader_(reader), request_(request), events_(events), stopRequested_(stopRequested), result_(result) {
        base_.diskSectors = diskSectors;
    }

    bool unreadable(uint64_t first, uint64_t count) const {
        const DamageMap* damage = reader_.damageMap();
        return damage && damage->touches(first, count);
    }

    void gap(PlanGap::Kind kind, const std::string& pool = {}, const std::string& volume = {}) {
        PlanGap gap{kind, pool, volume};
        if (std::find(result_.gaps.begin(), result_.gaps.end(), gap) == result_.gaps.end()) result_.gaps.push_back(gap);
    }

    bool wantsMetadata() const { return request_.content != PlanContent::Files; }

    // Sector 0 and the NetWare partitions' headers, with the sectors where each header's data-start
    // marker may lie (it says where the header's area ends) while they are not read.
    void partitions(const PoolTable& pools) {
        base_.partitionTable = !PartitionTableStarts(reader_).empty();
        for (uint32_t row = 0; row < pools.count(); ++row) base_.pools.push_back(*SelectPool(pools, row));
        base_.headerAreas = DiskHeaderAreas(reader_, base_.pools);
        if (unreadable(0, 1)) gap(PlanGap::Kind::PartitionTable);
        std::vector<uint64_t> headers;
        for (const SectorRange& area : base_.headerAreas) headers.push_back(area.first);
        for (uint64_t start : PartitionTableStarts(reader_))
            if (std::find(headers.begin(), headers.end(), start) == headers.end() && unreadable(start, 1))
                headers.push_back(start);
        if (!wantsMetadata()) return;
        result_.plan.add(0, 1);
        using namespace data_start_marker;
        for (uint64_t header : headers) {
            result_.plan.add(header, kDefaultDistance);
            // The places the marker is looked for that are not read yet, up to the one that holds it.
            for (int i = 0; i < kCandidates; ++i) {
                const uint64_t candidate = header + kFirstSectorOffset + uint64_t{kSectorStep} * i;
                const bool marker = !unreadable(candidate, 1) && ParseDataStartMarker(ReadOneSector(reader_, candidate));
                if (marker || unreadable(candidate, 1)) result_.plan.add(candidate, 1);
                if (marker) break;
            }
            if (unreadable(header, 1)) gap(PlanGap::Kind::PartitionHeaders);
        }
        for (const SectorRange& area : base_.headerAreas)
            if (unreadable(area.first, area.count)) gap(PlanGap::Kind::PartitionHeaders);
    }

    void pool(uint32_t row) {
        const SelectedPool& pool = base_.pools[row];
        ObjectTree objectTree;
        VolumeTable volumes;
        BlockQueue queue;
        result_.memoryFailure = DiscoverVolumes(reader_, pool, RecoveryMode::VolumeBased, objectTree, volumes, queue);
        if (result_.memoryFailure != MemoryFailure::None) return;
        DiskFacts facts = base_;
        facts.selectedPool = row;
        if (objectTree.superblockSector != 0) {
            facts.superblockSector = objectTree.superblockSector;
            if (unreadable(objectTree.superblockSector, kSectorsPerBlock)) gap(PlanGap::Kind::Superblock, pool.name);
        }
        for (size_t i = 0; i < queue.size(); ++i) {
            facts.objectTreeBlocks.push_back(queue[i]);
            if (unreadable(queue[i], kSectorsPerBlock)) gap(PlanGap::Kind::ObjectTree, pool.name);
        }
        result_.plan.addPicture(LayDiskOut(facts), request_.content);
        for (uint32_t volume = 0; volume < volumes.count(); ++volume) {
            if (request_.volumeRow && *request_.volumeRow != volume) continue;
            mount(facts, pool, volumes[volume]);
            if (result_.stopped || result_.memoryFailure != MemoryFailure::None) return;
        }
    }

    void mount(DiskFacts facts, const SelectedPool& pool, const VolumeEntry& volume) {
        BlockQueue queue;
        RecoveredTree tree;
        MountContext context{reader_, pool, queue, tree, events_, stopRequested_};
        const MountOutcome outcome = MountVolume(context, {static_cast<uint16_t>(RecoveryMode::VolumeBased), volume.rootSector});
        result_.stopped = outcome.stopped;
        result_.memoryFailure = outcome.memoryFailure;
        if (outcome.memoryFailure != MemoryFailure::None) return;
        facts.volumeRoot = volume.rootSector;
        for (size_t i = 0; i < queue.size(); ++i) facts.volumeTreeBlocks.push_back(queue[i]);
        bool whole = !unreadable(volume.rootSector, kSectorsPerBlock);
        for (uint64_t block : facts.volumeTreeBlocks) whole = whole && !unreadable(block, kSectorsPerBlock);
        if (!whole) gap(PlanGap::Kind::VolumeTree, pool.name, volume.name);
        facts.tree = &tree;
        const std::vector<bool> chosen = request_.chooseFiles ? request_.chooseFiles(tree) : std::vector<bool>();
        result_.plan.addPicture(LayDiskOut(facts), request_.content, request_.chooseFiles ? &chosen : nullptr);
    }

    DiskFacts base_;

private:
    SectorReader& reader_;
    const PlanRequest& request_;
    MountEvents& events_;
    std::atomic<int32_t>& stopRequested_;
    PlanSurvey& result_;
};

}  // namespace

PlanSurvey SurveyDiskForPlan(SectorReader& reader, const PoolTable& pools, uint64_t diskSectors,
                             const PlanRequest& request, MountEvents& events, std::atomic<int32_t>& stopRequested) {
    PlanSurvey result;
    Survey survey(reader, diskSectors, request, events, stopRequested, result);
    survey.partitions(pools);
    for (uint32_t row = 0; row < survey.base_.pools.size(); ++row) {
        if (request.poolRow && *request.poolRow != row) continue;
        survey.pool(row);
        if (result.stopped || result.memoryFailure != MemoryFailure::None) break;
    }
    return result;
}

std::string PlanGapText(PlanGap::Kind kind, std::string_view pool, std::string_view volume) {
    std::string what;
    switch (kind) {
        case PlanGap::Kind::PartitionTable: what = "the partition table"; break;
        case PlanGap::Kind::PartitionHeaders: what = "the partition headers"; break;
        case PlanGap::Kind::Superblock: what = "the superblock of pool " + std::string(pool); break;
        case PlanGap::Kind::ObjectTree: what = "the object tree of pool " + std::string(pool); break;
        case PlanGap::Kind::VolumeTree: what = "the B-tree of volume " + std::string(volume); break;
    }
    return what + " is not rescued yet: run ddrescue with the metadata plan, then plan again";
}

}  // namespace lumbra
