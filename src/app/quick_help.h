#pragma once
// The texts of the quick-help area below the wizard; exactly one is shown at a time.
#include <string_view>

namespace lumbra {

enum class QuickHelp {
    SelectDisk,         // the disk step at start-up
    SelectDiskAgain,    // the disk step after Back
    SearchingPools,     // while the partition scan runs
    SelectPool,
    SelectVolume,
    SelectVolumeAgain,  // the volume step after Back from browsing
    Mounting,
    Browse,
    BrowsePartial,      // browsing a tree whose mount was stopped before it ended
};

std::string_view QuickHelpText(QuickHelp id);

}  // namespace lumbra
