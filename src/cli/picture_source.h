#pragma once
// What the map and which commands picture: a drive with its pools; with --pool the pool's
// superblock and object tree; with --volume (or --pool-based, or --snapshot) the mounted
// volume's B-tree blocks and files as well.
#include <memory>
#include <optional>

#include "cli/arguments.h"
#include "cli/cli_context.h"
#include "cli/recovery_source.h"
#include "picture/disk_facts.h"

namespace lumbra::cli {

struct PictureSource {
    std::unique_ptr<SectorReader> reader;  // the drive's, when no volume was mounted
    std::optional<RecoverySource> mounted;
    size_t driveRow = 0;
    PoolTable pools;
    std::optional<uint32_t> selectedPool;
    ObjectTree objectTree;
    std::vector<uint64_t> objectTreeBlocks;

    SectorReader& drive() { return mounted ? *mounted->reader : *reader; }
    // The facts of the picture; they refer to this source's records.
    DiskFacts facts();
};

// The source options of both commands, and their lines of help.
const std::vector<OptionSpec>& PictureSourceOptions();
extern const char* const kPictureSourceHelp;

// nullopt after a message; the exit code is then in exitCode.
std::optional<PictureSource> OpenPictureSource(CliContext& context, const ParsedArguments& arguments, int& exitCode);

}  // namespace lumbra::cli
