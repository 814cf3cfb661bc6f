#pragma once
// Helpers shared by the markup windows: background effects in Qt colours, and links.
#include <QColor>
#include <QImage>
#include <QRect>

#include "toolkit/markup_drawer.h"
#include "toolkit/markup_effects.h"

namespace lumbra {

inline QColor ToQColor(Rgb colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }
inline Rgb FromQColor(const QColor& colour) { return MakeRgb(colour.red(), colour.green(), colour.blue()); }

// The effect as a picture of the given size; a null image for no effect.
QImage EffectImage(int effectNumber, const QSize& size, const EffectColours& colours, int granularity);

// Links whose "href" targets the desktop opens; "msg" links send nothing.
LinkActions DesktopLinkActions();

}  // namespace lumbra
