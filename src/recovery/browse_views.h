#pragma once
// The two views of the browse step as the recovered tree sees them: a tree of folders and a
// list of one folder's contents. The desktop application implements them with its tree and
// list controls; tests record what they are asked to do.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumbra {

// One item of a batch of tree items: its text and its parent, either an earlier entry of the
// same batch (by position) or, with kBatchParent, the item the whole batch goes below.
struct TreeItemEntry {
    static constexpr uint32_t kBatchParent = UINT32_MAX;
    uint32_t parentEntry = kBatchParent;
    std::string text;
    // A file somewhere below the folder is known to be unreadable in part. Not part of the text.
    bool damaged = false;
};

class FolderTreeView {
public:
    virtual ~FolderTreeView() = default;
    // Appends a folder item as the last child of parentItem and returns its id. Ids are never
    // 0, so that 0 can mean "no item".
    virtual uint32_t insertFolderItem(uint32_t parentItem, std::string_view text) = 0;
    // Appends the entries in order, each as the last child of its parent, and returns their
    // ids in entry order. A view may make the items of a branch only when it is first shown.
    virtual std::vector<uint32_t> insertFolderItems(uint32_t parentItem, const std::vector<TreeItemEntry>& entries) {
        std::vector<uint32_t> ids;
        ids.reserve(entries.size());
        for (const TreeItemEntry& entry : entries)
            ids.push_back(insertFolderItem(
                entry.parentEntry < ids.size() ? ids[entry.parentEntry] : parentItem, entry.text));
        return ids;
    }
    virtual void expandItem(uint32_t item) = 0;
    virtual void selectItem(uint32_t item) = 0;
    virtual void focusTree() = 0;
    // The parent of an item; 0 for the root item and for an unknown id.
    virtual uint32_t parentItem(uint32_t item) const = 0;
    // The main progress bar while the tree is built, 0..99.
    virtual void progress(uint32_t percent) = 0;
};

// One row of the list: the six columns as texts. `key` fills the sixth column, headed
// "Sector": the folder's tree item id or the file's item number, in decimal.
struct ItemRow {
    enum class Kind { Folder, File };
    Kind kind = Kind::File;
    std::string name;
    std::string type;
    std::string size;
    std::string date;
    std::string time;
    std::string key;
    // Files: some of the file's data is known to be unreadable. Not one of the cells.
    bool damaged = false;
};

class ItemListView {
public:
    virtual ~ItemListView() = default;
    virtual void deleteAllRows() = 0;
    virtual void appendRow(const ItemRow& row) = 0;
    // The desktop's type name for a file name's extension; empty when it has none.
    virtual std::string fileTypeName(std::string_view fileName) const = 0;
};

}  // namespace lumbra
