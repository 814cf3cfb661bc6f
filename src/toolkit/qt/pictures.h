#pragma once
// The application's pictures, compiled into the program. Names are the file names under
// resources/pictures without ".png" (e.g. "menu_settings", "tree_180", "background_main").
#include <QImage>
#include <QPixmap>
#include <QString>

namespace lumbra {

// A null image when no picture has that name.
QImage PictureImage(const QString& name);
QPixmap Picture(const QString& name);

}  // namespace lumbra
