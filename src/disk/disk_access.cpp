#include "disk/disk_access.h"

#include <unistd.h>

#include <filesystem>

#include "disk/bios_disk_offer.h"
#include "disk/bios_sector_reader.h"
#include "disk/device_request.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/rescued_device.h"
#include "disk/rescued_sector_reader.h"
#include "disk/sysfs_disks.h"

namespace lumbra {

std::optional<std::string> DiskAccess::EnumerateDrives(const DriveSources& sources, const std::string& libraryFolder) {
    driveTable_ = {};
    opener_.setHelperPath(libraryFolder + device_request::kHelperName);
    imageProblems_.clear();
    rescueMapWarnings_.clear();
    unrescued_.clear();
    biosOpenFailures_.clear();
    untried_.clear();
    // The row of each image, by its index in sources.images.
    std::vector<std::optional<size_t>> imageRows;
    if (accessMode_ == AccessMode::F) {
        // Libraries still loaded would keep the disks they were given before.
        biosLibrary_.reset();
        std::optional<BiosDiskOffer> offer;
        if (sources.imagesAreBiosDrives) offer.emplace(sources.images, DriveTable::kCapacity, opener_);
        auto loaded = LoadBiosDiskLibrary(libraryFolder);
        if (auto* message = std::get_if<std::string>(&loaded)) return *message;
        biosLibrary_ = std::move(std::get<std::unique_ptr<BiosDiskLibrary>>(loaded));
        uint16_t count = 0;
        biosLibrary_->find_hard_disk32(&count);
        if (offer) biosOpenFailures_ = offer->takeFailures();
        for (uint32_t i = 0; i < count && i < DriveTable::kCapacity; ++i) {
            DriveEntry row;
            row.int13Extensions = biosLibrary_->CheckInt13Extension32(0x80 + i);
            biosLibrary_->get_drive_geometry32(0x80 + i, &row.cylinders, &row.heads, &row.sectorsPerTrack);
            row.totalSectors = ClampedTotalSectors(row.cylinders, row.heads, row.sectorsPerTrack);
            row.model = "Unknown";
            row.probeNumber = i;
            if (sources.imagesAreBiosDrives && i < sources.images.size()) {
                row.path = sources.images[i];
                imageRows.emplace_back(i);
            }
            driveTable_.add(row);
        }
    } else {
        if (sources.listSystemDisks) {
            for (DriveEntry& row : ListLinuxDisks(sources.systemPaths)) {
                row.probeNumber = driveTable_.count();
                if (!driveTable_.add(std::move(row))) break;
            }
        }
        for (const std::string& image : sources.images) {
            std::string why;
            imageRows.push_back(addImageRow(image, &why));
            if (!imageRows.back() && !why.empty()) imageProblems_.push_back({image, why});
        }
    }
    for (const auto& [image, map] : sources.rescueMaps) {
        if (image >= imageRows.size() || !imageRows[image]) continue;
        if (auto warning = setRescueMap(*imageRows[image], map))
            rescueMapWarnings_.push_back(sources.images[image] + ": " + *warning);
    }
    return std::nullopt;
}

const char* const kEmptyImageText = "the image is empty";

std::string ImageOpenError(const std::string& path, const std::string& reason) {
    return "cannot open image " + path + ": " + reason;
}

std::vector<std::string> DiskAccess::imageErrors() const {
    std::vector<std::string> errors;
    for (const ImageProblem& problem : imageProblems_) errors.push_back(ImageOpenError(problem.path, problem.reason));
    return errors;
}

std::optional<size_t> DiskAccess::addImageRow(const std::string& path, std::string* errorText) {
    uint64_t sizeBytes = 0;
    if (auto device = FileDevice::Open(path, errorText)) {
        sizeBytes = device->sizeBytes();
        // A file of 0 bytes has no sector to read; whatever was meant, it is not a disk.
        std::error_code error;
        if (sizeBytes == 0 && std::filesystem::is_regular_file(path, error)) {
            if (errorText) *errorText = kEmptyImageText;
            return std::nullopt;
        }
    } else {
        // A disk named as an image that this user may not open: its size comes from sysfs, and
        // it is opened (through the helper) only when the user goes on with it.
        const auto diskBytes = ::access(path.c_str(), R_OK) != 0 ? SysfsBlockDeviceSize(path) : std::nullopt;
        if (!diskBytes) return std::nullopt;
        if (errorText) errorText->clear();
        sizeBytes = *diskBytes;
    }
    DriveEntry row = GeometryForSize(sizeBytes);
    row.model = std::filesystem::path(path).filename().string();
    row.path = path;
    row.probeNumber = driveTable_.count();
    if (!driveTable_.add(std::move(row))) return std::nullopt;
    return driveTable_.count() - 1;
}

std::unique_ptr<SectorReader> DiskAccess::OpenDrive(size_t row, uint16_t badSectorRetries, std::string* errorText,
                                                    OpenFailure* failure, RightsQuestion question) {
    if (failure) *failure = OpenFailure::None;
    if (row >= driveTable_.rows.size()) {
        if (errorText) *errorText = "no such drive";
        if (failure) *failure = OpenFailure::Error;
        return std::make_unique<DeviceSectorReader>(nullptr, badSectorRetries);
    }
    const DriveEntry& entry = driveTable_.rows[row];
    auto rescue = unrescued_.find(row);
    if (accessMode_ == AccessMode::F && biosLibrary_) {
        if (auto failed = biosOpenFailures_.find(row); failed != biosOpenFailures_.end()) {
            if (errorText) *errorText = failed->second.error;
            if (failure) *failure = failed->second.failure;
            return std::make_unique<DeviceSectorReader>(nullptr, badSectorRetries);
        }
        auto bios = std::make_unique<BiosSectorReader>(*biosLibrary_, entry.probeNumber, entry.int13Extensions);
        if (rescue == unrescued_.end()) return bios;
        auto rescued = std::make_unique<RescuedSectorReader>(std::move(bios), rescue->second);
        rescued->readCoverage()->setUntried(untried_[row]);
        return rescued;
    }
    DeviceOpenResult opened = opener_.Open(entry.path, question);
    if (errorText) *errorText = opened.error;
    if (failure) *failure = opened.failure;
    std::unique_ptr<SectorDevice> device = std::move(opened.device);
    if (!device || rescue == unrescued_.end())
        return std::make_unique<DeviceSectorReader>(std::move(device), badSectorRetries);
    device = std::make_unique<RescuedDevice>(std::move(device), rescue->second);
    auto reader = std::make_unique<DeviceSectorReader>(std::move(device), badSectorRetries);
    for (const SectorRange& range : rescue->second) reader->damageMap()->add(range.first, range.count);
    reader->damageMap()->setKnownInAdvance();
    reader->readCoverage()->setUntried(untried_[row]);
    return reader;
}

std::optional<std::string> DiskAccess::setRescueMap(size_t row, const RescueMap& map) {
    if (row >= driveTable_.rows.size()) return std::nullopt;
    // The row's size, known without opening: a disk this user may not read is sized from sysfs.
    const DriveEntry& entry = driveTable_.rows[row];
    uint64_t imageBytes = entry.sizeBytes.value_or(0);
    if (!entry.sizeBytes)
        if (auto device = FileDevice::Open(entry.path)) imageBytes = device->sizeBytes();
    mapEnds_[row] = map.coveredEnd;
    unrescued_[row] = UnrescuedSectors(map, imageBytes);
    untried_[row] = UntriedSectors(map, imageBytes);
    return RescueMapSizeWarning(map, imageBytes);
}

std::optional<uint64_t> DiskAccess::rescueMapEnd(size_t row) const {
    const auto end = mapEnds_.find(row);
    if (end == mapEnds_.end()) return std::nullopt;
    return end->second;
}

}  // namespace lumbra
