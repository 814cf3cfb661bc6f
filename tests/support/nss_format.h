#pragma once
// The builder's named offsets of the NSS on-disk structures. docs/format/ holds the tables they
// come from; the parsers keep their own constants next to their code.
#include <cstddef>
#include <cstdint>

namespace lumbra::test::format {

namespace mbr {
constexpr size_t kFirstEntry = 446;
constexpr size_t kEntrySize = 16;
constexpr size_t kEntryCount = 4;
constexpr size_t kBootFlag = 0;
constexpr size_t kType = 4;
constexpr size_t kFirstSector = 8;
constexpr size_t kSectorCount = 12;
constexpr size_t kSignature = 510;  // 0x55 at 510, 0xAA at 511
}  // namespace mbr

namespace header {  // sector P
constexpr size_t kKind = 0;         // 0x01
constexpr size_t kSignature = 1;    // "Nw_PaRtItIoN", 12 bytes
constexpr size_t kSignatureLength = 12;
constexpr size_t kValue = 16;       // 0x0169
constexpr uint16_t kValueExpected = 0x0169;
constexpr size_t kNext = 188;       // next header of the chain, 0 at the end
}  // namespace header

namespace descriptor {  // sector P + 5
constexpr uint32_t kSectorOffset = 5;
constexpr size_t kLetterG = 1;
constexpr size_t kLetterP = 5;
constexpr size_t kLetterN = 14;
constexpr size_t kSegmentCount = 20;
constexpr size_t kSegmentNumber = 32;
constexpr size_t kSegmentExtent = 36;
}  // namespace descriptor

namespace pool_info {  // sector P + 29
constexpr uint32_t kSectorOffset = 29;
constexpr size_t kPoolSize = 32;
constexpr size_t kName = 40;        // UTF-16LE
constexpr size_t kNameUnitsRead = 15;
constexpr size_t kNameUnitsWritten = 64;
}  // namespace pool_info

namespace marker {  // "HO" at one of P + 32, 64, 96, 128
constexpr uint32_t kPlaces[] = {32, 64, 96, 128};
constexpr size_t kValue = 24;       // data start, sectors from P; 0 means 32
constexpr uint32_t kDefaultDataOffset = 32;
}  // namespace marker

namespace superblock {  // pool block 1
constexpr uint64_t kBlock = 1;
constexpr size_t kRootBlock = 188;  // 64-bit
}  // namespace superblock

namespace node {  // every 4096-byte tree block
constexpr size_t kMagic = 0;
constexpr size_t kBranchEntries = 40;
constexpr size_t kBranchEntrySize = 12;
constexpr size_t kBranchEntriesMax = 338;  // entries start below 4095: 40 .. 4084
constexpr size_t kLeafStartByte = 42;      // 'N': records from 40, else from 56
constexpr size_t kRecordsAt40 = 40;
constexpr size_t kRecordsAt56 = 56;
constexpr size_t kLastRecordEnd = 4095;    // a record may end here, not later
}  // namespace node

namespace record {  // common to every leaf record
constexpr size_t kLength = 0;   // signed 16-bit
constexpr size_t kType = 4;     // 32-bit
constexpr uint32_t kTypeObject = 3;
constexpr uint32_t kTypeLink = 44;     // 0x2C
constexpr uint32_t kTypeVolume = 0x33;
constexpr size_t kLinkBlock = 212;     // link records: 32-bit block number
constexpr size_t kLinkLength = 216;
constexpr size_t kObjectKind = 18;     // object records: 8 folder, 24 file
constexpr uint8_t kKindFolder = 8;
constexpr uint8_t kKindFile = 24;
constexpr uint64_t kRootParent = 127;  // the parent number of the volume root
}  // namespace record

namespace volume_record {
constexpr size_t kNameLength = 124;   // signed 16-bit, UTF-16 units
constexpr size_t kName = 126;
constexpr size_t kRootAfterName = 262;  // 64-bit root block at 262 + 2L
}  // namespace volume_record

namespace file_record {
constexpr size_t kObjectId = 8;       // 64-bit
constexpr size_t kSize = 24;          // 64-bit
constexpr size_t kBlockCount = 88;    // 32-bit
constexpr size_t kFirstBlock = 92;    // 64-bit
constexpr size_t kParent = 128;       // 64-bit
constexpr size_t kNameLength = 140;   // 8-bit
constexpr size_t kName = 142;
constexpr size_t kTimeAfterName = 142 + 44;  // 32-bit at 186 + 2L
}  // namespace file_record

namespace folder_record {
constexpr size_t kObjectId = 8;       // 32-bit
constexpr size_t kExclusionChain = 108;
constexpr size_t kParent = 112;       // 32-bit
constexpr size_t kNameLength = 124;   // 8-bit
constexpr size_t kName = 126;
constexpr size_t kTimeAfterName = 126 + 44;  // 32-bit at 170 + 2L
constexpr uint8_t kExclusionStop = 2;        // the chain byte that ends the exclusion walk
constexpr size_t kExclusionValue = 20;       // 16-bit after that byte; 0xFFFF excludes
}  // namespace folder_record

constexpr uint32_t kLatestTime = 2100000000;  // stamps at or past this are refused

}  // namespace lumbra::test::format
