#pragma once
// The desktop colours the owner-drawn menus paint with, taken from a widget palette.
#include <QColor>
#include <QPalette>

namespace lumbra {

struct MenuPalette {
    QColor buttonFace;
    QColor window;
    QColor highlight;
    QColor highlightText;
    QColor menuText;
    QColor greyText;
    QColor buttonHighlight;
    QColor buttonShadow;

    static MenuPalette from(const QPalette& palette);
};

// QColor form of the toolkit's lighten rule.
QColor LightenColour(const QColor& colour, int percent);

}  // namespace lumbra
