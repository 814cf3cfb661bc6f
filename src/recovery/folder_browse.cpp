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

ItemRow RowOf(const ItemRecord& record, ItemRow::Kind kind, std::string type, std::string size,
              uint64_t key) {
    StampTexts stamp = FormatStamp(record.timeStamp);
    return ItemRow{kind,         record.name,           std::move(type),
                   std::move(size), std::move(stamp.date), std::move(stamp.time),
                   std::to_string(key)};
}

bool PassesFilters(const std::string& name, const std::vector<std::string>& upperFilters) {
    if (upperFilters.empty()) return true;
    std::string upperName = UpperCase8Bit(name);
    return std::any_of(upperFilters.begin(), upperFilters.end(),
                       [&](const std::string& filter) { return MatchName(upperName, filter); });
}

}  // namespace

void BuildFolderTree(RecoveredTree& tree, FolderTreeView& view, uint32_t parentTreeItem, uint32_t key,
                     const std::atomic<int32_t>* stop,
                     const std::function<bool(const ItemRecord& folder)>& holdsDamage) {
    // Depth first without recursion: a chain of folders may be far deeper than the stack. The
    // walk lists the items; the view receives them at once, as one batch.
    struct Frame {
        ChildRange::Iterator next;
        ChildRange::Iterator end;
        uint32_t entry;
    };
    tree.treeInsertCounter = 0;
    tree.ClearTreeItems();
    TreeProgress progress(tree, view);
    progress.Report();
    std::vector<bool> inserted(tree.folders().size(), false);
    std::vector<TreeItemEntry> entries;
    std::vector<uint32_t> folderOfEntry;
    ChildRange top = tree.FolderChildren(key);
    std::vector<Frame> stack{{top.begin(), top.end(), TreeItemEntry::kBatchParent}};
    while (!stack.empty() && !(stop && stop->load(std::memory_order_relaxed) != 0)) {
        Frame& frame = stack.back();
        if (frame.next == frame.end) {
            stack.pop_back();
            continue;
        }
        uint32_t index = *frame.next;
        ++frame.next;
        if (inserted[index]) continue;
        inserted[index] = true;
        const ItemRecord& folder = tree.folders()[index];
        const uint32_t entry = static_cast<uint32_t>(entries.size());
        entries.push_back({frame.entry, folder.name, holdsDamage && holdsDamage(folder)});
        folderOfEntry.push_back(index);
        ++tree.treeInsertCounter;
        progress.Report();
        ChildRange children = tree.FolderChildren(folder.objectId & kLowHalf);
        stack.push_back({children.begin(), children.end(), entry});
    }
    const std::vector<uint32_t> items = view.insertFolderItems(parentTreeItem, entries);
    for (size_t entry = 0; entry < items.size() && entry < folderOfEntry.size(); ++entry)
        tree.SetFolderTreeItem(folderOfEntry[entry], items[entry]);
    view.expandItem(parentTreeItem);
}

void FillItemList(const RecoveredTree& tree, ItemListView& list, uint64_t parentId,
                  const std::vector<std::string>& filters) {
    list.deleteAllRows();
    for (uint32_t index : tree.FolderChildren(parentId)) {
        const ItemRecord& folder = tree.folders()[index];
        list.appendRow(RowOf(folder, ItemRow::Kind::Folder, "Folder", "0", folder.treeItem));
    }
    std::vector<std::string> upperFilters;
    for (const auto& filter : filters) upperFilters.push_back(UpperCase8Bit(filter));
    for (uint32_t index : tree.FileChildren(parentId)) {
        const ItemRecord& file = tree.files()[index];
        if (!PassesFilters(file.name, upperFilters)) continue;
        list.appendRow(RowOf(file, ItemRow::Kind::File, list.fileTypeName(file.name),
                             std::to_string(file.size), file.itemNumber));
    }
}

void FillFileRows(const RecoveredTree& tree, ItemListView& list, const std::vector<size_t>& fileIndexes) {
    list.deleteAllRows();
    for (size_t index : fileIndexes) {
        if (index >= tree.files().size()) continue;
        const ItemRecord& file = tree.files()[index];
        list.appendRow(RowOf(file, ItemRow::Kind::File, list.fileTypeName(file.name), std::to_string(file.size),
                             file.itemNumber));
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
