#pragma once
// The option groups of the disk step: the volume-identify group and the range group of the
// Search Partition option, shown and hidden as wholes.
#include "app/view.h"

namespace lumbra {

// Frame, caption, both radio buttons (shown and enabled) and help button A.
void ShowIdentifyGroup(View& view);
// Frame and caption hidden, both radio buttons disabled and hidden, help button A hidden.
void HideIdentifyGroup(View& view);

// Caption, frame, Start and End captions and fields, help button B.
void ShowRangeGroup(View& view);
void HideRangeGroup(View& view);

}  // namespace lumbra
