#pragma once
// Pixels of icons and pictures in the form a pixmap keeps them: premultiplied by alpha.
// Turning premultiplied pixels back into straight alpha divides by alpha, and Qt's vector
// code approximates that division with the processor's reciprocal estimate, whose last bits
// differ between processors. A picture that went through a pixmap therefore comes back with
// straight-alpha values that vary from machine to machine, while premultiplying is exact
// integer arithmetic: compare there, and a wrong picture still differs in every visible pixel.
#include <QIcon>
#include <QImage>

namespace lumbra::test {

inline QImage IconPixels(const QIcon& icon, int side) {
    return icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

inline QImage PicturePixels(const QImage& picture) {
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace lumbra::test
