#pragma once
// The arrangements of the information panel in the steps before browsing.
#include <array>
#include <cstdint>
#include <string_view>

#include "app/view.h"

namespace lumbra {

enum class InfoLayout { Hidden, DiskInfo, ScanProgress, MountProgress, PoolInfo, VolumeInfo };

namespace info_text {
constexpr std::string_view kNovellVolume = "Novell NSS Volume";
constexpr std::string_view kVolumeBased = "Volume Based";
constexpr std::string_view kPoolBased = "Pool Based";
constexpr std::string_view kScanStatus = "Searching for Pools. This may take long time. Pleae wait";
constexpr std::string_view kMountStatus = "Mounting volume, please wait...";
constexpr std::string_view kCapacitySuffix = " MB ( Approx )";
}  // namespace info_text

// The five row captions of a layout; an empty caption is a hidden row.
const std::array<std::string_view, 5>& InfoLayoutCaptions(InfoLayout layout);

// "Pool Based" for recovery mode 2, else "Volume Based".
std::string_view RecoveryBasisText(uint16_t recoveryMode);

// Hides and empties every row and the status line, then shows the rows of the layout with
// their captions. ScanProgress also hides the range group, writes its first values and
// status line, and falls back to PoolInfo under Use Partition Table; VolumeInfo also sets
// its quick help.
void ApplyInfoLayout(View& view, InfoLayout layout, uint16_t identifyOption, uint32_t endSector);

}  // namespace lumbra
