#include "support/partition_writer.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "disk/byte_order.h"
#include "disk/sector.h"
#include "support/nss_format.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace fmt = format;

namespace {

constexpr uint64_t kAlignment = 2048;  // automatic partitions start on 1 MiB boundaries
constexpr uint64_t kMinimumExtent = 64;

uint64_t roundUp(uint64_t value, uint64_t unit) { return (value + unit - 1) / unit * unit; }

// Plan index of each segment of a pool, in segment-number order.
std::vector<size_t> byNumber(const std::vector<SegmentPlan>& segments) {
    std::vector<size_t> order(segments.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return segments[a].number.value_or(static_cast<uint32_t>(a)) < segments[b].number.value_or(static_cast<uint32_t>(b));
    });
    return order;
}

std::vector<uint64_t> extentsOf(const std::vector<SegmentPlan>& segments, uint64_t needed) {
    uint64_t fixed = 0;
    size_t automatic = 0;
    for (const SegmentPlan& s : segments) {
        fixed += s.extent;
        if (s.extent == 0) ++automatic;
    }
    const uint64_t rest = needed > fixed ? needed - fixed : 0;
    const uint64_t share = automatic ? std::max(kMinimumExtent, roundUp((rest + automatic - 1) / automatic, 8)) : 0;
    std::vector<uint64_t> extents;
    for (const SegmentPlan& s : segments) extents.push_back(s.extent ? s.extent : share);
    return extents;
}

}  // namespace

std::vector<SegmentPlan> segmentsOf(const PoolPlan& pool) {
    if (pool.segments.empty()) return {SegmentPlan{}};
    return pool.segments;
}

void placeSegments(const DiskPlan& plan, const std::vector<uint64_t>& neededSectors, std::vector<BuiltPool>& pools) {
    uint64_t nextFree = kAlignment;
    for (size_t p = 0; p < plan.pools.size(); ++p) {
        const std::vector<SegmentPlan> segments = segmentsOf(plan.pools[p]);
        const std::vector<uint64_t> extents = extentsOf(segments, neededSectors[p]);
        std::vector<BuiltSegment> placed;
        uint64_t poolSize = 0;
        for (size_t i = 0; i < segments.size(); ++i) {
            const SegmentPlan& s = segments[i];
            BuiltSegment segment;
            segment.number = s.number.value_or(static_cast<uint32_t>(i));
            segment.headerSector = s.headerSector ? s.headerSector : roundUp(nextFree, kAlignment);
            segment.dataStart = segment.headerSector + s.header.dataOffset;
            segment.extent = extents[i];
            segment.chain = s.header.chain;
            nextFree = std::max(nextFree, segment.dataStart + segment.extent);
            poolSize += segment.extent;
            placed.push_back(segment);
        }
        pools[p].poolSize = static_cast<uint32_t>(poolSize);
        for (size_t i : byNumber(segments)) pools[p].segments.push_back(placed[i]);
    }
}

namespace {

struct HeaderPlace {
    size_t pool = 0;
    size_t segment = 0;  // plan index
    const SegmentPlan* plan = nullptr;
    BuiltSegment* built = nullptr;
    int order = 0;
};

// Position in BuiltPool::segments of the segment planned at `planIndex`.
size_t builtIndex(const std::vector<SegmentPlan>& segments, size_t planIndex) {
    const std::vector<size_t> order = byNumber(segments);
    return static_cast<size_t>(std::find(order.begin(), order.end(), planIndex) - order.begin());
}

uint32_t markerPlace(const HeaderPlan& h) {
    if (h.markerAt) return h.markerAt;
    return h.dataOffset == fmt::marker::kDefaultDataOffset ? 0 : fmt::marker::kPlaces[0];
}

void writeSector(ImageData& image, uint64_t sector, const std::vector<uint8_t>& bytes) {
    image.store.write(sector * kSectorSize, bytes);
}

void writeHeaderSectors(ImageData& image, const PoolPlan& pool, const BuiltPool& built, const HeaderPlace& place) {
    const HeaderPlan& h = place.plan->header;
    const BuiltSegment& s = *place.built;
    const uint64_t p = s.headerSector;
    std::vector<uint8_t> sector(kSectorSize);
    sector[fmt::header::kKind] = h.kind;
    std::memcpy(sector.data() + fmt::header::kSignature, h.signature.data(),
                std::min(h.signature.size(), fmt::header::kSignatureLength));
    putLe16(sector, fmt::header::kValue, h.signatureValue);
    putLe32(sector, fmt::header::kNext, s.linkField);
    writeSector(image, p, sector);

    if (h.descriptor.value_or(built.segments.size() > 1)) {
        std::vector<uint8_t> d(kSectorSize);
        d[fmt::descriptor::kLetterG] = 'G';
        d[fmt::descriptor::kLetterP] = 'P';
        d[fmt::descriptor::kLetterN] = 'N';
        putLe32(d, fmt::descriptor::kSegmentCount, h.descriptorSegmentCount.value_or(static_cast<uint32_t>(built.segments.size())));
        putLe32(d, fmt::descriptor::kSegmentNumber, h.descriptorSegmentNumber.value_or(s.number));
        putLe32(d, fmt::descriptor::kSegmentExtent, s.descriptorExtent);
        writeSector(image, p + fmt::descriptor::kSectorOffset, d);
    }

    std::vector<uint8_t> info(kSectorSize);
    putLe32(info, fmt::pool_info::kPoolSize, h.poolSizeField.value_or(built.poolSize));
    const std::u16string name = utf16FromUtf8(h.poolNameField.value_or(pool.name));
    for (size_t i = 0; i < std::min(name.size(), fmt::pool_info::kNameUnitsWritten); ++i)
        putLe16(info, fmt::pool_info::kName + 2 * i, name[i]);
    writeSector(image, p + fmt::pool_info::kSectorOffset, info);

    if (const uint32_t at = markerPlace(h)) {
        std::vector<uint8_t> marker(kSectorSize);
        marker[0] = 'H';
        marker[1] = 'O';
        putLe16(marker, fmt::marker::kValue, h.markerValue.value_or(static_cast<uint16_t>(h.dataOffset)));
        writeSector(image, p + at, marker);
    }
}

}  // namespace

std::vector<uint64_t> partitionSectors(const DiskPlan& plan, const std::vector<BuiltPool>& pools, size_t p) {
    std::vector<uint64_t> sectors;
    const std::vector<SegmentPlan> segments = segmentsOf(plan.pools[p]);
    for (size_t i = 0; i < segments.size(); ++i) {
        const uint64_t header = pools[p].segments[builtIndex(segments, i)].headerSector;
        for (uint64_t offset : {uint64_t{0}, uint64_t{fmt::descriptor::kSectorOffset}, uint64_t{fmt::pool_info::kSectorOffset},
                                uint64_t{markerPlace(segments[i].header)}})
            sectors.push_back(header + offset);
    }
    return sectors;
}

std::vector<ChainedHeader> writePartitions(ImageData& image, const DiskPlan& plan) {
    std::vector<HeaderPlace> places;
    std::vector<std::vector<SegmentPlan>> segments;
    for (size_t p = 0; p < plan.pools.size(); ++p) segments.push_back(segmentsOf(plan.pools[p]));
    int declared = 0;
    for (size_t p = 0; p < plan.pools.size(); ++p)
        for (size_t i = 0; i < segments[p].size(); ++i, ++declared)
            places.push_back({p, i, &segments[p][i], &image.pools[p].segments[builtIndex(segments[p], i)],
                              segments[p][i].chainOrder.value_or(declared)});
    std::stable_sort(places.begin(), places.end(), [](const HeaderPlace& a, const HeaderPlace& b) {
        return a.plan->header.chain != b.plan->header.chain ? a.plan->header.chain < b.plan->header.chain : a.order < b.order;
    });
    std::vector<ChainedHeader> chained;
    for (size_t k = 0; k < places.size(); ++k) {
        BuiltSegment& s = *places[k].built;
        const HeaderPlan& h = places[k].plan->header;
        const bool last = k + 1 == places.size() || places[k + 1].plan->header.chain != h.chain;
        s.linkField = h.link.value_or(last ? 0 : static_cast<uint32_t>(places[k + 1].built->headerSector));
        s.chainPosition = k == 0 || places[k - 1].plan->header.chain != h.chain ? 0 : places[k - 1].built->chainPosition + 1;
        s.descriptorExtent = h.descriptorExtent.value_or(static_cast<uint32_t>(s.extent));
        chained.push_back({s.headerSector, h.dataOffset + s.extent});
    }
    for (const HeaderPlace& place : places)
        writeHeaderSectors(image, plan.pools[place.pool], image.pools[place.pool], place);
    return chained;
}

}  // namespace lumbra::test
