#include "support/nss_image.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "disk/sector.h"
#include "support/file_content.h"
#include "support/image_data.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace {

class ImageDevice : public SectorDevice {
public:
    explicit ImageDevice(std::shared_ptr<const ImageData> data) : data_(std::move(data)) {}
    bool readAt(uint64_t offset, uint8_t* buffer, size_t length) override {
        if (offset > data_->sizeBytes || length > data_->sizeBytes - offset) return false;
        readImage(*data_, offset, {buffer, length});
        return true;
    }
    uint64_t sizeBytes() const override { return data_->sizeBytes; }

private:
    std::shared_ptr<const ImageData> data_;
};

class ImageReader : public SectorReader {
public:
    explicit ImageReader(std::shared_ptr<const ImageData> data) : data_(std::move(data)) {}
    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        const uint64_t length = uint64_t{count} * kSectorSize;
        readImage(*data_, sector * kSectorSize, {buffer, length});
        return sector * kSectorSize + length <= data_->sizeBytes ? 1 : 0;
    }

private:
    std::shared_ptr<const ImageData> data_;
};

constexpr uint64_t kMaxWholeImage = 512ull << 20;
constexpr uint64_t kWriteChunk = 1 << 20;

}  // namespace

NssImage::NssImage(std::shared_ptr<const ImageData> data) : data_(std::move(data)) {}

uint64_t NssImage::sizeBytes() const { return data_->sizeBytes; }
uint64_t NssImage::sectorCount() const { return data_->sizeBytes / kSectorSize; }
uint64_t NssImage::contentSeed() const { return data_->contentSeed; }
const std::vector<BuiltPool>& NssImage::pools() const { return data_->pools; }

std::unique_ptr<SectorDevice> NssImage::device() const { return std::make_unique<ImageDevice>(data_); }
std::unique_ptr<SectorReader> NssImage::reader() const { return std::make_unique<ImageReader>(data_); }

void NssImage::read(uint64_t offset, std::span<uint8_t> out) const { readImage(*data_, offset, out); }

std::vector<uint8_t> NssImage::readSectors(uint64_t sector, uint32_t count) const {
    std::vector<uint8_t> bytes(uint64_t{count} * kSectorSize);
    read(sector * kSectorSize, bytes);
    return bytes;
}

std::vector<uint8_t> NssImage::readPoolBlock(const BuiltPool& pool, uint64_t block) const {
    std::vector<uint8_t> bytes(kBlockSize);
    for (uint32_t s = 0; s < kSectorsPerBlock; ++s) {
        auto sector = pool.toDiskSector(block * kSectorsPerBlock + s);
        if (sector) read(*sector * kSectorSize, std::span(bytes).subspan(s * kSectorSize, kSectorSize));
    }
    return bytes;
}

std::vector<uint8_t> NssImage::bytes() const {
    if (data_->sizeBytes > kMaxWholeImage) throw std::length_error("image too large to hold whole");
    std::vector<uint8_t> all(data_->sizeBytes);
    read(0, all);
    return all;
}

std::vector<NssImage::Extent> NssImage::dataExtents() const {
    std::vector<Extent> pieces;
    for (const Region& r : data_->regions) pieces.push_back({r.offset, r.length});
    for (const auto& [sector, count] : data_->store.sectorRuns()) pieces.push_back({sector * kSectorSize, count * kSectorSize});
    for (const RawPatch& p : data_->patches) pieces.push_back({p.offset, p.bytes.size()});
    std::sort(pieces.begin(), pieces.end(), [](const Extent& a, const Extent& b) { return a.offset < b.offset; });
    std::vector<Extent> merged;
    for (const Extent& e : pieces) {
        const uint64_t end = std::min(e.offset + e.length, data_->sizeBytes);
        if (end <= e.offset) continue;
        if (!merged.empty() && e.offset <= merged.back().offset + merged.back().length)
            merged.back().length = std::max(merged.back().length, end - merged.back().offset);
        else
            merged.push_back({e.offset, end - e.offset});
    }
    return merged;
}

void NssImage::writeTo(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    std::vector<uint8_t> buffer;
    bool ok = true;
    for (const Extent& extent : dataExtents()) {
        for (uint64_t done = 0; ok && done < extent.length; done += buffer.size()) {
            buffer.resize(std::min(kWriteChunk, extent.length - done));
            read(extent.offset + done, buffer);
            ok = ::pwrite(fd, buffer.data(), buffer.size(), static_cast<off_t>(extent.offset + done)) ==
                 static_cast<ssize_t>(buffer.size());
        }
    }
    ok = ok && ::ftruncate(fd, static_cast<off_t>(data_->sizeBytes)) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
}

const BuiltPool& NssImage::pool(std::string_view name) const {
    for (const BuiltPool& p : data_->pools)
        if (p.name == name) return p;
    throw std::out_of_range("no pool named " + std::string(name));
}

std::vector<uint8_t> NssImage::expectedContent(const BuiltFile& file) { return fileContent(file.seed, file.id, file.size); }

std::vector<uint8_t> NssImage::consecutiveContent(const BuiltPool& pool, const BuiltFile& file) const {
    std::vector<uint8_t> bytes;
    bytes.reserve(file.size);
    for (uint64_t block = file.firstBlock; bytes.size() < file.size; ++block) {
        const std::vector<uint8_t> data = readPoolBlock(pool, block);
        bytes.insert(bytes.end(), data.begin(), data.begin() + static_cast<ptrdiff_t>(std::min<uint64_t>(kBlockSize, file.size - bytes.size())));
    }
    return bytes;
}

std::vector<SegmentPlace> BuiltPool::places() const {
    std::vector<SegmentPlace> out;
    for (const BuiltSegment& s : segments) out.push_back({s.dataStart, s.extent});
    return out;
}

std::optional<uint64_t> BuiltPool::toDiskSector(uint64_t poolSector) const {
    return poolSectorToDisk(places(), poolSector);
}

const BuiltVolume& BuiltPool::volume(std::string_view volumeName) const {
    for (const BuiltVolume& v : volumes)
        if (v.name == volumeName) return v;
    throw std::out_of_range("no volume named " + std::string(volumeName));
}

std::string BuiltFolder::expectedName() const { return lowBytesName(utf16FromUtf8(name), 255); }
std::string BuiltFile::expectedName() const { return lowBytesName(utf16FromUtf8(name), 255); }

uint64_t VolumePlan::addFolder(std::string folderName, uint64_t parentId) {
    const uint64_t id = nextId++;
    folders.push_back({.id = id, .parent = parentId, .name = std::move(folderName)});
    return id;
}

uint64_t VolumePlan::addFile(std::string fileName, uint64_t parentId, uint64_t fileSize) {
    const uint64_t id = nextId++;
    files.push_back({.id = id, .parent = parentId, .name = std::move(fileName), .size = fileSize});
    return id;
}

}  // namespace lumbra::test
