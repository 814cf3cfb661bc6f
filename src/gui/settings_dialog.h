#pragma once
// "Recovery Settings": sectors per read, what to do with duplicate files, retries on bad
// sectors.
#include "app/dialog_values.h"
#include "gui/picture_dialog.h"

class QCheckBox;
class QComboBox;

namespace lumbra {

class GroupRadioButton;

class SettingsDialog : public PictureDialog {
    Q_OBJECT
public:
    SettingsDialog(const SettingsDialogValues& values, QWidget* parent);
    // The choices as the dialog holds them now.
    SettingsDialogValues values() const;

private:
    void frame(const QString& caption, int y, int height);

    QComboBox* sectors_;
    QComboBox* retries_;
    QCheckBox* keepTimes_;
    std::array<GroupRadioButton*, 3> duplicates_{};
};

}  // namespace lumbra
