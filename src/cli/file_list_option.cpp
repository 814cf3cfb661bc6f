#include "cli/file_list_option.h"

#include <fstream>
#include <iterator>

#include "cli/exit_codes.h"
#include "cli/terminal_text.h"

namespace lumbra::cli {

std::optional<FileListRead> ReadFileListOption(CliContext& context, const std::string& path, int& exitCode) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) {
        text.resize(kMaxFileListBytes + 1);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
    }
    if (!in && !in.eof()) {
        exitCode = context.fail(kExitEnvironment, "--from-list " + path + ": the file cannot be read");
        return std::nullopt;
    }
    FileListRead read = ReadFileList(text);
    if (!read.problem.empty()) {
        exitCode = context.fail(kExitBadInput, "--from-list " + path + ": " + read.problem);
        return std::nullopt;
    }
    return read;
}

void ListNotFound(CliContext& context, const std::vector<std::string>& notFound) {
    for (const std::string& path : notFound)
        context.err << "lumbra-nss-cli: not in the volume: " << TerminalText(path) << "\n";
    if (!notFound.empty()) context.err << "lumbra-nss-cli: " << notFound.size() << " file(s) of the list not found\n";
}

}  // namespace lumbra::cli
