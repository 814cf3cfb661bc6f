#pragma once
// The disk side of a session: the access mode, the drive table built once at start-up, the
// BIOS disk libraries in F mode, and the opening of the selected drive.
#include <memory>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "disk/access_mode.h"
#include "disk/bios_disk_library.h"
#include "disk/device_opener.h"
#include "disk/drive_table.h"
#include "disk/linux_drives.h"
#include "disk/rescue_map.h"
#include "disk/sector_reader.h"

namespace lumbra {

struct DriveSources {
    bool listSystemDisks = true;      // false: images only
    std::vector<std::string> images;  // disk image files, listed after the system's disks
    // F mode: the BIOS libraries serve `images` as drives 0x80, 0x81, ... in this order, so
    // that row k reads image k. The program opens them for the libraries, as it opens a drive in
    // the N mode (BiosLibrariesTakeImages says when this applies).
    bool imagesAreBiosDrives = false;
    // Rescue maps of some of those images, each with the index in `images` of the image it
    // belongs to (the same file given twice is two rows, and a map belongs to one of them).
    std::vector<std::pair<size_t, RescueMap>> rescueMaps;
    // The files those maps were read from: inputs of the run, never written over.
    std::vector<std::string> rescueMapFiles;
    SystemPaths systemPaths;
};

// An image file that got no drive row, and why.
struct ImageProblem {
    std::string path;
    std::string reason;
};

class DiskAccess {
public:
    explicit DiskAccess(AccessMode mode) : accessMode_(mode) {}

    // Fills the drive table once. libraryFolder is the program's own folder: the device-opening
    // helper lies there, and in F mode the BIOS libraries, which are loaded first; the result is the fatal message when they cannot be, else nullopt. An image that
    // cannot be opened gets no row; imageErrors() then says why.
    std::optional<std::string> EnumerateDrives(const DriveSources& sources, const std::string& libraryFolder);

    // "cannot open image PATH: <reason>" for every image of the last enumeration without a row.
    std::vector<std::string> imageErrors() const;
    // The same images, each with its reason.
    const std::vector<ImageProblem>& imageProblems() const { return imageProblems_; }
    // "IMAGE: <warning>" for each rescue map that does not end where its image ends.
    const std::vector<std::string>& rescueMapWarnings() const { return rescueMapWarnings_; }

    // Adds an image file as a row (used for paths given where a row is expected); the row
    // number, or nullopt when the table is full or the file cannot be opened or is empty
    // (errorText then says why).
    std::optional<size_t> addImageRow(const std::string& path, std::string* errorText = nullptr);

    // Opens a row read-only, through the device-opening helper when the disk needs rights. The
    // reader of a row whose device cannot be opened reads nothing (every read answers 0);
    // errorText says why and failure what kind of failure it was. With RightsQuestion::NotNow
    // a disk that would make pkexec ask the user fails as RightsNeeded instead.
    std::unique_ptr<SectorReader> OpenDrive(size_t row, uint16_t badSectorRetries, std::string* errorText = nullptr,
                                            OpenFailure* failure = nullptr,
                                            RightsQuestion question = RightsQuestion::Ask);

    // Reads the row's image together with a rescue map: from the next OpenDrive on, the
    // sectors it marks as never rescued read as failed and start in the drive's damage map,
    // under the device reader and under the BIOS libraries alike; the sectors the copier never
    // tried start in its read coverage as never read.
    // Answers the warning for a map that does not end where the image ends.
    std::optional<std::string> setRescueMap(size_t row, const RescueMap& map);
    bool hasRescueMap(size_t row) const { return unrescued_.count(row) != 0; }
    // The bytes the row's rescue map covers, which may pass the end of a partial image the
    // copier has not written to the end yet; nullopt without a map.
    std::optional<uint64_t> rescueMapEnd(size_t row) const;

    AccessMode accessMode() const { return accessMode_; }
    const DriveTable& driveTable() const { return driveTable_; }

private:
    AccessMode accessMode_;
    DriveTable driveTable_;
    DeviceOpener opener_;
    std::vector<ImageProblem> imageProblems_;
    std::vector<std::string> rescueMapWarnings_;
    std::unique_ptr<BiosDiskLibrary> biosLibrary_;
    // F mode: why the image of a row could not be opened for the BIOS libraries, told when the
    // row is opened.
    std::map<size_t, DeviceOpenResult> biosOpenFailures_;
    std::map<size_t, std::vector<SectorRange>> unrescued_;  // row -> sectors never rescued
    std::map<size_t, std::vector<SectorRange>> untried_;    // row -> those of them never tried
    std::map<size_t, uint64_t> mapEnds_;                     // row -> bytes its map covers
};

// The reason an image file of 0 bytes gets no row.
extern const char* const kEmptyImageText;

// "cannot open image PATH: <reason>", the text for an image file that gets no drive row.
std::string ImageOpenError(const std::string& path, const std::string& reason);

// Sectors per read that the scan uses unless the user chooses: 60 for device files, 8 for the
// BIOS libraries.
constexpr uint32_t DefaultSectorsPerRead(AccessMode mode) { return mode == AccessMode::F ? 8 : 60; }

}  // namespace lumbra
