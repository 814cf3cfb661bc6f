#pragma once
// The mark over the icon of a file whose data is partly unreadable.
#include <QIcon>

namespace lumbra {

// The icon with a small amber warning sign in its lower right corner, at 16 and 32 pixels,
// the same in a selected row. Made once per icon and kept.
QIcon WithDamageOverlay(const QIcon& icon);

}  // namespace lumbra
