#include "snapshot/snapshot_reader.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "snapshot/snapshot_format.h"

namespace lumbra {
namespace {

namespace format = snapshot_format;

// A cursor over the file that answers nullopt for anything past its end.
class ByteCursor {
public:
    explicit ByteCursor(ByteView bytes) : bytes_(bytes) {}

    std::optional<uint16_t> u16() { return advance(le16(bytes_, offset_), 2); }
    std::optional<uint32_t> u32() { return advance(le32(bytes_, offset_), 4); }
    std::optional<uint64_t> u64() { return advance(le64(bytes_, offset_), 8); }
    std::optional<std::string> text(size_t length) {
        if (!fits(bytes_, offset_, length)) return std::nullopt;
        std::string value(bytes_.begin() + static_cast<std::ptrdiff_t>(offset_),
                          bytes_.begin() + static_cast<std::ptrdiff_t>(offset_ + length));
        offset_ += length;
        return value;
    }
    bool atEnd() const { return offset_ == bytes_.size(); }
    size_t left() const { return bytes_.size() - offset_; }

private:
    template <typename T>
    std::optional<T> advance(std::optional<T> value, size_t width) {
        if (value) offset_ += width;
        return value;
    }
    ByteView bytes_;
    size_t offset_ = 0;
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

SnapshotLoadError Damaged() { return {SnapshotLoadError::Kind::Damaged, std::string(format::kDamagedText)}; }

struct StoredRecord {
    std::string name;
    uint64_t objectId = 0;
    uint64_t parentId = 0;
    uint64_t firstBlock = 0;
    uint32_t blockCount = 0;
    uint32_t timeStamp = 0;
    int64_t size = 0;
};

std::optional<StoredRecord> ReadRecord(ByteCursor& in) {
    auto length = in.u32();
    if (!length || *length < format::kRecordFixedBytes ||
        *length > format::kRecordFixedBytes + format::kMaxRecordNameLength)
        return std::nullopt;
    StoredRecord record;
    auto name = in.text(*length - format::kRecordFixedBytes);
    auto objectId = in.u64();
    auto itemNumber = in.u64();  // not used: the load numbers records itself
    auto parentId = in.u64();
    auto firstBlock = in.u64();
    auto blockCount = in.u32();
    auto timeStamp = in.u32();
    auto size = in.u64();
    if (!name || !objectId || !itemNumber || !parentId || !firstBlock || !blockCount || !timeStamp || !size)
        return std::nullopt;
    return StoredRecord{std::move(*name), *objectId, *parentId, *firstBlock, *blockCount, *timeStamp,
                        static_cast<int64_t>(*size)};
}

bool ReadPool(ByteCursor& in, SnapshotState& state) {
    auto nameLength = in.u32();
    if (!nameLength || *nameLength > format::kMaxPoolNameLength) return false;
    auto name = in.text(*nameLength);
    auto poolSize = in.u32();
    auto segmentCount = in.u32();
    if (!name || !poolSize || !segmentCount || *segmentCount > format::kMaxSegments) return false;
    state.pool.name = std::move(*name);
    state.pool.poolSize = *poolSize;
    state.pool.segmentCount = *segmentCount;
    for (uint32_t i = 0; i < *segmentCount; ++i) {
        auto start = in.u32();
        auto extent = in.u32();
        if (!start || !extent) return false;
        state.pool.segmentStart.push_back(*start);
        state.pool.segmentExtent.push_back(*extent);
    }
    auto superblock = in.u32();
    auto root = in.u64();
    if (!superblock || !root) return false;
    state.objectTree = {*superblock, *root};
    return true;
}

// The volume table holds kMaxVolumes rows; a file with more could not be restored whole.
bool ReadVolumes(ByteCursor& in, SnapshotState& state) {
    auto count = in.u16();
    if (!count || *count > kMaxVolumes) return false;
    for (uint16_t i = 0; i < *count; ++i) {
        auto nameLength = in.u32();
        if (!nameLength || *nameLength > format::kMaxVolumeNameLength) return false;
        auto name = in.text(*nameLength);
        auto root = in.u64();
        if (!name || !root) return false;
        state.volumes.add({std::move(*name), *root, 0});
    }
    return true;
}

bool ReadFolders(ByteCursor& in, RecoveredTree& records) {
    auto count = in.u32();
    if (!count) return false;
    for (uint32_t i = 0; i < *count; ++i) {
        auto record = ReadRecord(in);
        if (!record) return false;
        if (record->timeStamp >= kTimeStampLimit) continue;
        records.AddFolderRecord(record->name, record->objectId, record->parentId, records.folderCounter,
                                record->timeStamp);
        ++records.folderCounter;
    }
    return true;
}

bool ReadFiles(ByteCursor& in, RecoveredTree& records) {
    auto count = in.u32();
    if (!count) return false;
    for (uint32_t i = 0; i < *count; ++i) {
        auto record = ReadRecord(in);
        if (!record) return false;
        if (record->timeStamp >= kTimeStampLimit) continue;
        records.AddFileRecord(record->name, record->objectId, record->parentId, records.fileCounter,
                              record->firstBlock, record->blockCount, record->size, record->timeStamp);
        ++records.fileCounter;
    }
    return true;
}

// The tail of newer snapshots; a file that ends with its file records has none. Fields a
// later version adds after the known ones are passed over within the tail's length.
bool ReadTail(ByteCursor& in, SnapshotState& state) {
    if (in.atEnd()) return true;
    auto tag = in.text(format::kTailTag.size());
    auto length = in.u32();
    if (!tag || *tag != format::kTailTag || !length || *length < 4 || *length > format::kMaxTailLength ||
        *length != in.left())
        return false;
    auto flags = in.u16();
    auto count = in.u16();
    if (!flags || !count || *count > format::kMaxTreeSample || 4 + *count * format::kTreeDigestBytes > *length)
        return false;
    state.partial = (*flags & format::kPartialFlag) != 0;
    for (uint16_t i = 0; i < *count; ++i) {
        auto sector = in.u64();
        auto digest = in.text(32);
        if (!sector || !digest) return false;
        TreeBlockDigest block{*sector, {}};
        std::copy(digest->begin(), digest->end(), block.digest.begin());
        state.treeSample.push_back(block);
    }
    return in.text(in.left()).has_value();
}

// The tag as the message shows it: the bytes read, up to the first NUL among them.
std::string TagAsRead(ByteView bytes) {
    std::string tag;
    for (size_t i = 0; i < bytes.size() && i < format::kTag.size() && bytes[i] != 0; ++i)
        tag.push_back(static_cast<char>(bytes[i]));
    return tag;
}

std::optional<SnapshotLoadError> CheckHeader(ByteView bytes) {
    const size_t tagLength = format::kTag.size();
    const std::string tagRead(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), tagLength)));
    if (!EqualIgnoringCase(tagRead, format::kTag.substr(0, tagRead.size())) || tagRead.empty())
        return SnapshotLoadError{SnapshotLoadError::Kind::WrongTag, std::string(format::kInvalidTagText) + TagAsRead(bytes)};
    if (bytes.size() < format::kHeaderSize) return Damaged();
    const std::string versionRead(bytes.begin() + tagLength, bytes.begin() + format::kHeaderSize);
    if (!EqualIgnoringCase(versionRead, format::kVersion))
        return SnapshotLoadError{SnapshotLoadError::Kind::WrongVersion, std::string(format::kVersionMismatchText)};
    return std::nullopt;
}

}  // namespace

SnapshotLoadResult DecodeSnapshot(ByteView bytes) {
    if (auto error = CheckHeader(bytes)) return *error;
    ByteCursor in(bytes.subspan(format::kHeaderSize));
    LoadedSnapshot loaded;
    SnapshotState& state = loaded.state;
    auto drive = in.u16();
    if (!drive || !ReadPool(in, state) || !ReadVolumes(in, state)) return Damaged();
    state.selectedDrive = *drive;
    auto selectedPool = in.u16();
    auto selectedVolume = in.u32();
    if (!selectedPool || !selectedVolume) return Damaged();
    state.selectedPool = *selectedPool;
    state.selectedVolume = *selectedVolume;
    if (!ReadFolders(in, loaded.records) || !ReadFiles(in, loaded.records) || !ReadTail(in, state)) return Damaged();
    return loaded;
}

SnapshotLoadResult LoadSnapshotFile(const std::string& path) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file) return SnapshotLoadError{SnapshotLoadError::Kind::Unreadable, std::string(format::kUnableToOpenText)};
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return SnapshotLoadError{SnapshotLoadError::Kind::Unreadable, std::string(format::kUnableToOpenText)};
    return DecodeSnapshot(bytes);
}

}  // namespace lumbra
