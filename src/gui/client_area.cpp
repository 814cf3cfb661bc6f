#include "gui/client_area.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include "app/command_table.h"
#include "gui/latin1.h"
#include "toolkit/qt/pictures.h"

namespace lumbra {

ClientArea::ClientArea(QWidget* parent)
    : QWidget(parent), background_(Picture("background_main")), windowMenu_(new QMenu(this)) {
    setObjectName("ClientArea");
    setAutoFillBackground(background_.isNull());
    const CommandInfo* about = FindCommand(Command::SystemAbout);
    windowMenu_->setObjectName("WindowMenu");
    windowMenu_->addSeparator();
    if (about) {
        windowMenu_->addAction(Latin1(about->text), this, &ClientArea::aboutChosen);
    }
}

void ClientArea::paintEvent(QPaintEvent* event) {
    if (background_.isNull()) {
        QWidget::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void ClientArea::contextMenuEvent(QContextMenuEvent* event) { windowMenu_->popup(event->globalPos()); }

}  // namespace lumbra
