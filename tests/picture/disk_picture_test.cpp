// The picture's spans on builder disks, the binning into cells, and which cells damage marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "discovery/pool_mapping.h"
#include "disk/rescue_map.h"
#include "picture/disk_layout_index.h"
#include "picture/picture_legend.h"
#include "picture_fixture.h"

namespace lumbra::test {
namespace {

using Span = std::tuple<uint64_t, uint64_t, uint32_t>;  // first, count, owner

std::vector<Span> SpansOf(const DiskPicture& picture, PictureKind kind) {
    std::vector<Span> spans;
    for (const PictureSpan& span : picture.spans())
        if (span.kind == kind) spans.emplace_back(span.first, span.count, span.owner);
    return spans;
}

// The disk sectors of a file's data, as runs, found sector by sector.
std::vector<Span> ExpectedFileRuns(const BuiltPool& pool, const ItemRecord& file, uint32_t owner) {
    std::vector<Span> runs;
    const uint64_t sectors = (static_cast<uint64_t>(file.size) + 511) / 512;
    for (uint64_t s = 0; s < sectors; ++s) {
        const uint64_t disk = FileDiskSector(pool, file, s);
        if (!runs.empty() && std::get<0>(runs.back()) + std::get<1>(runs.back()) == disk) ++std::get<1>(runs.back());
        else runs.emplace_back(disk, 1, owner);
    }
    return runs;
}

TEST(DiskPicture, TwoPoolDiskShowsThePartitionTableEachHeaderAndBothPools) {
    const NssImage image = NssImageBuilder().pool({.name = "FIRST"}).pool({.name = "SECOND"}).build();
    const DiskPicture picture = LayDiskOut(DriveFacts(image));
    EXPECT_EQ(picture.poolNames, (std::vector<std::string>{"FIRST", "SECOND"}));
    EXPECT_EQ(SpansOf(picture, PictureKind::PartitionTable), (std::vector<Span>{{0, 1, 0}}));
    std::vector<Span> headers, pools;
    for (uint32_t row = 0; row < 2; ++row) {
        const BuiltSegment& segment = image.pools()[row].segments.at(0);
        headers.emplace_back(segment.headerSector, segment.dataStart - segment.headerSector, row);
        pools.emplace_back(segment.dataStart, image.pools()[row].poolSize, row);
    }
    EXPECT_EQ(SpansOf(picture, PictureKind::PartitionHeader), headers);
    EXPECT_EQ(SpansOf(picture, PictureKind::Pool), pools);
    EXPECT_TRUE(SpansOf(picture, PictureKind::Metadata).empty());  // no pool selected
}

PoolPlan ThreeSegmentPool() {
    VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 4; ++i) volume.addFile("Big" + std::to_string(i) + ".bin", 0, 500'000 + 1000 * i);
    volume.addFile("Small.txt", 0, 100);
    PoolPlan pool{.name = "SEG3", .volumes = {volume}};
    for (uint32_t i = 0; i < 3; ++i) pool.segments.push_back({.headerSector = 2048 + i * 10000, .extent = 2048});
    return pool;
}

TEST(DiskPicture, ThreeSegmentPoolHasOneAreaPerSegmentAndEachFileItsRunsAcrossThem) {
    PictureFixture fixture(NssImageBuilder().pool(ThreeSegmentPool()).build());
    const DiskPicture picture = LayDiskOut(fixture.facts);
    const BuiltPool& built = fixture.mounted.builtPool();
    std::vector<Span> areas;
    for (const BuiltSegment& segment : built.segments) areas.emplace_back(segment.dataStart, segment.extent, 0);
    EXPECT_EQ(SpansOf(picture, PictureKind::Pool), areas);

    const auto& files = fixture.mounted.tree.files();
    ASSERT_EQ(files.size(), 5u);
    std::vector<Span> expected;
    size_t crossing = 0;
    for (uint32_t i = 0; i < files.size(); ++i) {
        const auto runs = ExpectedFileRuns(built, files[i], i);
        crossing += runs.size() > 1;
        expected.insert(expected.end(), runs.begin(), runs.end());
    }
    EXPECT_GT(crossing, 0u) << "no file crosses a segment's end";
    EXPECT_EQ(SpansOf(picture, PictureKind::FileData), expected);
    // Asked about the whole disk, the index gives each file once with all its sectors.
    const DiskLayoutIndex index(picture);
    for (const LayoutHit& hit : index.at(0, picture.diskSectors())) {
        if (hit.kind != PictureKind::FileData) continue;
        uint64_t sectors = 0;
        for (const Span& run : ExpectedFileRuns(built, files[hit.owner], hit.owner)) sectors += std::get<1>(run);
        EXPECT_EQ(hit.sectors, sectors) << files[hit.owner].name;
    }
    // The pool's colour in the legend stands for the blocks where nothing known lies.
    const auto totals = picture.totals();
    uint64_t fileSectors = 0;
    for (const Span& run : expected) fileSectors += std::get<1>(run);
    EXPECT_EQ(totals[static_cast<size_t>(PictureKind::FileData)], fileSectors);
    const auto legend = PictureLegend(picture);
    const auto free = std::find_if(legend.begin(), legend.end(),
                                   [](const LegendEntry& entry) { return entry.name == "pool SEG3, nothing known"; });
    ASSERT_NE(free, legend.end());
    EXPECT_EQ(free->sectors, built.poolSize - fileSectors - totals[static_cast<size_t>(PictureKind::Metadata)]);
    // Superblock, volume root and the volume's other B-tree blocks, 8 sectors each.
    ASSERT_GE(picture.metadata().size(), 2u);
    EXPECT_EQ(picture.metadata()[0].kind, MetadataKind::Superblock);
    EXPECT_EQ(picture.metadata()[0].sector, built.superblockSector);
    EXPECT_EQ(picture.metadata()[1].kind, MetadataKind::VolumeRoot);
    EXPECT_EQ(picture.metadata()[1].sector, built.volumes[0].rootSector);
    for (const Span& span : SpansOf(picture, PictureKind::Metadata)) EXPECT_EQ(std::get<1>(span), 8u);
}

TEST(DiskPicture, CellsSplitTheRangeEvenlyAndNeverOutnumberItsSectors) {
    DiskPicture picture(100);
    picture.add({3, 1, PictureKind::FileData, 0});
    picture.add({4, 1, PictureKind::Metadata, 0});
    const auto cells = picture.cells(0, 10, 3);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].first, 0u);
    EXPECT_EQ(cells[0].count, 4u);
    EXPECT_EQ(cells[1].first, 4u);
    EXPECT_EQ(cells[1].count, 3u);
    EXPECT_EQ(cells[2].first, 7u);
    EXPECT_EQ(cells[2].count, 3u);
    EXPECT_EQ(cells[0].kinds, KindBit(PictureKind::FileData));  // sector 3 is cell 0's last
    EXPECT_EQ(cells[1].kinds, KindBit(PictureKind::Metadata));  // sector 4 is cell 1's first
    EXPECT_EQ(picture.cells(5, 8, 10).size(), 3u);
    EXPECT_EQ(picture.cells(5, 8, 3).size(), 3u);
    EXPECT_EQ(picture.cells(0, 1000, 100).back().first + picture.cells(0, 1000, 100).back().count, 100u);
}

TEST(DiskPicture, DamageOutweighsEverythingAndSmallStructuresOutweighTheBulkAroundThem) {
    EXPECT_EQ(DominantKind(KindBit(PictureKind::Damaged) | KindBit(PictureKind::Metadata) |
                           KindBit(PictureKind::ScanPosition)),
              PictureKind::Damaged);
    EXPECT_EQ(DominantKind(KindBit(PictureKind::ScanPosition) | KindBit(PictureKind::Metadata)), PictureKind::ScanPosition);
    EXPECT_EQ(DominantKind(KindBit(PictureKind::Metadata) | KindBit(PictureKind::FileData)), PictureKind::Metadata);
    EXPECT_EQ(DominantKind(KindBit(PictureKind::FileData) | KindBit(PictureKind::Pool)), PictureKind::FileData);
    EXPECT_EQ(DominantKind(KindBit(PictureKind::PartitionHeader) | KindBit(PictureKind::Pool)),
              PictureKind::PartitionHeader);
    EXPECT_EQ(DominantKind(0), PictureKind::Nothing);
}

VolumePlan TwoHundredFiles() {
    VolumePlan volume{.name = "DATA", .tree = {.recordsPerLeaf = 20}};
    const uint64_t folder = volume.addFolder("Docs");
    for (int i = 0; i < 200; ++i) volume.addFile("F" + std::to_string(i) + ".dat", folder, 3000 + 97 * i);
    return volume;
}

TEST(DiskPicture, UnrescuedSectorsInOneFileAndOneBTreeBlockMakeExactlyTheirCellsDamaged) {
    PictureFixture fixture(BuildVolume(TwoHundredFiles()));
    const BuiltPool& built = fixture.mounted.builtPool();
    const ItemRecord& file = fixture.mounted.tree.files()[57];
    const uint64_t fileSector = FileDiskSector(built, file, 3);
    const uint64_t leafSector = *built.toDiskSector(built.volumes[0].leafBlocks.at(4) * 8 + 5);
    // The rescue copier's map: everything rescued but those two sectors.
    const auto text = [](uint64_t from, uint64_t to, char status) {
        return std::to_string(from * 512) + " " + std::to_string((to - from) * 512) + " " + status + "\n";
    };
    const uint64_t low = std::min(fileSector, leafSector), high = std::max(fileSector, leafSector);
    const auto map = std::get<RescueMap>(ParseRescueMap(
        "0 +\n" + text(0, low, '+') + text(low, low + 1, '-') + text(low + 1, high, '+') + text(high, high + 1, '-') +
        text(high + 1, fixture.facts.diskSectors, '+')));
    DamageMap damage;
    for (const SectorRange& range : UnrescuedSectors(map, fixture.facts.diskSectors * 512))
        damage.add(range.first, range.count);
    fixture.facts.damage = &damage;
    const DiskPicture picture = LayDiskOut(fixture.facts);

    const auto [first, end] = picture.selectedPoolArea();
    const auto cells = picture.cells(first, end, static_cast<uint32_t>((end - first) / 16));
    std::vector<size_t> damaged;
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i].dominant == PictureKind::Damaged) damaged.push_back(i);
    std::vector<size_t> expected = {CellOf(cells, fileSector), CellOf(cells, leafSector)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(damaged, expected);
    EXPECT_TRUE(cells[CellOf(cells, fileSector)].kinds & KindBit(PictureKind::FileData));
    EXPECT_TRUE(cells[CellOf(cells, leafSector)].kinds & KindBit(PictureKind::Metadata));

    const DiskLayoutIndex index(picture);
    EXPECT_EQ(index.at(fileSector, 1), (std::vector<LayoutHit>{{PictureKind::FileData, 57, fileSector, 1}}));
    const auto atLeaf = index.at(leafSector, 1);
    ASSERT_EQ(atLeaf.size(), 1u);
    EXPECT_EQ(atLeaf[0].kind, PictureKind::Metadata);
    EXPECT_EQ(picture.metadata()[atLeaf[0].owner].kind, MetadataKind::VolumeTreeNode);
    EXPECT_EQ(picture.metadata()[atLeaf[0].owner].sector, leafSector - 5);
}

}  // namespace
}  // namespace lumbra::test

namespace lumbra::test {
namespace {

// What the desktop's map follows while a scan or a copy runs: the scan's sector moves and the
// damage grows, without the rest of the picture being made again.
TEST(DiskPicture, ScanPositionMovesAndDamageIsReplacedWithoutTouchingTheOtherSpans) {
    DiskPicture picture(1000);
    picture.add({0, 1000, PictureKind::Pool, 0});
    picture.add({100, 50, PictureKind::FileData, 7});
    picture.setScanPosition(10);
    picture.setScanPosition(900);
    auto cells = picture.cells(0, 1000, 10);
    EXPECT_EQ(cells[0].dominant, PictureKind::Pool);
    EXPECT_EQ(cells[9].dominant, PictureKind::ScanPosition);
    picture.setScanPosition(std::nullopt);
    EXPECT_EQ(picture.cells(0, 1000, 10)[9].dominant, PictureKind::Pool);

    DamageMap damage;
    damage.add(120, 1);
    picture.setReads(&damage, nullptr);
    damage.add(500, 2);
    picture.setReads(&damage, nullptr);
    cells = picture.cells(0, 1000, 10);
    EXPECT_EQ(cells[1].dominant, PictureKind::Damaged);
    EXPECT_EQ(cells[5].dominant, PictureKind::Damaged);
    EXPECT_EQ(picture.totals()[static_cast<size_t>(PictureKind::Damaged)], 3u);
    EXPECT_EQ(DiskLayoutIndex(picture).at(120, 1), (std::vector<LayoutHit>{{PictureKind::FileData, 7, 120, 1}}));
}

// A metadata block lies where its pool maps its sectors, as it is read: a block straddling a
// segment joint in two places, a partial last block only as far as the last segment reaches;
// `which` names it at each.
TEST(DiskPicture, MetadataBlocksLieWhereThePoolMapsTheirSectors) {
    const SelectedPool joint{"J", 2004, 2, {100, 2000}, {1004, 1000}};
    const SelectedPool lone{"L", 1004, 1, {100}, {1004 + 100}};
    const SelectedPool whole{"W", 2048, 2, {100, 2000}, {1000, 1048}};
    const struct {
        SelectedPool pool;
        uint64_t block;  // pool block of the object-tree node
        std::vector<Span> spans;
    } cases[] = {
        {joint, 125, {{1100, 4, 0}, {2000, 4, 0}}},  // 4 sectors at the end of segment 0, 4 at the start of 1
        {joint, 124, {{1092, 8, 0}}},                // the block before it: one run
        {joint, 126, {{2004, 8, 0}}},                // the block after it: one run
        {joint, 250, {{2996, 4, 0}}},                // the last segment ends 4 sectors into it
        {lone, 125, {{1100, 8, 0}}},                 // a lone pool's last block is read whole
        {whole, 125, {{2000, 8, 0}}},                // extents of whole blocks: the block begins segment 1
    };
    for (const auto& c : cases) {
        DiskFacts facts;
        facts.diskSectors = 5000;
        facts.pools = {c.pool};
        facts.selectedPool = 0;
        facts.objectTreeBlocks = {*PoolBlockToDiskSector(c.pool, c.block)};
        const DiskPicture picture = LayDiskOut(facts);
        EXPECT_EQ(SpansOf(picture, PictureKind::Metadata), c.spans) << c.pool.name << " block " << c.block;
        const DiskLayoutIndex index(picture);
        for (const auto& [first, count, owner] : c.spans) {
            EXPECT_EQ(index.at(first + count - 1, 1).size(), 1u) << first;
            EXPECT_TRUE(index.at(first + count, 1).empty()) << first;
        }
    }
}

// The selected pool's "nothing known" counts each sector once where file data and a metadata
// block share it.
TEST(DiskPicture, NothingKnownOfThePoolCountsSharedSectorsOnce) {
    DiskPicture picture(1000);
    picture.poolNames = {"P"};
    picture.selectedPool = 0;
    picture.add({0, 1000, PictureKind::Pool, 0});
    picture.add({100, 100, PictureKind::FileData, 0});
    picture.addMetadata(MetadataKind::VolumeTreeNode, 150, {{150, 8}});
    picture.addMetadata(MetadataKind::VolumeTreeNode, 300, {{300, 8}});
    const auto legend = PictureLegend(picture);
    const auto pool = std::find_if(legend.begin(), legend.end(),
                                   [](const LegendEntry& entry) { return entry.name == "pool P, nothing known"; });
    ASSERT_NE(pool, legend.end());
    EXPECT_EQ(pool->sectors, 1000u - 100u - 8u);
}

}  // namespace
}  // namespace lumbra::test
