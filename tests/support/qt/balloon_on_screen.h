#pragma once
// A balloon tooltip on a real X server as a user sees it: the pointer is moved by xdotool and the
// screen is read back by ImageMagick's import (tool_tip_x11_check.sh starts the server, a window
// manager and no compositing manager). The grabs are kept in the folder LUMBRA_X11_GRABS names,
// as the running test's name followed by the moment.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "toolkit/qt/tool_tip.h"

namespace lumbra::test {

bool MovePointer(const QPoint& global);
// The whole screen once two grabs in a row agree; null when it does not settle.
QImage SettledScreen(const QString& moment);
// The whole screen once the help balloon's pale yellow body is on it; null when it does not show.
QImage ScreenWithTheHelpBalloon(const MarkupToolTip& tip, const QString& moment);
// How many pixels of the balloon's window ought to show what lies under it: beside its rounded
// corners and its anchor wholly, under its shadow darkened.
int SeeThroughPixels(const MarkupToolTip& tip);
// Those of these pixels, outside `skip`, that strayed from the screen before the balloon, as
// "x,y before -> after". A black band, which a translucent window shows where nothing composes
// the screen, strays far.
std::vector<std::string> StrayedUnderTheBalloon(const MarkupToolTip& tip, const QImage& before, const QImage& after,
                                                const QRect& skip);

}  // namespace lumbra::test
