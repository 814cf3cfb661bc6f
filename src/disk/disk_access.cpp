#include "disk/disk_access.h"

#include <filesystem>

#include "disk/bios_sector_reader.h"
#include "disk/device_request.h"
#include "disk/device_sector_reader.h"
#include "disk/file_device.h"
#include "disk/rescued_device.h"

namespace lumbra {

std::optional<std::string> DiskAccess::EnumerateDrives(const DriveSources& sources, const std::string& libraryFolder) {
    driveTable_ = {};
    opener_.setHelperPath(libraryFolder + device_request::kHelperName);
    imageErrors_.clear();
    unrescued_.clear();
    if (accessMode_ == AccessMode::F) {
        auto loaded = LoadBiosDiskLibrary(libraryFolder);
        if (auto* message = std::get_if<std::string>(&loaded)) return *message;
        biosLibrary_ = std::move(std::get<std::unique_ptr<BiosDiskLibrary>>(loaded));
        uint16_t count = 0;
        biosLibrary_->find_hard_disk32(&count);
        for (uint32_t i = 0; i < count && i < DriveTable::kCapacity; ++i) {
            DriveEntry row;
            row.int13Extensions = biosLibrary_->CheckInt13Extension32(0x80 + i);
            biosLibrary_->get_drive_geometry32(0x80 + i, &row.cylinders, &row.heads, &row.sectorsPerTrack);
            row.totalSectors = ClampedTotalSectors(row.cylinders, row.heads, row.sectorsPerTrack);
            row.model = "Unknown";
            row.probeNumber = i;
            driveTable_.add(row);
        }
        return std::nullopt;
    }
    if (sources.listSystemDisks) {
        for (DriveEntry& row : ListLinuxDisks(sources.systemPaths)) {
            row.probeNumber = driveTable_.count();
            if (!driveTable_.add(std::move(row))) break;
        }
    }
    for (const std::string& image : sources.images) {
        std::string why;
        if (!addImageRow(image, &why) && !why.empty()) imageErrors_.push_back(ImageOpenError(image, why));
    }
    rescueMapWarnings_.clear();
    for (const auto& [image, map] : sources.rescueMaps) {
        for (size_t row = driveTable_.rows.size(); row-- > 0;) {
            if (driveTable_.rows[row].path != image) continue;
            size_t ignored = 0;
            setRescueMap(row, map, ignored);
            if (ignored > 0)
                rescueMapWarnings_.push_back("the rescue map of " + image + " has " + std::to_string(ignored) +
                                             " area(s) past the image's end; they are ignored");
            break;
        }
    }
    return std::nullopt;
}

std::string ImageOpenError(const std::string& path, const std::string& reason) {
    return "cannot open image " + path + ": " + reason;
}

std::optional<size_t> DiskAccess::addImageRow(const std::string& path, std::string* errorText) {
    auto device = FileDevice::Open(path, errorText);
    if (!device) return std::nullopt;
    DriveEntry row = GeometryForSize(device->sizeBytes());
    row.model = std::filesystem::path(path).filename().string();
    row.path = path;
    row.probeNumber = driveTable_.count();
    if (!driveTable_.add(std::move(row))) return std::nullopt;
    return driveTable_.count() - 1;
}

std::unique_ptr<SectorReader> DiskAccess::OpenDrive(size_t row, uint16_t badSectorRetries, std::string* errorText,
                                                    OpenFailure* failure) {
    if (failure) *failure = OpenFailure::None;
    if (row >= driveTable_.rows.size()) {
        if (errorText) *errorText = "no such drive";
        if (failure) *failure = OpenFailure::Error;
        return std::make_unique<DeviceSectorReader>(nullptr, badSectorRetries);
    }
    const DriveEntry& entry = driveTable_.rows[row];
    if (accessMode_ == AccessMode::F && biosLibrary_)
        return std::make_unique<BiosSectorReader>(*biosLibrary_, entry.probeNumber, entry.int13Extensions);
    DeviceOpenResult opened = opener_.Open(entry.path);
    if (errorText) *errorText = opened.error;
    if (failure) *failure = opened.failure;
    std::unique_ptr<SectorDevice> device = std::move(opened.device);
    auto rescue = unrescued_.find(row);
    if (!device || rescue == unrescued_.end())
        return std::make_unique<DeviceSectorReader>(std::move(device), badSectorRetries);
    device = std::make_unique<RescuedDevice>(std::move(device), rescue->second);
    auto reader = std::make_unique<DeviceSectorReader>(std::move(device), badSectorRetries);
    for (const SectorRange& range : rescue->second) reader->damageMap()->add(range.first, range.count);
    reader->damageMap()->setKnownInAdvance();
    return reader;
}

void DiskAccess::setRescueMap(size_t row, const RescueMap& map, size_t& ignoredAreas) {
    ignoredAreas = 0;
    if (row >= driveTable_.rows.size()) return;
    auto device = FileDevice::Open(driveTable_.rows[row].path);
    unrescued_[row] = UnrescuedSectors(map, device ? device->sizeBytes() : 0, ignoredAreas);
}

}  // namespace lumbra
