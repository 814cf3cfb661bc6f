#include "platform/qt/desktop_entries.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>

namespace lumbra {

DesktopEntry ReadDesktopEntry(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    DesktopEntry entry;
    bool inMainGroup = false;
    bool application = false;
    bool hidden = false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup) continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Name")) entry.name = value;
        else if (key == QLatin1String("Exec")) entry.exec = value;
        else if (key == QLatin1String("MimeType")) entry.mimeTypes = value.split(';', Qt::SkipEmptyParts);
        else if (key == QLatin1String("Type")) application = value == QLatin1String("Application");
        // A terminal program would start with no terminal and end unseen.
        else if (key == QLatin1String("Hidden") || key == QLatin1String("NoDisplay") || key == QLatin1String("Terminal"))
            hidden = hidden || value == QLatin1String("true");
    }
    if (!application || hidden || entry.exec.isEmpty()) return {};
    return entry;
}

QStringList ApplicationFolders() {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString home = environment.value("XDG_DATA_HOME");
    if (home.isEmpty()) home = QDir::homePath() + "/.local/share";
    QString dirs = environment.value("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = "/usr/local/share:/usr/share";
    QStringList folders{home + "/applications"};
    for (const QString& dir : dirs.split(':', Qt::SkipEmptyParts)) folders << dir + "/applications";
    return folders;
}

std::vector<DesktopEntry> EntriesForMimeType(const QStringList& folders, const QString& mimeType) {
    std::vector<DesktopEntry> entries;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList({"*.desktop"}, QDir::Files, QDir::Name)) {
            DesktopEntry entry = ReadDesktopEntry(dir.filePath(name));
            if (entry.name.isEmpty() || !entry.mimeTypes.contains(mimeType)) continue;
            const bool known = std::any_of(entries.begin(), entries.end(),
                                           [&](const DesktopEntry& other) { return other.name == entry.name; });
            if (!known) entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const DesktopEntry& a, const DesktopEntry& b) { return a.name.localeAwareCompare(b.name) < 0; });
    return entries;
}

QStringList CommandForFile(const QString& exec, const QString& path) {
    QStringList command;
    bool placed = false;
    for (const QString& word : QProcess::splitCommand(exec)) {
        if (word == "%f" || word == "%F" || word == "%u" || word == "%U") {
            command << path;
            placed = true;
            continue;
        }
        QString plain = word;
        plain.replace("%%", QString(QChar(0x1)));
        static const QRegularExpression fieldCode("%[a-zA-Z]");
        plain.remove(fieldCode);
        plain.replace(QChar(0x1), "%");
        if (!plain.isEmpty()) command << plain;
    }
    if (!placed && !command.isEmpty()) command << path;
    return command;
}

}  // namespace lumbra
