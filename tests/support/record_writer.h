#pragma once
// Leaf records as the builder writes them: folder and file object records, volume records and
// link records. Each writer puts one record at `at` in a 4096-byte block; the length functions
// say how many bytes it takes, so trees can be packed before anything is written.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "support/nss_image.h"

namespace lumbra::test {

size_t folderRecordLength(const BuiltFolder& folder);
size_t fileRecordLength(const BuiltFile& file);
size_t volumeRecordLength(const BuiltVolume& volume);
size_t linkRecordLength();

// Both return the record's length.
size_t writeFolderRecord(std::span<uint8_t> block, size_t at, const BuiltFolder& folder);
size_t writeFileRecord(std::span<uint8_t> block, size_t at, const BuiltFile& file);
// `nameLengthField` is written at offset 124 as given; the name itself is written in full.
void writeVolumeRecord(std::span<uint8_t> block, size_t at, const BuiltVolume& volume,
                       int16_t nameLengthField, uint64_t rootBlock);
void writeLinkRecord(std::span<uint8_t> block, size_t at, uint64_t targetBlock);

// Units of a name as written in a folder or file record (at most 255).
size_t recordNameUnits(std::string_view utf8Name);

}  // namespace lumbra::test
