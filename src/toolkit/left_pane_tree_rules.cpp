#include "toolkit/left_pane_tree_rules.h"

#include <charconv>
#include <string_view>

namespace lumbra {

namespace {

constexpr size_t kDiskPrefixLength = 14;

bool OnItemItself(TreeClickPart part) {
    return part == TreeClickPart::Icon || part == TreeClickPart::Label || part == TreeClickPart::RightOfLabel;
}

// Which parts of a row count as a click on the item in each stage.
bool PartCounts(TreeStage stage, TreeClickPart part) {
    switch (stage) {
    case TreeStage::Disks: return OnItemItself(part) || part == TreeClickPart::Nowhere;
    case TreeStage::Pools: return true;
    case TreeStage::Volumes:
    case TreeStage::Files: return OnItemItself(part);
    }
    return false;
}

}  // namespace

std::string TreeRootText(TreeStage stage, const std::string& volumeName) {
    switch (stage) {
    case TreeStage::Disks: return "My Computer";
    case TreeStage::Pools: return "NSS Pools";
    case TreeStage::Volumes: return "NSS Volumes";
    case TreeStage::Files: return volumeName;
    }
    return {};
}

int TreeRootImage(TreeStage stage) {
    return stage == TreeStage::Pools ? tree_image::kPool : tree_image::kComputer;
}

int TreeChildImage(TreeStage stage) {
    switch (stage) {
    case TreeStage::Disks: return tree_image::kDisk;
    case TreeStage::Pools: return tree_image::kPool;
    case TreeStage::Volumes: return tree_image::kVolume;
    case TreeStage::Files: return tree_image::kFolder;
    }
    return tree_image::kFolder;
}

std::optional<int> DiskNumberOfItem(const std::string& text) {
    if (text.size() <= kDiskPrefixLength) return std::nullopt;
    const std::string_view digits = std::string_view(text).substr(kDiskPrefixLength);
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end == digits.data()) return std::nullopt;
    return number;
}

TreeAction ResolveTreeClick(TreeStage stage, const TreeClick& click) {
    if (!PartCounts(stage, click.part)) return {};
    if (stage == TreeStage::Files) return {TreeActionKind::ShowFolder, -1, click.itemId};
    if (click.onRoot || click.text.empty()) return {};
    switch (stage) {
    case TreeStage::Disks: {
        const std::optional<int> disk = DiskNumberOfItem(click.text);
        if (!disk) return {};
        return {TreeActionKind::SelectDisk, *disk, click.itemId};
    }
    case TreeStage::Pools: return {TreeActionKind::SelectPool, click.childRow, click.itemId};
    case TreeStage::Volumes: return {TreeActionKind::SelectVolume, click.childRow, click.itemId};
    case TreeStage::Files: break;
    }
    return {};
}

}  // namespace lumbra
