#include "gui/dialog_units.h"

#include <QFontMetrics>

namespace lumbra {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    // The average over the alphabet, rounded, as the desktop computes its base unit.
    baseX_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    baseY_ = metrics.height();
}

QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return {x(left), y(top), x(width), y(height)};
}

QFont DialogFont() {
    // An 11-pixel sans face gives the 6 x 13 base units the pictures of the windows were
    // drawn for.
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    return font;
}

}  // namespace lumbra
