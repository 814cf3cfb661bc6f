#pragma once
// The sectors at the start of a NetWare partition: the header that links the partitions of a
// disk into a chain, the segment descriptor, the pool information and the data-start marker.
// All offsets are fixed by the on-disk format; sector numbers are absolute drive sectors.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "disk/byte_order.h"

namespace lumbra {

// Sector P, the first sector of a partition.
struct PartitionHeader {
    bool signatureOk = false;  // 0x0169 at offset 16; a header without it is passed over
    uint32_t nextHeader = 0;   // sector of the next header of the chain, 0 at the end
};

namespace partition_header {
constexpr uint8_t kKind = 0x01;
constexpr size_t kKindOffset = 0;
constexpr size_t kNameOffset = 1;
constexpr std::string_view kName = "Nw_PaRtItIoN";
constexpr size_t kSignatureOffset = 16;
constexpr uint16_t kSignature = 0x0169;
constexpr size_t kNextOffset = 188;
}  // namespace partition_header

// The header of one sector; nullopt when byte 0 is not 0x01 (the chain ends there).
std::optional<PartitionHeader> ParsePartitionHeader(ByteView sector);

// The test of the sector scan: byte 0 first, then the name and the 0x0169 signature.
bool HasPartitionSignature(ByteView sector);

// Sector P + 5: present only in the partitions of a segmented pool.
struct SegmentDescriptor {
    uint32_t segmentTotal = 0;    // segments of the pool
    uint32_t segmentNumber = 0;   // this partition's place in its pool, from 0
    uint32_t segmentExtent = 0;   // length of this segment in sectors
};

namespace segment_descriptor {
constexpr uint32_t kSectorOffset = 5;  // from P
constexpr size_t kLetterG = 1;
constexpr size_t kLetterP = 5;
constexpr size_t kLetterN = 14;
constexpr size_t kSegmentTotalOffset = 20;
constexpr size_t kSegmentNumberOffset = 32;
constexpr size_t kSegmentExtentOffset = 36;
}  // namespace segment_descriptor

// nullopt when the letters G, P, N are not in place: the partition holds a pool on its own.
std::optional<SegmentDescriptor> ParseSegmentDescriptor(ByteView sector);

// Sector P + 29.
struct PoolInformation {
    uint32_t poolSize = 0;  // in sectors
    std::string name;       // low bytes of up to 15 UTF-16 units, up to the first 0 low byte
};

namespace pool_information {
constexpr uint32_t kSectorOffset = 29;  // from P
constexpr size_t kPoolSizeOffset = 32;
constexpr size_t kNameOffset = 40;
constexpr size_t kNameUnits = 15;
}  // namespace pool_information

std::optional<PoolInformation> ParsePoolInformation(ByteView sector);

// One of the sectors P + 32, P + 64, P + 96, P + 128: "HO" and the distance from P to the
// first sector of the segment's data.
namespace data_start_marker {
constexpr uint32_t kFirstSectorOffset = 32;  // from P, then every 32 sectors
constexpr uint32_t kSectorStep = 32;
constexpr int kCandidates = 4;
constexpr std::string_view kMagic = "HO";
constexpr size_t kDistanceOffset = 24;
constexpr uint32_t kDefaultDistance = 32;
}  // namespace data_start_marker

// The distance the marker gives (0 means the default of 32); nullopt when the sector is not
// a marker.
std::optional<uint32_t> ParseDataStartMarker(ByteView sector);

}  // namespace lumbra
