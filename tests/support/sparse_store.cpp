#include "support/sparse_store.h"

#include <algorithm>
#include <cstring>

#include "disk/sector.h"

namespace lumbra::test {

void SparseStore::write(uint64_t offset, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const uint64_t at = offset + done;
        Chunk& chunk = chunks_[at / kChunk];
        const size_t within = at % kChunk;
        const size_t take = std::min(kChunk - within, bytes.size() - done);
        std::memcpy(chunk.bytes.data() + within, bytes.data() + done, take);
        for (size_t s = within / kSectorSize; s <= (within + take - 1) / kSectorSize; ++s)
            chunk.sectors = static_cast<uint8_t>(chunk.sectors | (1u << s));
        done += take;
    }
}

std::vector<uint8_t> SparseStore::readSector(uint64_t sector) const {
    std::vector<uint8_t> bytes(kSectorSize);
    overlay(sector * kSectorSize, bytes);
    return bytes;
}

void SparseStore::overlay(uint64_t offset, std::span<uint8_t> out) const {
    if (out.empty()) return;
    const uint64_t end = offset + out.size();
    for (auto it = chunks_.lower_bound(offset / kChunk); it != chunks_.end() && it->first * kChunk < end; ++it) {
        for (size_t s = 0; s < kChunk / kSectorSize; ++s) {
            if (!(it->second.sectors & (1u << s))) continue;
            const uint64_t from = std::max(offset, it->first * kChunk + s * kSectorSize);
            const uint64_t to = std::min(end, it->first * kChunk + (s + 1) * kSectorSize);
            if (from >= to) continue;
            std::memcpy(out.data() + (from - offset), it->second.bytes.data() + (from - it->first * kChunk), to - from);
        }
    }
}

std::vector<std::pair<uint64_t, uint64_t>> SparseStore::sectorRuns() const {
    std::vector<std::pair<uint64_t, uint64_t>> runs;
    for (const auto& [index, chunk] : chunks_) {
        for (uint64_t s = 0; s < kChunk / kSectorSize; ++s) {
            if (!(chunk.sectors & (1u << s))) continue;
            const uint64_t sector = index * (kChunk / kSectorSize) + s;
            if (!runs.empty() && runs.back().first + runs.back().second == sector)
                ++runs.back().second;
            else
                runs.emplace_back(sector, 1);
        }
    }
    return runs;
}

}  // namespace lumbra::test
