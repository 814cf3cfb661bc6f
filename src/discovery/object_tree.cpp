#include "discovery/object_tree.h"

namespace lumbra {
namespace {

// One record read: it ends the leaf (its fields reach past the block), or it carries a link or
// a volume, or neither (another kind, or a volume record without a usable name).
struct RecordResult {
    bool endsLeaf = false;
    std::optional<LeafRecord> record;
};

RecordResult ParseVolumeRecord(ByteView block, size_t offset) {
    using namespace leaf_record;
    const auto rawLength = le16(block, offset + kNameLengthOffset);
    if (!rawLength) return {true, std::nullopt};
    const int length = static_cast<int16_t>(*rawLength);
    if (length <= 0 || length > kMaxNameLength) return {false, std::nullopt};
    const size_t units = static_cast<size_t>(length);
    const auto root = le64(block, offset + kRootBlockBase + 2 * units);
    if (!root || !fits(block, offset + kNameOffset, 2 * units)) return {true, std::nullopt};
    return {false, LeafRecord{LeafRecord::Kind::Volume, *root,
                              lowBytesOfUtf16(block, offset + kNameOffset, units)}};
}

RecordResult ParseRecord(ByteView block, size_t offset) {
    using namespace leaf_record;
    const auto kind = le32(block, offset + kKindOffset);
    if (!kind) return {true, std::nullopt};
    if (*kind == kVolumeKind) return ParseVolumeRecord(block, offset);
    if (*kind != kLinkKind) return {};
    const auto link = le32(block, offset + kLinkBlockOffset);
    if (!link) return {true, std::nullopt};
    return {false, LeafRecord{LeafRecord::Kind::Link, *link, {}}};
}

}  // namespace

std::optional<PoolSuperblock> ParsePoolSuperblock(ByteView sector) {
    using namespace pool_superblock;
    const auto root = le64(sector, kRootBlockOffset);
    if (!root) return std::nullopt;
    return PoolSuperblock{bytesEqual(sector, 0, kMagic), *root};
}

NodeKind ParseNodeKind(ByteView block) {
    if (bytesEqual(block, 0, tree_node::kBranchMagic)) return NodeKind::Branch;
    if (bytesEqual(block, 0, tree_node::kLeafMagic)) return NodeKind::Leaf;
    return NodeKind::Other;
}

BranchNode ParseBranchNode(ByteView block) {
    using namespace tree_node;
    BranchNode node;
    for (size_t offset = kEntriesOffset; offset < kLastOffset; offset += kBranchEntrySize) {
        const auto child = le32(block, offset);
        if (!child || *child == 0) break;
        node.children.push_back(*child);
    }
    return node;
}

LeafNode ParseLeafNode(ByteView block) {
    using namespace tree_node;
    LeafNode node;
    size_t offset = le8(block, kLeafStyleOffset) == 'N' ? kEntriesOffset : kLeafLateRecordsOffset;
    for (;;) {
        const auto rawLength = le16(block, offset + leaf_record::kLengthOffset);
        if (!rawLength) break;
        const int length = static_cast<int16_t>(*rawLength);
        if (length <= 0) break;
        const size_t next = offset + static_cast<size_t>(length);
        if (next > kLastOffset) break;
        RecordResult result = ParseRecord(block, offset);
        if (result.endsLeaf) break;
        if (result.record) node.records.push_back(std::move(*result.record));
        offset = next;
    }
    return node;
}

}  // namespace lumbra
