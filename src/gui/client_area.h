#pragma once
// The main window's client area: the background picture at its top-left corner on every
// erase, and the window's own menu, which carries the About item the title bar's menu
// carries on other desktops.
#include <QPixmap>
#include <QWidget>

class QMenu;

namespace lumbra {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent);
    // The window menu, for the tests and the grab tool.
    QMenu* windowMenu() const { return windowMenu_; }

signals:
    void aboutChosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QPixmap background_;
    QMenu* windowMenu_;
};

}  // namespace lumbra
