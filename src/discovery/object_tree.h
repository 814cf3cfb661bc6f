#pragma once
// The pool superblock and the nodes of the pool's object tree, as far as volumes go. Block
// numbers are pool block numbers; offsets are fixed by the on-disk format.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "disk/byte_order.h"

namespace lumbra {

// Pool block 1, read as one sector.
struct PoolSuperblock {
    bool magicOk = false;     // "SPB" at offset 0
    uint64_t rootBlock = 0;   // root node of the pool's object tree
};

namespace pool_superblock {
constexpr uint32_t kSectorOffset = 8;  // from the data start of segment 0
constexpr std::string_view kMagic = "SPB";
constexpr size_t kRootBlockOffset = 188;
}  // namespace pool_superblock

std::optional<PoolSuperblock> ParsePoolSuperblock(ByteView sector);

enum class NodeKind { Branch, Leaf, Other };

namespace tree_node {
constexpr std::string_view kBranchMagic = "BRCH";
constexpr std::string_view kLeafMagic = "LEAF";
constexpr size_t kEntriesOffset = 40;
// The last offset at which a branch entry or a leaf record may begin or a leaf record end.
constexpr size_t kLastOffset = 4095;
constexpr size_t kBranchEntrySize = 12;
constexpr size_t kLeafStyleOffset = 42;     // 'N': records start at 40, else at 56
constexpr size_t kLeafLateRecordsOffset = 56;
}  // namespace tree_node

NodeKind ParseNodeKind(ByteView block);

// The child block numbers of a branch node, up to the first zero entry.
struct BranchNode {
    std::vector<uint32_t> children;
};

BranchNode ParseBranchNode(ByteView block);

namespace leaf_record {
constexpr size_t kLengthOffset = 0;     // signed; 0 or less ends the records
constexpr size_t kKindOffset = 4;
constexpr uint32_t kLinkKind = 0x2C;
constexpr size_t kLinkBlockOffset = 212;
constexpr uint32_t kVolumeKind = 0x33;
constexpr size_t kNameLengthOffset = 124;  // UTF-16 units, signed
constexpr size_t kNameOffset = 126;
constexpr size_t kRootBlockBase = 262;     // + 2 * name length
constexpr int kMaxNameLength = 48;
}  // namespace leaf_record

// One record of a leaf that matters for volumes.
struct LeafRecord {
    enum class Kind { Link, Volume } kind = Kind::Link;
    uint64_t block = 0;    // the node to visit, or the volume's root block
    std::string name;      // volumes: low bytes of the UTF-16 name
};

// The link and volume records of a leaf node in order. Volume records whose name length is 0,
// negative or above 48 carry no volume and are left out. A record whose length is 0 or less,
// whose end passes offset 4095, or whose fields would reach past the block ends the leaf.
struct LeafNode {
    std::vector<LeafRecord> records;
};

LeafNode ParseLeafNode(ByteView block);

}  // namespace lumbra
