#include "app/quick_help.h"

namespace lumbra {

std::string_view QuickHelpText(QuickHelp id) {
    switch (id) {
        case QuickHelp::SelectDisk:
            return "\r\n                1. Select the disk to recover from left pane.\r\n"
                   "                2. Select the Volume Identify Option.\r\n"
                   "                3. Click Next Button.";
        case QuickHelp::SelectDiskAgain:
            return "\r\n                1. Select the disk to scan from left pane.\r\n"
                   "                2. Select the scan type.\r\n"
                   "                3. Click Next Button.";
        case QuickHelp::SearchingPools:
            return "\r\n                Please Wait, Lumbra is searching for pools. Once this process is completed, "
                   "it will show you all the Pools.";
        case QuickHelp::SelectPool:
            return "\r\n                1. Select the Pool to recover from left pane.\r\n"
                   "                2. Click Next Button.";
        case QuickHelp::SelectVolume:
            return "\r\n                1. Select the Volume to recover from left pane.\r\n"
                   "                2. Click Next Button.";
        case QuickHelp::SelectVolumeAgain:
            return "\r\n                1. Select the volume to recover from left pane or use Search Partitions for "
                   "a quick search of missing partitions.\r\n"
                   "                2. Click Next Button";
        case QuickHelp::Mounting:
            return "\r\n                Please Wait, Lumbra is mounting the selected file system. Once this process "
                   "is completed, it will show you the                       data.";
        case QuickHelp::Browse:
            return "\r\n                Please select the file(s) and folder(s) to recover from right pane and copy "
                   "using   Recover Selected      or                             Recover All options from the "
                   "Recovery Menu.\r\n"
                   "                You can open a file by Double Clicking it.";
        case QuickHelp::BrowsePartial:
            return "\r\n                The mount was stopped before it ended: the right pane shows only the "
                   "folders and files found until then.\r\n"
                   "                Recover them from the Recovery Menu, or go Back and mount the volume again "
                   "to see all of it.";
    }
    return {};
}

}  // namespace lumbra
