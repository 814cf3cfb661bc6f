#pragma once
// A file a command writes whole (a picture, a rescue plan): never over one of the run's inputs,
// and only whole.
#include <string>

#include "cli/cli_context.h"

namespace lumbra::cli {

// The exit code: 0 when written, 2 when the path is an input of the run, 1 when the file
// cannot be created or written (after a message).
int WriteOutputFile(CliContext& context, const std::string& path, const std::string& text);

}  // namespace lumbra::cli
