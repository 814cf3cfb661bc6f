#pragma once
// SHA-256 over bytes given piece by piece (libcrypto's). Used for the report's file digests and
// for the snapshot's record of the tree blocks it was read from.
#include <array>
#include <cstdint>
#include <span>
#include <string>

struct evp_md_ctx_st;

namespace lumbra {

using Sha256Value = std::array<uint8_t, 32>;

class Sha256Digest {
public:
    Sha256Digest();
    ~Sha256Digest();
    Sha256Digest(const Sha256Digest&) = delete;
    Sha256Digest& operator=(const Sha256Digest&) = delete;

    void update(std::span<const uint8_t> bytes);
    // False when libcrypto could not give the digest; `value` is then all zeros.
    bool finish(Sha256Value& value);

    static Sha256Value of(std::span<const uint8_t> bytes);
    static std::string hex(std::span<const uint8_t> digest);  // lower-case hex digits

private:
    evp_md_ctx_st* context_;
    bool ok_ = false;
};

}  // namespace lumbra
