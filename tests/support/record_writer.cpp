#include "support/record_writer.h"

#include <algorithm>

#include "disk/byte_order.h"
#include "support/nss_format.h"
#include "support/utf16_names.h"

namespace lumbra::test {

namespace fmt = format;

namespace {

constexpr size_t kMaxNameUnits = 255;

size_t roundUp8(size_t n) { return (n + 7) / 8 * 8; }

std::u16string recordName(std::string_view utf8Name) {
    std::u16string units = utf16FromUtf8(utf8Name);
    if (units.size() > kMaxNameUnits) units.resize(kMaxNameUnits);
    return units;
}

void putName(std::span<uint8_t> block, size_t at, std::u16string_view units) {
    for (size_t i = 0; i < units.size(); ++i) putLe16(block, at + 2 * i, units[i]);
}

// Where the exclusion chain of an excluded folder ends: just past the time stamp, so that the
// name stays whole. Longer names fall back to a chain that ends inside the name.
size_t exclusionStop(size_t units) { return fmt::folder_record::kTimeAfterName + 4 + 2 * units; }
bool exclusionFitsAfterName(size_t units) { return (exclusionStop(units) - 110) / 2 <= 255; }

void writeExclusionChain(std::span<uint8_t> block, size_t at, size_t units) {
    namespace fr = fmt::folder_record;
    size_t stop = 116;
    if (exclusionFitsAfterName(units)) stop = exclusionStop(units);
    block[at + fr::kExclusionChain] = static_cast<uint8_t>((stop - fr::kExclusionChain - 2) / 2);
    block[at + stop] = fr::kExclusionStop;
    putLe16(block, at + stop + fr::kExclusionValue, 0xFFFF);
}

void applyTweaks(std::span<uint8_t> block, size_t at, const RecordTweaks* tweaks) {
    if (!tweaks) return;
    if (tweaks->typeField) putLe32(block, at + fmt::record::kType, *tweaks->typeField);
    if (tweaks->kindField) block[at + fmt::record::kObjectKind] = *tweaks->kindField;
    for (const ByteEdit& edit : tweaks->edits)
        for (size_t i = 0; i < edit.bytes.size() && at + edit.offset + i < block.size(); ++i)
            block[at + edit.offset + i] = edit.bytes[i];
}

uint64_t parentField(uint64_t parent, const RecordTweaks* tweaks) {
    if (tweaks && tweaks->parentField) return *tweaks->parentField;
    return parent == 0 ? fmt::record::kRootParent : parent;
}

size_t folderLength(size_t units, bool excluded) {
    size_t end = fmt::folder_record::kTimeAfterName + 2 * units + 4;
    if (excluded && exclusionFitsAfterName(units)) end = exclusionStop(units) + fmt::folder_record::kExclusionValue + 2;
    return roundUp8(end);
}

size_t fileLength(size_t units) { return roundUp8(fmt::file_record::kTimeAfterName + 2 * units + 4); }

}  // namespace

size_t recordNameUnits(std::string_view utf8Name) { return recordName(utf8Name).size(); }

size_t folderRecordLength(const BuiltFolder& folder) { return folderLength(recordNameUnits(folder.name), folder.excluded); }

size_t fileRecordLength(const BuiltFile& file) { return fileLength(recordNameUnits(file.name)); }

size_t volumeRecordLength(const BuiltVolume& volume) {
    return roundUp8(fmt::volume_record::kRootAfterName + 2 * utf16FromUtf8(volume.name).size() + 8);
}

size_t linkRecordLength() { return fmt::record::kLinkLength; }

size_t writeFolderRecord(std::span<uint8_t> block, size_t at, const BuiltFolder& folder) {
    namespace fr = fmt::folder_record;
    const std::u16string units = recordName(folder.name);
    const RecordTweaks* tweaks = folder.tweaks.get();
    const size_t length = folderLength(units.size(), folder.excluded);
    putLe16(block, at + fmt::record::kLength, static_cast<uint16_t>(length));
    putLe32(block, at + fmt::record::kType, fmt::record::kTypeObject);
    putLe32(block, at + fr::kObjectId, static_cast<uint32_t>(folder.id));
    block[at + fmt::record::kObjectKind] = fmt::record::kKindFolder;
    putLe32(block, at + fr::kParent, static_cast<uint32_t>(parentField(folder.parent, tweaks)));
    const uint8_t lengthField = tweaks && tweaks->nameLengthField ? *tweaks->nameLengthField
                                                                  : static_cast<uint8_t>(units.size());
    block[at + fr::kNameLength] = lengthField;
    putName(block, at + fr::kName, units);
    putLe32(block, at + fr::kTimeAfterName + 2 * units.size(), folder.time);
    if (folder.excluded) writeExclusionChain(block, at, units.size());
    applyTweaks(block, at, tweaks);
    return length;
}

size_t writeFileRecord(std::span<uint8_t> block, size_t at, const BuiltFile& file) {
    namespace fr = fmt::file_record;
    const std::u16string units = recordName(file.name);
    const RecordTweaks* tweaks = file.tweaks.get();
    const size_t length = fileLength(units.size());
    putLe16(block, at + fmt::record::kLength, static_cast<uint16_t>(length));
    putLe32(block, at + fmt::record::kType, fmt::record::kTypeObject);
    putLe64(block, at + fr::kObjectId, file.id);
    block[at + fmt::record::kObjectKind] = fmt::record::kKindFile;
    putLe64(block, at + fr::kSize, file.size);
    putLe32(block, at + fr::kBlockCount,
            tweaks && tweaks->blockCountField ? *tweaks->blockCountField : file.blockCount);
    putLe64(block, at + fr::kFirstBlock,
            tweaks && tweaks->firstBlockField ? *tweaks->firstBlockField : file.firstBlock);
    putLe64(block, at + fr::kParent, parentField(file.parent, tweaks));
    block[at + fr::kNameLength] = tweaks && tweaks->nameLengthField ? *tweaks->nameLengthField
                                                                    : static_cast<uint8_t>(units.size());
    putName(block, at + fr::kName, units);
    putLe32(block, at + fr::kTimeAfterName + 2 * units.size(), file.time);
    applyTweaks(block, at, tweaks);
    return length;
}

void writeVolumeRecord(std::span<uint8_t> block, size_t at, const BuiltVolume& volume,
                       int16_t nameLengthField, uint64_t rootBlock) {
    namespace vr = fmt::volume_record;
    const std::u16string units = utf16FromUtf8(volume.name);
    putLe16(block, at + fmt::record::kLength, static_cast<uint16_t>(volumeRecordLength(volume)));
    putLe32(block, at + fmt::record::kType, fmt::record::kTypeVolume);
    putLe16(block, at + vr::kNameLength, static_cast<uint16_t>(nameLengthField));
    putName(block, at + vr::kName, units);
    putLe64(block, at + vr::kRootAfterName + 2 * units.size(), rootBlock);
}

void writeLinkRecord(std::span<uint8_t> block, size_t at, uint64_t targetBlock) {
    putLe16(block, at + fmt::record::kLength, static_cast<uint16_t>(linkRecordLength()));
    putLe32(block, at + fmt::record::kType, fmt::record::kTypeLink);
    putLe32(block, at + fmt::record::kLinkBlock, static_cast<uint32_t>(targetBlock));
}

}  // namespace lumbra::test
