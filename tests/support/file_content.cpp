#include "support/file_content.h"

#include <algorithm>
#include <cstring>

namespace lumbra::test {

namespace {

uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

// Each 8-byte word of a file is one hash of (seed, file, word number), so any range can be
// produced without the bytes before it.
void fillFileContent(uint64_t seed, uint64_t fileId, uint64_t offset, std::span<uint8_t> out) {
    const uint64_t key = mix(seed ^ mix(fileId));
    const auto wordBytes = [&](uint64_t wordIndex, uint8_t* bytes) {
        const uint64_t word = mix(key ^ wordIndex);
        for (size_t i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(word >> (8 * i));
    };
    size_t done = 0;
    while (done < out.size()) {
        const uint64_t position = offset + done;
        if (position % 8 == 0 && out.size() - done >= 8) {
            wordBytes(position / 8, out.data() + done);
            done += 8;
            continue;
        }
        uint8_t bytes[8];
        wordBytes(position / 8, bytes);
        const size_t from = position % 8;
        const size_t take = std::min<size_t>(8 - from, out.size() - done);
        std::memcpy(out.data() + done, bytes + from, take);
        done += take;
    }
}

std::vector<uint8_t> fileContent(uint64_t seed, uint64_t fileId, uint64_t size) {
    std::vector<uint8_t> bytes(size);
    fillFileContent(seed, fileId, 0, bytes);
    return bytes;
}

}  // namespace lumbra::test
