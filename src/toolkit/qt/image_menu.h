#pragma once
// `ImageMenu`: an owner-drawn menu with a small image beside each command, in the classic or
// the flat look. Sub-menus are `ImageMenu`s too and share their parent's images.
#include <QHash>
#include <QImage>
#include <memory>

#include "toolkit/menu_look.h"
#include "toolkit/menu_template.h"
#include "toolkit/qt/menu_images.h"
#include "toolkit/qt/owner_drawn_menu.h"

namespace lumbra {

class ImageMenu : public OwnerDrawnMenu {
    Q_OBJECT
public:
    struct Item {
        int commandId = 0;
        int image = -1;              // index in the image list, -1 = none
        uint16_t flags = 0;          // menu_flag bits
        QString accelerator;
        ImageMenu* subMenu = nullptr;
    };

    // nineXLine: texts are measured the way the 9x desktop line measures them.
    explicit ImageMenu(MenuLook look, bool nineXLine = false, QWidget* parent = nullptr);

    MenuLook look() const { return look_; }

    // `text` may carry an accelerator behind a tab ("&Open\tCtrl+O").
    QAction* appendItem(const QString& text, int commandId, uint16_t flags = 0, int image = -1);
    ImageMenu* appendPopup(const QString& text, uint16_t flags = 0);
    QAction* appendSeparator();

    MenuImageList& images() { return *images_; }
    // Adds the images of a toolbar strip; returns the index of the first one.
    int addToolBarImages(const QImage& strip);
    void setCheckImages(const QImage& checkMark, const QImage& radioMark);

    QAction* actionOfCommand(int commandId) const;
    const Item* itemOf(const QAction* action) const;
    void setItemChecked(int commandId, bool checked);
    void setItemEnabled(int commandId, bool enabled);

    QSize measureItem(bool separator, const QString& text) const override;
    int panelWidth() const override;

signals:
    // A command item was chosen, in this menu or one of its sub-menus.
    void commandChosen(int commandId);

protected:
    QString acceleratorOf(const QAction* action) const override;
    void drawPanel(QPainter& painter) const override;
    void drawItem(QPainter& painter, const QAction* action, const QRect& rect, bool selected) const override;

private:
    ImageMenu(MenuLook look, bool nineXLine, std::shared_ptr<MenuImageList> images, QWidget* parent);
    QAction* remember(QAction* action, Item item);

    MenuLook look_;
    bool nineXLine_;
    std::shared_ptr<MenuImageList> images_;
    QImage checkMark_;
    QImage radioMark_;
    QHash<const QAction*, Item> items_;
};

// Builds a menu bar's popups (or a context menu's items) from a menu template.
void AppendMenuTemplate(ImageMenu& menu, const std::vector<MenuNode>& nodes);

}  // namespace lumbra
