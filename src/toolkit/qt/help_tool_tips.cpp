#include "toolkit/qt/help_tool_tips.h"

#include "toolkit/help_button_texts.h"

namespace lumbra {

void ApplyHelpToolTipLook(MarkupToolTip& tip) {
    tip.setBackgroundColours(0xfcff7d, 0xffffff, 0xfcff7d);
    tip.setBackgroundEffect(effect::kSoftBump, 5);
    tip.setBorder(0xffffff, 1, 1);
    tip.setDefaultAnchorDirection(2);
}

std::unique_ptr<MarkupToolTip> CreateHelpToolTip(QWidget* parent, QWidget* button, HelpButton which) {
    auto tip = std::make_unique<MarkupToolTip>(parent, true);
    ApplyHelpToolTipLook(*tip);
    tip->addTool(button, which == HelpButton::VolumeIdentify ? kHelpButtonAText : kHelpButtonBText);
    return tip;
}

}  // namespace lumbra
