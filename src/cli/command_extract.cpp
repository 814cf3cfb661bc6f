#include <filesystem>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/json_writer.h"
#include "cli/latin1_argument.h"
#include "cli/progress_line.h"
#include "cli/recovery_source.h"
#include "disk/source_disk.h"
#include "cli/file_list_option.h"
#include "recovery/folder_path.h"
#include "recovery/recovery_run.h"

namespace lumbra::cli {

namespace {

// The limits of the File Filters dialog.
constexpr size_t kMaxFilters = 99;
constexpr size_t kMaxFilterLength = 19;

// Files done of the files chosen, as a progress line on stderr.
class ExtractProgress : public SavingObserver {
public:
    explicit ExtractProgress(size_t total) : total_(total) {}
    void fileStarted(const std::string&, const std::string&, uint32_t) override {}
    void fileProgress(uint32_t) override {}
    void fileFinished(const CopyResult&) override { line_.update(++done_, total_); }

private:
    ProgressLine line_{"files"};
    size_t total_;
    size_t done_ = 0;
};

struct ExtractOptions {
    std::string out;
    std::vector<std::string> filters;
    uint16_t duplicateAction = kRenameDuplicates;
    std::optional<std::string> folderPath;  // 8-bit, without a trailing "\"
};

std::optional<std::string> ReadOptions(const ParsedArguments& arguments, ExtractOptions& options) {
    const auto out = arguments.value("--out");
    if (!out || out->empty()) return "--out DIR is required";
    options.out = *out;
    for (const std::string& filter : arguments.values("--filter")) {
        if (filter.empty()) return std::string("--filter takes a pattern of 1 to 19 characters");
        options.filters.push_back(Latin1FromArgument(filter));
        if (options.filters.back().size() > kMaxFilterLength) return "--filter " + filter + ": the filter is too long (at most 19 characters)";
    }
    if (options.filters.size() > kMaxFilters) return std::string("at most 99 filters");
    const std::string duplicates = arguments.value("--duplicates").value_or("rename");
    if (duplicates == "overwrite") options.duplicateAction = kOverwriteDuplicates;
    else if (duplicates == "skip") options.duplicateAction = kSkipDuplicates;
    else if (duplicates != "rename") return "--duplicates takes rename, overwrite or skip, not " + duplicates;
    if (auto path = arguments.value("--path")) {
        std::string folder = Latin1FromArgument(*path);
        if (folder.empty() || folder.front() != '\\') return "--path takes a folder path as find shows it, such as '\\DOCS\\2004'";
        while (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
        if (folder != "\\") options.folderPath = folder;
    }
    return std::nullopt;
}

// An explicit report path must name no file yet: neither an input of the run nor anything else
// is replaced by the report. The refusal's text, or nullopt.
std::optional<std::string> RefuseReportPath(const DestinationFiles& files, const std::optional<std::string>& xmlPath) {
    if (!xmlPath) return std::nullopt;
    const ReportPaths paths = ReportPathsFor(*xmlPath);
    for (const std::string& path : {paths.xml, paths.csv}) {
        if (auto input = files.inputAt(path)) return ReplacesInputText(path, *input);
        if (files.exists(path)) return "--report " + *xmlPath + ": " + path + " exists; the report never replaces a file";
    }
    return std::nullopt;
}

// The folders whose path (as Find Files shows the path of a file inside them) is `path`.
SaveSelection SelectFolders(const RecoveredTree& tree, const std::string& path) {
    SaveSelection selection;
    for (size_t i = 0; i < tree.folders().size(); ++i) {
        const ItemRecord& folder = tree.folders()[i];
        if (folder.objectId <= 0xFFFFFFFFull && FindFilesPath(tree, folder.objectId) == path)
            selection.folderIndexes.push_back(i);
    }
    return selection;
}

void PrintSummary(CliContext& context, const RecoveryRunResult& run, bool json, bool resume) {
    const SaveSummary& summary = run.summary;
    const std::string report = run.report ? run.report->xml : std::string();
    if (json) {
        JsonWriter writer(context.out);
        writer.beginObject();
        if (resume) writer.key("alreadySaved").value(summary.alreadySaved);
        writer.key("saved").value(summary.saved)
            .key("skipped").value(summary.skipped)
            .key("failed").value(summary.failed)
            .key("shortFiles").value(summary.shortFiles)
            .key("bytes").value(summary.bytes)
            .key("stopped").value(summary.stopped)
            .key("damaged").value(run.damaged)
            .key("report").value(report)
            .endObject()
            .finish();
        return;
    }
    if (resume) context.out << summary.alreadySaved << " file(s) already there\n";
    context.out << summary.saved << " file(s) saved (" << summary.shortFiles << " cut short), " << summary.skipped
                << " skipped, " << summary.failed << " failed, " << summary.bytes << " bytes\n";
    context.out << run.damaged << " file(s) damaged, " << run.cutShort << " cut short";
    if (!report.empty()) context.out << "; report " << report << " and " << run.report->csv;
    context.out << "\n";
}

// After Ctrl-C: the files left shorter than their size, which --resume copies again.
void ListCutShort(CliContext& context, const SaveSummary& summary) {
    for (const auto& [index, result] : summary.results)
        if (result.outcome == CopyOutcome::CutShort)
            context.err << "lumbra-nss-cli: cut short by Ctrl-C: " << result.path << " (" << result.bytesWritten
                        << " bytes written); extract --resume copies it again\n";
}

int runExtract(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "extract takes no arguments: " + arguments.positional.front());
    ExtractOptions options;
    if (auto error = ReadOptions(arguments, options)) return context.fail(kExitBadInput, *error);
    std::optional<FileListRead> fileList;
    if (auto listPath = arguments.value("--from-list")) {
        if (options.folderPath) return context.fail(kExitBadInput, "--from-list and --path exclude each other");
        int listCode = kExitOk;
        fileList = ReadFileListOption(context, *listPath, listCode);
        if (!fileList) return listCode;
    }
    int exitCode = kExitOk;
    auto source = OpenRecoverySource(context, arguments, exitCode);
    if (!source) return exitCode;
    if (source->mountStopped)
        return context.fail(kExitInterrupted, "the mount was stopped before it ended; nothing was extracted");
    const RecoveredTree& tree = source->loaded.records;
    SaveSelection selection{.everything = !options.folderPath && !fileList};
    std::vector<std::string> notFound;
    if (fileList) {
        FileListMatch match = MatchFileList(tree, fileList->paths);
        selection.fileIndexes = std::move(match.fileIndexes);
        notFound = std::move(match.notFound);
    }
    if (options.folderPath) {
        selection = SelectFolders(tree, *options.folderPath);
        if (selection.folderIndexes.empty())
            return context.fail(kExitBadInput, "no folder " + arguments.value("--path").value_or("") + " (see list)");
    }
    const bool onlyIntact = arguments.has("--only-intact");
    if (onlyIntact || arguments.has("--only-damaged")) {
        if (onlyIntact && arguments.has("--only-damaged"))
            return context.fail(kExitBadInput, "--only-intact and --only-damaged exclude each other");
        const DamageMap* damage = source->reader->damageMap();
        if (!damage || !damage->knownInAdvance())
            return context.fail(kExitBadInput, std::string(onlyIntact ? "--only-intact" : "--only-damaged") +
                                                   " needs the source's --mapfile: without one a file's condition is known only once it is read");
        selection = SelectByCondition(*source->reader, source->loaded.state.pool, tree, selection,
                                      onlyIntact ? ConditionKind::Intact : ConditionKind::Damaged);
    }
    if (FolderOnSource(options.out, context.disk.driveTable().rows[source->loaded.state.selectedDrive].path))
        return context.fail(kExitBadInput, kDestinationOnSourceText);
    PosixDestinationFiles files(&context.inputs);
    if (auto refusal = RefuseReportPath(files, arguments.value("--report"))) return context.fail(kExitBadInput, *refusal);
    std::error_code error;
    std::filesystem::create_directories(options.out, error);
    if (!std::filesystem::is_directory(options.out, error))
        return context.fail(kExitEnvironment, "cannot create the folder " + options.out);

    SavingFlags flags;
    ExtractProgress progress(SelectedFiles(tree, selection).size());
    CopyContext copy{*source->reader, source->loaded.state.pool, files, flags, options.filters};
    copy.duplicateAction = options.duplicateAction;
    copy.resume = arguments.has("--resume");
    copy.observer = &progress;
    copy.askContinue = [&context](const std::string& question) {
        context.err << "lumbra-nss-cli: " << question << "Yes\n";
        return true;
    };
    // Ctrl-C stops the saving as "Stop Saving" would.
    const WorkerStop ctrlC(flags.stopSaving);
    RecoveryRunOptions runOptions{.writeReport = !arguments.has("--no-report"),
                                  .reportPath = arguments.value("--report"),
                                  .keepTimes = arguments.has("--keep-times"),
                                  .sourceName = context.disk.driveTable().rows[source->loaded.state.selectedDrive].path};
    const RecoveryRunResult run = RunRecovery(copy, tree, selection, options.out, runOptions);
    if (run.reportFailed) context.err << "lumbra-nss-cli: the report could not be written\n";
    PrintSummary(context, run, arguments.has("--json"), copy.resume);
    if (Interrupted()) ListCutShort(context, run.summary);
    const SaveSummary& summary = run.summary;
    if (summary.refused) return context.fail(kExitBadInput, ReplacesInputText(summary.refused->path, summary.refused->input));
    ListNotFound(context, notFound);
    return summary.failed == 0 && notFound.empty() ? kExitOk : kExitEnvironment;
}

std::vector<OptionSpec> ExtractOptionSpecs() {
    std::vector<OptionSpec> specs = RecoverySourceOptions();
    specs.insert(specs.end(), {{"--out", 1, false}, {"--filter", 1, true}, {"--duplicates", 1, false}, {"--path", 1, false},
                                {"--report", 1, false}, {"--no-report", 0, false}, {"--keep-times", 0, false},
                                {"--only-intact", 0, false}, {"--only-damaged", 0, false}, {"--resume", 0, false},
                                {"--from-list", 1, false}});
    return specs;
}

}  // namespace

Command ExtractCommand() {
    return {"extract", "copy recovered files into a folder",
            std::string("Usage: lumbra-nss-cli extract SOURCE --out DIR [--filter PATTERN]... [--from-list FILE]\n"
                        "                              [--duplicates rename|overwrite|skip] [--path '\\FOLDER\\SUB']\n"
                        "Copies the files of the volume (default), or of one folder and the folders below it, into\n"
                        "DIR, re-creating their folders; a file whose folder was not found goes into DIR itself.\n"
                        "Names become safe file names (UTF-8, no separators); the source is only read.\n"
                        "  --filter PATTERN   save only files matching one of the patterns (see match)\n"
                        "  --duplicates       for a file that exists: rename the new one \"Copy (1 ) of NAME\"\n"
                        "                     (default), overwrite it, or skip the new one\n"
                        "  --path             the folder as find shows paths; \\ is the whole volume\n"
                        "  --from-list FILE   only the files FILE names: one volume path a line (\\ or /, such\n"
                        "                     as \\DOCS\\a.txt), or the JSON of list, find or the desktop's\n"
                        "                     exported file list; paths no file has are listed and the\n"
                        "                     exit code is then 1\n"
                        "  --json             print {\"saved\",\"skipped\",\"failed\",\"shortFiles\",\"bytes\",\"stopped\",\"damaged\",\"report\"}\n"
                        "  --report PATH      write the recovery report (XML) here, its CSV beside it (neither may\n"
                        "                     exist yet); by default lumbra-report.xml and .csv in DIR, under a\n"
                        "                     name no file there has\n"
                        "  --no-report        write no report\n"
                        "  --keep-times       give each written file its record's date as modification time\n"
                        "  --resume           go on with an interrupted extract into the same DIR: a file there\n"
                        "                     of its record's size is left as it is (\"already there\" in the\n"
                        "                     report), a shorter one is copied again in its place, a missing one\n"
                        "                     is copied; other files there meet --duplicates as ever\n"
                        "  --only-intact      save only the files whose data is all readable, and\n"
                        "  --only-damaged     only those with unreadable bytes; both need --mapfile, since on a\n"
                        "                     disk without one a file's condition is known only once it is read\n"
                        "A file that cannot be created or written is reported and counted as failed, and the\n"
                        "exit code is then 1. No output is ever written over a file this run reads (a drive, an\n"
                        "image, a rescue map, a loaded snapshot): the run stops there and the exit code is 2. A\n"
                        "DIR on the disk being recovered (the drive, one of its partitions, or a loop device\n"
                        "an image backs) is refused with exit code 2 before anything is written.\n") +
                kRecoverySourceHelp,
            ExtractOptionSpecs(), runExtract};
}

}  // namespace lumbra::cli
