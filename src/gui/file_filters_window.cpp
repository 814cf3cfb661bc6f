#include "gui/file_filters_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/file_filters_dialog.h"
#include "gui/latin1.h"
#include "toolkit/qt/transparent_label.h"

namespace lumbra {

FileFiltersWindow::FileFiltersWindow(FileFiltersDialog& rules, QWidget* parent)
    : PictureDialog("File Filters", 210, 145, "background_filters", parent),
      rules_(rules),
      edit_(new QLineEdit),
      list_(new QListWidget) {
    setObjectName("FileFiltersWindow");
    place(new TransparentLabel(Latin1(filter_text::kCaption)), 10, 8, 80, 10);
    edit_->setObjectName("FilterEdit");
    edit_->setMaxLength(static_cast<int>(FileFiltersDialog::kMaxEditLength));
    place(edit_, 10, 20, 124, 13);
    list_->setObjectName("FilterList");
    place(list_, 10, 38, 124, 98);
    auto* add = new QPushButton("&Add");
    add->setDefault(true);
    add->setAutoDefault(true);
    place(add, 144, 19, 56, 15);
    auto* remove = new QPushButton("&Remove");
    place(remove, 144, 40, 56, 15);
    auto* close = new QPushButton("&Close");
    place(close, 144, 121, 56, 15);
    connect(add, &QPushButton::clicked, this, &FileFiltersWindow::add);
    connect(remove, &QPushButton::clicked, this, &FileFiltersWindow::remove);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    showRows();
    edit_->setFocus();
}

void FileFiltersWindow::showRows() {
    list_->clear();
    for (const std::string& row : rules_.rows()) list_->addItem(Latin1(row));
}

void FileFiltersWindow::add() {
    const FilterFieldAction action = rules_.Add(ToLatin1(edit_->text()));
    showRows();
    if (action.clear) edit_->clear();
    if (action.selectTo > action.selectFrom)
        edit_->setSelection(static_cast<int>(action.selectFrom), static_cast<int>(action.selectTo - action.selectFrom));
    if (action.focus) edit_->setFocus();
}

void FileFiltersWindow::remove() {
    const int row = list_->currentRow();
    const bool selected = row >= 0 && list_->item(row)->isSelected();
    rules_.Remove(selected ? std::optional<size_t>(static_cast<size_t>(row)) : std::nullopt);
    showRows();
}

}  // namespace lumbra
