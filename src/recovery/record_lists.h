#pragma once
// The recovered tree: the folder list and the file list of one mounted volume, with their
// counters and the indexes that keep lookups fast on volumes of millions of records.
//
// The lists keep the order of admission, which is the order of display, and are never
// reordered or shortened while a volume is shown. Records live in deques so that a reference to
// a record stays valid while later records are appended.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "recovery/item_record.h"

namespace lumbra {

class RecoveredTree {
public:
    // Positions of records in their list.
    using IndexList = std::vector<uint32_t>;

    // After a mount: the number of records admitted to each list. A new record takes the
    // current value as its itemNumber and the caller then increments the counter. The snapshot
    // loader counts by its own rule, so a counter may exceed the length of its list.
    uint32_t folderCounter = 0;
    uint32_t fileCounter = 0;
    // Folder items inserted into the tree during the current build; only for progress.
    uint32_t treeInsertCounter = 0;

    // Frees both lists and their indexes and sets every counter to 0.
    void ClearRecords();

    // Appends a folder; false, without change, when objectId is 0 or a folder with the same
    // 64-bit objectId is already listed. firstBlock, blockCount, size and treeItem are 0.
    bool AddFolderRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                         uint64_t itemNumber, uint32_t timeStamp);

    // Appends a file; files are never checked for duplicates. treeItem is 0.
    void AddFileRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                       uint64_t itemNumber, uint64_t firstBlock, uint32_t blockCount,
                       int64_t size, uint32_t timeStamp);

    // The first file whose itemNumber is n; nullptr when none.
    const ItemRecord* FindFileByItemNumber(uint64_t n) const;
    // The first folder whose treeItem is t; nullptr when none. Tree item ids are never 0, so
    // 0 (a folder not in the tree) finds nothing.
    const ItemRecord* FindFolderByTreeItem(uint32_t t) const;
    // The folder with this 64-bit objectId; nullptr when none.
    const ItemRecord* FindFolderByObjectId(uint64_t objectId) const;
    bool HasFolder(uint64_t objectId) const { return folderByObjectId_.count(objectId) != 0; }

    const std::deque<ItemRecord>& folders() const { return folders_; }
    const std::deque<ItemRecord>& files() const { return files_; }

    // Positions of the folders / files whose parentId equals parentId (both halves), in list
    // order; empty when there are none.
    const IndexList& FolderChildren(uint64_t parentId) const;
    const IndexList& FileChildren(uint64_t parentId) const;

    // Records the tree item of the folder at this position (BuildFolderTree).
    void SetFolderTreeItem(size_t folderIndex, uint32_t treeItem);
    // Renames a record in place (the rename command); the name is cut to kMaxItemNameLength.
    void RenameFolder(size_t folderIndex, std::string_view name);
    void RenameFile(size_t fileIndex, std::string_view name);

private:
    std::deque<ItemRecord> folders_;
    std::deque<ItemRecord> files_;
    std::unordered_map<uint64_t, uint32_t> folderByObjectId_;
    std::unordered_map<uint64_t, IndexList> foldersByParent_;
    std::unordered_map<uint64_t, IndexList> filesByParent_;
    // While every file's itemNumber equals its position (the mount and the snapshot loader
    // number them so), a lookup by item number needs no map; the map is built once the first
    // record breaks that rule.
    bool fileNumbersArePositions_ = true;
    std::unordered_map<uint64_t, uint32_t> fileByItemNumber_;
    std::unordered_map<uint32_t, uint32_t> folderByTreeItem_;
};

}  // namespace lumbra
