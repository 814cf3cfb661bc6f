#pragma once
// The applications a freedesktop desktop registers: its ".desktop" entries, read from the
// usual data folders, and the command line an entry gives for one file.
#include <QString>
#include <QStringList>
#include <vector>

namespace lumbra {

struct DesktopEntry {
    QString name;
    QString exec;           // the Exec line with its field codes
    QStringList mimeTypes;
};

// Reads one entry file; an entry that is hidden, runs in a terminal, is not an application or
// has no Exec comes back with an empty name.
DesktopEntry ReadDesktopEntry(const QString& path);

// The folders holding ".desktop" files: $XDG_DATA_HOME and $XDG_DATA_DIRS, each + "/applications".
QStringList ApplicationFolders();

// The applications of `folders` that declare `mimeType`, sorted by name, each name once.
std::vector<DesktopEntry> EntriesForMimeType(const QStringList& folders, const QString& mimeType);

// The program and its arguments for opening `path` with an Exec line: %f %F %u %U become the
// path (appended when the line has none), other field codes are dropped, "%%" is "%".
QStringList CommandForFile(const QString& exec, const QString& path);

}  // namespace lumbra
