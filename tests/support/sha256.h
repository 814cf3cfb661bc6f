#pragma once
// SHA-256, for manifests that let later tests compare extracted files without keeping them.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace lumbra::test {

class Sha256 {
public:
    Sha256();
    void update(std::span<const uint8_t> bytes);
    std::array<uint8_t, 32> finish();
    static std::string hex(std::span<const uint8_t> bytes);  // lower-case digest of bytes

private:
    void compress(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> pending_{};
    size_t pendingLength_ = 0;
    uint64_t totalLength_ = 0;
};

}  // namespace lumbra::test
