#include "toolkit/qt/image_menu_painter.h"

#include "toolkit/menu_metrics.h"
#include "toolkit/qt/owner_drawn_menu.h"

namespace lumbra {

namespace {

constexpr int kTextIndent = 4;
constexpr int kFlatGreyOnSelectedPercent = 40;
constexpr int kFlatSelectedPercent = 70;
constexpr int kClassicCheckedPercent = 60;

QRect ImageRect(MenuLook look, const QRect& item, QSize imageSize) {
    const int left = item.left() + (MenuImageColumnWidth(look, imageSize) - imageSize.width()) / 2;
    return {QPoint(left, item.top() + (item.height() - imageSize.height()) / 2), imageSize};
}

void PaintEtchedLine(QPainter& painter, int left, int right, int y, const MenuPalette& colours) {
    painter.setPen(colours.buttonShadow);
    painter.drawLine(left, y, right, y);
    painter.setPen(colours.buttonHighlight);
    painter.drawLine(left, y + 1, right, y + 1);
}

void PaintCheckMark(QPainter& painter, const QRect& box, bool radio, const QColor& colour) {
    const QPoint c = box.center();
    painter.setPen(colour);
    painter.setBrush(colour);
    if (radio) {
        painter.drawEllipse(QRect(c.x() - 2, c.y() - 2, 5, 5));
        return;
    }
    for (int dy = 0; dy < 3; ++dy) {
        painter.drawLine(c.x() - 3, c.y() - 1 + dy, c.x() - 1, c.y() + 1 + dy);
        painter.drawLine(c.x() - 1, c.y() + 1 + dy, c.x() + 3, c.y() - 3 + dy);
    }
}

void PaintCheck(QPainter& painter, const QRect& box, const MenuItemView& item, const QColor& colour) {
    if (item.checkImage && !item.checkImage->isNull()) {
        const QRect target(box.center() - QPoint(item.checkImage->width() / 2, item.checkImage->height() / 2),
                           item.checkImage->size());
        painter.drawImage(target, *item.checkImage);
        return;
    }
    PaintCheckMark(painter, box, item.radio, colour);
}

void PaintTexts(QPainter& painter, const QRect& textRect, const MenuItemView& item, const QColor& colour) {
    painter.setPen(colour);
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    painter.drawText(textRect, flags | Qt::AlignLeft, item.label);
    if (!item.accelerator.isEmpty()) painter.drawText(textRect, flags | Qt::AlignRight, item.accelerator);
}

void PaintArrow(QPainter& painter, const QRect& rect, const MenuItemView& item, const QColor& colour) {
    if (item.popup) PaintSubMenuArrow(painter, rect, colour);
}

QRect TextRect(MenuLook look, const QRect& rect, QSize imageSize) {
    // What the item's measured width leaves right of the text.
    const int rightMargin = look == MenuLook::Flat ? 4 : 8;
    const int left = rect.left() + MenuImageColumnWidth(look, imageSize) + kTextIndent;
    return {QPoint(left, rect.top()), QPoint(rect.right() - rightMargin, rect.bottom())};
}

void PaintFlat(QPainter& painter, const QRect& rect, const MenuItemView& item, const MenuPalette& colours) {
    const int column = MenuImageColumnWidth(MenuLook::Flat, item.imageSize);
    const QColor lightHighlight = LightenColour(colours.highlight, kFlatSelectedPercent);
    painter.fillRect(QRect(rect.left(), rect.top(), column, rect.height()), colours.buttonFace);
    painter.fillRect(QRect(rect.left() + column, rect.top(), rect.width() - column, rect.height()), colours.window);
    if (item.separator) {
        PaintEtchedLine(painter, rect.left() + column + MenuGap(MenuLook::Flat), rect.right(), rect.center().y(), colours);
        return;
    }
    if (item.selected) {
        painter.fillRect(rect, lightHighlight);
        painter.setPen(colours.highlight);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    const QRect imageRect = ImageRect(MenuLook::Flat, rect, item.imageSize);
    if (item.checked) {
        const QRect box = imageRect.adjusted(-2, -2, 2, 2);
        painter.fillRect(box, lightHighlight);
        painter.setPen(colours.highlight);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        if (!item.image) PaintCheck(painter, box, item, colours.menuText);
    }
    if (item.image) {
        if (!item.enabled) {
            const QColor grey = item.selected ? LightenColour(colours.greyText, kFlatGreyOnSelectedPercent) : colours.greyText;
            painter.drawImage(imageRect.topLeft(), Silhouette(item.image->normal, grey));
        } else if (item.selected) {
            painter.drawImage(imageRect.topLeft() + QPoint(1, 1), item.image->shadow);
            painter.drawImage(imageRect.topLeft() - QPoint(1, 1), item.image->normal);
        } else {
            painter.drawImage(imageRect.topLeft(), item.image->washed);
        }
    }
    QColor text = colours.menuText;
    if (!item.enabled) text = item.selected ? LightenColour(colours.greyText, kFlatGreyOnSelectedPercent) : colours.greyText;
    PaintTexts(painter, TextRect(MenuLook::Flat, rect, item.imageSize), item, text);
    PaintArrow(painter, rect, item, text);
}

void PaintFrame3d(QPainter& painter, const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
    painter.setPen(topLeft);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
}

void PaintClassicImage(QPainter& painter, const QRect& imageRect, const MenuItemView& item, const MenuPalette& colours) {
    const QRect box = imageRect.adjusted(-2, -2, 2, 2);
    if (item.checked) {
        painter.fillRect(box, LightenColour(colours.buttonFace, kClassicCheckedPercent));
        PaintFrame3d(painter, box, colours.buttonShadow, colours.buttonHighlight);
    } else if (item.selected && item.enabled) {
        PaintFrame3d(painter, box, colours.buttonHighlight, colours.buttonShadow);
    }
    if (!item.image) {
        if (item.checked) PaintCheck(painter, box, item, colours.menuText);
        return;
    }
    if (item.enabled) {
        painter.drawImage(imageRect.topLeft(), item.image->normal);
        return;
    }
    painter.drawImage(imageRect.topLeft() + QPoint(1, 1), Silhouette(item.image->normal, colours.buttonHighlight));
    painter.drawImage(imageRect.topLeft(), Silhouette(item.image->normal, colours.buttonShadow));
}

void PaintClassic(QPainter& painter, const QRect& rect, const MenuItemView& item, const MenuPalette& colours) {
    painter.fillRect(rect, colours.buttonFace);
    if (item.separator) {
        PaintEtchedLine(painter, rect.left() + 1, rect.right() - 1, rect.center().y(), colours);
        return;
    }
    const int column = MenuImageColumnWidth(MenuLook::Classic, item.imageSize);
    if (item.selected) {
        painter.fillRect(QRect(rect.left() + column, rect.top(), rect.width() - column, rect.height()), colours.highlight);
    }
    PaintClassicImage(painter, ImageRect(MenuLook::Classic, rect, item.imageSize), item, colours);
    const QRect textRect = TextRect(MenuLook::Classic, rect, item.imageSize);
    if (!item.enabled) {
        PaintTexts(painter, textRect.translated(1, 1), item, colours.buttonHighlight);
        PaintTexts(painter, textRect, item, colours.greyText);
        PaintArrow(painter, rect, item, colours.greyText);
        return;
    }
    const QColor text = item.selected ? colours.highlightText : colours.menuText;
    PaintTexts(painter, textRect, item, text);
    PaintArrow(painter, rect, item, text);
}

}  // namespace

int MenuImageColumnWidth(MenuLook look, QSize imageSize) {
    return imageSize.width() + MenuGap(look);
}

void PaintMenuItem(QPainter& painter, MenuLook look, const QRect& rect, const MenuItemView& item,
                   const MenuPalette& colours) {
    if (look == MenuLook::Flat) {
        PaintFlat(painter, rect, item, colours);
    } else {
        PaintClassic(painter, rect, item, colours);
    }
}

}  // namespace lumbra
