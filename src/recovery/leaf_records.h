#pragma once
// The folder and file object records of an NSS B-tree leaf block, field by field. Offsets are
// counted from the start of the record; docs/format/leaf_records.md describes the layout.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "disk/byte_order.h"

namespace lumbra {

// The block layout and the fields common to every leaf record (length, type, link target) are
// those of the object tree (discovery/object_tree.h); these are the object records' own.
namespace object_record {
constexpr uint32_t kObjectType = 3;     // at leaf_record::kKindOffset
constexpr size_t kKindOffset = 18;      // 8 folder, 24 file
constexpr uint8_t kFolderKind = 8;
constexpr uint8_t kFileKind = 24;
// The stored parent number of the volume root.
constexpr uint64_t kRootParent = 127;
// The time stamp follows the name after this many bytes.
constexpr size_t kNameToTimeStamp = 44;
}  // namespace object_record

namespace file_record {
constexpr size_t kObjectIdOffset = 8;     // 64-bit
constexpr size_t kSizeOffset = 24;        // 64-bit, signed
constexpr size_t kBlockCountOffset = 88;  // 32-bit
constexpr size_t kFirstBlockOffset = 92;  // 64-bit
constexpr size_t kParentOffset = 128;     // 64-bit
constexpr size_t kNameLengthOffset = 140; // 8-bit, UTF-16 units
constexpr size_t kNameOffset = 142;
}  // namespace file_record

namespace folder_record {
constexpr size_t kObjectIdOffset = 8;     // 32 bits used
constexpr size_t kChainOffset = 108;      // start of the chain of the exclusion test
constexpr size_t kParentOffset = 112;     // 32-bit
constexpr size_t kNameLengthOffset = 124; // 8-bit, UTF-16 units
constexpr size_t kNameOffset = 126;
constexpr uint32_t kNoObject = 0xFFFFFFFF;
}  // namespace folder_record

struct FileObject {
    uint64_t objectId = 0;
    int64_t size = 0;
    uint32_t blockCount = 0;
    uint64_t firstBlock = 0;
    uint64_t parentId = 0;     // as stored: 127 is the root
    uint8_t nameLength = 0;    // UTF-16 units
    std::string name;          // low bytes, up to the first zero low byte
    uint32_t timeStamp = 0;
    std::string fullName;      // UTF-8 up to the first zero unit, when it differs (ItemRecord)
};

struct FolderObject {
    uint32_t objectId = 0;
    uint32_t parentId = 0;     // as stored: 127 is the root
    uint8_t nameLength = 0;
    std::string name;
    uint32_t timeStamp = 0;
    std::string fullName;
};

// The fields of the file record at `record`; nullopt when any of them lies past the block.
std::optional<FileObject> ReadFileObject(ByteView block, size_t record);
// The fields of the folder record at `record`; nullopt when any of them lies past the block.
std::optional<FolderObject> ReadFolderObject(ByteView block, size_t record);

// True when the record describes a folder the mount leaves out: the chain of length-prefixed
// entries from record offset 108 reaches an entry of kind 2 whose 16-bit value 20 bytes on is
// 0xFFFF. A chain or value that runs past the block answers false.
bool FolderExcluded(ByteView block, size_t record);

// The size rule of a file record read from disk: blockCount whole 4096-byte blocks hold
// exactly `size` bytes, rounded up. A negative size holds nothing sensible and fails.
bool BlockCountFitsSize(int64_t size, uint32_t blockCount);

}  // namespace lumbra
