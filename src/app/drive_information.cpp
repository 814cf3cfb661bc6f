#include "app/drive_information.h"

#include <string>

#include "app/info_layouts.h"

namespace lumbra {

DriveInformationValues DriveInformation(const Session& session) {
    const SelectedPool& pool = session.selectedPool;
    const uint32_t volume = session.wizard.selectedVolume;
    const std::string volumeName = volume < session.volumes.count() ? session.volumes[volume].name : std::string();
    const std::string poolStart = pool.segmentStart.empty() ? std::string("0") : std::to_string(pool.segmentStart[0]);
    DriveInformationValues values{{{"Pool Name         :", pool.name},
             {"Pool Size           :", std::to_string(pool.poolSize)},
             {"Pool Start           :", poolStart},
             {"Total Volumes    :", std::to_string(session.volumes.count())},
             {"Volume Name    :", volumeName},
             {"Total Files          :", std::to_string(session.records.fileCounter)},
             {"Total Folders      :", std::to_string(session.records.folderCounter)},
             {"Recovery Basis  :", std::string(RecoveryBasisText(session.wizard.recoveryMode))}}};
    // The counts above are then those of the part found, not of the volume.
    if (session.treePartial) values.rows.push_back({"Mount               :", std::string(kPartialMountValue)});
    return values;
}

}  // namespace lumbra
