#include "discovery/partition_header.h"

namespace lumbra {

std::optional<PartitionHeader> ParsePartitionHeader(ByteView sector) {
    using namespace partition_header;
    const auto next = le32(sector, kNextOffset);
    if (le8(sector, kKindOffset) != kKind || !next) return std::nullopt;
    return PartitionHeader{le16(sector, kSignatureOffset) == kSignature, *next};
}

bool HasPartitionSignature(ByteView sector) {
    using namespace partition_header;
    return le8(sector, kKindOffset) == kKind && bytesEqual(sector, kNameOffset, kName) &&
           le16(sector, kSignatureOffset) == kSignature;
}

std::optional<SegmentDescriptor> ParseSegmentDescriptor(ByteView sector) {
    using namespace segment_descriptor;
    if (le8(sector, kLetterG) != 'G' || le8(sector, kLetterP) != 'P' ||
        le8(sector, kLetterN) != 'N')
        return std::nullopt;
    const auto total = le32(sector, kSegmentTotalOffset);
    const auto number = le32(sector, kSegmentNumberOffset);
    const auto extent = le32(sector, kSegmentExtentOffset);
    if (!total || !number || !extent) return std::nullopt;
    return SegmentDescriptor{*total, *number, *extent};
}

std::optional<PoolInformation> ParsePoolInformation(ByteView sector) {
    using namespace pool_information;
    const auto size = le32(sector, kPoolSizeOffset);
    if (!size || !fits(sector, kNameOffset, 2 * kNameUnits)) return std::nullopt;
    return PoolInformation{*size, lowBytesOfUtf16(sector, kNameOffset, kNameUnits)};
}

std::optional<uint32_t> ParseDataStartMarker(ByteView sector) {
    using namespace data_start_marker;
    const auto distance = le16(sector, kDistanceOffset);
    if (!bytesEqual(sector, 0, kMagic) || !distance) return std::nullopt;
    return *distance == 0 ? kDefaultDistance : uint32_t{*distance};
}

}  // namespace lumbra
