#pragma once
// Where recovered files are written: the destination folder the user chose, or the temporary
// folder of Open. Behind an interface so that tests can make writes fail as a full disk does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lumbra {

// One file being written. Every call answers false on any failure (a full disk included).
class DestinationFile {
public:
    virtual ~DestinationFile() = default;
    virtual bool write(const uint8_t* bytes, size_t length) = 0;
    // Ends the file; false when the last data could not be stored.
    virtual bool close() = 0;
};

class DestinationFiles {
public:
    virtual ~DestinationFiles() = default;
    // True when anything (a file, a folder, a link) has this name.
    virtual bool exists(const std::string& path) const = 0;
    // Creates the file, or truncates an existing regular one; never follows a symbolic link.
    // nullptr when it cannot be.
    virtual std::unique_ptr<DestinationFile> create(const std::string& path) = 0;
    // Removes a file this program created; false when it cannot be.
    virtual bool remove(const std::string& path) = 0;
    // Makes sure a real folder (not a symbolic link) has this name, creating it when nothing
    // does; false otherwise.
    virtual bool ensureFolder(const std::string& path) = 0;
    // Sets a written file's modification time (seconds since 1970 UTC); false when it cannot.
    virtual bool setModificationTime(const std::string& /*path*/, int64_t /*seconds*/) { return false; }
};

// The local file system.
class PosixDestinationFiles : public DestinationFiles {
public:
    bool exists(const std::string& path) const override;
    std::unique_ptr<DestinationFile> create(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool ensureFolder(const std::string& path) override;
    bool setModificationTime(const std::string& path, int64_t seconds) override;
};

}  // namespace lumbra
