#pragma once
// The four entries of the BIOS disk libraries used by the F access mode. The libraries are
// loaded by name from the program's folder; a missing library or entry is fatal for the
// program, with the message the loader returns.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace lumbra {

class BiosDiskLibrary {
public:
    virtual ~BiosDiskLibrary() = default;
    // Stores the number of hard disks; rows 0 .. count-1 are BIOS drives 0x80 ...
    virtual void find_hard_disk32(uint16_t* count) = 0;
    virtual uint32_t CheckInt13Extension32(uint32_t biosDrive) = 0;
    virtual void get_drive_geometry32(uint32_t biosDrive, uint32_t* cylinders, uint32_t* heads,
                                      uint32_t* sectorsPerTrack) = 0;
    // Fills count * 512 bytes of buffer from the given position of the BIOS drive; nonzero when
    // every sector was read.
    virtual int ReadDisk32(uint32_t biosDrive, uint32_t cylinder, uint32_t head, uint32_t sectorInTrack,
                           uint32_t count, uint8_t* buffer, uint32_t linear, uint32_t int13Extensions) = 0;
};

// File names of the two libraries on this platform.
extern const char* const kDisk32LibraryName;
extern const char* const kDisk2LibraryName;

// Loads both libraries from folder and looks up the four entries in the fixed order; on failure
// the text is the message to show before the program ends.
std::variant<std::unique_ptr<BiosDiskLibrary>, std::string> LoadBiosDiskLibrary(const std::string& folder);

}  // namespace lumbra
