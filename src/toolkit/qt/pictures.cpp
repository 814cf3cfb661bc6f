#include "toolkit/qt/pictures.h"

#include <QtGlobal>
#include <mutex>

// Pictures live in a static library; its resource table is registered by hand so that the
// linker cannot leave it out.
static void RegisterPictures() {
    Q_INIT_RESOURCE(lumbra_pictures);
}

namespace lumbra {

QImage PictureImage(const QString& name) {
    static std::once_flag registered;
    std::call_once(registered, RegisterPictures);
    return QImage(QStringLiteral(":/lumbra/pictures/") + name + QStringLiteral(".png"));
}

QPixmap Picture(const QString& name) {
    return QPixmap::fromImage(PictureImage(name));
}

}  // namespace lumbra
