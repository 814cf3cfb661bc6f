#pragma once
// extract --from-list FILE: the list read from its file, and the paths of it no file has.
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "recovery/file_list_import.h"

namespace lumbra::cli {

// The list in the file; nullopt after a message (exit code 1 when the file cannot be read, 2
// when it is no list).
std::optional<FileListRead> ReadFileListOption(CliContext& context, const std::string& path, int& exitCode);

// One line on stderr per path of the list that no file of the volume has.
void ListNotFound(CliContext& context, const std::vector<std::string>& notFound);

}  // namespace lumbra::cli
