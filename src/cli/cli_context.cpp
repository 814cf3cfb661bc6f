#include "cli/cli_context.h"

#include <unistd.h>

#include <filesystem>

#include "cli/exit_codes.h"
#include "cli/terminal_text.h"
#include "disk/source_disk.h"

namespace lumbra::cli {

int CliContext::fail(int exitCode, const std::string& message) {
    err << "lumbra-nss-cli: " << TerminalUtf8(message) << "\n";
    return exitCode;
}

bool CliContext::outputOffInputs() {
    const auto input = inputs.inputOpenAs(STDOUT_FILENO);
    if (input) fail(kExitBadInput, ReplacesInputText("standard output", *input));
    return !input;
}

std::optional<size_t> CliContext::resolveDrive(const ParsedArguments& arguments) {
    const auto drive = arguments.value("--drive");
    if (!drive) {
        fail(kExitBadInput, "--drive ROW|PATH is required (see the drives command for the rows)");
        return std::nullopt;
    }
    if (auto row = ParseUnsigned(*drive, 0, UINT32_MAX)) {
        if (*row < disk.driveTable().count()) return static_cast<size_t>(*row);
        fail(kExitBadInput, "there is no drive row " + *drive + " (" + std::to_string(disk.driveTable().count()) +
                                " rows; see the drives command)");
        return std::nullopt;
    }
    std::error_code error;
    if (!std::filesystem::exists(*drive, error)) {
        fail(kExitBadInput, "no such drive or image file: " + *drive);
        return std::nullopt;
    }
    // Compared by what the paths name: the standard library does not compare block devices.
    const auto named = IdentifySource(*drive);
    const auto& rows = disk.driveTable().rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto row = rows[i].path.empty() ? std::nullopt : IdentifySource(rows[i].path);
        if (named && row && row->blockDevice == named->blockDevice && row->device == named->device &&
            row->inode == named->inode)
            return i;
    }
    if (settings.accessMode == AccessMode::F) {
        fail(kExitBadInput, "in the F access mode drives come from the BIOS disk libraries; give images with --image");
        return std::nullopt;
    }
    std::string why;
    auto row = disk.addImageRow(*drive, &why);
    if (!row) {
        fail(kExitBadInput, why.empty() ? "the drive table is full (32 rows)" : ImageOpenError(*drive, why));
        return std::nullopt;
    }
    inputs.add(*drive);
    if (!outputOffInputs()) return std::nullopt;
    return row;
}

}  // namespace lumbra::cli
