#pragma once
// What a caller can give the markup message box beyond text, caption and style flags.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/colour_lighten.h"
#include "toolkit/markup_style.h"

namespace lumbra {

class SettingsStore;

namespace message_box {
// Style flags; the low word follows the desktop's message-box flags.
constexpr uint32_t kButtonSetMask = 0x0f;
constexpr uint32_t kIconMask = 0x70;
constexpr uint32_t kIconStop = 0x10, kIconQuestion = 0x20, kIconExclamation = 0x30, kIconInformation = 0x40;
constexpr uint32_t kUserIcon = 0x80;
constexpr uint32_t kHelpButton = 0x4000;
constexpr uint32_t kRightAligned = 0x80000;
constexpr uint32_t kRemember = 0x1000000;
constexpr uint32_t kReportChecked = 0x2000000;
constexpr uint32_t kCheckBoxInButtonRow = 0x4000000;
constexpr uint32_t kYesToAll = 0x8000000;
constexpr uint32_t kNoToAll = 0x10000000;
constexpr uint32_t kNoResourceCaptions = 0x20000000;
constexpr uint32_t kNoSound = 0x40000000;
// Added to the result when the automatic countdown pressed the button.
constexpr uint32_t kPressedByCountdown = 0x80000000u;
constexpr uint32_t kDefaultStyle = kIconExclamation;

// Button identifiers (the results).
constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7,
              kHelp = 9, kTryAgain = 10, kContinue = 11, kSkip = 14, kSkipAll = 15,
              kIgnoreAll = 16, kYesAll = 19, kNoAll = 20, kReport = 21, kLessMore = 30,
              kMore = 31;
}  // namespace message_box

// One background of the box: the whole window, the header, the message or the "More" area.
// Colours left empty are the desktop's button face.
struct MessageBoxBackground {
    int effect = kNoEffect;
    std::optional<Rgb> background;
    std::optional<Rgb> middle;
    std::optional<Rgb> end;
};

struct MessageBoxParams {
    std::string iconResource;  // picture number of the user icon (flag 0x80)
    uint32_t helpContext = 0;
    // Remembered answers: value "<prefix><number>" under the key of the section.
    std::string registrySection;
    std::string registryPrefix;
    int registryNumber = 0;
    SettingsStore* settings = nullptr;  // the process's store when empty
    int disabledSeconds = 0;
    bool countdownInCaption = false;
    int autoSeconds = 0;
    std::function<void()> report;  // the "Report" button, when given
    std::vector<int> customButtons;
    std::string customButtonLines;  // captions of buttons 23..26, one per line
    std::map<int, std::string> customCaptions;
    // The caller's string table for captions (none in this application).
    std::function<std::optional<std::string>(int)> resourceStrings;
    MessageBoxBackground window;
    MessageBoxBackground header;
    MessageBoxBackground message;
    MessageBoxBackground more;
    std::string headerText;
    std::string moreText;
    int iconCellPadding = 5;
    int buttonAlignment = 2;  // 0 left, 1 right, 2 centre
    // The buttons' font; empty for the desktop's message font.
    std::string fontFamily;
    int fontPointSize = 0;
};

}  // namespace lumbra
