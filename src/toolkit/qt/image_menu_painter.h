#pragma once
// Painting of one `ImageMenu` item in the classic and in the flat look.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "toolkit/menu_look.h"
#include "toolkit/qt/menu_images.h"
#include "toolkit/qt/menu_palette.h"

namespace lumbra {

struct MenuItemView {
    QString label;                               // with its "&" mnemonic
    QString accelerator;
    const MenuImageList::Entry* image = nullptr;
    const QImage* checkImage = nullptr;          // drawn instead of the built-in mark
    QSize imageSize{16, 15};
    bool separator = false;
    bool popup = false;                          // opens a sub-menu
    bool checked = false;
    bool radio = false;
    bool enabled = true;
    bool selected = false;
};

void PaintMenuItem(QPainter& painter, MenuLook look, const QRect& rect, const MenuItemView& item,
                   const MenuPalette& colours);

// The width of the image column at the left of every item.
int MenuImageColumnWidth(MenuLook look, QSize imageSize);

}  // namespace lumbra
