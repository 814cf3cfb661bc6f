#include "toolkit/qt/image_menu.h"

#include <QPainter>

#include "toolkit/menu_metrics.h"
#include "toolkit/qt/image_menu_painter.h"
#include "toolkit/qt/menu_palette.h"

namespace lumbra {

ImageMenu::ImageMenu(MenuLook look, bool nineXLine, QWidget* parent)
    : ImageMenu(look, nineXLine, std::make_shared<MenuImageList>(), parent) {}

ImageMenu::ImageMenu(MenuLook look, bool nineXLine, std::shared_ptr<MenuImageList> images, QWidget* parent)
    : OwnerDrawnMenu(parent), look_(look), nineXLine_(nineXLine), images_(std::move(images)) {
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        // Sub-menus report their commands here too; only the menu that holds the item speaks.
        if (const Item* item = itemOf(action); item && !item->subMenu && !action->isSeparator()) {
            emit commandChosen(item->commandId);
        }
    });
}

QAction* ImageMenu::remember(QAction* action, Item item) {
    items_.insert(action, std::move(item));
    return action;
}

QAction* ImageMenu::appendItem(const QString& text, int commandId, uint16_t flags, int image) {
    const MenuText parts = SplitMenuText(text);
    QAction* action = addAction(parts.label);
    action->setData(commandId);
    action->setCheckable((flags & (menu_flag::kChecked | menu_flag::kRadio)) != 0);
    action->setChecked((flags & menu_flag::kChecked) != 0);
    action->setEnabled((flags & menu_flag::kDisabled) == 0);
    return remember(action, {commandId, image, flags, parts.accelerator, nullptr});
}

ImageMenu* ImageMenu::appendPopup(const QString& text, uint16_t flags) {
    auto* sub = new ImageMenu(look_, nineXLine_, images_, this);
    sub->setTitle(SplitMenuText(text).label);
    sub->checkMark_ = checkMark_;
    sub->radioMark_ = radioMark_;
    QAction* action = addMenu(sub);
    action->setEnabled((flags & menu_flag::kDisabled) == 0);
    connect(sub, &ImageMenu::commandChosen, this, &ImageMenu::commandChosen);
    remember(action, {0, -1, static_cast<uint16_t>(flags | menu_flag::kPopup), {}, sub});
    return sub;
}

QAction* ImageMenu::appendSeparator() {
    return remember(addSeparator(), {0, -1, menu_flag::kSeparator, {}, nullptr});
}

int ImageMenu::addToolBarImages(const QImage& strip) {
    return images_->addToolBar(strip);
}

void ImageMenu::setCheckImages(const QImage& checkMark, const QImage& radioMark) {
    checkMark_ = checkMark;
    radioMark_ = radioMark;
}

QAction* ImageMenu::actionOfCommand(int commandId) const {
    for (auto it = items_.cbegin(); it != items_.cend(); ++it) {
        if (!it->subMenu && !(it->flags & menu_flag::kSeparator) && it->commandId == commandId) {
            return const_cast<QAction*>(it.key());
        }
    }
    return nullptr;
}

const ImageMenu::Item* ImageMenu::itemOf(const QAction* action) const {
    auto it = items_.constFind(action);
    return it == items_.cend() ? nullptr : &*it;
}

void ImageMenu::setItemChecked(int commandId, bool checked) {
    if (QAction* action = actionOfCommand(commandId)) {
        action->setCheckable(true);
        action->setChecked(checked);
        update();
    }
}

void ImageMenu::setItemEnabled(int commandId, bool enabled) {
    if (QAction* action = actionOfCommand(commandId)) action->setEnabled(enabled);
}

QSize ImageMenu::measureItem(bool separator, const QString& text) const {
    const MenuImageSize image{images_->imageSize().width(), images_->imageSize().height()};
    if (separator) {
        const MenuItemSize size = MeasureMenuSeparator(look_, image, systemMenuHeight());
        return {size.width, size.height};
    }
    const MenuText parts = SplitMenuText(text);
    const QFontMetrics metrics = fontMetrics();
    QString shown = parts.label;
    shown.remove(QLatin1Char('&'));
    int width = metrics.horizontalAdvance(shown);
    // Room between the label and its right-aligned accelerator.
    if (!parts.accelerator.isEmpty()) width += 3 * metrics.averageCharWidth() + metrics.horizontalAdvance(parts.accelerator);
    const MenuItemSize size = MeasureMenuItem(look_, nineXLine_, {width, metrics.averageCharWidth()}, image, systemMenuHeight());
    return {size.width, size.height};
}

int ImageMenu::panelWidth() const {
    return look_ == MenuLook::Flat ? 1 : 3;
}

QString ImageMenu::acceleratorOf(const QAction* action) const {
    const Item* item = itemOf(action);
    return item ? item->accelerator : QString();
}

void ImageMenu::drawPanel(QPainter& painter) const {
    const MenuPalette colours = MenuPalette::from(palette());
    const QRect all = rect();
    painter.fillRect(all, look_ == MenuLook::Flat ? colours.window : colours.buttonFace);
    painter.setBrush(Qt::NoBrush);
    if (look_ == MenuLook::Flat) {
        painter.setPen(colours.buttonShadow);
        painter.drawRect(all.adjusted(0, 0, -1, -1));
        return;
    }
    painter.setPen(colours.buttonHighlight);
    painter.drawLine(all.left() + 1, all.top() + 1, all.right() - 1, all.top() + 1);
    painter.drawLine(all.left() + 1, all.top() + 1, all.left() + 1, all.bottom() - 1);
    painter.setPen(colours.buttonShadow);
    painter.drawLine(all.left() + 1, all.bottom() - 1, all.right() - 1, all.bottom() - 1);
    painter.drawLine(all.right() - 1, all.top() + 1, all.right() - 1, all.bottom() - 1);
    painter.setPen(colours.menuText);
    painter.drawLine(all.bottomLeft(), all.bottomRight());
    painter.drawLine(all.topRight(), all.bottomRight());
}

void ImageMenu::drawItem(QPainter& painter, const QAction* action, const QRect& rect, bool selected) const {
    const Item* item = itemOf(action);
    if (!item) return;
    MenuItemView view;
    view.label = action->text();
    view.accelerator = item->accelerator;
    view.image = images_->entry(item->image);
    view.imageSize = images_->imageSize();
    view.separator = action->isSeparator();
    view.popup = item->subMenu != nullptr;
    view.checked = action->isChecked();
    view.radio = (item->flags & menu_flag::kRadio) != 0;
    view.enabled = action->isEnabled();
    view.selected = selected;
    const QImage& mark = view.radio ? radioMark_ : checkMark_;
    view.checkImage = mark.isNull() ? nullptr : &mark;
    PaintMenuItem(painter, look_, rect, view, MenuPalette::from(palette()));
}

void AppendMenuTemplate(ImageMenu& menu, const std::vector<MenuNode>& nodes) {
    for (const MenuNode& node : nodes) {
        const QString text = QString::fromStdString(node.text);
        if (node.flags & menu_flag::kPopup) {
            AppendMenuTemplate(*menu.appendPopup(text, node.flags), node.children);
        } else if (node.flags & menu_flag::kSeparator) {
            menu.appendSeparator();
        } else {
            menu.appendItem(text, node.commandId, node.flags, node.image);
        }
    }
}

}  // namespace lumbra
