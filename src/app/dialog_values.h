#pragma once
// The state of the small modal dialogs as plain values: the wizard fills them, the view shows
// them, and for the dialogs with choices the view writes the user's choices back.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// "Recovery Settings". Indexes are positions in the drop-down lists ("1" is index 0).
struct SettingsDialogValues {
    int sectorsIndex = 0;                      // list "1" to "100"
    int retriesIndex = 0;                      // list "1" to "10"
    std::array<bool, 3> duplicateChecked{};    // Rename, Overwrite, Skip radio buttons
    bool keepTimesChecked = false;             // "Keep file dates"
};

// "Select Mode Of Recovery".
struct ModeOfRecoveryValues {
    std::string title;
    std::string explanation;
    bool volumeBasedChecked = true;
    bool poolBasedChecked = false;
};

namespace mode_of_recovery_text {
constexpr std::string_view kTitle = "Select Mode Of Recovery";
constexpr std::string_view kExplanation =
    "Please select the mode of recovery. \r\n\r\nSelect pool based recovery for serious damages or when "
    "volume based recovery fails to recover all of your required data.";
constexpr std::string_view kVolumeBased = "Volume Based Recovery ( Recommended )";
constexpr std::string_view kPoolBased = "Pool Based Recovery";
}  // namespace mode_of_recovery_text

// One caption and its value in a display-only dialog.
struct CaptionedValue {
    std::string caption;
    std::string value;
};

// "File/Folder Properties": Name, Size, Contains, Creation Date, Creation Time in this order.
struct PropertiesValues {
    std::vector<CaptionedValue> rows;
};

// "Drive Information": eight rows from Pool Name to Recovery Basis.
struct DriveInformationValues {
    std::vector<CaptionedValue> rows;
};

}  // namespace lumbra
