#include "recovery/sha256_digest.h"

#include <openssl/evp.h>

namespace lumbra {

Sha256Digest::Sha256Digest() : context_(EVP_MD_CTX_new()) {
    ok_ = context_ && EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) == 1;
}

Sha256Digest::~Sha256Digest() { EVP_MD_CTX_free(context_); }

void Sha256Digest::update(std::span<const uint8_t> bytes) {
    if (!bytes.empty()) ok_ = ok_ && EVP_DigestUpdate(context_, bytes.data(), bytes.size()) == 1;
}

bool Sha256Digest::finish(Sha256Value& value) {
    value.fill(0);
    unsigned int length = 0;
    ok_ = ok_ && EVP_DigestFinal_ex(context_, value.data(), &length) == 1 && length == value.size();
    if (!ok_) value.fill(0);
    return ok_;
}

Sha256Value Sha256Digest::of(std::span<const uint8_t> bytes) {
    Sha256Digest digest;
    digest.update(bytes);
    Sha256Value value;
    digest.finish(value);
    return value;
}

std::string Sha256Digest::hex(std::span<const uint8_t> digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t byte : digest) {
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 15]);
    }
    return out;
}

}  // namespace lumbra
