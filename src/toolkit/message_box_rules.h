#pragma once
// The rules of the markup message box that need no window: which buttons, their captions,
// their size, the remembered-answer key and the markup of the message.
#include <string>
#include <vector>

#include "toolkit/markup_surface.h"
#include "toolkit/message_box_params.h"

namespace lumbra {

// The buttons in order: the set of the style (or the caller's own), then Help, Report, More.
std::vector<int> MessageBoxButtons(uint32_t style, const MessageBoxParams& params);
bool HasCancel(const std::vector<int>& buttons);
// Bits 8..11 of the style; 0 when out of range.
int DefaultButtonIndex(uint32_t style, size_t buttonCount);

const char* DefaultCaption(int id);
int CaptionStringNumber(int id);
constexpr int kCheckBoxStringNumber = 9012;
constexpr int kCountdownCaptionStringNumber = 9020;
// The caller's caption, else its resource string (unless the style forbids), else the default.
std::string ButtonCaption(int id, uint32_t style, const MessageBoxParams& params);
std::string CheckBoxCaption(uint32_t style, const MessageBoxParams& params);

// The caption given, else the owner's title, else "Error".
std::string BoxCaption(const std::string& caption, const std::string& ownerTitle);
std::string CountdownCaption(const std::string& caption, int seconds);
std::string CountdownButtonCaption(const std::string& caption, int seconds);

// Every button is as large as the largest caption asks: width x 80 / 45 by height x 23 / 13.
MarkupSize ButtonSize(int widestCaption, int tallestCaption);

// "Software\<section>\<program>\MarkupMessageBox", or without a section.
std::string RememberedAnswerKey(const std::string& section, const std::string& programName);
std::string RememberedAnswerName(const std::string& prefix, int number);

// The message as drawn: right-aligned when asked, beside the icon when there is one.
std::string MessageMarkup(const std::string& text, uint32_t style, std::optional<uint32_t> iconHandle,
                          int iconWidth, int iconCellPadding);

}  // namespace lumbra
