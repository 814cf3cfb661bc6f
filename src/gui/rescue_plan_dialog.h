#pragma once
// "Save Rescue Plan...": which sectors the plan takes, before its file is chosen.
#include <QDialog>

#include "picture/rescue_plan.h"

class QRadioButton;

namespace lumbra {

class RescuePlanDialog : public QDialog {
public:
    // selectionAvailable: files are selected in the browse step, and the files choice takes them.
    RescuePlanDialog(bool selectionAvailable, QWidget* parent);
    PlanContent content() const;

private:
    QRadioButton* metadata_;
    QRadioButton* files_;
    QRadioButton* used_;
};

}  // namespace lumbra
