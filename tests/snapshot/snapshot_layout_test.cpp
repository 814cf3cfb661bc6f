#include <gtest/gtest.h>

#include "disk/byte_order.h"
#include "snapshot/snapshot_format.h"
#include "snapshot/snapshot_reader.h"
#include "snapshot/snapshot_writer.h"

namespace lumbra {
namespace {

SnapshotState SmallState() {
    SnapshotState state;
    state.selectedDrive = 3;
    state.pool = {"POOLX", 123456, 2, {2080, 90000}, {50000, 33456}};
    state.objectTree = {2088, 0x1122334455ull};
    state.volumes.add({"VOL1", 777, 0});
    state.volumes.add({"SYS", 0x100000000ull, 0});
    state.selectedPool = 4;
    state.selectedVolume = 1;
    TreeBlockDigest block{0x0102030405ull, {}};
    for (size_t i = 0; i < block.digest.size(); ++i) block.digest[i] = static_cast<uint8_t>(0xA0 + i);
    state.treeSample = {block};
    state.partial = true;
    return state;
}

RecoveredTree SmallRecords() {
    RecoveredTree records;
    records.AddFolderRecord("DOCS", 77, 0, 0, 1000);
    records.folderCounter = 1;
    records.AddFileRecord("A.TXT", 88, 77, 0, 4000, 2, 4097, 2000);
    records.fileCounter = 1;
    return records;
}

std::vector<uint8_t> Encode(const SnapshotState& state, const RecoveredTree& records) {
    auto bytes = EncodeSnapshot(state, records);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(std::vector<uint8_t>{});
}

std::string Text(const std::vector<uint8_t>& bytes, size_t offset, size_t length) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + length)};
}

TEST(SnapshotLayout, FieldsFollowEachOtherWithoutPadding) {
    const auto b = Encode(SmallState(), SmallRecords());
    EXPECT_EQ(Text(b, 0, 7), "qvd4.03");
    EXPECT_EQ(Text(b, 7, 3), "1.0");
    EXPECT_EQ(le16(b, 10), 3u);
    EXPECT_EQ(le32(b, 12), 5u);
    EXPECT_EQ(Text(b, 16, 5), "POOLX");
    const size_t p = 21;
    EXPECT_EQ(le32(b, p), 123456u);
    EXPECT_EQ(le32(b, p + 4), 2u);
    EXPECT_EQ(le32(b, p + 8), 2080u);
    EXPECT_EQ(le32(b, p + 12), 50000u);
    EXPECT_EQ(le32(b, p + 16), 90000u);
    EXPECT_EQ(le32(b, p + 20), 33456u);
    const size_t q = p + 8 + 16;
    EXPECT_EQ(le32(b, q), 2088u);
    EXPECT_EQ(le64(b, q + 4), 0x1122334455ull);
    EXPECT_EQ(le16(b, q + 12), 2u);
    size_t v = q + 14;
    EXPECT_EQ(le32(b, v), 4u);
    EXPECT_EQ(Text(b, v + 4, 4), "VOL1");
    EXPECT_EQ(le64(b, v + 8), 777u);
    v += 16;
    EXPECT_EQ(le32(b, v), 3u);
    EXPECT_EQ(Text(b, v + 4, 3), "SYS");
    EXPECT_EQ(le64(b, v + 7), 0x100000000ull);
    size_t s = v + 15;
    EXPECT_EQ(le16(b, s), 4u);
    EXPECT_EQ(le32(b, s + 2), 1u);
    EXPECT_EQ(le32(b, s + 6), 1u);  // F
    size_t r = s + 10;
    EXPECT_EQ(le32(b, r), 4u + 48);
    EXPECT_EQ(Text(b, r + 4, 4), "DOCS");
    EXPECT_EQ(le64(b, r + 8), 77u);    // objectId
    EXPECT_EQ(le64(b, r + 16), 0u);    // itemNumber
    EXPECT_EQ(le64(b, r + 24), 0u);    // parentId
    EXPECT_EQ(le64(b, r + 32), 0u);    // firstBlock
    EXPECT_EQ(le32(b, r + 40), 0u);    // blockCount
    EXPECT_EQ(le32(b, r + 44), 1000u); // timeStamp
    EXPECT_EQ(le64(b, r + 48), 0u);    // size
    r += 56;
    EXPECT_EQ(le32(b, r), 1u);  // G
    EXPECT_EQ(le32(b, r + 4), 5u + 48);
    EXPECT_EQ(Text(b, r + 8, 5), "A.TXT");
    EXPECT_EQ(le64(b, r + 13), 88u);
    EXPECT_EQ(le64(b, r + 29), 77u);
    EXPECT_EQ(le64(b, r + 37), 4000u);
    EXPECT_EQ(le32(b, r + 45), 2u);
    EXPECT_EQ(le32(b, r + 49), 2000u);
    EXPECT_EQ(le64(b, r + 53), 4097u);
    const size_t t = r + 61;
    EXPECT_EQ(Text(b, t, 8), "LNSXTAIL");
    EXPECT_EQ(le32(b, t + 8), 4u + 40);
    EXPECT_EQ(le16(b, t + 12), 1u);  // flags: the mount was stopped
    EXPECT_EQ(le16(b, t + 14), 1u);  // tree block digests
    EXPECT_EQ(le64(b, t + 16), 0x0102030405ull);
    EXPECT_EQ(b[t + 24], 0xA0);
    EXPECT_EQ(b[t + 55], 0xA0 + 31);
    EXPECT_EQ(b.size(), t + 56);
}

// A file of the older form ends with its file records: it loads, with no digests and no mark.
TEST(SnapshotLayout, AFileWithoutTheTailLoadsAsWhole) {
    const auto full = Encode(SmallState(), SmallRecords());
    const std::vector<uint8_t> old(full.begin(), full.end() - 56);
    auto result = DecodeSnapshot(old);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    const LoadedSnapshot& loaded = std::get<LoadedSnapshot>(result);
    EXPECT_TRUE(loaded.state.treeSample.empty());
    EXPECT_FALSE(loaded.state.partial);
    EXPECT_EQ(loaded.records.files().size(), 1u);
    EXPECT_EQ(loaded.state.volumes[1].name, "SYS");
}

TEST(SnapshotLayout, ReadingGivesBackTheStateAndTheRecords) {
    const auto bytes = Encode(SmallState(), SmallRecords());
    auto result = DecodeSnapshot(bytes);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    const LoadedSnapshot& loaded = std::get<LoadedSnapshot>(result);
    EXPECT_EQ(loaded.state.selectedDrive, 3u);
    EXPECT_EQ(loaded.state.pool.name, "POOLX");
    EXPECT_EQ(loaded.state.pool.segmentStart, (std::vector<uint32_t>{2080, 90000}));
    EXPECT_EQ(loaded.state.pool.segmentExtent, (std::vector<uint32_t>{50000, 33456}));
    EXPECT_EQ(loaded.state.objectTree.rootSector, 0x1122334455ull);
    ASSERT_EQ(loaded.state.volumes.count(), 2u);
    EXPECT_EQ(loaded.state.volumes[1].name, "SYS");
    EXPECT_EQ(loaded.state.selectedPool, 4u);
    EXPECT_EQ(loaded.state.selectedVolume, 1u);
    ASSERT_EQ(loaded.records.files().size(), 1u);
    EXPECT_EQ(loaded.records.files()[0].size, 4097);
    EXPECT_EQ(loaded.records.files()[0].blockCount, 2u);
    EXPECT_EQ(loaded.state.treeSample, SmallState().treeSample);
    EXPECT_TRUE(loaded.state.partial);
    EXPECT_EQ(Encode(loaded.state, loaded.records), bytes);
}

TEST(SnapshotLayout, AVolumeWithNothingFoundHasZeroFoldersAndZeroFiles) {
    const auto bytes = Encode(SmallState(), RecoveredTree{});
    EXPECT_EQ(le32(bytes, bytes.size() - 56 - 8), 0u);
    EXPECT_EQ(le32(bytes, bytes.size() - 56 - 4), 0u);
    auto result = DecodeSnapshot(bytes);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(result));
    EXPECT_TRUE(std::get<LoadedSnapshot>(result).records.folders().empty());
    EXPECT_EQ(std::get<LoadedSnapshot>(result).records.folderCounter, 0u);
}

SnapshotLoadError ErrorOf(const std::vector<uint8_t>& bytes) {
    auto result = DecodeSnapshot(bytes);
    EXPECT_TRUE(std::holds_alternative<SnapshotLoadError>(result));
    if (auto* error = std::get_if<SnapshotLoadError>(&result)) return *error;
    return {};
}

TEST(SnapshotHeader, ATagInCapitalsIsAccepted) {
    auto bytes = Encode(SmallState(), SmallRecords());
    const std::string upper = "QVD4.03";
    std::copy(upper.begin(), upper.end(), bytes.begin());
    EXPECT_TRUE(std::holds_alternative<LoadedSnapshot>(DecodeSnapshot(bytes)));
}

TEST(SnapshotHeader, AnyOtherTagIsReportedWithTheCharactersRead) {
    auto bytes = Encode(SmallState(), SmallRecords());
    const std::string other = "PK\x03\x04xyz";
    std::copy(other.begin(), other.end(), bytes.begin());
    SnapshotLoadError error = ErrorOf(bytes);
    EXPECT_EQ(error.kind, SnapshotLoadError::Kind::WrongTag);
    EXPECT_EQ(error.message, "    Invalid version of the file found : PK\x03\x04xyz");
    bytes[2] = 0;
    EXPECT_EQ(ErrorOf(bytes).message, "    Invalid version of the file found : PK");
}

TEST(SnapshotHeader, AnotherVersionIsRefused) {
    auto bytes = Encode(SmallState(), SmallRecords());
    bytes[9] = '1';
    SnapshotLoadError error = ErrorOf(bytes);
    EXPECT_EQ(error.kind, SnapshotLoadError::Kind::WrongVersion);
    EXPECT_EQ(error.message, "              version of file does not match with current version 1.0");
}

// Cut anywhere but where the older form ends (after the file records).
TEST(SnapshotChecks, AFileCutShortAnywhereIsRefusedAsAWhole) {
    const auto bytes = Encode(SmallState(), SmallRecords());
    for (size_t length = 7; length < bytes.size(); ++length) {
        if (length == bytes.size() - 56) continue;
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(ErrorOf(cut).kind, SnapshotLoadError::Kind::Damaged) << length;
    }
}

TEST(SnapshotChecks, TrailingBytesAreRefused) {
    auto bytes = Encode(SmallState(), SmallRecords());
    bytes.push_back(0);
    EXPECT_EQ(ErrorOf(bytes).kind, SnapshotLoadError::Kind::Damaged);
    EXPECT_EQ(ErrorOf(bytes).message, "The recovery snapshot is damaged or incomplete and was not loaded.");
}

// Each case writes one field past its bound at a known offset of SmallState's file.
TEST(SnapshotChecks, FieldsBeyondTheirBoundsAreRefused) {
    const auto good = Encode(SmallState(), SmallRecords());
    const size_t segmentCount = 25, volumeCount = 57, firstVolumeName = 59, recordLength = 100;
    const size_t tail = good.size() - 56;
    const struct {
        size_t offset;
        uint32_t value;
        int width;
    } cases[] = {
        {12, 20, 4},             // pool name of 20 bytes
        {segmentCount, 51, 4},   // 51 segments
        {volumeCount, 50, 2},    // 50 volumes: more than the volume table holds
        {firstVolumeName, 50, 4},
        {recordLength, 47, 4},   // R below 48
        {recordLength, 304, 4},  // R above 303
        {recordLength - 4, 0xFFFFFFFF, 4},  // F far beyond what the file holds
        {tail, 0x5853584D, 4},   // another tag after the records
        {tail + 8, 43, 4},       // a tail shorter than the file's last bytes
        {tail + 8, 45, 4},       // a tail longer than them
        {tail + 8, 3, 4},        // a tail too short for its flags and count
        {tail + 14, 17, 2},      // more tree block digests than a snapshot keeps
        {tail + 14, 2, 2},       // two digests where the tail holds one
    };
    for (const auto& c : cases) {
        auto bytes = good;
        if (c.width == 2) putLe16(bytes, c.offset, static_cast<uint16_t>(c.value));
        else putLe32(bytes, c.offset, c.value);
        EXPECT_EQ(ErrorOf(bytes).kind, SnapshotLoadError::Kind::Damaged) << c.offset << " " << c.value;
    }
    ASSERT_EQ(le32(good, recordLength), 52u);
    ASSERT_EQ(le32(good, tail + 8), 44u);
}

TEST(SnapshotLoader, NumbersRecordsByItsOwnRuleAndSkipsLateStamps) {
    RecoveredTree records;
    records.AddFolderRecord("A", 10, 0, 0, 1);
    records.AddFolderRecord("LATE", 11, 0, 1, kTimeStampLimit);
    records.AddFolderRecord("Z", 13, 0, 2, 5);
    records.AddFolderRecord("B", 12, 0, 3, 2);
    records.AddFileRecord("F1", 20, 10, 0, 0, 0, 1, kTimeStampLimit - 1);
    records.AddFileRecord("F2", 21, 10, 1, 0, 0, 1, kTimeStampLimit);
    records.AddFileRecord("F3", 22, 10, 2, 0, 0, 1, 7);
    auto bytes = Encode(SmallState(), records);
    // Z becomes a second folder 10: the loader refuses it, yet counts it.
    const size_t firstRecord = 100, recordZ = firstRecord + (4 + 1 + 48) + (4 + 4 + 48);
    ASSERT_EQ(bytes[recordZ + 4], 'Z');
    putLe64(bytes, recordZ + 5, 10);
    auto loaded = std::get<LoadedSnapshot>(DecodeSnapshot(bytes));
    ASSERT_EQ(loaded.records.folders().size(), 2u);
    EXPECT_EQ(loaded.records.folders()[0].itemNumber, 0u);
    EXPECT_EQ(loaded.records.folders()[1].name, "B");
    EXPECT_EQ(loaded.records.folders()[1].itemNumber, 2u);
    EXPECT_EQ(loaded.records.folderCounter, 3u);
    ASSERT_EQ(loaded.records.files().size(), 2u);
    EXPECT_EQ(loaded.records.files()[1].name, "F3");
    EXPECT_EQ(loaded.records.files()[1].itemNumber, 1u);
    EXPECT_EQ(loaded.records.fileCounter, 2u);
}

TEST(SnapshotWriter, WritesTheNumberOfRecordsThatFollowNotTheCounter) {
    RecoveredTree records;
    records.AddFolderRecord("A", 10, 0, 0, 1);
    records.folderCounter = 5;  // a load counts refused folders too
    const auto bytes = Encode(SmallState(), records);
    auto loaded = DecodeSnapshot(bytes);
    ASSERT_TRUE(std::holds_alternative<LoadedSnapshot>(loaded));
    EXPECT_EQ(std::get<LoadedSnapshot>(loaded).records.folders().size(), 1u);
}

TEST(SnapshotWriter, RefusesAStateTheFormatCannotHold) {
    SnapshotState state = SmallState();
    state.pool.name = std::string(20, 'P');
    EXPECT_FALSE(EncodeSnapshot(state, RecoveredTree{}).has_value());
    state = SmallState();
    state.pool.segmentCount = 3;  // more than the segment lists hold
    EXPECT_FALSE(EncodeSnapshot(state, RecoveredTree{}).has_value());
}

TEST(SnapshotSavePath, UpperCasesTheFileNameAndAddsTheExtensionOnce) {
    EXPECT_EQ(SnapshotSavePath("/tmp/temp/scan"), "/tmp/temp/SCAN.QVDX");
    EXPECT_EQ(SnapshotSavePath("/tmp/temp/x.qvdx"), "/tmp/temp/X.QVDX");
    EXPECT_EQ(SnapshotSavePath("/tmp/Mixed.dir/scan.QVDX"), "/tmp/Mixed.dir/SCAN.QVDX");
    EXPECT_EQ(SnapshotSavePath("x.qvd"), "X.QVD.QVDX");
}

}  // namespace
}  // namespace lumbra
