#pragma once
// The quick-help tooltips of the two help buttons of the disk step.
#include <memory>

#include "toolkit/qt/tool_tip.h"

namespace lumbra {

enum class HelpButton { VolumeIdentify, ScanRange };  // help buttons A and B

// Gives a balloon tooltip the look of the help tooltips: pale yellow soft bump, white border,
// anchor centred on the mouse on the top edge.
void ApplyHelpToolTipLook(MarkupToolTip& tip);
// A help tooltip on `button` carrying that button's text.
std::unique_ptr<MarkupToolTip> CreateHelpToolTip(QWidget* parent, QWidget* button, HelpButton which);

}  // namespace lumbra
