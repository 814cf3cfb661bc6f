#pragma once
// A fixed-size modal dialog laid out in dialog units, with a background picture drawn at its
// top-left corner at its own size (the default background when the picture is missing).
#include <QDialog>
#include <QPixmap>

#include "gui/dialog_units.h"

namespace lumbra {

class PictureDialog : public QDialog {
    Q_OBJECT
public:
    // width and height in dialog units.
    PictureDialog(const QString& title, int width, int height, const QString& picture, QWidget* parent);

protected:
    const DialogUnits& units() const { return units_; }
    // Places a child at a rectangle given in dialog units.
    void place(QWidget* child, int x, int y, int width, int height);
    void paintEvent(QPaintEvent* event) override;

private:
    DialogUnits units_;
    QPixmap picture_;
};

}  // namespace lumbra
