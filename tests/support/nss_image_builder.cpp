#include "support/nss_image_builder.h"

#include <algorithm>
#include <stdexcept>

#include "disk/sector.h"
#include "support/block_allocator.h"
#include "support/image_data.h"
#include "support/partition_writer.h"
#include "support/pool_writer.h"
#include "support/utf16_names.h"
#include "support/volume_builder.h"

namespace lumbra::test {

NssImageBuilder& NssImageBuilder::pool(PoolPlan pool) {
    plan_.pools.push_back(std::move(pool));
    return *this;
}

NssImageBuilder& NssImageBuilder::pool(std::string name, SegmentPlan segment) {
    return pool(PoolPlan{.name = std::move(name), .segments = {std::move(segment)}});
}

NssImageBuilder& NssImageBuilder::mbr(MbrPlan mbr) {
    plan_.mbr = std::move(mbr);
    return *this;
}

NssImageBuilder& NssImageBuilder::partitionTableEntry(uint32_t start, uint32_t count, uint8_t type) {
    plan_.mbr.entries.push_back({.type = type, .start = start, .count = count, .countFromPartition = count == 0});
    return *this;
}

NssImageBuilder& NssImageBuilder::mbrSignature(MbrSignature signature) {
    plan_.mbr.signature = signature;
    return *this;
}

NssImageBuilder& NssImageBuilder::noMbr() {
    plan_.mbr.present = false;
    return *this;
}

NssImageBuilder& NssImageBuilder::patch(uint64_t diskOffset, std::vector<uint8_t> bytes) {
    plan_.patches.push_back({diskOffset, std::move(bytes)});
    return *this;
}

NssImageBuilder& NssImageBuilder::diskSectors(uint64_t sectors) {
    plan_.diskSectors = sectors;
    return *this;
}

NssImageBuilder& NssImageBuilder::contentSeed(uint64_t seed) {
    plan_.contentSeed = seed;
    return *this;
}

namespace {

constexpr uint64_t kReservedBlocks = 2;  // block 0 and the superblock
constexpr uint64_t kSlackBlocks = 16;

struct PlannedPool {
    std::vector<PlannedVolume> volumes;
    TreeLayout objectTree;
};

uint64_t neededSectors(const PlannedPool& pool, size_t segmentCount) {
    uint64_t blocks = kReservedBlocks + kSlackBlocks + 4 * segmentCount + pool.objectTree.nodeCount();
    uint64_t placedEnd = 0;
    for (const PlannedVolume& v : pool.volumes) {
        blocks += v.layout.nodeCount() + v.autoDataBlocks;
        for (const BlockRun& run : v.placedRuns) placedEnd = std::max(placedEnd, run.start + run.count);
    }
    return std::max(blocks, placedEnd + kSlackBlocks) * kSectorsPerBlock;
}

BlockAllocator makeAllocator(const DiskPlan& plan, const ImageData& image, size_t p, const PlannedPool& planned) {
    const BuiltPool& pool = image.pools[p];
    BlockAllocator allocator(pool.name, pool.poolSize / kSectorsPerBlock);
    for (uint64_t b = 0; b < kReservedBlocks; ++b) allocator.reserve(b);
    const std::vector<SegmentPlace> places = pool.places();
    for (uint64_t sector : partitionSectors(plan, image.pools, p)) {
        uint64_t before = 0;  // pool sectors of the segments passed
        for (const SegmentPlace& place : places) {
            if (sector >= place.dataStart && sector < place.dataStart + place.extent)
                allocator.reserve((before + sector - place.dataStart) / kSectorsPerBlock);
            before += place.extent;
        }
    }
    for (const PlannedVolume& v : planned.volumes)
        for (const BlockRun& run : v.placedRuns) allocator.reserve(run);
    return allocator;
}

void placePool(const DiskPlan& plan, ImageData& image, size_t p, PlannedPool& planned) {
    BuiltPool& pool = image.pools[p];
    BlockAllocator allocator = makeAllocator(plan, image, p, planned);
    std::vector<uint64_t> treeBlocks(planned.objectTree.nodeCount());
    for (uint64_t& block : treeBlocks) block = allocator.take();
    pool.treeRootBlock = treeBlocks[0];
    for (size_t i = 0; i < planned.objectTree.branches.size(); ++i) pool.treeBranchBlocks.push_back(treeBlocks[i]);
    for (size_t i = 0; i < planned.objectTree.leaves.size(); ++i)
        pool.treeLeafBlocks.push_back(treeBlocks[planned.objectTree.leafNode(i)]);
    for (PlannedVolume& v : planned.volumes) placeVolume(v, allocator);

    pool.superblockSector = pool.segments.empty() ? 0 : pool.segments[0].dataStart + kSectorsPerBlock;
    pool.treeRootSector = pool.toDiskSector(pool.treeRootBlock * kSectorsPerBlock).value_or(0);
    writePoolContents(image, static_cast<uint32_t>(p), plan.pools[p], planned.objectTree, treeBlocks, planned.volumes);
    for (PlannedVolume& v : planned.volumes) {
        v.built.rootSector = pool.toDiskSector(v.built.rootBlock * kSectorsPerBlock).value_or(0);
        pool.volumes.push_back(std::move(v.built));
        image.render[p].push_back(std::move(v.render));
    }
}

void sortRegions(std::vector<Region>& regions) {
    std::sort(regions.begin(), regions.end(), [](const Region& a, const Region& b) { return a.offset < b.offset; });
    for (size_t i = 1; i < regions.size(); ++i)
        if (regions[i - 1].offset + regions[i - 1].length > regions[i].offset)
            throw std::invalid_argument("data runs overlap on the disk");
}

uint64_t diskSize(const DiskPlan& plan, const ImageData& image) {
    if (plan.diskSectors) return plan.diskSectors * kSectorSize;
    uint64_t end = 1;
    for (const BuiltPool& pool : image.pools)
        for (const BuiltSegment& s : pool.segments) end = std::max(end, s.dataStart + s.extent);
    for (const auto& [sector, count] : image.store.sectorRuns()) end = std::max(end, sector + count);
    return (end + 2048 + 2047) / 2048 * 2048 * kSectorSize;
}

}  // namespace

NssImage NssImageBuilder::build() const {
    auto image = std::make_shared<ImageData>();
    image->contentSeed = plan_.contentSeed;
    image->patches = plan_.patches;
    std::vector<PlannedPool> planned(plan_.pools.size());
    std::vector<uint64_t> needed;
    for (size_t p = 0; p < plan_.pools.size(); ++p) {
        const PoolPlan& pool = plan_.pools[p];
        for (const VolumePlan& v : pool.volumes) planned[p].volumes.push_back(planVolume(v, plan_.contentSeed));
        planned[p].objectTree = layoutObjectTree(pool, planned[p].volumes);
        needed.push_back(neededSectors(planned[p], segmentsOf(pool).size()));
        BuiltPool built;
        built.name = pool.name;
        built.expectedName = lowBytesName(utf16FromUtf8(pool.name), 15);
        image->pools.push_back(std::move(built));
    }
    image->render.resize(plan_.pools.size());
    placeSegments(plan_, needed, image->pools);
    for (size_t p = 0; p < plan_.pools.size(); ++p) placePool(plan_, *image, p, planned[p]);
    writeMbr(*image, plan_.mbr, writePartitions(*image, plan_));
    sortRegions(image->regions);
    image->sizeBytes = diskSize(plan_, *image);
    return NssImage(std::move(image));
}

}  // namespace lumbra::test
