#include "snapshot/snapshot_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include "snapshot/snapshot_format.h"

namespace lumbra {
namespace {

namespace format = snapshot_format;

class ByteSink {
public:
    void text(std::string_view bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
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

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
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
    return sink.take();
}

namespace {

// Creates a new file beside `path` to write the snapshot into, with mode 0666 less the user's
// umask, as any new file of the user gets; -1 when none can be created.
int CreateFileBeside(const std::string& path, std::string& created) {
    static std::atomic<uint32_t> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(counter++);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

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

std::optional<std::string> WriteSnapshotFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporary;
    const int fd = CreateFileBeside(path, temporary);
    if (fd < 0) return std::string(format::kUnableToSaveText);
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return std::string(format::kUnableToSaveText);
    }
    return std::nullopt;
}

std::optional<std::string> SaveSnapshot(const std::string& path, const SnapshotState& state,
                                        const RecoveredTree& records) {
    auto bytes = EncodeSnapshot(state, records);
    if (!bytes) return std::string(snapshot_format::kUnableToSaveText);
    return WriteSnapshotFile(path, *bytes);
}

}  // namespace lumbra
