#pragma once
// The small icons of the browse views: the desktop's icon for a file name's type (from the
// MIME database and the icon theme, then the freedesktop theme installed with the program),
// the program's own icon for the type's family (text, image, audio, video, archive, document,
// spreadsheet, presentation) when no theme has one, the style's plain file icon for any other
// type, and the style's folder icon. Looked up once per name extension.
#include <QHash>
#include <QIcon>
#include <QString>

namespace lumbra {

// The freedesktop theme the install script puts on the machine; searched after the desktop's
// own theme when that one has no icon for a type.
inline constexpr const char* kInstalledIconTheme = "Adwaita";

class FileTypeIcons {
public:
    FileTypeIcons();
    QIcon file(const QString& name) const;
    static QIcon folder();

private:
    mutable QHash<QString, QIcon> byExtension_;
};

}  // namespace lumbra
