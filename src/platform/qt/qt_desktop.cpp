#include "platform/qt/qt_desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/program_chooser.h"

namespace lumbra {

namespace {

// Paths cross this boundary in the file system's own encoding, the one the copies were written
// under; QFile's conversion is the one Qt opens files with.
QString DecodedPath(const std::string& text) { return QFile::decodeName(QByteArray(text.data(), static_cast<qsizetype>(text.size()))); }

std::string EncodedPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QUrl UrlOf(const QString& pathOrAddress) {
    const QUrl url(pathOrAddress);
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(pathOrAddress);
}

}  // namespace

QString MimeTypeOfName(const QString& fileName) {
    if (QFileInfo(fileName).suffix().isEmpty()) return {};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault()) return {};
    return type.name();
}

ShellOpenResult QtDesktop::OpenWithDesktop(const std::string& pathOrAddress, ShowWindowAs) {
    const QString target = DecodedPath(pathOrAddress);
    const QUrl url = UrlOf(target);
    // A local file of a type nobody handles goes to the program chooser, as on the desktop.
    if (url.isLocalFile() && MimeTypeOfName(target).isEmpty()) return ShellOpenResult::NoAssociation;
    if (url.isLocalFile() && EntriesForMimeType(ApplicationFolders(), MimeTypeOfName(target)).empty())
        return ShellOpenResult::NoAssociation;
    return QDesktopServices::openUrl(url) ? ShellOpenResult::Opened : ShellOpenResult::Failed;
}

QtDesktop::QtDesktop(QWidget* dialogParent)
    : dialogParent_(dialogParent), openedFiles_(QDir::tempPath() + "/lumbra-nss-XXXXXX") {}

bool QtDesktop::OpenWithProgramChooser(const std::string& path) {
    const QString file = DecodedPath(path);
    ProgramChooser chooser(file, EntriesForMimeType(ApplicationFolders(), MimeTypeOfName(file)), dialogParent_);
    if (chooser.exec() != QDialog::Accepted) return true;
    QStringList command = chooser.chosenCommand();
    if (command.isEmpty()) return true;
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command);
}

bool QtDesktop::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) list << DecodedPath(argument);
    return QProcess::startDetached(DecodedPath(program), list);
}

bool QtDesktop::FileExists(const std::string& path) const { return QFileInfo(DecodedPath(path)).isFile(); }

std::string QtDesktop::TemporaryFolder() const { return EncodedPath(openedFiles_.path() + '/'); }

std::string QtDesktop::CurrentDirectory() const { return EncodedPath(QDir::currentPath()); }

std::string QtDesktop::FileTypeName(std::string_view fileName) const {
    // On-disk names are 8-bit text shown as Latin-1.
    const QString name = QString::fromLatin1(fileName.data(), static_cast<qsizetype>(fileName.size()));
    const QString type = MimeTypeOfName(name);
    if (type.isEmpty()) return {};
    return QMimeDatabase().mimeTypeForName(type).comment().toLatin1().toStdString();
}

void QtDesktop::EndProcess(int exitCode) {
    openedFiles_.remove();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace lumbra
