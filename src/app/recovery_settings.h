#pragma once
// The user settings and the rules of the "Recovery Settings" dialog. Defaults at every
// start; nothing is stored between runs.
#include <atomic>
#include <cstdint>

#include "app/dialog_values.h"
#include "disk/access_mode.h"

namespace lumbra {

struct RecoverySettings {
    static constexpr uint32_t kMaxSectorsPerRead = 100;
    static constexpr uint16_t kMaxBadSectorRetries = 10;

    // Read once by the partition scan when it starts.
    std::atomic<uint32_t> sectorsPerRead{60};
    // Read by the sector reader on every read.
    std::atomic<uint16_t> badSectorRetries{3};
    // 1 rename, 2 overwrite, 3 skip; read by the saving of recovered files.
    std::atomic<uint16_t> duplicateAction{1};
    // Written files take their record's time stamp as modification time; off unless asked.
    std::atomic<bool> keepTimes{false};

    void SetDefaults(AccessMode mode);
};

// The dialog as it opens over the current settings.
SettingsDialogValues SettingsDialogOpening(const RecoverySettings& settings);

// OK: the lists' selections and the checked radio button, examined in order so that with
// several checked the last one wins and with none checked the value stays. Indexes outside
// the lists leave their setting unchanged.
void ApplySettingsDialog(const SettingsDialogValues& values, RecoverySettings& settings);

}  // namespace lumbra
