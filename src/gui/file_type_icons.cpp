#include "gui/file_type_icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QStyle>
#include <mutex>

#include "toolkit/qt/pictures.h"

namespace lumbra {

namespace {

// A desktop without a theme of its own (only hicolor, which holds no type icons, or no theme at
// all, as on a bare X server) searches the installed theme next; the freedesktop icon folders are
// searched even where the platform names none. A theme or fallback the desktop chose is kept.
void UseInstalledThemeAsFallback() {
    static std::once_flag chosen;
    std::call_once(chosen, [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
            const QString icons = data + QStringLiteral("/icons");
            if (!paths.contains(icons)) paths << icons;
        }
        QIcon::setThemeSearchPaths(paths);
        const QString freedesktopDefault = QStringLiteral("hicolor");
        if (QIcon::themeName().isEmpty()) QIcon::setThemeName(freedesktopDefault);
        const QString fallback = QIcon::fallbackThemeName();
        if (fallback.isEmpty() || fallback == freedesktopDefault)
            QIcon::setFallbackThemeName(QString::fromLatin1(kInstalledIconTheme));
    });
}

QIcon OwnFamilyIcon(const QString& genericIconName) {
    const QPixmap picture = Picture(QStringLiteral("type_") + genericIconName);
    return picture.isNull() ? QIcon() : QIcon(picture);
}

}  // namespace

FileTypeIcons::FileTypeIcons() { UseInstalledThemeAsFallback(); }

QIcon FileTypeIcons::file(const QString& name) const {
    const QString extension = QFileInfo(name).suffix().toLower();
    auto found = byExtension_.find(extension);
    if (found != byExtension_.end()) return *found;
    const QMimeType type = QMimeDatabase().mimeTypeForFile("x." + extension, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull()) icon = OwnFamilyIcon(type.genericIconName());
    if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    byExtension_.insert(extension, icon);
    return icon;
}

QIcon FileTypeIcons::folder() { return QApplication::style()->standardIcon(QStyle::SP_DirIcon); }

}  // namespace lumbra
