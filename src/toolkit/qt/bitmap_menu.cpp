#include "toolkit/qt/bitmap_menu.h"

#include <QPainter>

#include "toolkit/qt/menu_palette.h"

namespace lumbra {

namespace {

constexpr int kTextGap = 6;          // between the square and the text
constexpr int kRightMargin = 8;
constexpr int kSeparatorHeight = 8;

void PaintCheckMark(QPainter& painter, QPoint origin) {
    painter.setPen(QColor::fromRgb(BitmapMenu::kCheckColour));
    for (int dy = 0; dy < 3; ++dy) {
        painter.drawLine(origin + QPoint(0, 2 + dy), origin + QPoint(2, 4 + dy));
        painter.drawLine(origin + QPoint(2, 4 + dy), origin + QPoint(6, dy));
    }
}

}  // namespace

BitmapMenu::BitmapMenu(QWidget* parent) : OwnerDrawnMenu(parent) {
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        if (const Item* item = itemOf(action); item && !item->subMenu && !action->isSeparator()) {
            emit commandChosen(item->commandId);
        }
    });
}

QAction* BitmapMenu::appendItem(const QString& text, int commandId, const QPixmap& bitmap) {
    const MenuText parts = SplitMenuText(text.left(kMaxTextLength));
    QAction* action = addAction(parts.label);
    action->setData(commandId);
    items_.insert(action, {commandId, parts.accelerator, bitmap, nullptr});
    return action;
}

BitmapMenu* BitmapMenu::appendPopup(const QString& text) {
    auto* sub = new BitmapMenu(this);
    sub->setTitle(SplitMenuText(text.left(kMaxTextLength)).label);
    items_.insert(addMenu(sub), {0, {}, {}, sub});
    connect(sub, &BitmapMenu::commandChosen, this, &BitmapMenu::commandChosen);
    return sub;
}

QAction* BitmapMenu::appendSeparator() {
    QAction* action = addSeparator();
    items_.insert(action, {});
    return action;
}

QAction* BitmapMenu::actionOfCommand(int commandId) const {
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        if (!it->subMenu && !it.key()->isSeparator() && it->commandId == commandId) return const_cast<QAction*>(it.key());
    }
    return nullptr;
}

const BitmapMenu::Item* BitmapMenu::itemOf(const QAction* action) const {
    auto it = items_.constFind(action);
    return it == items_.cend() ? nullptr : &*it;
}

QSize BitmapMenu::measureItem(bool separator, const QString& text) const {
    if (separator) return {0, kSeparatorHeight};
    const MenuText parts = SplitMenuText(text);
    QString shown = parts.label;
    shown.remove(QLatin1Char('&'));
    const QFontMetrics metrics = fontMetrics();
    int width = kSquareSize + kTextGap + metrics.horizontalAdvance(shown) + kRightMargin;
    if (!parts.accelerator.isEmpty()) width += 3 * metrics.averageCharWidth() + metrics.horizontalAdvance(parts.accelerator);
    return {width, std::max(kSquareSize, systemMenuHeight())};
}

QString BitmapMenu::acceleratorOf(const QAction* action) const {
    const Item* item = itemOf(action);
    return item ? item->accelerator : QString();
}

void BitmapMenu::drawPanel(QPainter& painter) const {
    const MenuPalette colours = MenuPalette::from(palette());
    painter.fillRect(rect(), colours.buttonFace);
    painter.setPen(colours.buttonHighlight);
    painter.drawLine(rect().topLeft(), rect().topRight());
    painter.drawLine(rect().topLeft(), rect().bottomLeft());
    painter.setPen(colours.buttonShadow);
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
    painter.drawLine(rect().topRight(), rect().bottomRight());
}

void BitmapMenu::drawItem(QPainter& painter, const QAction* action, const QRect& rect, bool selected) const {
    const Item* item = itemOf(action);
    if (!item) return;
    const MenuPalette colours = MenuPalette::from(palette());
    if (action->isSeparator()) {
        painter.fillRect(rect, colours.buttonFace);
        const int y = rect.center().y();
        painter.setPen(colours.buttonShadow);
        painter.drawLine(rect.left() + 1, y, rect.right() - 1, y);
        painter.setPen(colours.buttonHighlight);
        painter.drawLine(rect.left() + 1, y + 1, rect.right() - 1, y + 1);
        return;
    }
    const QRect square(rect.left(), rect.top() + (rect.height() - kSquareSize) / 2, kSquareSize, kSquareSize);
    const QRect textArea(square.right() + 1, rect.top(), rect.right() - square.right(), rect.height());
    painter.fillRect(QRect(rect.left(), rect.top(), kSquareSize, rect.height()), colours.buttonFace);
    painter.fillRect(textArea, selected ? QColor::fromRgb(kSelectedTextArea) : colours.buttonFace);
    if (!item->bitmap.isNull()) {
        painter.drawPixmap(QRect(square.topLeft() + QPoint(kBitmapOffset, kBitmapOffset), QSize(16, 16)), item->bitmap);
    } else if (action->isChecked()) {
        PaintCheckMark(painter, square.topLeft() + QPoint(kCheckOffset, kCheckOffset));
    }
    if (selected) {
        painter.setPen(colours.buttonHighlight);
        painter.drawLine(square.topLeft(), square.topRight());
        painter.drawLine(square.topLeft(), square.bottomLeft());
        painter.setPen(colours.buttonShadow);
        painter.drawLine(square.bottomLeft(), square.bottomRight());
        painter.drawLine(square.topRight(), square.bottomRight());
    }
    const QRect textRect = textArea.adjusted(kTextGap, 0, -kRightMargin, 0);
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    const QColor text = action->isEnabled() ? colours.menuText : colours.greyText;
    if (item->subMenu) PaintSubMenuArrow(painter, rect, text);
    painter.setPen(text);
    painter.drawText(textRect, flags | Qt::AlignLeft, action->text());
    if (!item->accelerator.isEmpty()) painter.drawText(textRect, flags | Qt::AlignRight, item->accelerator);
}

}  // namespace lumbra
