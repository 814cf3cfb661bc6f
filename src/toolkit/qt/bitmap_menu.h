#pragma once
// The main window's menu: each item carries a 16 x 16 bitmap in a 20 x 20 square at its left,
// and the text area turns ivory while the item is selected.
#include <QHash>
#include <QPixmap>

#include "toolkit/qt/owner_drawn_menu.h"

namespace lumbra {

class BitmapMenu : public OwnerDrawnMenu {
    Q_OBJECT
public:
    static constexpr int kSquareSize = 20;
    static constexpr int kBitmapOffset = 2;
    static constexpr int kCheckOffset = 5;
    static constexpr int kMaxTextLength = 128;
    static constexpr QRgb kCheckColour = 0x404080;
    static constexpr QRgb kSelectedTextArea = 0xfffff0;

    struct Item {
        int commandId = 0;
        QString accelerator;
        QPixmap bitmap;
        BitmapMenu* subMenu = nullptr;
    };

    explicit BitmapMenu(QWidget* parent = nullptr);

    // `text` ("label\taccelerator") is cut to its first 128 characters.
    QAction* appendItem(const QString& text, int commandId, const QPixmap& bitmap = {});
    BitmapMenu* appendPopup(const QString& text);
    QAction* appendSeparator();

    QAction* actionOfCommand(int commandId) const;
    const Item* itemOf(const QAction* action) const;

    QSize measureItem(bool separator, const QString& text) const override;
    int panelWidth() const override { return 3; }

signals:
    void commandChosen(int commandId);

protected:
    QString acceleratorOf(const QAction* action) const override;
    void drawPanel(QPainter& painter) const override;
    void drawItem(QPainter& painter, const QAction* action, const QRect& rect, bool selected) const override;

private:
    QHash<const QAction*, Item> items_;
};

}  // namespace lumbra
