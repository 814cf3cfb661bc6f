#include <algorithm>
#include <filesystem>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/file_list_option.h"
#include "cli/interrupt.h"
#include "cli/latin1_argument.h"
#include "cli/output_file.h"
#include "cli/pool_search.h"
#include "cli/terminal_text.h"
#include "cli/volume_path.h"
#include "discovery/volume_table.h"
#include "disk/rescue_map.h"
#include "disk/sector.h"
#include "disk/source_disk.h"
#include "picture/picture_legend.h"
#include "picture/plan_survey.h"

namespace lumbra::cli {

namespace {

constexpr size_t kMaxFilters = 99;

// Which files of each volume the plan takes: --path, --filter and --from-list as extract reads them.
struct FileChoice {
    std::optional<std::string> volumePath;
    std::vector<std::string> filters;
    std::optional<FileListRead> list;
    bool chooses() const { return volumePath || !filters.empty() || list; }
};

std::optional<std::string> ReadFileChoice(CliContext& context, const ParsedArguments& arguments, FileChoice& choice,
                                          int& exitCode) {
    for (const std::string& filter : arguments.values("--filter")) {
        if (filter.empty()) return std::string("--filter takes a pattern of one character or more");
        choice.filters.push_back(Latin1FromArgument(filter));
    }
    if (choice.filters.size() > kMaxFilters) return std::string("at most 99 filters");
    if (auto path = arguments.value("--path")) {
        choice.volumePath = VolumePathArgument(*path);
        if (!choice.volumePath)
            return "--path takes a folder or file path as find shows it, such as '\\DOCS\\2004' or '/DOCS/2004/A.DOC'";
        if (*choice.volumePath == "\\") choice.volumePath.reset();
    }
    if (auto listPath = arguments.value("--from-list")) {
        if (arguments.has("--path")) return std::string("--from-list and --path exclude each other");
        choice.list = ReadFileListOption(context, *listPath, exitCode);
        if (!choice.list) return std::string();
    }
    return std::nullopt;
}

std::vector<bool> ChooseFiles(const FileChoice& choice, const RecoveredTree& tree) {
    SaveSelection selection{.everything = !choice.volumePath && !choice.list};
    if (choice.list) selection.fileIndexes = MatchFileList(tree, choice.list->paths).fileIndexes;
    if (choice.volumePath) {
        const PathRecords named = RecordsAtPath(tree, *choice.volumePath);
        selection.folderIndexes = named.folderIndexes;
        selection.fileIndexes = named.fileIndexes;
    }
    return ChosenFiles(tree, selection, choice.filters);
}

std::optional<uint32_t> RowArgument(CliContext& context, const ParsedArguments& arguments, const std::string& name,
                                    uint64_t limit, int& exitCode) {
    const auto text = arguments.value(name);
    if (!text) return std::nullopt;
    const auto row = ParseUnsigned(*text, 0, limit);
    if (!row) exitCode = context.fail(kExitBadInput, name + " takes a row from 0 to " + std::to_string(limit) + ", not " + *text);
    return row ? std::optional<uint32_t>(static_cast<uint32_t>(*row)) : std::nullopt;
}

int runPlan(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "plan takes no arguments: " + arguments.positional.front());
    PlanRequest request;
    const std::string what = arguments.value("--what").value_or("");
    const auto content = PlanContentNamed(what);
    if (!content) return context.fail(kExitBadInput, "--what takes metadata, files or used" + (what.empty() ? std::string() : ", not " + what));
    request.content = *content;
    const auto out = arguments.value("--out");
    if (!out || out->empty()) return context.fail(kExitBadInput, "--out FILE is required");
    int exitCode = kExitOk;
    FileChoice choice;
    if (auto error = ReadFileChoice(context, arguments, choice, exitCode))
        return error->empty() ? exitCode : context.fail(kExitBadInput, *error);
    if (choice.chooses() && request.content == PlanContent::Metadata)
        return context.fail(kExitBadInput, "--path, --filter and --from-list choose files: give --what files or used");
    if (choice.chooses()) request.chooseFiles = [&choice](const RecoveredTree& tree) { return ChooseFiles(choice, tree); };
    request.poolRow = RowArgument(context, arguments, "--pool", kMaxPools - 1, exitCode);
    request.volumeRow = RowArgument(context, arguments, "--volume", kMaxVolumes - 1, exitCode);
    if (exitCode != kExitOk) return exitCode;
    const ScanOption scan = ReadScanOption(arguments);
    if (!scan.error.empty()) return context.fail(kExitBadInput, scan.error);
    const auto row = context.resolveDrive(arguments);
    if (!row) return kExitBadInput;
    const std::string& sourcePath = context.disk.driveTable().rows[*row].path;
    if (*out != "-" && FolderOnSource(std::filesystem::path(*out).parent_path().string(), sourcePath))
        return context.fail(kExitBadInput, kDestinationOnSourceText);
    std::string why;
    auto reader = context.disk.OpenDrive(*row, context.settings.badSectorRetries, &why);
    if (!why.empty()) return context.fail(kExitEnvironment, "cannot open drive " + std::to_string(*row) + ": " + why);
    PoolTable pools;
    if (FindPools(*reader, scan.range, context.settings.sectorsPerRead, pools, context.err,
                  ScanReadAhead(context.disk.accessMode())) == ScanEnd::Stopped)
        return kExitInterrupted;
    // A partial image may end before the disk does; its map covers the whole disk.
    const uint64_t diskSectors = std::max(reader->sectorCount().value_or(0),
                                          context.disk.rescueMapEnd(*row).value_or(0) / kSectorSize);
    NoMountEvents events;
    std::atomic<int32_t> stopRequested{0};
    const WorkerStop ctrlC(stopRequested);
    const PlanSurvey survey = SurveyDiskForPlan(*reader, pools, diskSectors, request, events, stopRequested);
    if (survey.memoryFailure != MemoryFailure::None)
        return context.fail(kExitEnvironment, std::string(MemoryFailureText(survey.memoryFailure)));
    if (survey.stopped) return context.fail(kExitInterrupted, "stopped before the plan was whole; nothing was written");
    for (const PlanGap& gap : survey.gaps)
        context.err << "lumbra-nss-cli: " << PlanGapText(gap.kind, TerminalText(gap.pool), TerminalText(gap.volume)) << "\n";
    const std::vector<SectorRange> ranges = survey.plan.ranges();
    const std::string text = DomainMapText(ranges, diskSectors);
    if (*out == "-") {
        context.out << text;
        return kExitOk;
    }
    if (const int written = WriteOutputFile(context, *out, text); written != kExitOk) return written;
    context.out << survey.plan.sectors() << " of " << diskSectors << " sectors (" << SizeText(survey.plan.sectors())
                << ") in " << ranges.size() << " area(s) written to " << *out << "\n";
    return kExitOk;
}

}  // namespace

Command PlanCommand() {
    std::vector<OptionSpec> options = {{"--drive", 1, false}, {"--pool", 1, false},    {"--volume", 1, false},
                                       {"--scan", 2, false},  {"--what", 1, false},    {"--out", 1, false},
                                       {"--path", 1, false},  {"--filter", 1, true},   {"--from-list", 1, false}};
    return {"plan", "write a domain mapfile for ddrescue: the sectors of the metadata and the files",
            "Usage: lumbra-nss-cli plan --drive ROW|PATH --what metadata|files|used --out FILE\n"
            "                           [--pool ROW] [--volume ROW] [--scan START END]\n"
            "                           [--path PATH | --from-list FILE] [--filter PATTERN]...\n"
            "Writes a ddrescue mapfile whose \"+\" areas are the sectors that matter and whose \"?\"\n"
            "areas are the rest of the disk; ddrescue -m FILE then reads only those sectors.\n"
            "  --what metadata  the partition table and headers, every pool's superblock and object\n"
            "                   tree (where the volumes are listed) and every B-tree block a mount of\n"
            "                   each volume reads\n"
            "  --what files     the data blocks of the volumes' files, or of those chosen below\n"
            "  --what used      both\n"
            "  --pool ROW, --volume ROW  only that pool, only that volume of each pool\n"
            "  --path PATH, --from-list FILE, --filter PATTERN  choose files as extract does\n"
            "  --out FILE       the mapfile; - writes it to standard output\n"
            "From a partial image (--image PART --mapfile PART.map before the command) what cannot\n"
            "be read yet is left out and named on standard error, such as \"the B-tree of volume\n"
            "DATA is not rescued yet: run ddrescue with the metadata plan, then plan again\"; go\n"
            "round (plan, ddrescue, plan) until no such line is left. The plan is never written\n"
            "over a file this run reads (exit code 2) nor onto the disk being recovered.\n",
            options, runPlan};
}

}  // namespace lumbra::cli
