#include "app/info_layouts.h"

#include <string>

#include "app/option_groups.h"
#include "app/quick_help.h"
#include "app/wizard_state.h"

namespace lumbra {

const std::array<std::string_view, 5>& InfoLayoutCaptions(InfoLayout layout) {
    static const std::array<std::string_view, 5> hidden{};
    static const std::array<std::string_view, 5> disk{"Model                  ", "Capacity              ",
                                                      "Cylinders              ", "Head                   ",
                                                      "Sectors Per Track "};
    static const std::array<std::string_view, 5> scan{"Pool(s) Found  ", "Current Sector", "End Sector     ", "", ""};
    static const std::array<std::string_view, 5> mount{"Folder(s) Found    ", "File(s) Found      ",
                                                       "Current Sector       ", "Last File/Folder       ", ""};
    static const std::array<std::string_view, 5> pool{"Volume Type  ", "Pool Name    ", "Pool Size      ",
                                                      "Total Segments     ", ""};
    static const std::array<std::string_view, 5> volume{"Volume Type  ", "Pool Name    ", "Volume Name      ",
                                                        "Recovery Type     ", ""};
    switch (layout) {
        case InfoLayout::Hidden: return hidden;
        case InfoLayout::DiskInfo: return disk;
        case InfoLayout::ScanProgress: return scan;
        case InfoLayout::MountProgress: return mount;
        case InfoLayout::PoolInfo: return pool;
        case InfoLayout::VolumeInfo: return volume;
    }
    return hidden;
}

std::string_view RecoveryBasisText(uint16_t recoveryMode) {
    return recoveryMode == 2 ? info_text::kPoolBased : info_text::kVolumeBased;
}

void ApplyInfoLayout(View& view, InfoLayout layout, uint16_t identifyOption, uint32_t endSector) {
    if (layout == InfoLayout::ScanProgress && identifyOption == kUsePartitionTable) layout = InfoLayout::PoolInfo;
    for (int row = 1; row <= 5; ++row) {
        view.Hide(InfoCaption(row));
        view.Hide(InfoValue(row));
        view.SetText(InfoCaption(row), "");
        view.SetText(InfoValue(row), "");
    }
    view.Hide(Element::StatusLine);
    view.SetText(Element::StatusLine, "");

    const auto& captions = InfoLayoutCaptions(layout);
    for (int row = 1; row <= 5; ++row) {
        if (captions[row - 1].empty()) continue;
        view.SetText(InfoCaption(row), captions[row - 1]);
        view.Show(InfoCaption(row));
        view.Show(InfoValue(row));
    }
    if (layout == InfoLayout::ScanProgress) {
        HideRangeGroup(view);
        view.SetText(InfoValue(1), "0");
        view.SetText(InfoValue(2), "0");
        view.SetText(InfoValue(3), std::to_string(endSector));
        view.SetText(Element::StatusLine, info_text::kScanStatus);
        view.Show(Element::StatusLine);
    } else if (layout == InfoLayout::MountProgress) {
        view.SetText(Element::StatusLine, info_text::kMountStatus);
        view.Show(Element::StatusLine);
    } else if (layout == InfoLayout::VolumeInfo) {
        view.SetQuickHelp(QuickHelpText(QuickHelp::SelectVolume));
    }
}

}  // namespace lumbra
