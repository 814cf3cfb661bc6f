#include "support/sha256.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace lumbra::test {

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
    if (!context_ || EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(context_);
        throw std::runtime_error("SHA-256 is not available");
    }
}

Sha256::~Sha256() { EVP_MD_CTX_free(context_); }

void Sha256::update(std::span<const uint8_t> bytes) {
    if (!bytes.empty()) EVP_DigestUpdate(context_, bytes.data(), bytes.size());
}

std::array<uint8_t, 32> Sha256::finish() {
    std::array<uint8_t, 32> digest{};
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_, digest.data(), &length);
    return digest;
}

std::string Sha256::hex(std::span<const uint8_t> bytes) {
    Sha256 sha;
    sha.update(bytes);
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : sha.finish()) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

}  // namespace lumbra::test
