#pragma once
// "Open With": the applications the desktop registers for a file's type, plus a field for
// any command. The chosen program is started on the file.
#include <QDialog>
#include <vector>

#include "platform/qt/desktop_entries.h"

class QLineEdit;
class QListWidget;

namespace lumbra {

class ProgramChooser : public QDialog {
    Q_OBJECT
public:
    ProgramChooser(const QString& path, std::vector<DesktopEntry> entries, QWidget* parent = nullptr);

    // The program and arguments to start on the file; empty when nothing was chosen.
    QStringList chosenCommand() const;

private:
    QString path_;
    std::vector<DesktopEntry> entries_;
    QListWidget* list_;
    QLineEdit* command_;
};

}  // namespace lumbra
