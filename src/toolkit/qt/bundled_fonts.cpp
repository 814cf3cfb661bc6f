#include "toolkit/qt/bundled_fonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <mutex>

// The font files are compiled into the toolkit library; the table is registered by hand so that
// the linker cannot leave it out.
static void RegisterFontResources() {
    Q_INIT_RESOURCE(lumbra_fonts);
}

namespace lumbra {

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kMono = QStringLiteral("DejaVu Sans Mono");
const QStringList kBundledFamilies = {kSans, QStringLiteral("DejaVu Sans Condensed"), kMono};

}  // namespace

void LoadBundledFonts() {
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        RegisterFontResources();
        const QDir fonts(QStringLiteral(":/lumbra/fonts"));
        for (const QString& file : fonts.entryList({QStringLiteral("*.ttf")}, QDir::Files, QDir::Name))
            QFontDatabase::addApplicationFont(fonts.filePath(file));
    });
}

void UseBundledFonts() {
    LoadBundledFonts();
    QFont font = QGuiApplication::font();
    font.setFamilies({kSans});
    QGuiApplication::setFont(font);
}

QString BundledFamilyFor(const QString& requested) {
    const QString face = requested.toLower();
    if (face.contains(QStringLiteral("courier")) || face.contains(QStringLiteral("mono"))) return kMono;
    for (const QString& family : kBundledFamilies)
        if (face == family.toLower()) return family;
    return kSans;
}

}  // namespace lumbra
