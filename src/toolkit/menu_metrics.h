#pragma once
// How big an owner-drawn menu item is, from the measured text and the image size.
#include "toolkit/menu_look.h"

namespace lumbra {

struct MenuItemSize {
    int width = 0;
    int height = 0;
};

struct MenuImageSize {
    int width = 16;
    int height = 15;
};

// What the item's text measured in the menu font.
struct MenuTextExtent {
    int textWidth = 0;          // the whole text, accelerator included
    int averageCharWidth = 0;   // of the menu font
};

// Room between image and text, and above plus below the image.
int MenuGap(MenuLook look);

MenuItemSize MeasureMenuSeparator(MenuLook look, MenuImageSize image, int systemMenuHeight);

// nineXLine: on the 9x line the text is measured with some extra room.
MenuItemSize MeasureMenuItem(MenuLook look, bool nineXLine, const MenuTextExtent& text,
                             MenuImageSize image, int systemMenuHeight);

}  // namespace lumbra
