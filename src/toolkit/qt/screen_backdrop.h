#pragma once
// What shows through the see-through pixels of a window (a balloon's corners, its soft shadow).
// A compositing manager blends them with the windows below. Without one, as on an X screen
// whose `_NET_WM_CM_Sn` selection has no owner, they come out black: the window then paints
// over a capture of the screen under it, taken before it shows. Platforms that do not let a
// program capture the screen keep real translucency.
#include <QPixmap>
#include <QRect>

namespace lumbra {

enum class SeeThrough { Composited, OverCapture };

// Whether the screen has a compositing manager; platforms other than X always compose.
bool ScreenHasCompositor();
// Whether the platform lets a program capture the screen under a rectangle.
bool PlatformCanCaptureScreen();
SeeThrough ChooseSeeThrough();
// The screen's pixels under a rectangle in global coordinates; null when none can be read.
QPixmap CaptureScreenUnder(const QRect& global);

}  // namespace lumbra
