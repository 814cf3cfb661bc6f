#pragma once
// The application's notifications: the markup message box with the application's caption,
// an icon by kind and its pale yellow background.
#include <string_view>

#include "toolkit/message_box_params.h"

class QWidget;

namespace lumbra {

inline constexpr const char* kApplicationMessageCaption = "Corvalt Lumbra Novell NSS";

// Kinds of notification.
constexpr int kMessageInformation = 1;
constexpr int kMessageError = 2;
constexpr int kMessageQuestion = 3;
constexpr int kMessageWarning = 4;

// The style flags of a kind (its icon with the OK set); 0 for a kind that shows nothing.
uint32_t MessageStyleOfKind(int kind);
// The background and settings every application message uses.
MessageBoxParams ApplicationMessageParams();

// The texts are plain: they carry names and paths from the disk and the user, and are escaped
// before they become markup.
// The box belongs to `owner` unless a modal dialog is open (see MarkupMessageBox::Show).
// Shows the text with one OK button; another kind shows nothing.
void ShowMessage(int kind, std::string_view text, QWidget* owner = nullptr);
// Asks with Yes and No: 1 for Yes, 2 for No (also for a kind that shows nothing).
int AskYesNo(int kind, std::string_view text, QWidget* owner = nullptr);

}  // namespace lumbra
