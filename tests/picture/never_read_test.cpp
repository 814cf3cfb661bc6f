// The sectors never read: those the mount did not ask for, and those a rescue map says the
// copier never tried; damage outweighs them, the layout shows through them.
#include <gtest/gtest.h>

#include "disk/disk_access.h"
#include "picture/picture_colours.h"
#include "picture/picture_legend.h"
#include "picture_fixture.h"
#include "support/scratch_folder.h"

namespace lumbra::test {
namespace {

bool NeverRead(const PictureCell& cell) { return (cell.kinds & KindBit(PictureKind::NeverRead)) != 0; }

VolumePlan FortyFiles() {
    VolumePlan volume{.name = "DATA", .tree = {.recordsPerLeaf = 10}};
    for (int i = 0; i < 40; ++i) volume.addFile("F" + std::to_string(i) + ".dat", 0, 8192 + 512 * i);
    return volume;
}

// One cell per sector of [first, first + count).
std::vector<PictureCell> SectorCells(const DiskPicture& picture, uint64_t first, uint64_t count) {
    return picture.cells(first, first + count, static_cast<uint32_t>(count));
}

TEST(NeverRead, AfterAMountOnlyTheSectorsItReadAreMarkedRead) {
    PictureFixture fixture(BuildVolume(FortyFiles()));
    const ReadCoverage& coverage = *fixture.mounted.reader.readCoverage();
    fixture.facts.coverage = &coverage;
    const DiskPicture picture = LayDiskOut(fixture.facts);
    const BuiltPool& built = fixture.mounted.builtPool();

    // Every B-tree block the mount read is read, sector by sector.
    ASSERT_GT(fixture.mounted.queue.size(), 2u);
    for (size_t i = 0; i < fixture.mounted.queue.size(); ++i)
        for (const PictureCell& cell : SectorCells(picture, fixture.mounted.queue[i], kSectorsPerBlock)) {
            EXPECT_FALSE(NeverRead(cell)) << cell.first;
            EXPECT_EQ(cell.dominant, PictureKind::Metadata) << cell.first;
        }
    // The mount reads no file's data: each file sector is never read, drawn over the file's colour.
    const ItemRecord& file = fixture.mounted.tree.files()[17];
    const uint64_t fileSector = FileDiskSector(built, file, 3);
    const PictureCell cell = SectorCells(picture, fileSector, 1).at(0);
    EXPECT_EQ(cell.dominant, PictureKind::NeverRead);
    EXPECT_EQ(FadedKind(cell.kinds), PictureKind::FileData);
    EXPECT_EQ(CellColour(cell), KindColour(PictureKind::FileData));
    // The disk past the pool, which nothing touched.
    EXPECT_EQ(SectorCells(picture, picture.diskSectors() - 1, 1).at(0).dominant, PictureKind::NeverRead);
    // The legend's size is exactly what the reads leave.
    const auto totals = picture.totals();
    EXPECT_EQ(totals[static_cast<size_t>(PictureKind::NeverRead)], picture.diskSectors() - coverage.readTotal());
    // What lies outside every structure is still counted as such, read or not.
    DiskFacts withoutReads = fixture.facts;
    withoutReads.coverage = nullptr;
    EXPECT_GT(totals[static_cast<size_t>(PictureKind::Nothing)], 0u);
    EXPECT_EQ(totals[static_cast<size_t>(PictureKind::Nothing)], LayDiskOut(withoutReads).totals()[0]);
    const auto legend = PictureLegend(picture);
    const auto entry = std::find_if(legend.begin(), legend.end(), [](const LegendEntry& e) { return e.name == "never read"; });
    ASSERT_NE(entry, legend.end());
    EXPECT_TRUE(entry->faded);
    EXPECT_EQ(entry->sectors, totals[static_cast<size_t>(PictureKind::NeverRead)]);
}

TEST(NeverRead, ACellIsReadOnlyOnceEachOfItsSectorsIsOnBothSidesOfItsEdges) {
    PictureFixture fixture(BuildVolume(FortyFiles()));
    fixture.facts.coverage = fixture.mounted.reader.readCoverage();
    const ItemRecord& file = fixture.mounted.tree.files()[30];
    // Cells of 8 sectors from the file's first sector; its data lies in one run (no fragments).
    const uint64_t first = FileDiskSector(fixture.mounted.builtPool(), file, 0);
    ASSERT_EQ(FileDiskSector(fixture.mounted.builtPool(), file, 31), first + 31);
    std::vector<uint8_t> buffer(8 * kSectorSize);
    fixture.mounted.reader.ReadSectors(first + 8, 8, buffer.data());  // cell 1, whole
    fixture.mounted.reader.ReadSectors(first + 16, 1, buffer.data());  // cell 2's first sector
    fixture.mounted.reader.ReadSectors(first + 7, 1, buffer.data());   // cell 0's last sector
    const DiskPicture picture = LayDiskOut(fixture.facts);
    const auto cells = picture.cells(first, first + 32, 4);
    ASSERT_EQ(cells[1].first, first + 8);
    ASSERT_EQ(cells[1].count, 8u);
    EXPECT_EQ(cells[0].dominant, PictureKind::NeverRead);
    EXPECT_EQ(cells[1].dominant, PictureKind::FileData);
    EXPECT_EQ(cells[2].dominant, PictureKind::NeverRead);
    EXPECT_EQ(cells[3].dominant, PictureKind::NeverRead);
}

// An image opened as the programs open it, with a rescue map: a "?" area over one file, a "-"
// area over another; then every sector of the disk read, as a scan would.
TEST(NeverRead, ARescueMapsUntriedAreaIsNeverReadAndItsBadAreaDamagedThoughTheProgramAskedForBoth) {
    PictureFixture fixture(BuildVolume(FortyFiles()));
    const BuiltPool& built = fixture.mounted.builtPool();
    const uint64_t untried = FileDiskSector(built, fixture.mounted.tree.files()[5], 2);
    const uint64_t bad = FileDiskSector(built, fixture.mounted.tree.files()[25], 2);
    ASSERT_LT(untried + 4, bad);
    const uint64_t end = fixture.facts.diskSectors;
    const auto line = [](uint64_t from, uint64_t to, char status) {
        return std::to_string(from * kSectorSize) + " " + std::to_string((to - from) * kSectorSize) + " " + status + "\n";
    };
    const auto map = std::get<RescueMap>(ParseRescueMap("0 +\n" + line(0, untried, '+') + line(untried, untried + 4, '?') +
                                                        line(untried + 4, bad, '+') + line(bad, bad + 4, '-') +
                                                        line(bad + 4, end, '+')));
    ScratchFolder scratch("never_read_map");
    const std::string path = scratch.file("disk.img");
    fixture.mounted.image.writeTo(path);
    DiskAccess disk(AccessMode::N);
    ASSERT_EQ(disk.EnumerateDrives({.listSystemDisks = false, .images = {path}, .rescueMaps = {{0, map}}}, ""), std::nullopt);
    const auto reader = disk.OpenDrive(0, 1);
    std::vector<uint8_t> buffer(1000 * kSectorSize);
    for (uint64_t at = 0; at < end; at += 1000)
        reader->ReadSectors(at, static_cast<uint32_t>(std::min<uint64_t>(1000, end - at)), buffer.data());
    fixture.facts.damage = reader->damageMap();
    fixture.facts.coverage = reader->readCoverage();
    const DiskPicture picture = LayDiskOut(fixture.facts);

    const auto around = [&](uint64_t sector) { return SectorCells(picture, sector - 1, 6); };
    for (const auto& [sector, kind] : {std::pair{untried, PictureKind::NeverRead}, std::pair{bad, PictureKind::Damaged}}) {
        const auto cells = around(sector);
        EXPECT_EQ(cells[0].dominant, PictureKind::FileData) << sector;  // the sector before: read
        for (size_t i = 1; i <= 4; ++i) EXPECT_EQ(cells[i].dominant, kind) << sector + i - 1;
        EXPECT_EQ(cells[5].dominant, PictureKind::FileData) << sector;  // the sector after: read
    }
    EXPECT_FALSE(around(untried)[1].kinds & KindBit(PictureKind::Damaged));
    const auto totals = picture.totals();
    EXPECT_EQ(totals[static_cast<size_t>(PictureKind::NeverRead)], 4u);
    EXPECT_EQ(totals[static_cast<size_t>(PictureKind::Damaged)], 4u);
}

TEST(NeverRead, DamageAndTheScanPositionOutweighItAndEveryStructureLiesUnderIt) {
    const PictureKindSet never = KindBit(PictureKind::NeverRead);
    EXPECT_EQ(DominantKind(never | KindBit(PictureKind::Damaged)), PictureKind::Damaged);
    EXPECT_EQ(DominantKind(never | KindBit(PictureKind::ScanPosition)), PictureKind::ScanPosition);
    for (PictureKind kind : {PictureKind::Pool, PictureKind::FileData, PictureKind::PartitionTable,
                             PictureKind::PartitionHeader, PictureKind::Metadata}) {
        EXPECT_EQ(DominantKind(never | KindBit(kind) | KindBit(PictureKind::Pool)), PictureKind::NeverRead);
        EXPECT_EQ(FadedKind(never | KindBit(kind) | KindBit(PictureKind::Pool)), kind);
    }
    // Where nothing is known, the grey of sectors never read; over a pool, the pool's colour.
    EXPECT_EQ(CellColour({.kinds = never, .dominant = PictureKind::NeverRead}), KindColour(PictureKind::NeverRead));
    EXPECT_EQ(CellColour({.kinds = never | KindBit(PictureKind::Pool), .dominant = PictureKind::NeverRead, .pool = 3}),
              PoolColour(3));
}

}  // namespace
}  // namespace lumbra::test
