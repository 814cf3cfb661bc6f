#include <iomanip>

#include "discovery/partition_scan.h"
#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/metadata_warning.h"
#include "cli/pool_search.h"
#include "discovery/volume_discovery.h"
#include "cli/terminal_text.h"
#include "disk/text_encoding.h"

namespace lumbra::cli {

namespace {

void printJson(std::ostream& out, const ObjectTree& tree, const VolumeTable& volumes, uint64_t unreadableMetadata,
               PoolSizeSource sizeSource) {
    JsonWriter json(out);
    json.beginObject()
        .key("superblockSector").value(tree.superblockSector)
        .key("rootSector").value(tree.rootSector)
        .key("volumes").beginArray();
    for (uint32_t row = 0; row < volumes.count(); ++row) {
        json.beginObject()
            .key("row").value(row)
            .key("name").value(Latin1ToUtf8(volumes[row].name))
            .key("rootSector").value(volumes[row].rootSector)
            .endObject();
    }
    json.endArray()
        .key("poolSizeFrom").value(PoolSizeSourceText(sizeSource))
        .key("unreadableMetadataSectors").value(unreadableMetadata)
        .endObject()
        .finish();
}

void printTable(std::ostream& out, const VolumeTable& volumes, PoolSizeSource sizeSource) {
    out << "Row  Name                                              Root sector\n";
    for (uint32_t row = 0; row < volumes.count(); ++row)
        out << std::left << std::setw(5) << row << std::setw(50) << TerminalText(volumes[row].name)
            << volumes[row].rootSector << "\n";
    if (sizeSource != PoolSizeSource::PoolInformation)
        out << "Note: the pool's size could not be read; it was taken to "
            << (sizeSource == PoolSizeSource::PartitionEntry ? "fill its partition table entry" : "reach the disk's end")
            << ".\n";
}

int runVolumes(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "volumes takes no arguments: " + arguments.positional.front());
    const ScanOption scan = ReadScanOption(arguments);
    if (!scan.error.empty()) return context.fail(kExitBadInput, scan.error);
    const auto poolText = arguments.value("--pool");
    if (!poolText) return context.fail(kExitBadInput, "--pool ROW is required (see the pools command)");
    const auto poolRow = ParseUnsigned(*poolText, 0, kMaxPools - 1);
    if (!poolRow) return context.fail(kExitBadInput, "--pool takes a pool row from 0 to 49, not " + *poolText);
    auto row = context.resolveDrive(arguments);
    if (!row) return kExitBadInput;
    std::string why;
    auto reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) return context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);

    PoolTable pools;
    if (FindPools(*reader, scan.range, context.settings.sectorsPerRead, pools, context.err,
                  ScanReadAhead(context.disk.accessMode())) == ScanEnd::Stopped)
        return kExitInterrupted;
    const auto pool = SelectPool(pools, static_cast<uint32_t>(*poolRow));
    if (!pool) {
        // The pool may be missing because its headers could not be read.
        WarnUnreadableMetadata(context, *reader);
        return context.fail(kExitBadInput, "there is no pool row " + *poolText + ": the pools command lists " +
                                               std::to_string(pools.count()) + " pool(s) for this drive" +
                                               (scan.range ? " and range" : ""));
    }
    const RecoveryMode mode = arguments.has("--pool-based") ? RecoveryMode::PoolBased : RecoveryMode::VolumeBased;
    ObjectTree tree;
    VolumeTable volumes;
    BlockQueue queue;
    const MemoryFailure memory = DiscoverVolumes(*reader, *pool, mode, tree, volumes, queue);
    if (memory != MemoryFailure::None) return context.fail(kExitEnvironment, std::string(MemoryFailureText(memory)));
    WarnUnreadableMetadata(context, *reader, &*pool, mode == RecoveryMode::PoolBased);
    if (arguments.has("--json")) {
        printJson(context.out, tree, volumes, UnreadableMetadataSectors(*reader), pools[*poolRow].sizeSource);
    } else if (volumes.empty()) {
        context.out << "No volumes found in pool " << TerminalText(pool->name)
                    << ". Add --pool-based to recover from the whole pool.\n";
    } else {
        printTable(context.out, volumes, pools[*poolRow].sizeSource);
    }
    return kExitOk;
}

}  // namespace

Command VolumesCommand() {
    return {"volumes", "list the NSS volumes of a pool",
            "Usage: lumbra-nss-cli volumes --drive ROW|PATH --pool ROW [--pool-based] [--scan START END] [--json]\n"
            "Lists the volumes of pool ROW, as numbered by the pools command (with the same --scan when\n"
            "the pools were found by a scan): the volume records of the pool's object tree, or, with\n"
            "--pool-based, the pool itself as the one entry.\n"
            "  --json   print {\"superblockSector\",\"rootSector\",\"volumes\":[{\"row\",\"name\",\"rootSector\"}],\n"
            "           \"poolSizeFrom\",\"unreadableMetadataSectors\"}; poolSizeFrom: as pools gives it\n",
            {{"--drive", 1, false},
             {"--pool", 1, false},
             {"--pool-based", 0, false},
             {"--scan", 2, false},
             {"--json", 0, false}},
            runVolumes};
}

}  // namespace lumbra::cli
