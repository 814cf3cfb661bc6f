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
        lastChain_ = chains_.tryEmplace(parentId).first;
        lastParent_ = parentId;
    }
    Chain& chain = *lastChain_;
    if (chain.count == 0) chain.head = position;
    else next_[chain.tail] = position;
    chain.tail = position;
    ++chain.count;
}

ChildRange RecoveredTree::ParentIndex::Children(uint64_t parentId) const {
    const Chain* chain = chains_.find(parentId);
    if (chain == nullptr) return {};
    return {&next_, chain->head, chain->count};
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
    namesBeforeRename_.clear();
    folderCounter = 0;
    fileCounter = 0;
    treeInsertCounter = 0;
}

bool RecoveredTree::AddFolderRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                                    uint64_t itemNumber, uint32_t timeStamp, std::string_view fullName) {
    if (objectId == 0) return false;
    auto position = static_cast<uint32_t>(folders_.size());
    if (!folderByObjectId_.tryEmplace(objectId, position).second) return false;
    ItemRecord record;
    record.objectId = objectId;
    record.itemNumber = itemNumber;
    record.parentId = parentId;
    record.name = CutName(name);
    record.fullName = fullName;
    record.timeStamp = timeStamp;
    folders_.push_back(std::move(record));
    folderChildren_.Append(parentId, position);
    return true;
}

void RecoveredTree::AddFileRecord(std::string_view name, uint64_t objectId, uint64_t parentId,
                                  uint64_t itemNumber, uint64_t firstBlock, uint32_t blockCount,
                                  int64_t size, uint32_t timeStamp, std::string_view fullName) {
    auto position = static_cast<uint32_t>(files_.size());
    if (fileNumbersArePositions_ && itemNumber != position) {
        fileNumbersArePositions_ = false;
        for (uint32_t i = 0; i < position; ++i) fileByItemNumber_.tryEmplace(i, i);
    }
    if (!fileNumbersArePositions_) fileByItemNumber_.tryEmplace(itemNumber, position);
    ItemRecord record;
    record.objectId = objectId;
    record.itemNumber = itemNumber;
    record.parentId = parentId;
    record.firstBlock = firstBlock;
    record.blockCount = blockCount;
    record.name = CutName(name);
    record.fullName = fullName;
    record.timeStamp = timeStamp;
    record.size = size;
    files_.push_back(std::move(record));
    fileChildren_.Append(parentId, position);
}

const ItemRecord* RecoveredTree::FindFileByItemNumber(uint64_t n) const {
    if (fileNumbersArePositions_) return n < files_.size() ? &files_[n] : nullptr;
    const uint32_t* position = fileByItemNumber_.find(n);
    return position == nullptr ? nullptr : &files_[*position];
}

const ItemRecord* RecoveredTree::FindFolderByTreeItem(uint32_t t) const {
    if (t == 0) return nullptr;
    const uint32_t* position = folderByTreeItem_.find(t);
    if (position == nullptr || folders_[*position].treeItem != t) return nullptr;
    return &folders_[*position];
}

const ItemRecord* RecoveredTree::FindFolderByObjectId(uint64_t objectId) const {
    const uint32_t* position = folderByObjectId_.find(objectId);
    return position == nullptr ? nullptr : &folders_[*position];
}

void RecoveredTree::ClearTreeItems() {
    for (ItemRecord& folder : folders_) folder.treeItem = 0;
    folderByTreeItem_.clear();
    folderByTreeItem_.reserve(folders_.size());
}

void RecoveredTree::SetFolderTreeItem(size_t folderIndex, uint32_t treeItem) {
    auto& record = folders_.at(folderIndex);
    record.treeItem = treeItem;
    if (treeItem == 0) return;
    auto position = static_cast<uint32_t>(folderIndex);
    auto [entry, inserted] = folderByTreeItem_.tryEmplace(treeItem, position);
    // The first folder in list order that carries the item is the one found.
    bool entryStale = folders_[*entry].treeItem != treeItem;
    if (!inserted && (entryStale || position < *entry)) *entry = position;
}

void RecoveredTree::RenameFolder(size_t folderIndex, std::string_view name) {
    ItemRecord& folder = folders_.at(folderIndex);
    namesBeforeRename_.try_emplace(&folder, folder.name);
    folder.name = CutName(name);
    folder.fullName.clear();
}

void RecoveredTree::RenameFile(size_t fileIndex, std::string_view name) {
    ItemRecord& file = files_.at(fileIndex);
    namesBeforeRename_.try_emplace(&file, file.name);
    file.name = CutName(name);
    file.fullName.clear();
}

const std::string& RecoveredTree::VolumeName(const ItemRecord& record) const {
    const auto renamed = namesBeforeRename_.find(&record);
    return renamed == namesBeforeRename_.end() ? record.name : renamed->second;
}

}  // namespace lumbra
