#include "recovery/record_lists.h"

namespace lumbra {
namespace {

std::string CutName(std::string_view name) {
    return std::string(name.substr(0, kMaxItemNameLength));
}

}  // namespace

void RecoveredTree::ParentIndex::Append(uint64_t parentId, uint32_t position) {
    next_.push_back(ChildRange::kEnd);
    if (lastChain_ == nullptr || lastParent_ != parentId) {
        lastChain_ = &chains_[parentId];
        lastParent_ = parentId;
    }
    Chain& chain = *lastChain_;
    if (chain.count == 0) chain.head = position;
    else next_[chain.tail] = position;
    chain.tail = position;
    ++chain.count;
}

ChildRange RecoveredTree::ParentIndex::Children(uint64_t parentId) const {
    auto found = chains_.find(parentId);
    if (found == chains_.end()) return {};
    return {&next_, found->second.head, found->second.count};
}

void RecoveredTree::ParentIndex::Clear() {
    chains_.clear();
    next_.clear();
    lastChain_ = nullptr;
}

void RecoveredTree::ClearRecords() {
    folders_.clear();
    files_.clear();
    folderByObjectId_.clear();
    folderChildren_.Clear();
    fileChildren_.Clear();
    fileNumbersArePositions_ = true;
    fileByItemNumber_.clear();
    folderByTreeItem_.clear();
    folderCounter = 0;
    fileCounter = 0;
    treeInsertCounter = 0;
}

bool RecoveredTree::AddFolderRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                                    uint64_t itemNumber, uint32_t timeStamp) {
    if (objectId == 0) return false;
    auto position = static_cast<uint32_t>(folders_.size());
    if (!folderByObjectId_.emplace(objectId, position).second) return false;
    ItemRecord record;
    record.objectId = objectId;
    record.itemNumber = itemNumber;
    record.parentId = parentId;
    record.name = CutName(name);
    record.timeStamp = timeStamp;
    folders_.push_back(std::move(record));
    folderChildren_.Append(parentId, position);
    return true;
}

void RecoveredTree::AddFileRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                                  uint64_t itemNumber, uint64_t firstBlock, uint32_t blockCount,
                                  int64_t size, uint32_t timeStamp) {
    auto position = static_cast<uint32_t>(files_.size());
    if (fileNumbersArePositions_ && itemNumber != position) {
        fileNumbersArePositions_ = false;
        for (uint32_t i = 0; i < position; ++i) fileByItemNumber_.emplace(i, i);
    }
    if (!fileNumbersArePositions_) fileByItemNumber_.emplace(itemNumber, position);
    ItemRecord record;
    record.objectId = objectId;
    record.itemNumber = itemNumber;
    record.parentId = parentId;
    record.firstBlock = firstBlock;
    record.blockCount = blockCount;
    record.name = CutName(name);
    record.timeStamp = timeStamp;
    record.size = size;
    files_.push_back(std::move(record));
    fileChildren_.Append(parentId, position);
}

const ItemRecord* RecoveredTree::FindFileByItemNumber(uint64_t n) const {
    if (fileNumbersArePositions_) return n < files_.size() ? &files_[n] : nullptr;
    auto found = fileByItemNumber_.find(n);
    return found == fileByItemNumber_.end() ? nullptr : &files_[found->second];
}

const ItemRecord* RecoveredTree::FindFolderByTreeItem(uint32_t t) const {
    auto found = folderByTreeItem_.find(t);
    return found == folderByTreeItem_.end() ? nullptr : &folders_[found->second];
}

const ItemRecord* RecoveredTree::FindFolderByObjectId(uint64_t objectId) const {
    auto found = folderByObjectId_.find(objectId);
    return found == folderByObjectId_.end() ? nullptr : &folders_[found->second];
}

void RecoveredTree::SetFolderTreeItem(size_t folderIndex, uint32_t treeItem) {
    auto& record = folders_.at(folderIndex);
    if (record.treeItem != 0) {
        auto old = folderByTreeItem_.find(record.treeItem);
        if (old != folderByTreeItem_.end() && old->second == folderIndex) folderByTreeItem_.erase(old);
    }
    record.treeItem = treeItem;
    if (treeItem != 0) folderByTreeItem_.emplace(treeItem, static_cast<uint32_t>(folderIndex));
}

void RecoveredTree::RenameFolder(size_t folderIndex, std::string_view name) {
    folders_.at(folderIndex).name = CutName(name);
}

void RecoveredTree::RenameFile(size_t fileIndex, std::string_view name) {
    files_.at(fileIndex).name = CutName(name);
}

}  // namespace lumbra
