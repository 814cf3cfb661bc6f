#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/stat.h>

#include <sstream>

#include "discovery/pool_listing.h"
#include "disk/disk_access.h"
#include "disk/sector.h"
#include "recovery/copy_fixture.h"
#include "recovery/csv_rows.h"
#include "recovery/recovery_run.h"
#include "support/demo_image.h"
#include "support/sha256.h"

namespace lumbra {
namespace {

using test::ParseCsv;
using test::ReadWholeFile;

// Disk sector of sector `s` of a built file's data.
uint64_t FileSector(const test::NssImage& image, const test::BuiltFile& file, uint64_t s) {
    return *image.pools().at(0).toDiskSector(file.firstBlock * kSectorsPerBlock + s);
}

test::NssImage DamagedVolume() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.addFile("Hole.bin", docs, 20000);
    volume.addFile("Whole.txt", docs, 9000);
    volume.addFile("Small.txt", 0, 100);
    return test::BuildVolume(volume);
}

// Sector 10 of Hole.bin, its last sector (only 32 bytes of it belong to the file), the last
// sector of the volume's first leaf and the pool's partition header cannot be read.
std::set<uint64_t> DamagedSectors(const test::NssImage& image) {
    const auto& pool = image.pools().at(0);
    const auto& volume = pool.volumes.at(0);
    const test::BuiltFile* hole = nullptr;
    for (const auto& file : volume.files)
        if (file.expectedName() == "Hole.bin") hole = &file;
    return {FileSector(image, *hole, 10), FileSector(image, *hole, 39),
            *pool.toDiskSector(volume.leafBlocks.at(0) * kSectorsPerBlock + 7), pool.segments.at(0).headerSector};
}

std::string Text(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST(DamageReport, FilesOnUnreadableSectorsAreDamagedTheOthersIntactAndTheReportHoldsWhatWasWritten) {
    test::NssImage image = DamagedVolume();
    const std::set<uint64_t> damaged = DamagedSectors(image);
    test::CopyFixture fixture(std::move(image), damaged);
    std::vector<uint8_t> header(kSectorSize);
    fixture.mounted.reader.ReadSectors(fixture.mounted.builtPool().segments.at(0).headerSector, 1, header.data());
    ASSERT_EQ(fixture.mounted.tree.files().size(), 3u);
    const ItemRecord& hole = fixture.file("Hole.bin");
    EXPECT_EQ(ConditionOfFile(fixture.mounted.reader, fixture.mounted.pool, hole).kind, ConditionKind::NotReadYet);

    CopyContext context = fixture.context();
    const RecoveryRunResult run = RunRecovery(context, fixture.mounted.tree, {.everything = true},
                                              fixture.destination.path().string(), {.keepTimes = true, .sourceName = "disk.img"});
    EXPECT_EQ(run.summary.saved, 3u);
    EXPECT_EQ(run.damaged, 1u);
    EXPECT_EQ(run.cutShort, 0u);
    const FileCondition holeCondition = ConditionOfFile(fixture.mounted.reader, fixture.mounted.pool, hole, true);
    EXPECT_EQ(holeCondition.kind, ConditionKind::Damaged);
    EXPECT_EQ(holeCondition.unreadableBytes, 544u);
    EXPECT_EQ(holeCondition.unreadableRanges, (std::vector<ByteArea>{{5120, 512}, {19968, 32}}));
    for (const char* name : {"Whole.txt", "Small.txt"})
        EXPECT_EQ(ConditionOfFile(fixture.mounted.reader, fixture.mounted.pool, fixture.file(name), true).kind,
                  ConditionKind::Intact) << name;
    ASSERT_TRUE(run.report);

    // The XML is well formed; each fileobject's digest is that of the file written.
    xmlDocPtr document = xmlReadFile(run.report->xml.c_str(), nullptr, XML_PARSE_NONET);
    ASSERT_NE(document, nullptr);
    size_t fileObjects = 0;
    for (xmlNodePtr volume = xmlDocGetRootElement(document)->children; volume; volume = volume->next)
        for (xmlNodePtr node = volume->children; node; node = node->next)
            if (node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST "fileobject")) ++fileObjects;
    xmlFreeDoc(document);
    EXPECT_EQ(fileObjects, 3u);

    const auto rows = ParseCsv(Text(run.report->csv));
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows) ASSERT_EQ(row.size(), rows[0].size());
    EXPECT_EQ(rows[0][4], "sha256");
    for (size_t r = 1; r < rows.size(); ++r) {
        const std::string written = rows[r][1];
        EXPECT_EQ(rows[r][4], test::Sha256::hex(ReadWholeFile(written))) << written;
        EXPECT_NE(Text(run.report->xml).find(rows[r][4]), std::string::npos);
        const bool isHole = written.ends_with("Hole.bin");
        EXPECT_EQ(rows[r][5], isHole ? "damaged" : "intact") << written;
        EXPECT_EQ(rows[r][7], isHole ? "5120:512;19968:32" : "") << written;
        struct stat status {};
        ASSERT_EQ(::stat(written.c_str(), &status), 0);
        EXPECT_EQ(static_cast<uint32_t>(status.st_mtime),
                  fixture.file(std::filesystem::path(written).filename().string()).timeStamp) << written;
    }
    // The copy holds zeros where the sectors could not be read, the rest as on the disk.
    auto expected = fixture.expected("Hole.bin");
    std::fill_n(expected.begin() + 5120, 512, uint8_t{0});
    std::fill_n(expected.begin() + 19968, 32, uint8_t{0});
    EXPECT_EQ(ReadWholeFile(fixture.destination.path() / "Docs" / "Hole.bin"), expected);

    // A second run never writes its report over the first, nor over a recovered file.
    CopyContext again = fixture.context();
    const RecoveryRunResult second = RunRecovery(again, fixture.mounted.tree, {.everything = true},
                                                 fixture.destination.path().string(), {});
    ASSERT_TRUE(second.report);
    EXPECT_NE(second.report->xml, run.report->xml);
    EXPECT_TRUE(std::filesystem::exists(run.report->xml));
}

// A name may hold the CSV separator, a quote or a line break: each such field is quoted,
// its quotes doubled, and reads back as one field.
TEST(RecoveryReportCsv, NamesWithASeparatorAQuoteOrALineBreakAreQuoted) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"\\A,B.TXT", "\"\\A,B.TXT\""},
        {"\\SAY \"HI\".TXT", "\"\\SAY \"\"HI\"\".TXT\""},
        {"\\TWO\r\nLINES", "\"\\TWO\r\nLINES\""},
        {"\\CR\rONLY", "\"\\CR\rONLY\""},
        {"\\LF\nONLY", "\"\\LF\nONLY\""},
        {"\\PLAIN.TXT", "\\PLAIN.TXT"},
    };
    std::vector<ReportEntry> entries;
    for (const auto& [name, field] : names) entries.push_back({.originalPath = name, .writtenPath = "/out/x,y", .size = 7});
    const std::string csv = ReportCsv({.entries = entries});
    for (const auto& [name, field] : names)
        EXPECT_NE(csv.find("\r\n" + field + ",\"/out/x,y\",7,"), std::string::npos) << field << "\n" << csv;
    const auto rows = ParseCsv(csv);
    ASSERT_EQ(rows.size(), names.size() + 1);
    for (size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), rows[0].size()) << r;
        EXPECT_EQ(rows[r][0], names[r - 1].first);
        EXPECT_EQ(rows[r][1], "/out/x,y");
    }
}

TEST(DamageReport, RescueMapOfTheDemoDiskGivesConditionsBeforeAnyCopy) {
    const test::NssImage image = test::buildImage(test::demoImagePlan());
    test::ScratchFolder folder("rescue_map");
    const std::string path = folder.file("demo.img");
    image.writeTo(path);
    const auto& pool = image.pools().at(0);
    const auto& volume = pool.volumes.at(0);
    std::vector<const test::BuiltFile*> chosen;
    for (const auto& file : volume.files)
        if (file.size > 3 * kBlockSize && file.runs.size() == 1 && chosen.size() < 3) chosen.push_back(&file);
    ASSERT_EQ(chosen.size(), 3u);
    // Three areas: 300 bytes inside sector 1 of the first file, two whole sectors of the
    // second, and the last byte of the third's first block.
    std::ostringstream map;
    map << "# rescue map\n0x0 +\n";
    const uint64_t a = FileSector(image, *chosen[0], 1) * kSectorSize + 100;
    const uint64_t b = FileSector(image, *chosen[1], 4) * kSectorSize;
    const uint64_t c = FileSector(image, *chosen[2], 7) * kSectorSize + 511;
    std::vector<std::pair<uint64_t, uint64_t>> areas{{a, 300}, {b, 1024}, {c, 1}};
    std::sort(areas.begin(), areas.end());
    uint64_t at = 0;
    for (const auto& [position, size] : areas) {
        map << "0x" << std::hex << at << " 0x" << position - at << " +\n";
        map << "0x" << position << " 0x" << size << " -\n";
        at = position + size;
    }
    map << "0x" << at << " 0x" << image.sizeBytes() - at << " +\n";
    const auto parsed = ParseRescueMap(map.str());
    ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed));

    DiskAccess disk(AccessMode::N);
    disk.EnumerateDrives({.listSystemDisks = false, .images = {path}}, "");
    EXPECT_EQ(disk.setRescueMap(0, std::get<RescueMap>(parsed)), std::nullopt);
    auto reader = disk.OpenDrive(0, 3);
    const auto knownBefore = reader->damageMap()->ranges();
    PoolTable pools;
    ListPoolsFromPartitionTable(*reader, pools);
    const auto selected = SelectPool(pools, 0);
    ASSERT_TRUE(selected);
    BlockQueue queue;
    RecoveredTree tree;
    test::RecordingMountEvents events;
    std::atomic<int32_t> stop{0};
    MountContext mount{*reader, *selected, queue, tree, events, stop};
    MountVolume(mount, {.recoveryMode = 1, .rootSector = volume.rootSector});
    EXPECT_EQ(reader->damageMap()->ranges(), knownBefore);  // no read failed on its own

    const std::vector<std::vector<ByteArea>> expectedRanges{{{512, 512}}, {{2048, 1024}}, {{3584, 512}}};
    size_t damagedFiles = 0;
    for (const ItemRecord& file : tree.files()) {
        const FileCondition condition = ConditionOfFile(*reader, *selected, file);
        size_t which = chosen.size();
        for (size_t i = 0; i < chosen.size(); ++i)
            if (chosen[i]->firstBlock == file.firstBlock && chosen[i]->expectedName() == file.name) which = i;
        if (which == chosen.size()) {
            EXPECT_TRUE(condition.kind == ConditionKind::Intact || condition.kind == ConditionKind::CutShort) << file.name;
            continue;
        }
        ++damagedFiles;
        EXPECT_EQ(condition.kind, ConditionKind::Damaged) << file.name;
        EXPECT_EQ(condition.unreadableRanges, expectedRanges[which]) << file.name;
    }
    EXPECT_EQ(damagedFiles, 3u);
}

}  // namespace
}  // namespace lumbra
