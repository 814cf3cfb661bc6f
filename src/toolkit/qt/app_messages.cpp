#include "toolkit/qt/app_messages.h"

#include "toolkit/markup_effects.h"
#include "toolkit/markup_escape.h"
#include "toolkit/qt/message_box.h"

namespace lumbra {

uint32_t MessageStyleOfKind(int kind) {
    switch (kind) {
    case kMessageInformation: return message_box::kIconInformation;
    case kMessageError: return message_box::kIconStop;
    case kMessageQuestion: return message_box::kIconQuestion;
    case kMessageWarning: return message_box::kIconExclamation;
    default: return 0;
    }
}

MessageBoxParams ApplicationMessageParams() {
    MessageBoxParams params;
    params.window.effect = effect::kVBump;
    params.window.background = 0xf7fd86;
    params.window.middle = 0xffffff;
    params.window.end = 0xf7fd86;
    return params;
}

void ShowMessage(int kind, std::string_view text, QWidget* owner) {
    const uint32_t style = MessageStyleOfKind(kind);
    if (style == 0) return;
    const MessageBoxParams params = ApplicationMessageParams();
    MarkupMessageBox::Show(owner, EscapeMarkup(text), kApplicationMessageCaption, style, &params);
}

int AskYesNo(int kind, std::string_view text, QWidget* owner) {
    const uint32_t style = MessageStyleOfKind(kind);
    if (style == 0) return 2;
    const MessageBoxParams params = ApplicationMessageParams();
    const uint32_t answer =
        MarkupMessageBox::Show(owner, EscapeMarkup(text), kApplicationMessageCaption, style | 4, &params);
    return answer == message_box::kYes ? 1 : 2;
}

}  // namespace lumbra
