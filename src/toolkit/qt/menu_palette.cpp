#include "toolkit/qt/menu_palette.h"

#include "toolkit/colour_lighten.h"

namespace lumbra {

MenuPalette MenuPalette::from(const QPalette& palette) {
    return {palette.color(QPalette::Button),
            palette.color(QPalette::Base),
            palette.color(QPalette::Highlight),
            palette.color(QPalette::HighlightedText),
            palette.color(QPalette::Text),
            palette.color(QPalette::Disabled, QPalette::Text),
            palette.color(QPalette::Light),
            palette.color(QPalette::Dark)};
}

QColor LightenColour(const QColor& colour, int percent) {
    return QColor::fromRgb(Lighten(colour.rgb() & 0xffffff, percent));
}

}  // namespace lumbra
