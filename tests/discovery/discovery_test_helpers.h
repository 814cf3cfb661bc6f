#pragma once
// Helpers shared by the discovery tests: a reader that records the reads it serves, and
// images whose bytes are overwritten after a first build has shown where things lie.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/device_sector_reader.h"
#include "disk/sector_reader.h"
#include "support/nss_image_builder.h"

namespace lumbra::test {

// The image read the way a drive is read: the device reader with its retries and zero-filled
// bad sectors.
inline std::unique_ptr<SectorReader> ReaderOf(const NssImage& image) {
    return std::make_unique<DeviceSectorReader>(image.device());
}

// Passes reads on and remembers each (sector, count).
class RecordingReader : public SectorReader {
public:
    explicit RecordingReader(std::unique_ptr<SectorReader> inner) : inner_(std::move(inner)) {}
    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        reads.emplace_back(sector, count);
        return inner_->ReadSectors(sector, count, buffer);
    }
    std::optional<uint64_t> sectorCount() const override { return inner_->sectorCount(); }
    std::vector<std::pair<uint64_t, uint32_t>> reads;

private:
    std::unique_ptr<SectorReader> inner_;
};

// Builds the plan, asks `patches` for bytes to overwrite in the built image, and builds again
// with them. The layout does not depend on patches, so offsets taken from the first build hold.
inline NssImage BuildPatched(DiskPlan plan,
                             const std::function<std::vector<RawPatch>(const NssImage&)>& patches) {
    const NssImage first = buildImage(plan);
    for (RawPatch& patch : patches(first)) plan.patches.push_back(std::move(patch));
    return buildImage(std::move(plan));
}

inline std::vector<std::string> PoolNames(const PoolTable& pools) {
    std::vector<std::string> names;
    for (const PoolEntry& pool : pools.pools()) names.push_back(pool.name);
    return names;
}

inline std::vector<uint32_t> DataStarts(const BuiltPool& pool) {
    std::vector<uint32_t> starts;
    for (const BuiltSegment& segment : pool.segments)
        starts.push_back(static_cast<uint32_t>(segment.dataStart));
    return starts;
}

}  // namespace lumbra::test
