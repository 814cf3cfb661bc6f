#pragma once
// The files an extract could not create or write, on standard error: one line each, with the
// path and the system's reason, for the first few of each kind; then, at the end, one line
// that counts the rest of that kind, so that a read-only or full destination does not bury
// the summary under a line per file.
#include <cstdint>
#include <ostream>

#include "recovery/file_copy.h"

namespace lumbra::cli {

// Files of one kind told one by one before the rest are only counted.
constexpr uint32_t kFileErrorLinesShown = 3;

class FileErrorLines {
public:
    explicit FileErrorLines(std::ostream& err) : err_(err) {}
    void Report(const CopyError& error);
    // The count lines of the kinds with more errors than were shown.
    void Finish();

private:
    std::ostream& err_;
    uint32_t notCreated_ = 0;
    uint32_t notWritten_ = 0;
};

}  // namespace lumbra::cli
