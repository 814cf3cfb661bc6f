#pragma once
// What every command of lumbra-nss-cli works with: the global settings, the drive table of this
// run, and the output streams.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "disk/disk_access.h"
#include "recovery/run_inputs.h"

namespace lumbra::cli {

struct GlobalSettings {
    AccessMode accessMode = DefaultAccessMode();
    std::vector<std::string> images;
    bool listSystemDisks = true;
    uint32_t sectorsPerRead = DefaultSectorsPerRead(DefaultAccessMode());
    uint16_t badSectorRetries = 3;
};

class CliContext {
public:
    CliContext(GlobalSettings globalSettings, std::ostream& output, std::ostream& errors)
        : settings(std::move(globalSettings)), disk(settings.accessMode), out(output), err(errors) {}

    // Prints "lumbra-nss-cli: <message>" on the error stream and answers the exit code.
    int fail(int exitCode, const std::string& message);

    // The row named by --drive: a row number of the table, or a device or image path (added as
    // an image row unless a row already reads it). nullopt after a message when there is none.
    std::optional<size_t> resolveDrive(const ParsedArguments& arguments);

    // False after a message (exit code 2) when standard output is written onto an input of the run.
    bool outputOffInputs();

    GlobalSettings settings;
    // The program's name and arguments, as the recovery report records them.
    std::vector<std::string> commandLine;
    DiskAccess disk;
    // What this run reads (every drive row, the rescue maps, a loaded snapshot): no output
    // may be written over them.
    RunInputs inputs;
    std::ostream& out;
    std::ostream& err;
};

}  // namespace lumbra::cli
