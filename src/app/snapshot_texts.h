#pragma once
// What the desktop says around saving and loading a snapshot of a partial tree.
#include <cstddef>
#include <string>
#include <string_view>

namespace lumbra {

constexpr std::string_view kSavePartialSnapshotQuestion =
    "The mount was stopped before it ended: the snapshot will hold only the folders and files found until "
    "then, and will be marked partial. Save it anyway ?";

constexpr std::string_view kPartialSnapshotLoadedText =
    "This recovery snapshot is partial: the mount it was saved from was stopped before it ended, so it holds "
    "only the folders and files found until then.";

constexpr std::string_view kSnapshotDiskNotFoundText =
    "The disk this recovery snapshot was made from was not found among the drives\n"
    "that can be read without administrator rights. Select the drive that holds it:";
constexpr std::string_view kSnapshotDiskSeveralText =
    "More than one drive holds the disk this recovery snapshot was made from.\n"
    "Select the drive to read:";

// "The disk of this recovery snapshot was found as Storage Device M (PATH); it is read from there."
std::string SnapshotDiskFoundText(size_t row, const std::string& drivePath);
// "This recovery snapshot was made from another disk than the one in Storage Device N (PATH)."
std::string SnapshotOtherDiskText(size_t row, const std::string& drivePath);

// "The recovery snapshot was saved to PATH." and, for a partial tree, that it is marked so.
std::string SnapshotSavedText(const std::string& path, bool partial);

}  // namespace lumbra
