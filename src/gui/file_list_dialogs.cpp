// The dialogs of "Export File List..." and "Select From List...", and the selection of the rows
// a list names.
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/file_dialog_run.h"
#include "gui/file_list_view.h"
#include "gui/main_window.h"

namespace lumbra {

namespace {

// Which files and which format, before the file is chosen.
class FileListExportDialog : public QDialog {
public:
    FileListExportDialog(bool selectionAvailable, QWidget* parent) : QDialog(parent) {
        setObjectName("FileListExportDialog");
        setWindowTitle("Export File List");
        auto* layout = new QVBoxLayout(this);
        auto* files = new QGroupBox("Files", this);
        auto* filesLayout = new QVBoxLayout(files);
        folder_ = Radio("The current folder", "ExportCurrentFolder", filesLayout);
        selection_ = Radio("The selected files and folders", "ExportSelection", filesLayout);
        volume_ = Radio("The whole volume", "ExportWholeVolume", filesLayout);
        selection_->setEnabled(selectionAvailable);
        (selectionAvailable ? selection_ : folder_)->setChecked(true);
        auto* format = new QGroupBox("Format", this);
        auto* formatLayout = new QVBoxLayout(format);
        csv_ = Radio("CSV (path, size, date, condition, unreadable bytes)", "ExportCsv", formatLayout);
        json_ = Radio("JSON (extract --from-list reads it back)", "ExportJson", formatLayout);
        csv_->setChecked(true);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(files);
        layout->addWidget(format);
        layout->addWidget(buttons);
    }

    FileListScope scope() const {
        if (selection_->isChecked()) return FileListScope::Selection;
        return volume_->isChecked() ? FileListScope::WholeVolume : FileListScope::CurrentFolder;
    }
    FileListFormat format() const { return json_->isChecked() ? FileListFormat::Json : FileListFormat::Csv; }

private:
    static QRadioButton* Radio(const QString& text, const QString& name, QVBoxLayout* layout) {
        auto* button = new QRadioButton(text);
        button->setObjectName(name);
        layout->addWidget(button);
        return button;
    }

    QRadioButton* folder_;
    QRadioButton* selection_;
    QRadioButton* volume_;
    QRadioButton* csv_;
    QRadioButton* json_;
};

}  // namespace

std::optional<FileListExportChoice> MainWindow::AskFileListExport(bool selectionAvailable) {
    return calls_.answer([this, selectionAvailable]() -> std::optional<FileListExportChoice> {
        FileListExportDialog choices(selectionAvailable, this);
        if (choices.exec() != QDialog::Accepted) return std::nullopt;
        const bool json = choices.format() == FileListFormat::Json;
        QFileDialog dialog(this, "Export File List", QString(), json ? "JSON files (*.json)" : "CSV files (*.csv)");
        dialog.setObjectName("FileListSaveDialog");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(json ? "json" : "csv");
        const auto path = RunFileDialog(dialog);
        if (!path) return std::nullopt;
        return FileListExportChoice{choices.scope(), choices.format(), *path};
    });
}

std::optional<std::string> MainWindow::AskFileListToSelect() {
    return calls_.answer([this] {
        QFileDialog dialog(this, "Select From List", QString(), "File lists (*.txt *.json *.csv *.lst);;All files (*)");
        dialog.setObjectName("FileListOpenDialog");
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return RunFileDialog(dialog);
    });
}

void MainWindow::SelectListRows(const std::vector<int>& rows) {
    calls_.run([this, rows] { parts_.fileList->selectRows(rows); });
}

}  // namespace lumbra
