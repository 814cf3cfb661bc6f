#include "gui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "toolkit/qt/group_radio_button.h"
#include "toolkit/qt/round_group_box.h"
#include "toolkit/qt/transparent_label.h"

namespace lumbra {

namespace {

QComboBox* NumberList(int last, int selected) {
    auto* list = new QComboBox;
    for (int number = 1; number <= last; ++number) list->addItem(QString::number(number));
    list->setCurrentIndex(selected);
    return list;
}

}  // namespace

SettingsDialog::SettingsDialog(const SettingsDialogValues& values, QWidget* parent)
    : PictureDialog("Recovery Settings", 304, 265, "background_settings", parent),
      sectors_(NumberList(100, values.sectorsIndex)),
      retries_(NumberList(10, values.retriesIndex)) {
    setObjectName("SettingsDialog");
    frame("Sectors to read in single attempt", 12, 52);
    place(new TransparentLabel("Sectors to read in single attempt"), 26, 34, 150, 10);
    sectors_->setObjectName("Sectors");
    place(sectors_, 190, 31, 60, 14);

    frame("Setting of duplicate file(s)", 76, 84);
    const char* duplicateTexts[] = {"Rename duplicate file(s)", "Overwrite duplicate file(s)", "Skip duplicate file(s)"};
    for (size_t choice = 0; choice < duplicates_.size(); ++choice) {
        duplicates_[choice] = new GroupRadioButton(duplicateTexts[choice]);
        duplicates_[choice]->setObjectName(QString("Duplicate%1").arg(choice + 1));
        place(duplicates_[choice], 30, 94 + 20 * static_cast<int>(choice), 200, 12);
        duplicates_[choice]->setChecked(values.duplicateChecked[choice]);
    }

    frame("Setting for bad sectors", 172, 52);
    place(new TransparentLabel("Number of retries on bad sector(s)"), 26, 194, 150, 10);
    retries_->setObjectName("Retries");
    place(retries_, 190, 191, 60, 14);

    keepTimes_ = new QCheckBox("Keep file dates");
    keepTimes_->setObjectName("KeepTimes");
    keepTimes_->setToolTip("Give each recovered file the date of its record as modification time");
    keepTimes_->setChecked(values.keepTimesChecked);
    place(keepTimes_, 16, 240, 150, 12);

    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    place(ok, 172, 238, 54, 16);
    auto* cancel = new QPushButton("Cancel");
    place(cancel, 236, 238, 54, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SettingsDialog::frame(const QString& caption, int y, int height) {
    auto* box = new RoundGroupBox(caption);
    place(box, 12, y, 280, height);
    box->lower();
}

SettingsDialogValues SettingsDialog::values() const {
    SettingsDialogValues chosen;
    chosen.sectorsIndex = sectors_->currentIndex();
    chosen.retriesIndex = retries_->currentIndex();
    chosen.keepTimesChecked = keepTimes_->isChecked();
    for (size_t choice = 0; choice < duplicates_.size(); ++choice) chosen.duplicateChecked[choice] = duplicates_[choice]->isChecked();
    return chosen;
}

}  // namespace lumbra
