#include "toolkit/qt/markup_painting.h"

#include <QDesktopServices>
#include <QUrl>

#include "toolkit/qt/markup_qt_surface.h"

namespace lumbra {

QImage EffectImage(int effectNumber, const QSize& size, const EffectColours& colours, int granularity) {
    const PixelBuffer pixels =
        RenderBackgroundEffect(effectNumber, size.width(), size.height(), colours, granularity);
    return pixels.empty() ? QImage() : ToQImage(pixels);
}

LinkActions DesktopLinkActions() {
    return {[](const std::string& target) {
                QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(target)));
            },
            {}};
}

}  // namespace lumbra
