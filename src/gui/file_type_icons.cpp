#include "gui/file_type_icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

namespace lumbra {

QIcon FileTypeIcons::file(const QString& name) const {
    const QString extension = QFileInfo(name).suffix().toLower();
    auto found = byExtension_.find(extension);
    if (found != byExtension_.end()) return *found;
    const QMimeType type = QMimeDatabase().mimeTypeForFile("x." + extension, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    byExtension_.insert(extension, icon);
    return icon;
}

QIcon FileTypeIcons::folder() { return QApplication::style()->standardIcon(QStyle::SP_DirIcon); }

}  // namespace lumbra
