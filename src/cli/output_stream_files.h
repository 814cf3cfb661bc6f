#pragma once
// The destination of `extract --out -`: the bytes of the one file written go to a stream
// (standard output), as a forensic tool hands a file's content to the next program.
#include <ostream>

#include "recovery/destination_files.h"

namespace lumbra::cli {

class OutputStreamFiles : public DestinationFiles {
public:
    explicit OutputStreamFiles(std::ostream& out) : out_(out) {}
    bool exists(const std::string&) const override { return false; }
    // Every file created writes to the stream; what was written cannot be taken back.
    std::unique_ptr<DestinationFile> create(const std::string& path) override;
    bool ensureFolder(const std::string&) override { return true; }

private:
    std::ostream& out_;
};

}  // namespace lumbra::cli
