#include "toolkit/qt/owner_drawn_menu.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPointer>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace lumbra {

MenuText SplitMenuText(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0) return {text, {}};
    return {text.left(tab), text.mid(tab + 1)};
}

void PaintSubMenuArrow(QPainter& painter, const QRect& itemRect, const QColor& colour) {
    const QPoint tip(itemRect.right() - 5, itemRect.center().y());
    painter.setPen(colour);
    for (int step = 0; step < 4; ++step) {
        painter.drawLine(tip.x() - 3 + step, tip.y() - 3 + step, tip.x() - 3 + step, tip.y() + 3 - step);
    }
}

namespace {

// One style serves every owner-drawn menu; it lives as long as the application.
QStyle* SharedMenuStyle() {
    static QPointer<OwnerDrawnMenuStyle> style;
    if (!style) {
        style = new OwnerDrawnMenuStyle();
        style->setParent(qApp);
    }
    return style;
}

}  // namespace

OwnerDrawnMenu::OwnerDrawnMenu(QWidget* parent) : QMenu(parent) {
    // Menu texts are drawn crisp, the way the desktop's menus are.
    QFont menuFont = font();
    menuFont.setStyleStrategy(QFont::NoAntialias);
    setFont(menuFont);
    setSeparatorsCollapsible(false);
    setStyle(SharedMenuStyle());
}

int OwnerDrawnMenu::systemMenuHeight() const {
    return fontMetrics().height() + 6;
}

void OwnerDrawnMenu::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    drawPanel(painter);
    for (const QAction* action : actions()) {
        const QRect rect = actionGeometry(const_cast<QAction*>(action));
        if (!action->isVisible() || rect.isEmpty() || !event->rect().intersects(rect)) continue;
        painter.save();
        painter.setClipRect(rect);
        drawItem(painter, action, rect, action == activeAction());
        painter.restore();
    }
}

void OwnerDrawnMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    // The accelerator is kept beside the action, so that the platform menu adds no column
    // of its own for it; the measuring sees the whole text.
    const QString accelerator = acceleratorOf(action);
    if (!accelerator.isEmpty()) option->text = action->text() + QLatin1Char('\t') + accelerator;
}

QSize OwnerDrawnMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                            const QWidget* widget) const {
    const auto* menu = qobject_cast<const OwnerDrawnMenu*>(widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !menu || !item) return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QSize measured = menu->measureItem(item->menuItemType == QStyleOptionMenuItem::Separator, item->text);
    const int arrow = item->menuItemType == QStyleOptionMenuItem::SubMenu ? kSubMenuArrowRoom : 0;
    // The platform menu skips items of zero width; separators stretch across anyway.
    return {std::max(1, measured.width() + arrow), measured.height()};
}

int OwnerDrawnMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const auto* menu = qobject_cast<const OwnerDrawnMenu*>(widget);
    if (!menu) return QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_MenuPanelWidth: return menu->panelWidth();
    case PM_MenuHMargin:
    case PM_MenuVMargin: return 0;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int OwnerDrawnMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                   QStyleHintReturn* data) const {
    if (hint == SH_Menu_AllowActiveAndDisabled && qobject_cast<const OwnerDrawnMenu*>(widget)) return 1;
    return QProxyStyle::styleHint(hint, option, widget, data);
}

}  // namespace lumbra
