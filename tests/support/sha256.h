#pragma once
// SHA-256, for manifests that let later tests compare extracted files without keeping them.
// The digest is libcrypto's.
#include <array>
#include <cstdint>
#include <span>
#include <string>

struct evp_md_ctx_st;

namespace lumbra::test {

class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(std::span<const uint8_t> bytes);
    std::array<uint8_t, 32> finish();
    static std::string hex(std::span<const uint8_t> bytes);  // lower-case digest of bytes

private:
    evp_md_ctx_st* context_;
};

}  // namespace lumbra::test
