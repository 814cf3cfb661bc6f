#include "cli/command.h"

namespace lumbra::cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        DrivesCommand(),
        ReadCommand(),
        PoolsCommand(),
        VolumesCommand(),
        ListCommand(),
        FindFilesCommand(),
        ExtractCommand(),
        SnapshotSaveCommand(),
        SnapshotShowCommand(),
        MatchCommand(),
        MapCommand(),
        WhichCommand(),
        PlanCommand(),
    };
    return commands;
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : AllCommands())
        if (command.name == name) return &command;
    return nullptr;
}

const std::vector<OptionSpec>& GlobalOptions() {
    static const std::vector<OptionSpec> options = {
        {"--image", 1, true},         {"--mapfile", 1, true},         {"--no-drives", 0, false}, {"--access-mode", 1, false},
        {"--sectors-per-read", 1, false}, {"--retries", 1, false},
    };
    return options;
}

}  // namespace lumbra::cli
