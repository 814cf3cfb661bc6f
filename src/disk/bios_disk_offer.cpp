#include "disk/bios_disk_offer.h"

#include <cstdlib>

#include "disk/bios_disk_list.h"

namespace lumbra {

using namespace bios_disk_list;

bool BiosLibrariesTakeImages(const std::vector<std::string>& images) {
    return !images.empty() && !std::getenv(kVariable);
}

BiosDiskOffer::BiosDiskOffer(const std::vector<std::string>& images, size_t limit, DeviceOpener& opener) {
    std::string list;
    for (size_t i = 0; i < images.size() && i < limit && i < kMaxDisks; ++i) {
        if (i > 0) list += kSeparator;
        DeviceOpenResult opened = opener.Open(images[i]);
        if (!opened.device) {
            list += kUnreadable;
            failures_.emplace(i, std::move(opened));
            continue;
        }
        list += std::string(kDescriptorPrefix) + std::to_string(opened.device->descriptor());
        opened_.push_back(std::move(opened.device));
    }
    setenv(kVariable, list.c_str(), 1);
}

BiosDiskOffer::~BiosDiskOffer() { unsetenv(kVariable); }

}  // namespace lumbra
