// The notifications and dialogs of the View. Each runs modally on the GUI thread; a call from
// a worker waits for the answer.
#include <QFileDialog>
#include <QInputDialog>

#include "app/file_filters_dialog.h"
#include "app/recovery_message.h"
#include "gui/about_dialog.h"
#include "gui/busy_cursor.h"
#include "gui/file_dialog_run.h"
#include "gui/captioned_values_dialog.h"
#include "gui/file_filters_window.h"
#include "gui/find_window.h"
#include "gui/gui_thread.h"
#include "gui/latin1.h"
#include "gui/main_window.h"
#include "toolkit/qt/app_messages.h"
#include "gui/mode_of_recovery_dialog.h"
#include "gui/saving_window.h"
#include "gui/settings_dialog.h"
#include "gui/snapshot_save_dialog.h"

namespace lumbra {

void MainWindow::ShowMessage(MessageKind kind, std::string_view text) {
    calls_.answer([this, kind, copy = std::string(text)] {
        lumbra::ShowMessage(static_cast<int>(kind), copy, this);
        return true;
    });
}

Answer MainWindow::AskYesNo(MessageKind kind, std::string_view text) {
    return calls_.answer([this, kind, copy = std::string(text)] {
        return lumbra::AskYesNo(static_cast<int>(kind), copy, this) == 1 ? Answer::Yes : Answer::No;
    });
}

bool MainWindow::RunSettingsDialog(SettingsDialogValues& values) {
    return calls_.answer([this, &values] {
        SettingsDialog dialog(values, this);
        if (dialog.exec() != QDialog::Accepted) return false;
        values = dialog.values();
        return true;
    });
}

bool MainWindow::RunModeOfRecoveryDialog(ModeOfRecoveryValues& values) {
    return calls_.answer([this, &values] {
        ModeOfRecoveryDialog dialog(values, this);
        const int result = dialog.exec();
        // Volume discovery follows on this thread.
        ShowBusyUntilIdle();
        if (result != QDialog::Accepted) return false;
        values = dialog.values();
        return true;
    });
}

void MainWindow::RunFileFiltersDialog(FileFiltersDialog& rules) {
    calls_.answer([this, &rules] {
        FileFiltersWindow window(rules, this);
        const int result = window.exec();
        // The root folder is listed again under the new filters.
        ShowBusyUntilIdle();
        return result;
    });
}

void MainWindow::ShowProperties(const PropertiesValues& values) {
    calls_.answer([this, &values] { return CaptionedValuesDialog(PropertiesLook(), values.rows, this).exec(); });
}

void MainWindow::ShowDriveInformation(const DriveInformationValues& values) {
    calls_.answer([this, &values] {
        return CaptionedValuesDialog(DriveInformationLook(), values.rows, this).exec();
    });
}

void MainWindow::ShowAbout(std::string_view text) {
    calls_.answer([this, shown = StaticText(text)] { return AboutDialog(shown, this).exec(); });
}

std::optional<std::string> MainWindow::AskSnapshotSaveName() {
    return calls_.answer([this] {
        SnapshotSaveDialog dialog(this);
        return RunFileDialog(dialog);
    });
}

std::optional<std::string> MainWindow::AskSnapshotLoadName() {
    return calls_.answer([this] {
        QFileDialog dialog(this, "Load Recovery Snapshot", QString(), kSnapshotFileFilter);
        dialog.setObjectName("SnapshotLoadDialog");
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        return RunFileDialog(dialog);
    });
}

std::optional<size_t> MainWindow::AskSnapshotDrive(std::string_view text, const std::vector<std::string>& drives,
                                                   size_t preselected) {
    return calls_.answer([this, shown = std::string(text), drives, preselected]() -> std::optional<size_t> {
        QInputDialog dialog(this);
        dialog.setObjectName("SnapshotDriveDialog");
        dialog.setWindowTitle("Load Recovery Snapshot");
        dialog.setLabelText(QString::fromStdString(shown));
        QStringList items;
        for (const std::string& drive : drives) items << QString::fromStdString(drive);
        dialog.setComboBoxItems(items);
        dialog.setComboBoxEditable(false);
        dialog.setTextValue(items.value(static_cast<int>(preselected)));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const auto index = items.indexOf(dialog.textValue());
        if (index < 0) return std::nullopt;
        return static_cast<size_t>(index);
    });
}

std::optional<uint64_t> MainWindow::OpenFindWindow() {
    return calls_.answer([this]() -> std::optional<uint64_t> {
        FindWindow find(session_.records, this);
        if (find.exec() != QDialog::Accepted) return std::nullopt;
        return find.chosenFile();
    });
}

std::optional<std::string> MainWindow::AskDestinationFolder() {
    return calls_.answer([this] {
        QFileDialog chooser(this, "Select the destination folder");
        chooser.setObjectName("DestinationDialog");
        chooser.setFileMode(QFileDialog::Directory);
        chooser.setOption(QFileDialog::ShowDirsOnly);
        return RunFileDialog(chooser);
    });
}

void MainWindow::RunSaving(const SaveSelection& selection, const std::string& destination) {
    calls_.answer([this, &selection, &destination] {
        SavingWindow window(session_.savingFlags, this);
        const RecoveryRunResult run = window.run(session_, selection, destination);
        for (const auto& [index, result] : run.summary.results)
            if (result.copied()) session_.filesRead.insert(session_.records.files()[index].itemNumber);
        lumbra::ShowMessage(static_cast<int>(RecoveryRunMessageKind(run)), RecoveryRunMessage(run, destination), this);
        return true;
    });
}

}  // namespace lumbra
