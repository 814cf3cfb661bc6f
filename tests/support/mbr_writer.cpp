#include <algorithm>
#include <stdexcept>

#include "disk/byte_order.h"
#include "disk/sector.h"
#include "support/nss_format.h"
#include "support/partition_writer.h"

namespace lumbra::test {

namespace fmt = format;

void writeMbr(ImageData& image, const MbrPlan& mbr, const std::vector<ChainedHeader>& headers) {
    if (!mbr.present) return;
    std::vector<MbrEntry> entries = mbr.entries;
    if (entries.empty() && mbr.autoEntries)
        for (size_t i = 0; i < std::min<size_t>(headers.size(), fmt::mbr::kEntryCount); ++i)
            entries.push_back({.start = static_cast<uint32_t>(headers[i].sector), .count = static_cast<uint32_t>(headers[i].length)});
    if (entries.size() > fmt::mbr::kEntryCount) throw std::invalid_argument("more than four partition table entries");
    std::vector<uint8_t> sector(kSectorSize);
    for (size_t i = 0; i < entries.size(); ++i) {
        MbrEntry e = entries[i];
        if (e.countFromPartition) {
            auto it = std::find_if(headers.begin(), headers.end(), [&](const ChainedHeader& h) { return h.sector == e.start; });
            e.count = it == headers.end() ? 1 : static_cast<uint32_t>(it->length);
        }
        const size_t at = fmt::mbr::kFirstEntry + i * fmt::mbr::kEntrySize;
        sector[at + fmt::mbr::kBootFlag] = e.bootFlag;
        sector[at + fmt::mbr::kType] = e.type;
        putLe32(sector, at + fmt::mbr::kFirstSector, e.start);
        putLe32(sector, at + fmt::mbr::kSectorCount, e.count);
    }
    if (mbr.signature != MbrSignature::Missing) {
        sector[fmt::mbr::kSignature] = 0x55;
        sector[fmt::mbr::kSignature + 1] = mbr.signature == MbrSignature::Valid ? 0xAA : 0xAB;
    }
    image.store.write(0, sector);
}


}  // namespace lumbra::test
