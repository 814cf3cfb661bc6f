#pragma once
// A command of lumbra-nss-cli: its name, its help, its own options and what it does. Each
// command lives in a file of its own and is listed once in the command table.
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_context.h"

namespace lumbra::cli {

struct Command {
    std::string name;
    std::string summary;  // one line for the program's help
    std::string help;     // the command's own help, usage first
    std::vector<OptionSpec> options;
    int (*run)(CliContext& context, const ParsedArguments& arguments);
};

const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::string& name);

// The options every command takes.
const std::vector<OptionSpec>& GlobalOptions();

Command DrivesCommand();
Command ReadCommand();
Command PoolsCommand();
Command VolumesCommand();
Command ListCommand();
Command FindFilesCommand();
Command ExtractCommand();
Command SnapshotSaveCommand();
Command SnapshotShowCommand();
Command MatchCommand();
Command MapCommand();
Command WhichCommand();
Command PlanCommand();

}  // namespace lumbra::cli
