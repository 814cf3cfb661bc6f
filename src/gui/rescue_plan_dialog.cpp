#include "gui/rescue_plan_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumbra {

namespace {

QRadioButton* Radio(const QString& text, const QString& name, QVBoxLayout* layout) {
    auto* button = new QRadioButton(text);
    button->setObjectName(name);
    layout->addWidget(button);
    return button;
}

}  // namespace

RescuePlanDialog::RescuePlanDialog(bool selectionAvailable, QWidget* parent) : QDialog(parent) {
    setObjectName("RescuePlanDialog");
    setWindowTitle("Save Rescue Plan");
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel("A mapfile for ddrescue -m: it reads the sectors of the plan first and no others.", this);
    note->setWordWrap(true);
    auto* sectors = new QGroupBox("Sectors", this);
    auto* sectorsLayout = new QVBoxLayout(sectors);
    const QString files = selectionAvailable ? "The selected files' data" : "The data of every file";
    metadata_ = Radio("The metadata (partition structures, pool and volume trees)", "RescuePlanMetadata", sectorsLayout);
    files_ = Radio(files, "RescuePlanFiles", sectorsLayout);
    used_ = Radio("Both", "RescuePlanUsed", sectorsLayout);
    metadata_->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(note);
    layout->addWidget(sectors);
    layout->addWidget(buttons);
}

PlanContent RescuePlanDialog::content() const {
    if (files_->isChecked()) return PlanContent::Files;
    return used_->isChecked() ? PlanContent::Used : PlanContent::Metadata;
}

}  // namespace lumbra
