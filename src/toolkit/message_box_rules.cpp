#include "toolkit/message_box_rules.h"

#include <cstdio>

#include "toolkit/markup_size.h"

namespace lumbra {

using namespace message_box;

namespace {

struct CaptionEntry {
    int id;
    const char* caption;
    int stringNumber;
};

constexpr CaptionEntry kCaptions[] = {
    {kOk, "OK", 9001},           {kCancel, "Cancel", 9002},       {kAbort, "Abort", 9005},
    {kRetry, "Retry", 9004},     {kIgnore, "Ignore", 9003},       {kYes, "Yes", 9007},
    {kNo, "No", 9008},           {kHelp, "Help", 9006},           {kTryAgain, "Try again", 9015},
    {kContinue, "Continue", 9009}, {kSkip, "Skip", 9018},         {kSkipAll, "Skip all", 9019},
    {kIgnoreAll, "Ignore all", 9017}, {kYesAll, "Yes to all", 9013}, {kNoAll, "No to all", 9014},
    {kReport, "Report", 9016},   {kLessMore, "<< More", 9011},    {kMore, "More >>", 9010},
};

constexpr int kFirstLineButton = 23;
constexpr int kLastLineButton = 26;

std::vector<int> ButtonSet(uint32_t style) {
    const bool yesAll = style & kYesToAll;
    const bool noAll = style & kNoToAll;
    auto yesNo = [&](bool withCancel) {
        std::vector<int> set{kYes};
        if (yesAll) set.push_back(kYesAll);
        set.push_back(kNo);
        if (noAll) set.push_back(kNoAll);
        if (withCancel) set.push_back(kCancel);
        return set;
    };
    switch (style & kButtonSetMask) {
    case 1: return {kOk, kCancel};
    case 2: return {kAbort, kRetry, kIgnore};
    case 3: return yesNo(true);
    case 4: return yesNo(false);
    case 5: return {kRetry, kCancel};
    case 6: return {kCancel, kRetry, kContinue};
    case 7: return {kContinue, kAbort};
    case 8: return {kSkip, kSkipAll, kCancel};
    case 9: return {kIgnore, kIgnoreAll, kCancel};
    default: return {kOk};
    }
}

std::string LineOf(const std::string& lines, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = lines.find('\n', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    const size_t end = lines.find('\n', start);
    return lines.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Format(const char* pattern, const std::string& text, int number) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, number);
    return text + buffer;
}

}  // namespace

std::vector<int> MessageBoxButtons(uint32_t style, const MessageBoxParams& params) {
    std::vector<int> buttons = params.customButtons.empty() ? ButtonSet(style) : params.customButtons;
    if (style & kHelpButton) buttons.push_back(kHelp);
    if (params.report) buttons.push_back(kReport);
    if (!params.moreText.empty()) buttons.push_back(kMore);
    return buttons;
}

bool HasCancel(const std::vector<int>& buttons) {
    for (int id : buttons) {
        if (id == kCancel) return true;
    }
    return false;
}

int DefaultButtonIndex(uint32_t style, size_t buttonCount) {
    const size_t index = (style >> 8) & 0x0f;
    return index < buttonCount ? static_cast<int>(index) : 0;
}

const char* DefaultCaption(int id) {
    for (const auto& entry : kCaptions) {
        if (entry.id == id) return entry.caption;
    }
    return "";
}

int CaptionStringNumber(int id) {
    for (const auto& entry : kCaptions) {
        if (entry.id == id) return entry.stringNumber;
    }
    return 0;
}

std::string ButtonCaption(int id, uint32_t style, const MessageBoxParams& params) {
    if (const auto custom = params.customCaptions.find(id); custom != params.customCaptions.end()) {
        return custom->second;
    }
    if (id >= kFirstLineButton && id <= kLastLineButton) {
        return LineOf(params.customButtonLines, id - kFirstLineButton);
    }
    if (!(style & kNoResourceCaptions) && params.resourceStrings && CaptionStringNumber(id) != 0) {
        if (auto text = params.resourceStrings(CaptionStringNumber(id))) return *text;
    }
    return DefaultCaption(id);
}

std::string CheckBoxCaption(uint32_t style, const MessageBoxParams& params) {
    if (!(style & kNoResourceCaptions) && params.resourceStrings) {
        if (auto text = params.resourceStrings(kCheckBoxStringNumber)) return *text;
    }
    return "Do not show again";
}

std::string BoxCaption(const std::string& caption, const std::string& ownerTitle) {
    if (!caption.empty()) return caption;
    if (!ownerTitle.empty()) return ownerTitle;
    return "Error";
}

std::string CountdownCaption(const std::string& caption, int seconds) {
    return Format(" (%d seconds remaining)", caption, seconds);
}

std::string CountdownButtonCaption(const std::string& caption, int seconds) {
    return Format(" = %d", caption, seconds);
}

MarkupSize ButtonSize(int widestCaption, int tallestCaption) {
    return {MulDiv(widestCaption, 80, 45), MulDiv(tallestCaption, 23, 13)};
}

std::string RememberedAnswerKey(const std::string& section, const std::string& programName) {
    if (section.empty()) return "Software\\" + programName + "\\MarkupMessageBox";
    return "Software\\" + section + "\\" + programName + "\\MarkupMessageBox";
}

std::string RememberedAnswerName(const std::string& prefix, int number) {
    return prefix + std::to_string(number);
}

std::string MessageMarkup(const std::string& text, uint32_t style, std::optional<uint32_t> iconHandle,
                          int iconWidth, int iconCellPadding) {
    std::string message = (style & kRightAligned) ? "<right>" + text + "</right>" : text;
    if (!iconHandle) return message;
    char head[160];
    std::snprintf(head, sizeof head, "<table cellpadding=%d><tr><td width=%d><icon handle=0x%X></td><td>",
                  iconCellPadding, iconWidth, *iconHandle);
    return head + message + "</td></tr></table>";
}

}  // namespace lumbra
