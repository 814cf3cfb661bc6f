#include "toolkit/qt/screen_access.h"

#include <QGuiApplication>

namespace lumbra {

bool PlatformCanGrab() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace lumbra
