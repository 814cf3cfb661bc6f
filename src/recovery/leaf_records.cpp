#include "recovery/leaf_records.h"

#include "discovery/object_tree.h"

#include "disk/sector.h"
#include "disk/text_encoding.h"

namespace lumbra {
namespace {

// A name of `units` UTF-16 units kept as 8-bit text; a unit whose low byte is 0 ends it.
// nullopt when the units lie past the block.
std::optional<std::string> LowByteName(ByteView block, size_t offset, size_t units) {
    if (!fits(block, offset, 2 * units)) return std::nullopt;
    std::string name;
    name.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        uint8_t low = block[offset + 2 * i];
        if (low == 0) break;
        name.push_back(static_cast<char>(low));
    }
    return name;
}

// The same units in full as UTF-8, up to a unit of 0; empty when that reads the same as the
// 8-bit name taken as Latin-1, as it does for every name without characters beyond Latin-1.
std::string FullNameBeyondLatin1(ByteView block, size_t offset, size_t units, std::string_view name8Bit) {
    std::u16string full;
    bool beyondLatin1 = false;
    for (size_t i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(block[offset + 2 * i] | (block[offset + 2 * i + 1] << 8));
        if (unit == 0) break;
        beyondLatin1 = beyondLatin1 || unit > 0xFF;
        full.push_back(unit);
    }
    if (!beyondLatin1) return {};
    std::string utf8 = Utf16ToUtf8(full);
    return utf8 == Latin1ToUtf8(name8Bit) ? std::string() : utf8;
}

// Name length, name and the time stamp after it, shared by both object kinds.
struct NamedStamp {
    uint8_t nameLength = 0;
    std::string name;
    std::string fullName;
    uint32_t timeStamp = 0;
};

std::optional<NamedStamp> ReadNameAndStamp(ByteView block, size_t lengthAt, size_t nameAt) {
    auto length = le8(block, lengthAt);
    if (!length) return std::nullopt;
    auto name = LowByteName(block, nameAt, *length);
    auto stamp = le32(block, nameAt + 2 * size_t{*length} + object_record::kNameToTimeStamp);
    if (!name || !stamp) return std::nullopt;
    std::string fullName = FullNameBeyondLatin1(block, nameAt, *length, *name);
    return NamedStamp{*length, std::move(*name), std::move(fullName), *stamp};
}

}  // namespace

std::optional<FileObject> ReadFileObject(ByteView block, size_t record) {
    using namespace file_record;
    auto objectId = le64(block, record + kObjectIdOffset);
    auto size = le64(block, record + kSizeOffset);
    auto blockCount = le32(block, record + kBlockCountOffset);
    auto firstBlock = le64(block, record + kFirstBlockOffset);
    auto parent = le64(block, record + kParentOffset);
    auto named = ReadNameAndStamp(block, record + kNameLengthOffset, record + kNameOffset);
    if (!objectId || !size || !blockCount || !firstBlock || !parent || !named) return std::nullopt;
    return FileObject{*objectId, static_cast<int64_t>(*size), *blockCount, *firstBlock, *parent,
                      named->nameLength, std::move(named->name), named->timeStamp, std::move(named->fullName)};
}

std::optional<FolderObject> ReadFolderObject(ByteView block, size_t record) {
    using namespace folder_record;
    auto objectId = le32(block, record + kObjectIdOffset);
    auto parent = le32(block, record + kParentOffset);
    auto named = ReadNameAndStamp(block, record + kNameLengthOffset, record + kNameOffset);
    if (!objectId || !parent || !named) return std::nullopt;
    return FolderObject{*objectId, *parent, named->nameLength, std::move(named->name),
                        named->timeStamp, std::move(named->fullName)};
}

bool FolderExcluded(ByteView block, size_t record) {
    constexpr size_t kLast = tree_node::kLastOffset;
    size_t p = record + folder_record::kChainOffset;
    // Every entry moves p on by at least 4 bytes, so the chain ends within the block.
    while (true) {
        if (p > kLast) return false;
        auto units = le8(block, p);
        if (!units || *units == 0) return false;
        p += 2 * size_t{*units} + 2;
        if (p > kLast) return false;
        auto kind = le8(block, p);
        if (!kind) return false;
        if (*kind == 2) {
            auto value = le16(block, p + 20);
            return value && *value == 0xFFFF;
        }
    }
}

bool BlockCountFitsSize(int64_t size, uint32_t blockCount) {
    if (size < 0) return false;
    uint64_t bytes = static_cast<uint64_t>(size);
    uint64_t needed = bytes / kBlockSize + (bytes % kBlockSize != 0 ? 1 : 0);
    return needed == blockCount;
}

}  // namespace lumbra
