#include "cli/file_error_lines.h"

#include "recovery/report_text.h"

namespace lumbra::cli {

void FileErrorLines::Report(const CopyError& error) {
    const bool created = error.outcome == CopyOutcome::CreationFailed;
    uint32_t& count = created ? notCreated_ : notWritten_;
    if (++count > kFileErrorLinesShown) return;
    err_ << "lumbra-nss-cli: cannot " << (created ? "create " : "write ") << FileSystemText(error.path) << ": "
         << (error.reason.empty() ? "no reason given" : error.reason) << "\n";
}

void FileErrorLines::Finish() {
    if (notCreated_ > kFileErrorLinesShown)
        err_ << "lumbra-nss-cli: " << notCreated_ - kFileErrorLinesShown << " more file(s) could not be created\n";
    if (notWritten_ > kFileErrorLinesShown)
        err_ << "lumbra-nss-cli: " << notWritten_ - kFileErrorLinesShown << " more file(s) could not be written\n";
}

}  // namespace lumbra::cli
