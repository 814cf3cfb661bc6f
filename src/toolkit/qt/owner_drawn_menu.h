#pragma once
// A popup menu whose items are measured and painted by the program rather than the style.
// The platform menu still handles keyboard, mouse and sub-menus; only the look is ours.
#include <QMenu>
#include <QProxyStyle>
#include <QString>

namespace lumbra {

// Splits "label\taccelerator" into its two parts.
struct MenuText {
    QString label;
    QString accelerator;
};
MenuText SplitMenuText(const QString& text);

// Room at the right of an item that opens a sub-menu, for its arrow.
constexpr int kSubMenuArrowRoom = 12;
// The arrow of an item that opens a sub-menu, inside the item's right end.
void PaintSubMenuArrow(QPainter& painter, const QRect& itemRect, const QColor& colour);

class OwnerDrawnMenu : public QMenu {
    Q_OBJECT
public:
    explicit OwnerDrawnMenu(QWidget* parent = nullptr);

    // The size of one item; `text` is "label\taccelerator".
    virtual QSize measureItem(bool separator, const QString& text) const = 0;
    virtual int panelWidth() const = 0;

    // The height of a plain text line of a menu bar or menu, as the desktop reports it.
    int systemMenuHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

    virtual QString acceleratorOf(const QAction* action) const = 0;
    virtual void drawPanel(QPainter& painter) const = 0;
    virtual void drawItem(QPainter& painter, const QAction* action, const QRect& rect, bool selected) const = 0;
};

// Routes the menu's item sizes and panel width to the owner-drawn menu.
class OwnerDrawnMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    // Disabled items are selected like the others as the cursor passes, as desktop menus do.
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* data) const override;
};

}  // namespace lumbra
