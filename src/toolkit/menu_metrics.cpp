#include "toolkit/menu_metrics.h"

#include <algorithm>

namespace lumbra {

int MenuGap(MenuLook look) {
    return look == MenuLook::Flat ? 7 : 4;
}

MenuItemSize MeasureMenuSeparator(MenuLook look, MenuImageSize image, int systemMenuHeight) {
    return {0, std::max(systemMenuHeight / 2, (image.height + MenuGap(look)) / 2)};
}

MenuItemSize MeasureMenuItem(MenuLook look, bool nineXLine, const MenuTextExtent& text,
                             MenuImageSize image, int systemMenuHeight) {
    const int textWidth = nineXLine ? text.textWidth + 3 + 3 * text.averageCharWidth : text.textWidth;
    const int width = look == MenuLook::Flat ? textWidth + image.width + MenuGap(look) + 8
                                             : textWidth + 2 * image.width + 1;
    return {width, std::max(systemMenuHeight, image.height + MenuGap(look))};
}

}  // namespace lumbra
