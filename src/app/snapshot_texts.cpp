#include "app/snapshot_texts.h"

#include "disk/drive_table.h"

namespace lumbra {

std::string SnapshotDiskFoundText(size_t row, const std::string& drivePath) {
    return "The disk of this recovery snapshot was found as " + DriveLabel(row) + " (" + drivePath +
           "); it is read from there.";
}

std::string SnapshotOtherDiskText(size_t row, const std::string& drivePath) {
    return "This recovery snapshot was made from another disk than the one in " + DriveLabel(row) + " (" + drivePath +
           ").";
}

std::string SnapshotSavedText(const std::string& path, bool partial) {
    std::string text = "The recovery snapshot was saved to " + path + ".";
    if (partial) text += "\nIt is marked partial: the mount was stopped before it ended.";
    return text;
}

}  // namespace lumbra
