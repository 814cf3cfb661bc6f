#pragma once
// Destination files in memory, for tests that copy thousands of files.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "recovery/destination_files.h"

namespace lumbra::test {

// Destination files kept in memory: thousands of copies leave no trace on the disk.
class MemoryFiles : public DestinationFiles {
public:
    bool exists(const std::string& path) const override { return files.count(path) || folders.count(path); }
    std::unique_ptr<DestinationFile> create(const std::string& path) override {
        return std::make_unique<File>(files[path] = {});
    }
    bool ensureFolder(const std::string& path) override {
        folders.insert(path);
        return true;
    }

    std::map<std::string, std::vector<uint8_t>> files;
    std::set<std::string> folders;

private:
    class File : public DestinationFile {
    public:
        explicit File(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        bool write(const uint8_t* bytes, size_t length) override {
            bytes_.insert(bytes_.end(), bytes, bytes + length);
            return true;
        }
        bool close() override { return true; }
        void abandon() override { bytes_.clear(); }

    private:
        std::vector<uint8_t>& bytes_;
    };
};

}  // namespace lumbra::test
