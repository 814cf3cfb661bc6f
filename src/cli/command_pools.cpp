#include <iomanip>

#include "discovery/partition_scan.h"
#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/json_writer.h"
#include "cli/metadata_warning.h"
#include "cli/pool_end_warning.h"
#include "cli/pool_search.h"
#include "cli/scan_resume_option.h"
#include "cli/terminal_text.h"
#include "disk/text_encoding.h"

namespace lumbra::cli {

namespace {

void printJson(std::ostream& out, const PoolTable& pools, uint64_t unreadableMetadata, bool complete) {
    JsonWriter json(out);
    json.beginObject().key("pools").beginArray();
    for (uint32_t row = 0; row < pools.count(); ++row) {
        const PoolEntry& pool = pools[row];
        json.beginObject()
            .key("row").value(row)
            .key("name").value(Latin1ToUtf8(pool.name))
            .key("poolSize").value(pool.poolSize)
            .key("poolSizeFrom").value(PoolSizeSourceText(pool.sizeSource))
            .key("segmentCount").value(pool.segmentCount)
            .key("segments").beginArray();
        for (size_t i = 0; i < pool.segmentStart.size(); ++i)
            json.beginObject()
                .key("start").value(pool.segmentStart[i])
                .key("extent").value(SegmentLength(pool.segmentCount, pool.poolSize, pool.segmentExtent[i]))
                .endObject();
        json.endArray().endObject();
    }
    json.endArray()
        .key("unreadableMetadataSectors").value(unreadableMetadata)
        .key("complete").value(complete)
        .endObject()
        .finish();
}

void printTable(std::ostream& out, const PoolTable& pools) {
    out << "Row  Name             Pool Size     Segments  Segment starts\n";
    for (uint32_t row = 0; row < pools.count(); ++row) {
        const PoolEntry& pool = pools[row];
        std::string starts;
        for (uint32_t start : pool.segmentStart) {
            if (!starts.empty()) starts += ' ';
            starts += std::to_string(start);
        }
        out << std::left << std::setw(5) << row << std::setw(17) << TerminalText(pool.name) << std::setw(14)
            << pool.poolSize << std::setw(10) << pool.segmentCount << starts << "\n";
    }
}

int runPools(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "pools takes no arguments: " + arguments.positional.front());
    const ScanOption scan = ReadScanOption(arguments);
    if (!scan.error.empty()) return context.fail(kExitBadInput, scan.error);
    auto row = context.resolveDrive(arguments);
    if (!row) return kExitBadInput;
    std::string why;
    auto reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) return context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);

    if (arguments.has("--resume") && !scan.range) return context.fail(kExitBadInput, "--resume goes with --scan START END");
    PoolTable pools;
    const ScanStateStore store(ScanStateStore::DefaultFolder());
    const auto recording =
        scan.range ? PrepareScanRecording(context, store, context.disk.driveTable().rows[*row].path, *scan.range,
                                          arguments.has("--resume"))
                   : std::nullopt;
    const ScanEnd end = FindPools(*reader, scan.range, context.settings.sectorsPerRead, pools, context.err,
                                  ScanReadAhead(context.disk.accessMode()), recording ? &*recording : nullptr);
    if (end == ScanEnd::Stopped && recording && !recording->driveIdentity.empty())
        context.err << "lumbra-nss-cli: the scan's place is kept; pools --scan " << scan.range->startSector << " "
                    << scan.range->endSector << " --resume goes on from there\n";
    WarnUnreadableMetadata(context, *reader);
    for (uint32_t pool = 0; pool < pools.count(); ++pool) WarnPoolPastDiskEnd(context, *reader, *SelectPool(pools, pool));
    if (arguments.has("--json")) {
        printJson(context.out, pools, UnreadableMetadataSectors(*reader), end != ScanEnd::Stopped);
    } else if (pools.empty()) {
        context.out << (scan.range ? "No NSS pool found in the scanned range. Scan a wider range with --scan START END.\n"
                                   : "No NSS pool found through the partition table. Search the disk for partitions "
                                     "with --scan START END.\n");
    } else {
        printTable(context.out, pools);
    }
    return kExitOk;
}

}  // namespace

Command PoolsCommand() {
    return {"pools", "list the NSS pools of a drive, from its partition table or a scan",
            "Usage: lumbra-nss-cli pools --drive ROW|PATH [--scan START END [--resume]] [--json]\n"
            "Lists the NSS pools found through the partition table of the drive, or, with --scan, by\n"
            "searching sectors START up to END (END not included) for NetWare partitions, in runs of\n"
            "--sectors-per-read sectors. Rows are numbered from 0; volumes takes the row with --pool.\n"
            "  --scan START END   unsigned 32-bit sector numbers (decimal, 0x..., or a byte position\n"
            "                     ending in b), END greater than START; a range past the disk's\n"
            "                     end is scanned to the disk end (sector N), as a line on stderr\n"
            "                     says; the scan keeps its\n"
            "                     place in $XDG_STATE_HOME/lumbra-nss (~/.local/state/...)\n"
            "  --resume           go on where a scan of this drive and range stopped (Ctrl-C, a\n"
            "                     crash); the pools listed are those of a scan without a stop\n"
            "  --json             print {\"pools\":[{\"row\",\"name\",\"poolSize\",\"poolSizeFrom\",\"segmentCount\",\n"
            "                     \"segments\":[{\"start\",\"extent\"}]}],\"unreadableMetadataSectors\",\"complete\"};\n"
            "                     start: the segment's first data sector; extent: its length in\n"
            "                     sectors; poolSizeFrom: \"pool information\", or where a pool alone\n"
            "                     in its partition whose size cannot be read is taken to end:\n"
            "                     \"partition table entry\" or \"disk end\" (a warning says so);\n"
            "                     complete: false when Ctrl-C stopped the scan\n",
            {{"--drive", 1, false}, {"--scan", 2, false}, {"--resume", 0, false}, {"--json", 0, false}},
            runPools};
}

}  // namespace lumbra::cli
