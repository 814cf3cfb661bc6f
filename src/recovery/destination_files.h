#pragma once
// Where recovered files are written: the destination folder the user chose, or the temporary
// folder of Open. Behind an interface so that tests can make writes fail as a full disk does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "recovery/run_inputs.h"

namespace lumbra {

// One file being written. Every call answers false on any failure (a full disk included).
// A file that replaces an earlier one takes its place only when close succeeds; until then, and
// after any failure, the earlier file stays as it was.
class DestinationFile {
public:
    virtual ~DestinationFile() = default;
    virtual bool write(const uint8_t* bytes, size_t length) = 0;
    // Ends the file and puts it in place; false when the data could not all be stored, and
    // then nothing of it is left.
    virtual bool close() = 0;
    // Drops what was written, leaving an earlier file of the name as it was.
    virtual void abandon() = 0;
};

class DestinationFiles {
public:
    virtual ~DestinationFiles() = default;
    // True when anything (a file, a folder, a link) has this name.
    virtual bool exists(const std::string& path) const = 0;
    // The size of the regular file (not a link) of this name; nullopt for anything else.
    virtual std::optional<uint64_t> regularFileSize(const std::string& /*path*/) const { return std::nullopt; }
    // The file the run reads that a write to path would replace; nullopt when none.
    virtual std::optional<std::string> inputAt(const std::string& /*path*/) const { return std::nullopt; }
    // Creates the file, or a replacement for an existing regular one; never follows a symbolic
    // link and never replaces an input of the run. nullptr when it cannot be (errno then says
    // why, where the system knows).
    virtual std::unique_ptr<DestinationFile> create(const std::string& path) = 0;
    // Creates a file where nothing has the name yet; nullptr (errno EEXIST) when anything does.
    virtual std::unique_ptr<DestinationFile> createNew(const std::string& path);
    // Makes sure a real folder (not a symbolic link) has this name, creating it when nothing
    // does; false otherwise.
    virtual bool ensureFolder(const std::string& path) = 0;
    // Sets a written file's modification time (seconds since 1970 UTC); false when it cannot.
    virtual bool setModificationTime(const std::string& /*path*/, int64_t /*seconds*/) { return false; }
    // Why the last create or ensureFolder that failed did (the system's words); empty when
    // nothing is known.
    virtual std::string lastFailure() const { return {}; }
};

// The local file system, guarding the inputs of the run (none when inputs is null).
class PosixDestinationFiles : public DestinationFiles {
public:
    // New files get `mode` (less the umask); 0600 keeps the copies of Open to their user.
    explicit PosixDestinationFiles(const RunInputs* inputs = nullptr, unsigned mode = 0666)
        : inputs_(inputs), mode_(mode) {}
    std::optional<std::string> inputAt(const std::string& path) const override;
    std::optional<uint64_t> regularFileSize(const std::string& path) const override;
    bool exists(const std::string& path) const override;
    std::unique_ptr<DestinationFile> create(const std::string& path) override;
    std::unique_ptr<DestinationFile> createNew(const std::string& path) override;
    bool ensureFolder(const std::string& path) override;
    bool setModificationTime(const std::string& path, int64_t seconds) override;
    std::string lastFailure() const override { return lastFailure_; }

private:
    // Notes the reason errno gives; always false, for the callers' returns.
    bool Failed();

    const RunInputs* inputs_;
    unsigned mode_;
    std::string lastFailure_;
};

// Creates and removes a file in the folder, as a run's first file would be: nullopt when that
// works, else the reason it does not.
std::optional<std::string> DestinationWriteProblem(DestinationFiles& files, const std::string& folder);

}  // namespace lumbra
