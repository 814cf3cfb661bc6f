// The partition headers of pools a scan found on a disk whose partition table is gone are
// drawn as those the table leads to are.
#include <gtest/gtest.h>

#include <atomic>

#include "discovery/partition_scan.h"
#include "picture/header_areas.h"
#include "picture_fixture.h"

namespace lumbra::test {
namespace {

using Area = std::pair<uint64_t, uint64_t>;  // first, count

// The pools a whole-disk scan finds.
std::vector<SelectedPool> ScannedPools(SectorReader& reader, uint64_t diskSectors) {
    PoolTable table;
    std::atomic<int32_t> stop{0};
    ScanEvents events;
    ScanForPartitions(reader, {0, static_cast<uint32_t>(diskSectors)}, 60, stop, table, events);
    std::vector<SelectedPool> pools;
    for (uint32_t row = 0; row < table.count(); ++row) pools.push_back(*SelectPool(table, row));
    return pools;
}

std::vector<Area> HeaderAreasOf(const NssImage& image) {
    std::vector<Area> areas;
    for (const BuiltPool& pool : image.pools())
        for (const BuiltSegment& segment : pool.segments) areas.emplace_back(segment.headerSector, segment.dataStart - segment.headerSector);
    std::sort(areas.begin(), areas.end());
    return areas;
}

std::vector<Area> PictureHeaders(const DiskPicture& picture) {
    std::vector<Area> areas;
    for (const PictureSpan& span : picture.spans())
        if (span.kind == PictureKind::PartitionHeader) areas.emplace_back(span.first, span.count);
    std::sort(areas.begin(), areas.end());
    return areas;
}

TEST(ScannedHeaders, EachSegmentOfPoolsFoundWithoutATableHasItsHeaderDrawn) {
    PoolPlan segmented{.name = "SEG3"};
    for (uint32_t i = 0; i < 3; ++i) segmented.segments.push_back({.headerSector = 9000 + i * 3000, .extent = 2048});
    const NssImage image = NssImageBuilder()
                               .pool({.name = "POOL1", .segments = {{.headerSector = 2048}}})
                               .pool("SECOND", {.headerSector = 6000, .header = {.chain = 1}})
                               .pool(segmented)
                               .noMbr()
                               .diskSectors(20000)
                               .build();
    auto reader = image.reader();
    DiskFacts facts;
    facts.diskSectors = image.sectorCount();
    facts.pools = ScannedPools(*reader, facts.diskSectors);
    ASSERT_EQ(facts.pools.size(), 3u);
    ASSERT_TRUE(PartitionTableStarts(*reader).empty());
    facts.headerAreas = DiskHeaderAreas(*reader, facts.pools);
    const DiskPicture picture = LayDiskOut(facts);
    EXPECT_EQ(HeaderAreasOf(image).size(), 5u);
    EXPECT_EQ(PictureHeaders(picture), HeaderAreasOf(image));
    // Each header is drawn once, whichever segment led to it.
    EXPECT_EQ(facts.headerAreas.size(), 5u);
    const auto cells = picture.cells(0, picture.diskSectors(), static_cast<uint32_t>(picture.diskSectors() / 16));
    EXPECT_EQ(cells[CellOf(cells, 6000)].dominant, PictureKind::PartitionHeader);
    EXPECT_EQ(cells[CellOf(cells, 12000)].dominant, PictureKind::PartitionHeader);
}

TEST(ScannedHeaders, AHeaderTheTableLeadsToIsNotLookedForAgain) {
    const NssImage image = NssImageBuilder().pool({.name = "FIRST"}).pool({.name = "SECOND"}).build();
    DiskFacts facts = DriveFacts(image);
    EXPECT_EQ(facts.headerAreas.size(), 2u);
    EXPECT_EQ(PictureHeaders(LayDiskOut(facts)), HeaderAreasOf(image));
}

}  // namespace
}  // namespace lumbra::test
