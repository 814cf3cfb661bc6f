#pragma once
// The Desktop of a Linux desktop session: the default program through the desktop's opener,
// the program chooser from the registered applications, file type names from the MIME
// database.
#include <QString>
#include <QTemporaryDir>

#include "platform/desktop.h"

class QWidget;

namespace lumbra {

class QtDesktop : public Desktop {
public:
    // The program chooser opens over `dialogParent` (may be null).
    explicit QtDesktop(QWidget* dialogParent = nullptr);
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

    ShellOpenResult OpenWithDesktop(const std::string& pathOrAddress, ShowWindowAs show) override;
    bool OpenWithProgramChooser(const std::string& path) override;
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    bool FileExists(const std::string& path) const override;
    std::string TemporaryFolder() const override;
    std::string CurrentDirectory() const override;
    std::string FileTypeName(std::string_view fileName) const override;
    void EndProcess(int exitCode) override;

private:
    QWidget* dialogParent_;
    // Mode 0700 from its creation; removed with the object, or by EndProcess.
    QTemporaryDir openedFiles_;
};

// The MIME type name a file name's extension stands for; empty without an extension or when
// the database knows only the generic binary type.
QString MimeTypeOfName(const QString& fileName);

}  // namespace lumbra
