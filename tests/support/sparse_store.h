#pragma once
// Written sectors of an image, kept in 4096-byte chunks with a mask of the sectors written, so
// that an image of several GiB costs only what was written.
#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace lumbra::test {

class SparseStore {
public:
    void write(uint64_t offset, std::span<const uint8_t> bytes);
    std::vector<uint8_t> readSector(uint64_t sector) const;  // zeros where nothing was written
    // Copies the written sectors that meet [offset, offset + out.size()) into out, leaving the
    // other bytes as they are.
    void overlay(uint64_t offset, std::span<uint8_t> out) const;
    // Written sectors as (first sector, count) runs, in order.
    std::vector<std::pair<uint64_t, uint64_t>> sectorRuns() const;

private:
    static constexpr size_t kChunk = 4096;
    struct Chunk {
        std::array<uint8_t, kChunk> bytes{};
        uint8_t sectors = 0;  // bit i: sector i of the chunk was written
    };
    std::map<uint64_t, Chunk> chunks_;
};

}  // namespace lumbra::test
