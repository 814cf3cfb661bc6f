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

#include "recovery/id_map.h"
#include "recovery/item_record.h"

namespace lumbra {

// The positions, in list order, of the records that share one parent. Records of a parent
// are chained through `next` links kept beside the list, so that a million appends cost no
// per-parent vectors.
class ChildRange {
public:
    static constexpr uint32_t kEnd = 0xFFFFFFFFu;

    class Iterator {
    public:
        Iterator(const std::vector<uint32_t>* next, uint32_t at) : next_(next), at_(at) {}
        uint32_t operator*() const { return at_; }
        Iterator& operator++() {
            at_ = (*next_)[at_];
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        const std::vector<uint32_t>* next_;
        uint32_t at_;
    };

    ChildRange() = default;
    ChildRange(const std::vector<uint32_t>* next, uint32_t head, uint32_t count)
        : next_(next), head_(head), count_(count) {}
    Iterator begin() const { return {next_, count_ == 0 ? kEnd : head_}; }
    Iterator end() const { return {next_, kEnd}; }
    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

private:
    const std::vector<uint32_t>* next_ = nullptr;
    uint32_t head_ = kEnd;
    uint32_t count_ = 0;
};

class RecoveredTree {
public:

    // After a mount: the number of records admitted to each list. A new record takes the
    // current value as its itemNumber and the caller then increments the counter. The snapshot
    // loader counts by its own rule, so a counter may exceed the length of its list.
    uint32_t folderCounter = 0;
    uint32_t fileCounter = 0;
    // Folder items inserted into the tree during the current build; only for progress.
    uint32_t treeInsertCounter = 0;

    // Frees both lists and their indexes and sets every counter to 0.
    void ClearRecords();

    // A failed allocation in the two Add operations throws std::bad_alloc; the tree is then not
    // whole, and the mount that fills it ends with a memory failure.

    // Appends a folder; false, without change, when objectId is 0 or a folder with the same
    // 64-bit objectId is already listed. firstBlock, blockCount, size and treeItem are 0.
    // fullName: the name in full (ItemRecord::fullName), empty when `name` says it all.
    bool AddFolderRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                         uint64_t itemNumber, uint32_t timeStamp, std::string_view fullName = {});

    // Appends a file; files are never checked for duplicates. treeItem is 0.
    void AddFileRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                       uint64_t itemNumber, uint64_t firstBlock, uint32_t blockCount,
                       int64_t size, uint32_t timeStamp, std::string_view fullName = {});

    // The first file whose itemNumber is n; nullptr when none.
    const ItemRecord* FindFileByItemNumber(uint64_t n) const;
    // The first folder whose treeItem is t; nullptr when none. Tree item ids are never 0, so
    // 0 (a folder not in the tree) finds nothing.
    const ItemRecord* FindFolderByTreeItem(uint32_t t) const;
    // The folder with this 64-bit objectId; nullptr when none.
    const ItemRecord* FindFolderByObjectId(uint64_t objectId) const;
    bool HasFolder(uint64_t objectId) const { return folderByObjectId_.contains(objectId); }

    const std::deque<ItemRecord>& folders() const { return folders_; }
    const std::deque<ItemRecord>& files() const { return files_; }

    // Positions of the folders / files whose parentId equals parentId (both halves), in list
    // order; empty when there are none. Valid until the next append or ClearRecords.
    ChildRange FolderChildren(uint64_t parentId) const { return folderChildren_.Children(parentId); }
    ChildRange FileChildren(uint64_t parentId) const { return fileChildren_.Children(parentId); }

    // Sets every folder's treeItem back to 0, before the tree is built anew.
    void ClearTreeItems();
    // Records the tree item of the folder at this position (BuildFolderTree).
    void SetFolderTreeItem(size_t folderIndex, uint32_t treeItem);
    // Renames a record in place (the rename command); the name is cut to kMaxItemNameLength and
    // is the record's only name from then on.
    void RenameFolder(size_t folderIndex, std::string_view name);
    void RenameFile(size_t fileIndex, std::string_view name);
    // The name a record of these lists has on the volume: the one before any rename.
    const std::string& VolumeName(const ItemRecord& record) const;

private:
    // Chains the records of one list by parent.
    class ParentIndex {
    public:
        void Append(uint64_t parentId, uint32_t position);
        ChildRange Children(uint64_t parentId) const;
        void Clear();

    private:
        struct Chain {
            uint32_t head = 0;
            uint32_t tail = 0;
            uint32_t count = 0;
        };
        IdMap<Chain> chains_;
        std::vector<uint32_t> next_;
        // Records of one folder mostly arrive together: the last chain is kept at hand. Only
        // a miss inserts into chains_, and a miss takes the new pointer.
        uint64_t lastParent_ = 0;
        Chain* lastChain_ = nullptr;
    };

    std::deque<ItemRecord> folders_;
    std::deque<ItemRecord> files_;
    IdMap<uint32_t> folderByObjectId_;
    ParentIndex folderChildren_;
    ParentIndex fileChildren_;
    // While every file's itemNumber equals its position (the mount and the snapshot loader
    // number them so), a lookup by item number needs no map; the map is built once the first
    // record breaks that rule.
    bool fileNumbersArePositions_ = true;
    IdMap<uint32_t> fileByItemNumber_;
    // Tree item -> folder position. An entry whose folder no longer carries that tree item is
    // stale and finds nothing.
    IdMap<uint32_t> folderByTreeItem_;
    // The volume's names of renamed records, by record (records never move: both lists only
    // grow at their end until ClearRecords).
    std::unordered_map<const ItemRecord*, std::string> namesBeforeRename_;
};

}  // namespace lumbra
