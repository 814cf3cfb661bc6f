#include "cli/output_file.h"

#include <cerrno>
#include <cstring>

#include "cli/exit_codes.h"
#include "recovery/destination_files.h"

namespace lumbra::cli {

int WriteOutputFile(CliContext& context, const std::string& path, const std::string& text) {
    PosixDestinationFiles files(&context.inputs);
    if (const auto input = files.inputAt(path)) return context.fail(kExitBadInput, ReplacesInputText(path, *input));
    auto file = files.create(path);
    if (!file) return context.fail(kExitEnvironment, "cannot create " + path + ": " + files.lastFailure());
    errno = 0;
    if (!file->write(reinterpret_cast<const uint8_t*>(text.data()), text.size()) || !file->close())
        return context.fail(kExitEnvironment, "cannot write " + path + ": " +
                                                  (errno != 0 ? std::strerror(errno) : "the data could not all be stored"));
    return kExitOk;
}

}  // namespace lumbra::cli
