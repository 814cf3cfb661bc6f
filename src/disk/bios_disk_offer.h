#pragma once
// The images of the command line as the drives of the emulated BIOS libraries (F access mode).
// The program opens each image itself, as in the N mode (through the device-opening helper where
// a disk needs administrator rights), and names the open descriptors in LUMBRA_BIOS_DISKS, so
// that the libraries open no disk by name. The variable holds them only while the offer lives:
// the libraries read it when they are first asked, and the descriptors mean nothing to any other
// process.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "disk/device_opener.h"

namespace lumbra {

// True when the BIOS libraries are to serve these images: there are some, and LUMBRA_BIOS_DISKS
// does not name the libraries' disks already.
bool BiosLibrariesTakeImages(const std::vector<std::string>& images);

class BiosDiskOffer {
public:
    // Opens at most `limit` of the images, in order; LUMBRA_BIOS_DISKS must not be set.
    BiosDiskOffer(const std::vector<std::string>& images, size_t limit, DeviceOpener& opener);
    ~BiosDiskOffer();
    BiosDiskOffer(const BiosDiskOffer&) = delete;
    BiosDiskOffer& operator=(const BiosDiskOffer&) = delete;

    // Why each image that could not be opened was not, by its index; such an image keeps its
    // place among the drives, and that drive reads nothing.
    std::map<size_t, DeviceOpenResult> takeFailures() { return std::move(failures_); }

private:
    std::vector<std::unique_ptr<FileDevice>> opened_;
    std::map<size_t, DeviceOpenResult> failures_;
};

}  // namespace lumbra
