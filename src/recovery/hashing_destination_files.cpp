#include "recovery/hashing_destination_files.h"

#include <openssl/evp.h>

namespace lumbra {

class HashingFile : public DestinationFile {
public:
    HashingFile(std::unique_ptr<DestinationFile> inner, HashingDestinationFiles& owner, std::string path)
        : inner_(std::move(inner)), owner_(owner), path_(std::move(path)), context_(EVP_MD_CTX_new()) {
        ok_ = context_ && EVP_DigestInit_ex(context_, EVP_sha256(), nullptr) == 1;
    }
    ~HashingFile() override { EVP_MD_CTX_free(context_); }
    HashingFile(const HashingFile&) = delete;
    HashingFile& operator=(const HashingFile&) = delete;

    bool write(const uint8_t* bytes, size_t length) override {
        if (!inner_->write(bytes, length)) return false;
        ok_ = ok_ && EVP_DigestUpdate(context_, bytes, length) == 1;
        return true;
    }

    bool close() override {
        const bool closed = inner_->close();
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        std::string hex;
        if (ok_ && EVP_DigestFinal_ex(context_, digest, &length) == 1) {
            static const char kDigits[] = "0123456789abcdef";
            for (unsigned int i = 0; i < length; ++i) {
                hex.push_back(kDigits[digest[i] >> 4]);
                hex.push_back(kDigits[digest[i] & 15]);
            }
        }
        owner_.digests_[path_] = closed ? hex : std::string();
        return closed;
    }

    void abandon() override {
        inner_->abandon();
        owner_.digests_.erase(path_);
    }

private:
    std::unique_ptr<DestinationFile> inner_;
    HashingDestinationFiles& owner_;
    std::string path_;
    EVP_MD_CTX* context_;
    bool ok_ = false;
};

std::unique_ptr<DestinationFile> HashingDestinationFiles::create(const std::string& path) {
    auto file = inner_.create(path);
    if (!file) return nullptr;
    digests_.erase(path);
    return std::make_unique<HashingFile>(std::move(file), *this, path);
}

std::unique_ptr<DestinationFile> HashingDestinationFiles::createNew(const std::string& path) {
    auto file = inner_.createNew(path);
    if (!file) return nullptr;
    digests_.erase(path);
    return std::make_unique<HashingFile>(std::move(file), *this, path);
}

std::string HashingDestinationFiles::digestOf(const std::string& path) const {
    auto it = digests_.find(path);
    return it == digests_.end() ? std::string() : it->second;
}

}  // namespace lumbra
