#include <gtest/gtest.h>

#include <algorithm>

#include "disk/byte_order.h"
#include "recovery/folder_browse.h"
#include "recovery/mounted_image.h"
#include "recovery/recording_views.h"
#include "support/numbered_name.h"

namespace lumbra {
namespace {

using test::BuildVolume;
using test::ExpectMountedAsBuilt;
using test::FilePlan;
using test::FolderPlan;
using test::MountedImage;
using test::NssImage;
using test::VolumePlan;

std::vector<std::string> Names(const std::deque<ItemRecord>& records) {
    std::vector<std::string> names;
    for (const auto& record : records) names.push_back(record.name);
    return names;
}

bool Listed(const std::deque<ItemRecord>& records, const std::string& name) {
    return std::any_of(records.begin(), records.end(), [&](const ItemRecord& r) { return r.name == name; });
}

std::vector<uint8_t> Le32Bytes(uint32_t value) {
    std::vector<uint8_t> bytes(4);
    putLe32(bytes, 0, value);
    return bytes;
}

VolumePlan SampleVolume() {
    VolumePlan volume{.name = "DATA"};
    uint64_t docs = volume.addFolder("Documents");
    uint64_t letters = volume.addFolder("Letters", docs);
    volume.addFile("Report.doc", docs, 12345);
    volume.addFile("Note.txt", letters, 4096);
    volume.addFile("Empty", 0, 0);
    volume.addFile("Caf\u00e9.xls", 0, 70000);
    volume.folders.push_back({.id = 2000, .parent = 555, .name = "Orphan"});
    volume.addFile("Lost.txt", 555, 10);
    return volume;
}

TEST(VolumeMount, NamesBeyondLatin1AreKeptInFullBesideTheir8BitForm) {
    struct Case {
        std::string built;     // UTF-8
        std::string eightBit;  // what the matching and sorting rules read
        std::string full;      // fullName: empty when the 8-bit form read as Latin-1 says it all
    };
    const Case cases[] = {
        {"Caf\u00e9.xls", "Caf\xE9.xls", ""},
        {"\u00ff\u00a0.txt", "\xFF\xA0.txt", ""},  // the last characters of Latin-1
        {"\u65e5\u672c\u8a9e.txt", "\xE5,\x9E.txt", "\u65e5\u672c\u8a9e.txt"},
        {"emoji \U0001F600.txt", "emoji =", "emoji \U0001F600.txt"},
        {"\u0416\u0443\u0440\u043d\u0430\u043b", "\x16\x43\x40\x3D\x30\x3B", "\u0416\u0443\u0440\u043d\u0430\u043b"},
        {"a\u0100b", "a", "a\u0100b"},  // the unit's low byte 0 ends the 8-bit form only
    };
    VolumePlan volume{.name = "DATA"};
    for (const Case& c : cases) {
        volume.addFolder("Folder " + c.built);
        volume.addFile(c.built, 0, 10);
    }
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    for (const Case& c : cases) {
        const auto file = std::find_if(mounted.tree.files().begin(), mounted.tree.files().end(),
                                       [&](const ItemRecord& r) { return r.name == c.eightBit; });
        ASSERT_NE(file, mounted.tree.files().end()) << c.built;
        EXPECT_EQ(file->fullName, c.full) << c.built;
        EXPECT_EQ(NameUtf8(*file), c.built);
        const auto folder = std::find_if(mounted.tree.folders().begin(), mounted.tree.folders().end(),
                                         [&](const ItemRecord& r) { return NameUtf8(r) == "Folder " + c.built; });
        EXPECT_NE(folder, mounted.tree.folders().end()) << c.built;
    }
}

TEST(VolumeMount, FindsEveryRecordOfAVolumeInWalkOrder) {
    MountedImage mounted(BuildVolume(SampleVolume()));
    mounted.MountVolumeBased();
    ExpectMountedAsBuilt(mounted.tree, NssImage::expectedMount(mounted.builtVolume()));
    EXPECT_TRUE(Listed(mounted.tree.folders(), "Dir0"));
    EXPECT_TRUE(Listed(mounted.tree.files(), "Caf\xE9.xls"));
    EXPECT_EQ(mounted.events.sectors.front(), mounted.builtVolume().rootSector);
    EXPECT_EQ(mounted.events.status.back(), "Searching Lost Data ...");
    for (uint32_t percent : mounted.events.percents) EXPECT_LE(percent, 100u);
}

TEST(VolumeMount, RootParentIsStoredAsZero) {
    MountedImage mounted(BuildVolume(SampleVolume()));
    mounted.MountVolumeBased();
    EXPECT_EQ(mounted.tree.FindFolderByObjectId(1000)->parentId, 0u);
    EXPECT_EQ(mounted.tree.files()[2].name, "Empty");
    EXPECT_EQ(mounted.tree.files()[2].parentId, 0u);
}

class LeafRecordStart : public testing::TestWithParam<bool> {};

TEST_P(LeafRecordStart, RecordsAreReadFromTheMarkedOffset) {
    VolumePlan volume = SampleVolume();
    volume.tree.recordsAt40 = GetParam();
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    ExpectMountedAsBuilt(mounted.tree, NssImage::expectedMount(mounted.builtVolume()));
}

INSTANTIATE_TEST_SUITE_P(VolumeMount, LeafRecordStart, testing::Bool());

TEST(VolumeMount, BranchWith338ChildrenQueuesThemAll) {
    VolumePlan volume{.name = "WIDE"};
    for (int i = 0; i < 338; ++i) volume.addFile(test::NumberedName("F", i), 0, 1);
    volume.tree.recordsPerLeaf = 1;
    MountedImage mounted(BuildVolume(volume));
    ASSERT_EQ(mounted.builtVolume().branchBlocks.size(), 1u);
    mounted.MountVolumeBased();
    EXPECT_EQ(mounted.queue.size(), 339u);
    EXPECT_EQ(mounted.tree.files().size(), 338u);
}

struct SizeCase {
    uint64_t size;
    uint32_t blockCount;
    bool admitted;
};

TEST(VolumeMount, FileIsAdmittedOnlyWithBlocksForItsSize) {
    const std::vector<SizeCase> cases = {{4097, 2, true}, {4097, 1, false}, {4097, 3, false},
                                         {4096, 1, true}, {4096, 2, false}, {0, 0, true},
                                         {0, 1, false},   {1, 1, true},     {1, 0, false}};
    VolumePlan volume{.name = "SIZES"};
    for (size_t i = 0; i < cases.size(); ++i)
        volume.files.push_back({.name = test::NumberedName("S", i), .size = cases[i].size,
                                .tweaks = {.blockCountField = cases[i].blockCount}});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(Listed(mounted.tree.files(), test::NumberedName("S", i)), cases[i].admitted)
            << "size " << cases[i].size << " in " << cases[i].blockCount << " blocks";
}

// A size field with its top bit set reads as a negative size: no number of blocks holds it.
TEST(VolumeMount, FileWithNegativeSizeIsRefused) {
    VolumePlan volume{.name = "NEGATIVE"};
    volume.files.push_back({.name = "MINUS1", .size = 1,
                            .tweaks = {.blockCountField = 0,
                                       .edits = {{24, std::vector<uint8_t>(8, 0xFF)}}}});
    volume.files.push_back({.name = "PLAIN", .size = 1});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.files()), (std::vector<std::string>{"PLAIN"}));
}

TEST(VolumeMount, LateTimeStampRefusesTheFileButShowsItsName) {
    VolumePlan volume{.name = "TIMES"};
    volume.files.push_back({.name = "EARLY.TXT", .size = 1, .time = 2'099'999'999u});
    volume.files.push_back({.name = "LATE.TXT", .size = 1, .time = 2'100'000'000u});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.files()), (std::vector<std::string>{"EARLY.TXT"}));
    EXPECT_EQ(mounted.events.lastNames.back(), "LATE.TXT");
    EXPECT_EQ(mounted.events.fileCounts, (std::vector<uint32_t>{1, 1}));
}

TEST(VolumeMount, FolderWithNoObjectNumberIsNeverAdmitted) {
    VolumePlan volume{.name = "IDS"};
    volume.folders.push_back({.id = 0xFFFFFFFFu, .name = "ALLONES"});
    volume.folders.push_back({.id = 3000, .name = "ZERO", .tweaks = {.edits = {{8, Le32Bytes(0)}}}});
    volume.folders.push_back({.id = 3001, .name = "LATE", .time = 2'100'000'000u});
    volume.folders.push_back({.id = 3002, .name = "KEPT"});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"KEPT"}));
    EXPECT_EQ(mounted.events.folderCounts, (std::vector<uint32_t>{1}));
}

TEST(VolumeMount, ExcludedFolderIsNeverAdmitted) {
    VolumePlan volume{.name = "EXCL"};
    volume.folders.push_back({.name = "HIDDEN", .excluded = true});
    volume.folders.push_back({.name = "SHOWN"});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"SHOWN"}));
}

TEST(VolumeMount, ExclusionChainIsFollowedByteByByte) {
    // Four-unit names end at record offset 134, so the chain bytes at 108, 116 and 136 are free.
    auto chain = [](uint8_t at108, uint16_t at136) {
        std::vector<uint8_t> value(2);
        putLe16(value, 0, at136);
        return test::RecordTweaks{.edits = {{108, {at108}}, {116, {2}}, {136, value}}};
    };
    VolumePlan volume{.name = "CHAIN"};
    volume.folders.push_back({.name = "AAAA", .tweaks = chain(3, 0xFFFF)});
    volume.folders.push_back({.name = "BBBB", .tweaks = chain(3, 0xFFFE)});
    volume.folders.push_back({.name = "CCCC", .tweaks = chain(0, 0xFFFF)});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"BBBB", "CCCC"}));
}

TEST(VolumeMount, FiveUnitNamesCarryTheirStampAfterTheName) {
    VolumePlan volume{.name = "STAMPS"};
    volume.folders.push_back({.id = 4000, .name = "FOLDR", .tweaks = {.edits = {{180, Le32Bytes(111111)}}}});
    volume.files.push_back({.name = "FILES", .size = 1, .tweaks = {.edits = {{196, Le32Bytes(222222)}}}});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    ASSERT_EQ(mounted.tree.folders().size(), 1u);
    ASSERT_EQ(mounted.tree.files().size(), 1u);
    EXPECT_EQ(mounted.tree.folders()[0].timeStamp, 111111u);
    EXPECT_EQ(mounted.tree.files()[0].timeStamp, 222222u);
}

TEST(VolumeMount, NamesKeepLowBytesUpToAZeroLowByte) {
    VolumePlan volume{.name = "NAMES"};
    volume.addFile("Caf\u00e9", 0, 1);
    volume.addFile("AB\u0100CD", 0, 1);
    volume.addFile("\u0200XYZ", 0, 1);
    volume.addFile("\u4e2d", 0, 1);
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.files()), (std::vector<std::string>{"Caf\xE9", "AB", "-"}));
}

TEST(VolumeMount, FoldersSharingAMissingParentMeetInOneInventedFolder) {
    VolumePlan volume{.name = "LOST"};
    volume.folders.push_back({.id = 10, .parent = 777, .name = "A"});
    volume.folders.push_back({.id = 11, .parent = 777, .name = "B"});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    ASSERT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"A", "B", "Dir0"}));
    EXPECT_EQ(mounted.tree.folders()[2].objectId, 777u);
    test::RecordingTreeView view;
    BuildFolderTree(mounted.tree, view, view.kRoot, 0);
    uint32_t dir0 = mounted.tree.folders()[2].treeItem;
    EXPECT_EQ(view.childTexts(view.kRoot), (std::vector<std::string>{"Dir0"}));
    EXPECT_EQ(view.childTexts(dir0), (std::vector<std::string>{"A", "B"}));
}

TEST(VolumeMount, FolderRecordedTwiceIsKeptOnceFileTwiceListedTwice) {
    VolumePlan volume{.name = "TWICE"};
    volume.folders.push_back({.name = "TWINFOLDER", .duplicate = true});
    volume.files.push_back({.name = "TWIN.TXT", .size = 5, .duplicate = true});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    EXPECT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"TWINFOLDER"}));
    EXPECT_EQ(Names(mounted.tree.files()), (std::vector<std::string>{"TWIN.TXT", "TWIN.TXT"}));
    ExpectMountedAsBuilt(mounted.tree, NssImage::expectedMount(mounted.builtVolume()));
}

TEST(VolumeMount, StopDuringTheLostDataSearchIsKeptInTheOutcome) {
    VolumePlan volume{.name = "LATE"};
    for (uint64_t i = 0; i < 20; ++i)
        volume.folders.push_back({.id = 10 + i, .parent = 900 + i, .name = test::NumberedName("O", i)});
    MountedImage mounted(BuildVolume(volume));
    class StopOnStatus : public NoMountEvents {
    public:
        explicit StopOnStatus(std::atomic<int32_t>& stop) : stop_(stop) {}
        void statusLine(std::string_view) override { stop_ = 1; }

    private:
        std::atomic<int32_t>& stop_;
    } events(mounted.stop);
    MountContext context{mounted.reader, mounted.pool, mounted.queue, mounted.tree, events, mounted.stop};
    const MountOutcome outcome =
        MountVolume(context, {.recoveryMode = 1, .rootSector = mounted.builtVolume().rootSector});
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(mounted.tree.folders().size(), 20u) << "no lost folder was invented after the stop";
    mounted.stop = 0;
    EXPECT_FALSE(mounted.MountVolumeBased().stopped) << "a mount that ran to its end";
}

TEST(VolumeMount, StoppedWalkStillSearchesLostDataAndShowsWhatItFound) {
    VolumePlan volume{.name = "STOP"};
    volume.folders.push_back({.id = 10, .parent = 777, .name = "ORPHAN"});
    for (int i = 0; i < 400; ++i) volume.addFile(test::NumberedName("F", i), 0, 100);
    volume.tree.recordsPerLeaf = 10;
    MountedImage mounted(BuildVolume(volume));
    mounted.events.onFileFound = [&](uint32_t count) {
        if (count == 50) mounted.stop = 1;
    };
    EXPECT_TRUE(mounted.MountVolumeBased().stopped) << "the outcome keeps the stop the flag no longer shows";
    EXPECT_EQ(mounted.tree.files().size(), 50u);
    EXPECT_EQ(mounted.stop.load(), 0);
    EXPECT_EQ(Names(mounted.tree.folders()), (std::vector<std::string>{"ORPHAN", "Dir0"}));
    test::RecordingTreeView view;
    test::RecordingListView list;
    BuildFolderTree(mounted.tree, view, view.kRoot, 0);
    FillItemList(mounted.tree, list, 0, {});
    EXPECT_EQ(list.rows.size(), 51u);
}

class DamagedLeaf : public testing::TestWithParam<test::LeafDamageKind> {};

TEST_P(DamagedLeaf, EndsOnlyThatLeaf) {
    VolumePlan volume{.name = "DAMAGE"};
    for (int i = 0; i < 20; ++i) volume.addFile(test::NumberedName("F", i), 0, 10);
    volume.tree.recordsPerLeaf = 5;
    volume.damage.push_back({.leaf = 1, .kind = GetParam(), .atRecord = 2});
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    auto expected = NssImage::expectedMount(mounted.builtVolume());
    EXPECT_GE(expected.files.size(), 15u);
    EXPECT_LE(expected.files.size(), 20u);
    ExpectMountedAsBuilt(mounted.tree, expected);
}

INSTANTIATE_TEST_SUITE_P(VolumeMount, DamagedLeaf,
                         testing::Values(test::LeafDamageKind::BadMagic, test::LeafDamageKind::ZeroLength,
                                         test::LeafDamageKind::NegativeLength,
                                         test::LeafDamageKind::PastBlockEnd,
                                         test::LeafDamageKind::FieldsPastBlock));

TEST(VolumeMount, LinkRecordsAreFollowed) {
    VolumePlan volume = SampleVolume();
    for (int i = 0; i < 30; ++i) volume.addFile(test::NumberedName("L", i), 0, 10);
    volume.tree.links = test::TreeLinks::LinkRecords;
    volume.tree.recordsPerLeaf = 4;
    MountedImage mounted(BuildVolume(volume));
    mounted.MountVolumeBased();
    ExpectMountedAsBuilt(mounted.tree, NssImage::expectedMount(mounted.builtVolume()));
}

TEST(VolumeMount, LoopingLinksEndTheWalk) {
    for (bool leafLoop : {true, false}) {
        VolumePlan volume = SampleVolume();
        volume.tree.recordsPerLeaf = 3;
        volume.tree.links = leafLoop ? test::TreeLinks::LinkRecords : test::TreeLinks::Branches;
        volume.tree.leafLinksToItself = leafLoop;
        volume.tree.branchLinksToRoot = !leafLoop;
        MountedImage mounted(BuildVolume(volume));
        mounted.MountVolumeBased();
        ExpectMountedAsBuilt(mounted.tree, NssImage::expectedMount(mounted.builtVolume()));
    }
}

}  // namespace
}  // namespace lumbra
