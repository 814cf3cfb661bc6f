#pragma once
// The small icons of the browse views: the desktop's icon for a file name's type (from the
// MIME database and the icon theme), the style's plain file icon when the theme has none, and
// the style's folder icon. Looked up once per name extension.
#include <QHash>
#include <QIcon>
#include <QString>

namespace lumbra {

class FileTypeIcons {
public:
    QIcon file(const QString& name) const;
    static QIcon folder();

private:
    mutable QHash<QString, QIcon> byExtension_;
};

}  // namespace lumbra
