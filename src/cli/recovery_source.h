#pragma once
// The source of the recovery commands (list, find, extract, snapshot-save): a volume mounted
// from --drive ROW --pool ROW --volume ROW [--pool-based] [--scan START END], or the state a
// snapshot restores with --snapshot FILE, whose drive row refers to this run's drive table.
#include <memory>
#include <optional>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "disk/sector_reader.h"
#include "snapshot/snapshot_reader.h"

namespace lumbra::cli {

struct RecoverySource {
    std::unique_ptr<SectorReader> reader;
    // The state and records; after a mount, what a snapshot of it holds.
    LoadedSnapshot loaded;
    // Ctrl-C stopped the mount: the records are what it found until then, not the volume.
    bool mountStopped = false;
    // After a mount (not kept in snapshots): the drive's pools, and the disk sectors of the
    // B-tree blocks read, the object tree's by volume discovery and the volume's by the mount.
    PoolTable pools;
    std::vector<uint64_t> objectTreeBlocks;
    std::vector<uint64_t> volumeTreeBlocks;
};

// The options every recovery command takes, and their lines of help.
const std::vector<OptionSpec>& RecoverySourceOptions();
extern const char* const kRecoverySourceHelp;

// Mounts (with a progress line on stderr) or loads the source, and warns when sectors of
// on-disk structures could not be read. nullopt after a message, or when Ctrl-C stopped the
// pool scan before the mount; the exit code is then in exitCode.
std::optional<RecoverySource> OpenRecoverySource(CliContext& context, const ParsedArguments& arguments, int& exitCode);

}  // namespace lumbra::cli
