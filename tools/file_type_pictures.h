#pragma once
// The program's own icons for the common families of file types, shown where the desktop's icon
// theme has none: a page with a coloured band and a symbol of the family.
#include <QImage>
#include <QString>
#include <QStringList>

namespace lumbra::pictures {

// The families, named as the desktop's generic type icons are named (text-x-generic, ...).
const QStringList& FileTypeFamilies();

// A 32 x 32 picture of one family's icon.
QImage FileTypePicture(const QString& family);

}  // namespace lumbra::pictures
