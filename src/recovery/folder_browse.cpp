#include "recovery/folder_browse.h"

#include <algorithm>
#include <unordered_set>

#include "recovery/format_stamp.h"
#include "recovery/name_match.h"

namespace lumbra {
namespace {

constexpr uint64_t kLowHalf = 0xFFFFFFFFu;

class TreeProgress {
public:
    TreeProgress(const RecoveredTree& tree, FolderTreeView& view) : tree_(tree), view_(view) {}
    void Report() {
        uint64_t divisor = tree_.folderCounter == 0 ? 1 : tree_.folderCounter;
        auto percent = static_cast<uint32_t>(
            std::min<uint64_t>(uint64_t{tree_.treeInsertCounter} * 100 / divisor, 99));
        if (percent != shown_ || first_) view_.progress(percent);
        shown_ = percent;
        first_ = false;
    }

private:
    const RecoveredTree& tree_;
    FolderTreeView& view_;
    uint32_t shown_ = 0;
    bool first_ = true;
};

ItemRow RowOf(const ItemRecord& record, ItemRow::Kind kind) {
    StampTexts stamp = FormatStamp(record.timeStamp);
    ItemRow row;
    row.kind = kind;
    row.name = record.name;
    row.date = std::move(stamp.date);
    row.time = std::move(stamp.time);
    return row;
}

bool PassesFilters(const std::string& name, const std::vector<std::string>& upperFilters) {
    if (upperFilters.empty()) return true;
    std::string upperName = UpperCase8Bit(name);
    return std::any_of(upperFilters.begin(), upperFilters.end(),
                       [&](const std::string& filter) { return MatchName(upperName, filter); });
}

}  // namespace

void BuildFolderTree(RecoveredTree& tree, FolderTreeView& view, uint32_t parentTreeItem, uint32_t key) {
    // Depth first without recursion: a chain of folders may be far deeper than the stack.
    struct Frame {
        const RecoveredTree::IndexList* children;
        size_t next;
        uint32_t treeItem;
    };
    tree.treeInsertCounter = 0;
    TreeProgress progress(tree, view);
    progress.Report();
    std::vector<bool> inserted(tree.folders().size(), false);
    std::vector<Frame> stack{{&tree.FolderChildren(key), 0, parentTreeItem}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.children->size()) {
            stack.pop_back();
            continue;
        }
        uint32_t index = (*frame.children)[frame.next++];
        if (inserted[index]) continue;
        inserted[index] = true;
        const ItemRecord& folder = tree.folders()[index];
        uint32_t item = view.insertFolderItem(frame.treeItem, folder.name);
        ++tree.treeInsertCounter;
        tree.SetFolderTreeItem(index, item);
        progress.Report();
        stack.push_back({&tree.FolderChildren(folder.objectId & kLowHalf), 0, item});
    }
    view.expandItem(parentTreeItem);
}

void FillItemList(const RecoveredTree& tree, ItemListView& list, uint64_t parentId,
                  const std::vector<std::string>& filters) {
    list.deleteAllRows();
    for (uint32_t index : tree.FolderChildren(parentId)) {
        const ItemRecord& folder = tree.folders()[index];
        ItemRow row = RowOf(folder, ItemRow::Kind::Folder);
        row.type = "Folder";
        row.size = "0";
        row.key = std::to_string(folder.treeItem);
        list.appendRow(row);
    }
    std::vector<std::string> upperFilters;
    for (const auto& filter : filters) upperFilters.push_back(UpperCase8Bit(filter));
    for (uint32_t index : tree.FileChildren(parentId)) {
        const ItemRecord& file = tree.files()[index];
        if (!PassesFilters(file.name, upperFilters)) continue;
        ItemRow row = RowOf(file, ItemRow::Kind::File);
        row.type = list.fileTypeName(file.name);
        row.size = std::to_string(file.size);
        row.key = std::to_string(file.itemNumber);
        list.appendRow(row);
    }
}

void ShowFolder(const RecoveredTree& tree, FolderTreeView& view, ItemListView& list, uint32_t t,
                const std::vector<std::string>& filters) {
    const ItemRecord* folder = tree.FindFolderByTreeItem(t);
    FillItemList(tree, list, folder ? folder->objectId : 0, filters);
    view.focusTree();
    view.selectItem(t);
    std::unordered_set<uint32_t> seen{t};
    for (uint32_t ancestor = view.parentItem(t); ancestor != 0 && seen.insert(ancestor).second;
         ancestor = view.parentItem(ancestor))
        view.expandItem(ancestor);
}

}  // namespace lumbra
