#include "gui/picture_dialog.h"

#include <QPainter>

#include "toolkit/qt/pictures.h"

namespace lumbra {

PictureDialog::PictureDialog(const QString& title, int width, int height, const QString& picture, QWidget* parent)
    : QDialog(parent), units_(DialogFont()), picture_(Picture(picture)) {
    setFont(DialogFont());
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(units_.size(width, height));
    setModal(true);
}

void PictureDialog::place(QWidget* child, int x, int y, int width, int height) {
    child->setParent(this);
    child->setGeometry(units_.rect(x, y, width, height));
}

void PictureDialog::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

}  // namespace lumbra
