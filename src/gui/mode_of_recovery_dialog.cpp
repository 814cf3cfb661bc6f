#include "gui/latin1.h"
#include "gui/mode_of_recovery_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "toolkit/qt/group_radio_button.h"

namespace lumbra {

ModeOfRecoveryDialog::ModeOfRecoveryDialog(const ModeOfRecoveryValues& values, QWidget* parent)
    : PictureDialog(Latin1(values.title), 210, 145, "background_filters", parent),
      values_(values),
      volumeBased_(new GroupRadioButton(Latin1(mode_of_recovery_text::kVolumeBased))),
      poolBased_(new GroupRadioButton(Latin1(mode_of_recovery_text::kPoolBased))) {
    setObjectName("ModeOfRecoveryDialog");
    auto* explanation = new QLabel(StaticText(values.explanation));
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(explanation, 10, 8, 190, 58);
    volumeBased_->setObjectName("VolumeBased");
    poolBased_->setObjectName("PoolBased");
    place(volumeBased_, 18, 72, 184, 12);
    place(poolBased_, 18, 90, 184, 12);
    volumeBased_->setChecked(values.volumeBasedChecked);
    poolBased_->setChecked(values.poolBasedChecked);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    place(ok, 86, 120, 54, 16);
    auto* cancel = new QPushButton("Cancel");
    place(cancel, 146, 120, 54, 16);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ModeOfRecoveryValues ModeOfRecoveryDialog::values() const {
    ModeOfRecoveryValues chosen = values_;
    chosen.volumeBasedChecked = volumeBased_->isChecked();
    chosen.poolBasedChecked = poolBased_->isChecked();
    return chosen;
}

}  // namespace lumbra
