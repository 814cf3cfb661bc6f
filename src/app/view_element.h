#pragma once
// The named elements of the main window that the wizard shows, hides, enables and writes.
#include <cstdint>

namespace lumbra {

enum class Element : uint16_t {
    // The four left-pane trees; one is visible at a time.
    DriveTree,
    PoolTree,
    VolumeTree,
    DirectoryTree,
    // The information panel: five caption / value rows and the status line.
    InfoCaption1,
    InfoCaption2,
    InfoCaption3,
    InfoCaption4,
    InfoCaption5,
    InfoValue1,
    InfoValue2,
    InfoValue3,
    InfoValue4,
    InfoValue5,
    StatusLine,
    // The volume-identify group of the disk step.
    IdentifyFrame,
    IdentifyCaption,
    UsePartitionTable,
    SearchPartition,
    HelpButtonA,
    // The range group of the Search Partition option.
    RangeCaption,
    RangeFrame,
    StartCaption,
    EndCaption,
    StartField,
    EndField,
    HelpButtonB,
    // Navigation, progress and the browse step's list.
    BackButton,
    NextButton,
    StopButton,
    ProgressBar,
    FileList,
    // Beside the progress bar of the scan: the rate and the time left, or a slow area.
    ProgressEstimate,
};

// Row r (1 to 5) of the information panel.
constexpr Element InfoCaption(int row) { return static_cast<Element>(static_cast<int>(Element::InfoCaption1) + row - 1); }
constexpr Element InfoValue(int row) { return static_cast<Element>(static_cast<int>(Element::InfoValue1) + row - 1); }

// The left-pane trees by kind.
enum class TreeKind : uint8_t { Drives, Pools, Volumes, Directory };

constexpr Element TreeElement(TreeKind kind) {
    switch (kind) {
        case TreeKind::Drives: return Element::DriveTree;
        case TreeKind::Pools: return Element::PoolTree;
        case TreeKind::Volumes: return Element::VolumeTree;
        case TreeKind::Directory: return Element::DirectoryTree;
    }
    return Element::DriveTree;
}

// Where a click in a left tree landed on an item.
enum class TreeHitPart : uint8_t { Nowhere, Label, Icon, RightOfLabel, Button, Indent, Other };

}  // namespace lumbra
