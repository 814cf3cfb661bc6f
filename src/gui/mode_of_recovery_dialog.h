#pragma once
// "Select Mode Of Recovery": volume-based or pool-based recovery, asked when leaving the
// pool step.
#include "app/dialog_values.h"
#include "gui/picture_dialog.h"

namespace lumbra {

class GroupRadioButton;

class ModeOfRecoveryDialog : public PictureDialog {
    Q_OBJECT
public:
    ModeOfRecoveryDialog(const ModeOfRecoveryValues& values, QWidget* parent);
    ModeOfRecoveryValues values() const;

private:
    ModeOfRecoveryValues values_;
    GroupRadioButton* volumeBased_;
    GroupRadioButton* poolBased_;
};

}  // namespace lumbra
