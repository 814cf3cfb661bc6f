#include "disk/bios_disk_library.h"

#include <dlfcn.h>

namespace lumbra {

const char* const kDisk32LibraryName = "libDisk32.so";
const char* const kDisk2LibraryName = "libdisk2.so";

namespace {

using FindHardDisk = void (*)(uint16_t*);
using CheckExtension = uint32_t (*)(uint32_t);
using DriveGeometry = void (*)(uint32_t, uint32_t*, uint32_t*, uint32_t*);
using ReadDisk = int (*)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint8_t*, uint32_t, uint32_t);

// Both libraries stay loaded for the whole run; the handles close with the last owner.
class LoadedBiosDiskLibrary : public BiosDiskLibrary {
public:
    LoadedBiosDiskLibrary(void* disk32, void* disk2) : disk32_(disk32), disk2_(disk2) {}
    ~LoadedBiosDiskLibrary() override {
        if (disk2_) dlclose(disk2_);
        if (disk32_) dlclose(disk32_);
    }
    LoadedBiosDiskLibrary(const LoadedBiosDiskLibrary&) = delete;
    LoadedBiosDiskLibrary& operator=(const LoadedBiosDiskLibrary&) = delete;

    void find_hard_disk32(uint16_t* count) override { findHardDisk(count); }
    uint32_t CheckInt13Extension32(uint32_t drive) override { return checkExtension(drive); }
    void get_drive_geometry32(uint32_t drive, uint32_t* c, uint32_t* h, uint32_t* s) override {
        driveGeometry(drive, c, h, s);
    }
    int ReadDisk32(uint32_t drive, uint32_t c, uint32_t h, uint32_t s, uint32_t count, uint8_t* buffer,
                   uint32_t linear, uint32_t ext) override {
        return readDisk(drive, c, h, s, count, buffer, linear, ext);
    }

    void* disk32_;
    void* disk2_;
    FindHardDisk findHardDisk = nullptr;
    CheckExtension checkExtension = nullptr;
    DriveGeometry driveGeometry = nullptr;
    ReadDisk readDisk = nullptr;
};

template <typename Entry>
bool lookUp(void* library, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(dlsym(library, name));
    return entry != nullptr;
}

}  // namespace

std::variant<std::unique_ptr<BiosDiskLibrary>, std::string> LoadBiosDiskLibrary(const std::string& folder) {
    void* disk32 = dlopen((folder + kDisk32LibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!disk32) return std::string("Disk32.dll not found or corrupted");
    auto library = std::make_unique<LoadedBiosDiskLibrary>(disk32, nullptr);
    if (!lookUp(disk32, "ReadDisk32", library->readDisk) ||
        !lookUp(disk32, "CheckInt13Extension32", library->checkExtension))
        return std::string("Disk32.dll is corrupted");
    library->disk2_ = dlopen((folder + kDisk2LibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library->disk2_) return std::string("Disk2.dll is corrupted or not found.");
    if (!lookUp(library->disk2_, "get_drive_geometry32", library->driveGeometry))
        return std::string("Disk2.dll is corrupted");
    if (!lookUp(disk32, "find_hard_disk32", library->findHardDisk)) return std::string("Disk32.dll is corrupted");
    return std::unique_ptr<BiosDiskLibrary>(std::move(library));
}

}  // namespace lumbra
