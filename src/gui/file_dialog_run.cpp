#include "gui/file_dialog_run.h"

#include <QFile>
#include <QFileDialog>

#include "gui/busy_cursor.h"

namespace lumbra {

std::optional<std::string> RunFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const int result = dialog.exec();
    ShowBusyUntilIdle();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().last()).toStdString();
}

}  // namespace lumbra
