#include "cli/recovery_source.h"

#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/json_writer.h"
#include "cli/metadata_warning.h"
#include "cli/pool_end_warning.h"
#include "cli/pool_search.h"
#include "cli/progress_line.h"
#include "cli/snapshot_file.h"
#include "discovery/volume_discovery.h"
#include "disk/text_encoding.h"
#include "snapshot/snapshot_disk_check.h"
#include "snapshot/snapshot_drive_search.h"
#include "snapshot/snapshot_tree_sample.h"
#include "recovery/volume_mount.h"

namespace lumbra::cli {
namespace {

// The mount's progress as a redrawn line on stderr.
class MountProgress : public NoMountEvents {
public:
    void progress(uint32_t percent) override { line_.update(percent, 100); }

private:
    ProgressLine line_{"%"};
};

// The snapshot's disk: its drive row (or the one --drive names) when that disk passes the
// snapshot's check; without --drive, else the one other row whose disk does. nullopt after a
// message.
std::optional<SnapshotDriveFit> SnapshotDisk(CliContext& context, const ParsedArguments& arguments,
                                             const std::string& path, const SnapshotState& state, int& exitCode) {
    const size_t row = state.selectedDrive;
    const size_t rows = context.disk.driveTable().count();
    const bool named = arguments.has("--drive");
    if (row < rows) {
        std::string why;
        auto reader = context.disk.OpenDrive(row, context.settings.badSectorRetries, &why);
        if (!why.empty()) {
            exitCode = context.fail(kExitEnvironment, "cannot open drive " + std::to_string(row) + ": " + why);
            return std::nullopt;
        }
        SnapshotDiskCheck check = CheckSnapshotDisk(*reader, state);
        if (check.fits) return SnapshotDriveFit{row, std::move(reader), std::move(check)};
    }
    auto fits = named ? std::vector<SnapshotDriveFit>{}
                      : FindSnapshotDisk(context.disk, state, context.settings.badSectorRetries,
                                         row < rows ? std::optional<size_t>(row) : std::nullopt);
    if (fits.size() == 1) {
        context.err << "lumbra-nss-cli: snapshot " << path << " was made from drive row " << row << "; its disk is drive "
                    << fits[0].row << " (" << context.disk.driveTable().rows[fits[0].row].path
                    << ") in this run, which is read instead\n";
        return std::move(fits[0]);
    }
    if (fits.size() > 1) {
        std::string list;
        for (const SnapshotDriveFit& fit : fits)
            list += (list.empty() ? "" : ", ") + std::to_string(fit.row) + " (" +
                    context.disk.driveTable().rows[fit.row].path + ")";
        exitCode = context.fail(kExitBadInput, "snapshot " + path + " fits drives " + list + "; name one with --drive");
    } else if (row >= rows) {
        exitCode = context.fail(kExitBadInput, "the snapshot reads drive row " + std::to_string(row) +
                                                   ", but this run's drive table has " + std::to_string(rows) +
                                                   " row(s); give the disk with --image");
    } else {
        exitCode = context.fail(kExitBadInput,
                                SnapshotFromAnotherDiskText(path, row, context.disk.driveTable().rows[row].path));
    }
    return std::nullopt;
}

// The snapshot's records are used only once its disk is found.
std::optional<RecoverySource> LoadSource(CliContext& context, const ParsedArguments& arguments, const std::string& typed,
                                         int& exitCode) {
    auto snapshot = LoadNamedSnapshot(context, typed, arguments.has("--json"), exitCode);
    if (!snapshot) return std::nullopt;
    const std::string& path = snapshot->path;
    context.inputs.add(path);
    if (!context.outputOffInputs()) {
        exitCode = kExitBadInput;
        return std::nullopt;
    }
    RecoverySource source;
    source.loaded = std::move(snapshot->loaded);
    SnapshotState& state = source.loaded.state;
    if (arguments.has("--drive")) {
        const auto named = context.resolveDrive(arguments);
        if (!named) {
            exitCode = kExitBadInput;
            return std::nullopt;
        }
        state.selectedDrive = static_cast<uint16_t>(*named);
    }
    auto disk = SnapshotDisk(context, arguments, path, state, exitCode);
    if (!disk) return std::nullopt;
    state.selectedDrive = static_cast<uint16_t>(disk->row);
    source.reader = std::move(disk->reader);
    const std::string& drivePath = context.disk.driveTable().rows[disk->row].path;
    context.inputs.readDisk(drivePath);
    for (const std::string& line : SnapshotCheckWarnings(disk->check, path, disk->row, drivePath))
        context.err << "lumbra-nss-cli: warning: " << line << "\n";
    if (state.partial)
        context.err << "lumbra-nss-cli: warning: snapshot " << path
                    << " is partial: the mount it was saved from was stopped before it ended\n";
    WarnPoolPastDiskEnd(context, *source.reader, state.pool);
    return source;
}

std::optional<uint64_t> RowOption(CliContext& context, const ParsedArguments& arguments, const std::string& name,
                                  uint64_t limit, std::optional<uint64_t> fallback, int& exitCode) {
    const auto text = arguments.value(name);
    if (!text && fallback) return fallback;
    if (!text) {
        exitCode = context.fail(kExitBadInput, name + " ROW is required");
        return std::nullopt;
    }
    auto row = ParseUnsigned(*text, 0, limit);
    if (!row) exitCode = context.fail(kExitBadInput, name + " takes a row from 0 to " + std::to_string(limit) + ", not " + *text);
    return row;
}

std::optional<RecoverySource> MountSource(CliContext& context, const ParsedArguments& arguments, int& exitCode) {
    const ScanOption scan = ReadScanOption(arguments);
    if (!scan.error.empty()) {
        exitCode = context.fail(kExitBadInput, scan.error);
        return std::nullopt;
    }
    const bool poolBased = arguments.has("--pool-based");
    const auto poolRow = RowOption(context, arguments, "--pool", kMaxPools - 1, std::nullopt, exitCode);
    if (!poolRow) return std::nullopt;
    const auto volumeRow = RowOption(context, arguments, "--volume", kMaxVolumes - 1,
                                     poolBased ? std::optional<uint64_t>(0) : std::nullopt, exitCode);
    if (!volumeRow) return std::nullopt;
    const auto driveRow = context.resolveDrive(arguments);
    if (!driveRow) {
        exitCode = kExitBadInput;
        return std::nullopt;
    }
    RecoverySource source;
    std::string why;
    context.inputs.readDisk(context.disk.driveTable().rows[*driveRow].path);
    source.reader = context.disk.OpenDrive(*driveRow, context.settings.badSectorRetries, &why);
    if (!why.empty()) {
        exitCode = context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*driveRow) + ": " + why);
        return std::nullopt;
    }
    PoolTable pools;
    if (FindPools(*source.reader, scan.range, context.settings.sectorsPerRead, pools, context.err,
                  ScanReadAhead(context.disk.accessMode())) == ScanEnd::Stopped) {
        exitCode = kExitInterrupted;
        return std::nullopt;
    }
    const auto pool = SelectPool(pools, static_cast<uint32_t>(*poolRow));
    if (!pool) {
        // The pool may be missing because its headers could not be read.
        WarnUnreadableMetadata(context, *source.reader);
        exitCode = context.fail(kExitBadInput, "there is no pool row " + std::to_string(*poolRow) + " (" +
                                                   std::to_string(pools.count()) + " pool(s); see the pools command)");
        return std::nullopt;
    }
    SnapshotState& state = source.loaded.state;
    state.selectedDrive = static_cast<uint16_t>(*driveRow);
    state.pool = *pool;
    state.selectedPool = static_cast<uint16_t>(*poolRow);
    state.selectedVolume = static_cast<uint32_t>(*volumeRow);
    WarnPoolPastDiskEnd(context, *source.reader, state.pool);
    BlockQueue queue;
    const RecoveryMode mode = poolBased ? RecoveryMode::PoolBased : RecoveryMode::VolumeBased;
    const MemoryFailure memory = DiscoverVolumes(*source.reader, state.pool, mode, state.objectTree, state.volumes, queue);
    if (memory != MemoryFailure::None) {
        exitCode = context.fail(kExitEnvironment, std::string(MemoryFailureText(memory)));
        return std::nullopt;
    }
    for (size_t i = 0; i < queue.size(); ++i) source.objectTreeBlocks.push_back(queue[i]);
    if (*volumeRow >= state.volumes.count()) {
        WarnUnreadableMetadata(context, *source.reader, &state.pool, poolBased);
        exitCode = context.fail(kExitBadInput, "there is no volume row " + std::to_string(*volumeRow) + " (" +
                                                   std::to_string(state.volumes.count()) +
                                                   " volume(s); see the volumes command)");
        return std::nullopt;
    }
    MountProgress progress;
    std::atomic<int32_t> stopRequested{0};
    const WorkerStop ctrlC(stopRequested);
    MountContext mount{*source.reader, state.pool, queue, source.loaded.records, progress, stopRequested};
    const MountOutcome outcome = MountVolume(mount, {static_cast<uint16_t>(mode), state.volumes[*volumeRow].rootSector});
    if (outcome.memoryFailure != MemoryFailure::None) {
        exitCode = context.fail(kExitEnvironment, std::string(MemoryFailureText(outcome.memoryFailure)));
        return std::nullopt;
    }
    source.mountStopped = outcome.stopped;
    state.partial = outcome.stopped;
    for (size_t i = 0; i < queue.size(); ++i) source.volumeTreeBlocks.push_back(queue[i]);
    state.treeSample =
        SampleTreeBlocks(*source.reader, state.pool, state.volumes[*volumeRow].rootSector, source.volumeTreeBlocks);
    source.pools = std::move(pools);
    return source;
}

}  // namespace

const std::vector<OptionSpec>& RecoverySourceOptions() {
    static const std::vector<OptionSpec> options = {
        {"--drive", 1, false},      {"--pool", 1, false},     {"--volume", 1, false}, {"--pool-based", 0, false},
        {"--scan", 2, false},       {"--snapshot", 1, false}, {"--json", 0, false},
    };
    return options;
}

const char* const kRecoverySourceHelp =
    "Source: --drive ROW|PATH --pool ROW --volume ROW [--pool-based] [--scan START END]\n"
    "  mounts volume ROW of pool ROW (rows as the pools and volumes commands number them; with\n"
    "  --pool-based the whole pool is read and --volume defaults to 0), or\n"
    "  --snapshot FILE [--drive ROW|PATH] loads a recovery snapshot instead; its drive row is a\n"
    "  row of this run's drive table, or the one --drive names. The disk there must carry the\n"
    "  snapshot's pool, volume and tree, or nothing is listed or copied and the exit code is 2;\n"
    "  without --drive, the one other row whose disk does is read instead (disks that need\n"
    "  administrator rights are not searched). FILE may be typed as it was given to\n"
    "  snapshot-save (see snapshot-show).\n";

std::optional<RecoverySource> OpenRecoverySource(CliContext& context, const ParsedArguments& arguments, int& exitCode) {
    if (auto path = arguments.value("--snapshot")) {
        for (const char* option : {"--pool", "--volume", "--pool-based", "--scan"}) {
            if (arguments.has(option)) {
                exitCode = context.fail(kExitBadInput, std::string("--snapshot cannot be combined with ") + option);
                return std::nullopt;
            }
        }
        auto source = LoadSource(context, arguments, *path, exitCode);
        if (source) WarnUnreadableMetadata(context, *source->reader, &source->loaded.state.pool);
        return source;
    }
    auto source = MountSource(context, arguments, exitCode);
    if (source)
        WarnUnreadableMetadata(context, *source->reader, &source->loaded.state.pool, arguments.has("--pool-based"));
    return source;
}

}  // namespace lumbra::cli
