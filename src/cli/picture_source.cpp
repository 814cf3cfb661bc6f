#include "cli/picture_source.h"

#include "cli/exit_codes.h"
#include "cli/pool_search.h"
#include "discovery/volume_discovery.h"
#include "picture/header_areas.h"

namespace lumbra::cli {
namespace {

// The drive and its pools, and the selected pool's volume discovery, without a mount.
std::optional<PictureSource> DiscoverSource(CliContext& context, const ParsedArguments& arguments, int& exitCode) {
    const ScanOption scan = ReadScanOption(arguments);
    if (!scan.error.empty()) {
        exitCode = context.fail(kExitBadInput, scan.error);
        return std::nullopt;
    }
    std::optional<uint64_t> poolRow;
    if (const auto text = arguments.value("--pool")) {
        poolRow = ParseUnsigned(*text, 0, kMaxPools - 1);
        if (!poolRow) {
            exitCode = context.fail(kExitBadInput, "--pool takes a pool row from 0 to 49, not " + *text);
            return std::nullopt;
        }
    }
    const auto row = context.resolveDrive(arguments);
    if (!row) {
        exitCode = kExitBadInput;
        return std::nullopt;
    }
    PictureSource source;
    source.driveRow = *row;
    std::string why;
    context.inputs.readDisk(context.disk.driveTable().rows[*row].path);
    source.reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) {
        exitCode = context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);
        return std::nullopt;
    }
    if (FindPools(*source.reader, scan.range, context.settings.sectorsPerRead, source.pools, context.err,
                  ScanReadAhead(context.disk.accessMode())) == ScanEnd::Stopped) {
        exitCode = kExitInterrupted;
        return std::nullopt;
    }
    if (!poolRow) return source;
    const auto pool = SelectPool(source.pools, static_cast<uint32_t>(*poolRow));
    if (!pool) {
        exitCode = context.fail(kExitBadInput, "there is no pool row " + std::to_string(*poolRow) + " (" +
                                                   std::to_string(source.pools.count()) + " pool(s); see the pools command)");
        return std::nullopt;
    }
    source.selectedPool = static_cast<uint32_t>(*poolRow);
    VolumeTable volumes;
    BlockQueue queue;
    const MemoryFailure memory =
        DiscoverVolumes(*source.reader, *pool, RecoveryMode::VolumeBased, source.objectTree, volumes, queue);
    if (memory != MemoryFailure::None) {
        exitCode = context.fail(kExitEnvironment, std::string(MemoryFailureText(memory)));
        return std::nullopt;
    }
    for (size_t i = 0; i < queue.size(); ++i) source.objectTreeBlocks.push_back(queue[i]);
    return source;
}

}  // namespace

const std::vector<OptionSpec>& PictureSourceOptions() { return RecoverySourceOptions(); }

const char* const kPictureSourceHelp =
    "Source: --drive ROW|PATH [--scan START END] pictures the drive and its pools; with --pool ROW\n"
    "  also the pool's superblock and object tree; with --volume ROW (or --pool-based) the volume\n"
    "  is mounted and its B-tree blocks and files are pictured too; --snapshot FILE [--drive ROW|PATH]\n"
    "  takes the pool and files from a recovery snapshot instead. Damage comes from the reads of\n"
    "  this run and from a --mapfile given after the --image.\n";

std::optional<PictureSource> OpenPictureSource(CliContext& context, const ParsedArguments& arguments, int& exitCode) {
    const bool mounts = arguments.has("--volume") || arguments.has("--pool-based") || arguments.has("--snapshot");
    if (!mounts) return DiscoverSource(context, arguments, exitCode);
    auto mounted = OpenRecoverySource(context, arguments, exitCode);
    if (!mounted) return std::nullopt;
    PictureSource source;
    const SnapshotState& state = mounted->loaded.state;
    if (mounted->pools.empty()) {
        // A snapshot keeps its pool only: it is the one pool pictured.
        PoolEntry pool{0, state.pool.name, state.pool.poolSize, state.pool.segmentCount, state.pool.segmentStart,
                       state.pool.segmentExtent};
        source.pools.add(std::move(pool));
        source.selectedPool = 0;
    } else {
        source.pools = mounted->pools;
        source.selectedPool = state.selectedPool;
    }
    source.objectTree = state.objectTree;
    source.driveRow = state.selectedDrive;
    source.objectTreeBlocks = mounted->objectTreeBlocks;
    source.mounted = std::move(mounted);
    return source;
}

DiskFacts PictureSource::facts() {
    DiskFacts facts;
    SectorReader& disk = drive();
    facts.partitionTable = !PartitionTableStarts(disk).empty();
    for (uint32_t row = 0; row < pools.count(); ++row) facts.pools.push_back(*SelectPool(pools, row));
    facts.headerAreas = DiskHeaderAreas(disk, facts.pools);
    facts.selectedPool = selectedPool;
    if (selectedPool) {
        if (objectTree.superblockSector != 0) facts.superblockSector = objectTree.superblockSector;
        facts.objectTreeBlocks = objectTreeBlocks;
        if (objectTree.rootSector != 0 && objectTreeBlocks.empty()) facts.objectTreeBlocks.push_back(objectTree.rootSector);
    }
    if (mounted) {
        const SnapshotState& state = mounted->loaded.state;
        if (state.selectedVolume < state.volumes.count()) facts.volumeRoot = state.volumes[state.selectedVolume].rootSector;
        facts.volumeTreeBlocks = mounted->volumeTreeBlocks;
        facts.tree = &mounted->loaded.records;
    }
    facts.damage = disk.damageMap();
    facts.coverage = disk.readCoverage();
    uint64_t end = 0;
    for (const SelectedPool& pool : facts.pools)
        for (const SectorRange& area : PoolAreas(pool)) end = std::max(end, area.end());
    facts.diskSectors = disk.sectorCount().value_or(end);
    return facts;
}

}  // namespace lumbra::cli
