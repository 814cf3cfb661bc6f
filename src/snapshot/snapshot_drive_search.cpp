#include "snapshot/snapshot_drive_search.h"

namespace lumbra {

std::vector<SnapshotDriveFit> FindSnapshotDisk(DiskAccess& disk, const SnapshotState& state, uint16_t badSectorRetries,
                                               std::optional<size_t> skip) {
    std::vector<SnapshotDriveFit> fits;
    for (size_t row = 0; row < disk.driveTable().count(); ++row) {
        if (row == skip) continue;
        OpenFailure failure = OpenFailure::None;
        auto reader = disk.OpenDrive(row, badSectorRetries, nullptr, &failure, RightsQuestion::NotNow);
        if (failure != OpenFailure::None) continue;
        SnapshotDiskCheck check = CheckSnapshotDisk(*reader, state);
        if (check.fits) fits.push_back({row, std::move(reader), std::move(check)});
    }
    return fits;
}

}  // namespace lumbra
