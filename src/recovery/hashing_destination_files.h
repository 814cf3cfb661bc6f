#pragma once
// Destination files that take the SHA-256 digest of every byte written, for the recovery
// report. Wraps the real destination; everything else passes through.
#include <map>
#include <string>

#include "recovery/destination_files.h"

namespace lumbra {

class HashingDestinationFiles : public DestinationFiles {
public:
    explicit HashingDestinationFiles(DestinationFiles& inner) : inner_(inner) {}

    bool exists(const std::string& path) const override { return inner_.exists(path); }
    std::optional<std::string> inputAt(const std::string& path) const override { return inner_.inputAt(path); }
    std::optional<uint64_t> regularFileSize(const std::string& path) const override {
        return inner_.regularFileSize(path);
    }
    std::unique_ptr<DestinationFile> create(const std::string& path) override;
    std::unique_ptr<DestinationFile> createNew(const std::string& path) override;
    bool ensureFolder(const std::string& path) override { return inner_.ensureFolder(path); }
    bool setModificationTime(const std::string& path, int64_t seconds) override {
        return inner_.setModificationTime(path, seconds);
    }
    std::string lastFailure() const override { return inner_.lastFailure(); }

    // Lower-case hex digest of what the last file closed under this path holds; empty when none.
    std::string digestOf(const std::string& path) const;

private:
    friend class HashingFile;
    DestinationFiles& inner_;
    std::map<std::string, std::string> digests_;
};

}  // namespace lumbra
