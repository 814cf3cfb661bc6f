#include "platform/qt/program_chooser.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace lumbra {

ProgramChooser::ProgramChooser(const QString& path, std::vector<DesktopEntry> entries, QWidget* parent)
    : QDialog(parent), path_(path), entries_(std::move(entries)), list_(new QListWidget), command_(new QLineEdit) {
    setObjectName("ProgramChooser");
    setWindowTitle("Open With");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Choose the program to open \"" + QFileInfo(path).fileName() + "\":"));
    for (const DesktopEntry& entry : entries_) list_->addItem(entry.name);
    list_->setObjectName("Programs");
    layout->addWidget(list_);
    layout->addWidget(new QLabel("Or type a command:"));
    command_->setObjectName("Command");
    layout->addWidget(command_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    // A typed command wins over a marked program, so typing clears the mark.
    connect(command_, &QLineEdit::textEdited, list_, &QListWidget::clearSelection);
    if (!entries_.empty()) list_->setCurrentRow(0);
}

QStringList ProgramChooser::chosenCommand() const {
    const QString typed = command_->text().trimmed();
    if (!typed.isEmpty()) return CommandForFile(typed, path_);
    const int row = list_->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= entries_.size() || list_->selectedItems().isEmpty()) return {};
    return CommandForFile(entries_[static_cast<size_t>(row)].exec, path_);
}

}  // namespace lumbra
