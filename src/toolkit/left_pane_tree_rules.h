#pragma once
// The rules of the wizard's left-pane tree that do not depend on drawing: the root of each
// stage, the order of its pictures, and what a click means in each stage.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lumbra {

enum class TreeStage { Disks, Pools, Volumes, Files };

// Picture resources of the tree's image list, images 0 to 4 in this order.
constexpr std::array<int, 5> kTreeImageResources = {180, 179, 178, 180, 233};

namespace tree_image {
constexpr int kPool = 0;
constexpr int kDisk = 1;
constexpr int kFolder = 2;
constexpr int kVolume = 3;
constexpr int kComputer = 4;
}  // namespace tree_image

inline constexpr const char* kDiskItemPrefix = "Storage Device";   // 14 characters

// The root's text: fixed per stage, the volume's name in the file stage.
std::string TreeRootText(TreeStage stage, const std::string& volumeName);
int TreeRootImage(TreeStage stage);
int TreeChildImage(TreeStage stage);

// The part of a row that a click hit. A click below the last row hits no item.
enum class TreeClickPart { Nowhere, Indent, Button, Icon, Label, RightOfLabel };

struct TreeClick {
    TreeClickPart part = TreeClickPart::Nowhere;
    bool onRoot = false;          // the root was hit, or nothing (which selects the root)
    std::string text;             // text of the item the click lands on
    int childRow = -1;            // position of that item under the root, -1 for the root
    uint32_t itemId = 0;
};

enum class TreeActionKind { None, SelectDisk, SelectPool, SelectVolume, ShowFolder };

struct TreeAction {
    TreeActionKind kind = TreeActionKind::None;
    int number = -1;              // disk number, pool row or volume row
    uint32_t itemId = 0;          // the item to select (and, in the file stage, to show)
};

// The disk number written after the 14 characters of "Storage Device"; none when the text is
// shorter or holds no decimal number there.
std::optional<int> DiskNumberOfItem(const std::string& text);

TreeAction ResolveTreeClick(TreeStage stage, const TreeClick& click);

}  // namespace lumbra
