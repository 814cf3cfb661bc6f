#include "app/recovery_settings.h"

#include "disk/disk_access.h"

namespace lumbra {

void RecoverySettings::SetDefaults(AccessMode mode) {
    sectorsPerRead = DefaultSectorsPerRead(mode);
    badSectorRetries = 3;
    duplicateAction = 1;
    keepTimes = false;
}

SettingsDialogValues SettingsDialogOpening(const RecoverySettings& settings) {
    SettingsDialogValues values;
    values.sectorsIndex = static_cast<int>(settings.sectorsPerRead.load()) - 1;
    values.retriesIndex = static_cast<int>(settings.badSectorRetries.load()) - 1;
    const uint16_t action = settings.duplicateAction.load();
    if (action >= 1 && action <= 3) values.duplicateChecked[action - 1] = true;
    values.keepTimesChecked = settings.keepTimes.load();
    return values;
}

void ApplySettingsDialog(const SettingsDialogValues& values, RecoverySettings& settings) {
    if (values.sectorsIndex >= 0 && values.sectorsIndex < static_cast<int>(RecoverySettings::kMaxSectorsPerRead))
        settings.sectorsPerRead = static_cast<uint32_t>(values.sectorsIndex + 1);
    if (values.retriesIndex >= 0 && values.retriesIndex < RecoverySettings::kMaxBadSectorRetries)
        settings.badSectorRetries = static_cast<uint16_t>(values.retriesIndex + 1);
    for (uint16_t position = 1; position <= 3; ++position)
        if (values.duplicateChecked[position - 1]) settings.duplicateAction = position;
    settings.keepTimes = values.keepTimesChecked;
}

}  // namespace lumbra
