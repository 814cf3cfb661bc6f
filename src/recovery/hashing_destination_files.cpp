#include "recovery/hashing_destination_files.h"

#include "recovery/sha256_digest.h"

namespace lumbra {

class HashingFile : public DestinationFile {
public:
    HashingFile(std::unique_ptr<DestinationFile> inner, HashingDestinationFiles& owner, std::string path)
        : inner_(std::move(inner)), owner_(owner), path_(std::move(path)) {}

    bool write(const uint8_t* bytes, size_t length) override {
        if (!inner_->write(bytes, length)) return false;
        digest_.update({bytes, length});
        return true;
    }

    bool close() override {
        const bool closed = inner_->close();
        Sha256Value value;
        const bool digested = digest_.finish(value);
        owner_.digests_[path_] = closed && digested ? Sha256Digest::hex(value) : std::string();
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
    Sha256Digest digest_;
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
