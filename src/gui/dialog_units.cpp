#include "gui/dialog_units.h"

#include <QFontMetrics>

#include "toolkit/qt/bundled_fonts.h"

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
    // An 11-pixel condensed sans face gives base units of about 6 x 13, those the pictures
    // of the windows were drawn for (792 x 508 pixels for the main window).
    LoadBundledFonts();
    QFont font("DejaVu Sans Condensed");
    font.setPixelSize(11);
    return font;
}

}  // namespace lumbra
