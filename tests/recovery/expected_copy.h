#pragma once
// What the recovery of a built disk must give where some sectors cannot be read.
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "discovery/pool_table.h"
#include "disk/damage_map.h"
#include "disk/sector.h"
#include "disk/rescue_map.h"
#include "recovery/item_record.h"
#include "support/nss_image.h"

namespace lumbra::test {

// What a copy of a record's data must hold: the consecutive pool blocks from its first block as
// the healthy disk has them, zeros where the worn device never reads; and which bytes those are.
struct ExpectedCopy {
    std::vector<uint8_t> bytes;
    std::vector<ByteArea> unreadable;
    bool cutShort = false;  // the pool ends before the record's size
};

inline ExpectedCopy ExpectCopy(const NssImage& image, const BuiltPool& pool, const ItemRecord& record,
                        const std::function<bool(uint64_t)>& unreadable) {
    ExpectedCopy expected;
    const uint64_t size = static_cast<uint64_t>(record.size);
    for (uint64_t at = 0; at < size; at += kSectorSize) {
        const auto sector = pool.toDiskSector(record.firstBlock * kSectorsPerBlock + at / kSectorSize);
        if (!sector || (*sector + 1) * kSectorSize > image.sizeBytes()) {
            expected.cutShort = true;
            break;
        }
        const uint64_t length = std::min<uint64_t>(kSectorSize, size - at);
        std::vector<uint8_t> data = image.readSectors(*sector, 1);
        data.resize(length);
        if (unreadable(*sector)) {
            std::fill(data.begin(), data.end(), 0);
            ByteArea* last = expected.unreadable.empty() ? nullptr : &expected.unreadable.back();
            if (last && last->position + last->size == at) last->size += length;
            else expected.unreadable.push_back({at, length});
        }
        expected.bytes.insert(expected.bytes.end(), data.begin(), data.end());
    }
    return expected;
}

// The built pool as a pool table lists it, whole (every segment start as built).
inline std::optional<SelectedPool> BuiltPoolIn(const PoolTable& pools, const BuiltPool& built) {
    std::vector<uint32_t> builtStarts;
    for (const auto& segment : built.segments) builtStarts.push_back(static_cast<uint32_t>(segment.dataStart));
    for (uint32_t i = 0; i < pools.count(); ++i)
        if (pools[i].name == built.expectedName) {
            auto pool = SelectPool(pools, i);
            if (pool && pool->segmentStart == builtStarts) return pool;
        }
    return std::nullopt;
}

}  // namespace lumbra::test
