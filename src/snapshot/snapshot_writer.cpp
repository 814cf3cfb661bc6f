#include "snapshot/snapshot_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>
#include <string>

#include "snapshot/snapshot_format.h"

namespace lumbra {
namespace {

namespace format = snapshot_format;

class ByteSink {
public:
    void text(std::string_view bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void raw(std::span<const uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void u16(uint16_t value) { put(2, value); }
    void u32(uint32_t value) { put(4, value); }
    void u64(uint64_t value) { put(8, value); }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    void put(size_t width, uint64_t value) {
        for (size_t i = 0; i < width; ++i) out_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    std::vector<uint8_t> out_;
};

bool WithinBounds(const SnapshotState& state, const RecoveredTree& records) {
    const SelectedPool& pool = state.pool;
    if (pool.name.size() > format::kMaxPoolNameLength || pool.segmentCount > format::kMaxSegments) return false;
    if (pool.segmentStart.size() < pool.segmentCount || pool.segmentExtent.size() < pool.segmentCount) return false;
    if (state.volumes.count() > kMaxVolumes) return false;
    for (const VolumeEntry& volume : state.volumes.volumes())
        if (volume.name.size() > format::kMaxVolumeNameLength) return false;
    if (state.treeSample.size() > format::kMaxTreeSample) return false;
    if (records.folders().size() > UINT32_MAX || records.files().size() > UINT32_MAX) return false;
    auto nameFits = [](const ItemRecord& record) { return record.name.size() <= format::kMaxRecordNameLength; };
    return std::all_of(records.folders().begin(), records.folders().end(), nameFits) &&
           std::all_of(records.files().begin(), records.files().end(), nameFits);
}

void PutRecord(ByteSink& sink, const ItemRecord& record) {
    sink.u32(static_cast<uint32_t>(record.name.size() + format::kRecordFixedBytes));
    sink.text(record.name);
    sink.u64(record.objectId);
    sink.u64(record.itemNumber);
    sink.u64(record.parentId);
    sink.u64(record.firstBlock);
    sink.u32(record.blockCount);
    sink.u32(record.timeStamp);
    sink.u64(static_cast<uint64_t>(record.size));
}

void PutPool(ByteSink& sink, const SnapshotState& state) {
    const SelectedPool& pool = state.pool;
    sink.u32(static_cast<uint32_t>(pool.name.size()));
    sink.text(pool.name);
    sink.u32(pool.poolSize);
    sink.u32(pool.segmentCount);
    for (uint32_t i = 0; i < pool.segmentCount; ++i) {
        sink.u32(pool.segmentStart[i]);
        sink.u32(pool.segmentExtent[i]);
    }
    sink.u32(state.objectTree.superblockSector);
    sink.u64(state.objectTree.rootSector);
}

void PutTail(ByteSink& sink, const SnapshotState& state) {
    sink.text(format::kTailTag);
    sink.u32(static_cast<uint32_t>(4 + state.treeSample.size() * format::kTreeDigestBytes));
    sink.u16(state.partial ? format::kPartialFlag : 0);
    sink.u16(static_cast<uint16_t>(state.treeSample.size()));
    for (const TreeBlockDigest& block : state.treeSample) {
        sink.u64(block.diskSector);
        sink.raw(block.digest);
    }
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::optional<std::vector<uint8_t>> EncodeSnapshot(const SnapshotState& state, const RecoveredTree& records) {
    if (!WithinBounds(state, records)) return std::nullopt;
    ByteSink sink;
    sink.text(format::kTag);
    sink.text(format::kVersion);
    sink.u16(state.selectedDrive);
    PutPool(sink, state);
    sink.u16(static_cast<uint16_t>(state.volumes.count()));
    for (const VolumeEntry& volume : state.volumes.volumes()) {
        sink.u32(static_cast<uint32_t>(volume.name.size()));
        sink.text(volume.name);
        sink.u64(volume.rootSector);
    }
    sink.u16(state.selectedPool);
    sink.u32(state.selectedVolume);
    sink.u32(static_cast<uint32_t>(records.folders().size()));
    for (const ItemRecord& folder : records.folders()) PutRecord(sink, folder);
    sink.u32(static_cast<uint32_t>(records.files().size()));
    for (const ItemRecord& file : records.files()) PutRecord(sink, file);
    PutTail(sink, state);
    return sink.take();
}

std::string SnapshotSavePath(const std::string& chosenPath) {
    const size_t slash = chosenPath.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string path = chosenPath;
    for (size_t i = nameStart; i < path.size(); ++i) path[i] = AsciiUpper(path[i]);
    const std::string_view extension = snapshot_format::kExtension;
    if (path.size() < extension.size() || path.compare(path.size() - extension.size(), extension.size(), extension) != 0)
        path += extension;
    return path;
}

std::optional<SnapshotSaveError> WriteSnapshotFile(DestinationFiles& files, const std::string& path,
                                                   const std::vector<uint8_t>& bytes) {
    if (auto input = files.inputAt(path)) return SnapshotSaveError{true, ReplacesInputText(path, *input)};
    auto unable = [](std::string reason) {
        return SnapshotSaveError{false, std::string(format::kUnableToSaveText), std::move(reason)};
    };
    auto file = files.create(path);
    if (!file) return unable(files.lastFailure());
    errno = 0;
    if (!file->write(bytes.data(), bytes.size())) {
        const int error = errno;
        file->abandon();
        return unable(error != 0 ? std::strerror(error) : "");
    }
    errno = 0;
    if (!file->close()) return unable(errno != 0 ? std::strerror(errno) : "");
    return std::nullopt;
}

std::optional<SnapshotSaveError> SaveSnapshot(DestinationFiles& files, const std::string& path,
                                              const SnapshotState& state, const RecoveredTree& records) {
    auto bytes = EncodeSnapshot(state, records);
    if (!bytes) return SnapshotSaveError{false, std::string(snapshot_format::kUnableToSaveText)};
    return WriteSnapshotFile(files, path, *bytes);
}

}  // namespace lumbra
