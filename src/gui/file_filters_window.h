#pragma once
// "File Filters": the edit field, the list of filters (newest first) and Add, Remove, Close.
// The rules of Add and Remove belong to the wizard's FileFiltersDialog.
#include "gui/picture_dialog.h"

class QLineEdit;
class QListWidget;

namespace lumbra {

class FileFiltersDialog;

class FileFiltersWindow : public PictureDialog {
    Q_OBJECT
public:
    FileFiltersWindow(FileFiltersDialog& rules, QWidget* parent);

protected:
    // Escape closes like "&Close": there is no way out without keeping the list.
    void reject() override { accept(); }

private:
    void add();
    void remove();
    void showRows();

    FileFiltersDialog& rules_;
    QLineEdit* edit_;
    QListWidget* list_;
};

}  // namespace lumbra
