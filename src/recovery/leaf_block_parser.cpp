#include "recovery/leaf_block_parser.h"

#include "discovery/object_tree.h"
#include "discovery/pool_mapping.h"
#include "recovery/leaf_records.h"

namespace lumbra {
namespace {

uint64_t RootAsZero(uint64_t parent) { return parent == object_record::kRootParent ? 0 : parent; }

// False when the record's fields lie past the block: that ends the leaf.
bool TakeFile(MountContext& context, ByteView block, size_t record) {
    auto file = ReadFileObject(block, record);
    if (!file) return false;
    if (!BlockCountFitsSize(file->size, file->blockCount) || file->nameLength == 0 ||
        file->name.empty())
        return true;
    RecoveredTree& tree = context.tree;
    if (file->timeStamp < kTimeStampLimit) {
        tree.AddFileRecord(file->name, file->objectId, RootAsZero(file->parentId),
                           tree.fileCounter, file->firstBlock, file->blockCount, file->size,
                           file->timeStamp, file->fullName);
        ++tree.fileCounter;
    }
    context.events.filesFound(tree.fileCounter);
    context.events.lastFileFolder(file->name);
    return true;
}

bool TakeFolder(MountContext& context, ByteView block, size_t record) {
    if (FolderExcluded(block, record)) return true;
    auto folder = ReadFolderObject(block, record);
    if (!folder) return false;
    if (folder->objectId == 0 || folder->objectId == folder_record::kNoObject ||
        folder->nameLength == 0 || folder->name.empty() || folder->timeStamp >= kTimeStampLimit)
        return true;
    RecoveredTree& tree = context.tree;
    if (!tree.AddFolderRecord(folder->name, folder->objectId, RootAsZero(folder->parentId),
                              tree.folderCounter, folder->timeStamp, folder->fullName))
        return true;
    ++tree.folderCounter;
    context.events.foldersFound(tree.folderCounter);
    context.events.lastFileFolder(folder->name);
    return true;
}

// False when the link's block number lies past the block.
bool TakeLink(MountContext& context, ByteView block, size_t record) {
    auto target = le32(block, record + leaf_record::kLinkBlockOffset);
    if (!target) return false;
    if (auto sector = PoolBlockToDiskSector(context.pool, *target)) QueueBlock(context, *sector);
    return true;
}

// False when the record ends the leaf.
bool TakeRecord(MountContext& context, ByteView block, size_t record, bool followLinks) {
    auto type = le32(block, record + leaf_record::kKindOffset);
    if (!type) return false;
    if (*type == leaf_record::kLinkKind) return !followLinks || TakeLink(context, block, record);
    if (*type != object_record::kObjectType) return true;
    auto kind = le8(block, record + object_record::kKindOffset);
    if (!kind) return false;
    if (*kind == object_record::kFileKind) return TakeFile(context, block, record);
    if (*kind == object_record::kFolderKind) return TakeFolder(context, block, record);
    return true;
}

size_t FirstRecordOffset(ByteView block) {
    auto style = le8(block, tree_node::kLeafStyleOffset);
    return style && *style == 'N' ? tree_node::kEntriesOffset : tree_node::kLeafLateRecordsOffset;
}

}  // namespace

void ParseLeafBlock(MountContext& context, ByteView block, bool followLinks) {
    size_t offset = FirstRecordOffset(block);
    while (!context.stopped()) {
        auto length = le16(block, offset + leaf_record::kLengthOffset);
        if (!length) return;
        auto signedLength = static_cast<int16_t>(*length);
        if (signedLength <= 0) return;
        size_t next = offset + static_cast<size_t>(signedLength);
        if (next > tree_node::kLastOffset) return;
        if (!TakeRecord(context, block, offset, followLinks)) return;
        offset = next;
    }
}

}  // namespace lumbra
