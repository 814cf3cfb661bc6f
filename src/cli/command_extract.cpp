#include <filesystem>

#include "cli/command.h"
#include "cli/exit_codes.h"
#include "cli/file_error_lines.h"
#include "cli/file_list_option.h"
#include "cli/interrupt.h"
#include "cli/json_writer.h"
#include "cli/latin1_argument.h"
#include "cli/metadata_warning.h"
#include "cli/output_stream_files.h"
#include "cli/progress_line.h"
#include "cli/recovery_source.h"
#include "cli/volume_path.h"
#include "disk/source_disk.h"
#include "recovery/recovery_run.h"
#include "recovery/report_text.h"
#include "recovery/run_ledger.h"

namespace lumbra::cli {

namespace {

// The File Filters dialog's count of filters; their length has no limit here.
constexpr size_t kMaxFilters = 99;

// Files done of the files chosen, as a progress line on stderr.
class ExtractProgress : public SavingObserver {
public:
    explicit ExtractProgress(size_t total) : total_(total) {}
    void fileStarted(const std::string&, const std::string&, uint32_t) override {}
    void fileProgress(uint32_t) override {}
    void fileFinished(const CopyResult&) override { line_.update(++done_, total_); }
    // Erases the line, so that what follows starts a clean line.
    void finish() { line_.finish(); }

private:
    ProgressLine line_{"files"};
    size_t total_;
    size_t done_ = 0;
};

struct ExtractOptions {
    std::string out;
    std::vector<std::string> filters;
    uint16_t duplicateAction = kRenameDuplicates;
    std::optional<std::string> volumePath;  // a folder or a file, 8-bit, without a trailing "\"
};

std::optional<std::string> ReadOptions(const ParsedArguments& arguments, ExtractOptions& options) {
    const auto out = arguments.value("--out");
    if (!out || out->empty()) return "--out DIR is required";
    options.out = *out;
    for (const std::string& filter : arguments.values("--filter")) {
        if (filter.empty()) return std::string("--filter takes a pattern of one character or more");
        options.filters.push_back(Latin1FromArgument(filter));
    }
    if (options.filters.size() > kMaxFilters) return std::string("at most 99 filters");
    const std::string duplicates = arguments.value("--duplicates").value_or("rename");
    if (duplicates == "overwrite") options.duplicateAction = kOverwriteDuplicates;
    else if (duplicates == "skip") options.duplicateAction = kSkipDuplicates;
    else if (duplicates != "rename") return "--duplicates takes rename, overwrite or skip, not " + duplicates;
    if (auto path = arguments.value("--path")) {
        const auto volumePath = VolumePathArgument(*path);
        if (!volumePath)
            return "--path takes a folder or file path as find shows it, such as '\\DOCS\\2004' or '/DOCS/2004/A.DOC'";
        if (*volumePath != "\\") options.volumePath = volumePath;
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

void PrintSummary(CliContext& context, const RecoveryRunResult& run, bool json, bool resume,
                  uint64_t unreadableMetadata) {
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
            .key("unreadableMetadataSectors").value(unreadableMetadata)
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

// After Ctrl-C: the files left shorter than their size, and the replacements dropped, which
// --resume copies again.
void ListCutShort(CliContext& context, const SaveSummary& summary) {
    for (const auto& [index, result] : summary.results) {
        if (result.outcome == CopyOutcome::CutShort)
            context.err << "lumbra-nss-cli: cut short by Ctrl-C: " << FileSystemText(result.path) << " ("
                        << result.bytesWritten << " bytes written); extract --resume copies it again\n";
        if (result.outcome == CopyOutcome::EarlierKept)
            context.err << "lumbra-nss-cli: cut short by Ctrl-C and dropped: " << FileSystemText(result.path)
                        << " keeps the earlier file; extract --resume copies it again\n";
    }
}

// The run's ledger in DIR. A resume that cannot follow the earlier run's records refuses;
// a new run goes on without one and says so.
std::optional<RunLedger> OpenLedger(CliContext& context, DestinationFiles& files, const std::string& out, bool resume,
                                    int& exitCode) {
    std::string failure;
    auto ledger = RunLedger::Open(files, out, resume, failure);
    if (!ledger && resume) {
        exitCode = context.fail(kExitEnvironment, "cannot resume: the state of the earlier extract cannot be read: " +
                                                      FileSystemText(failure));
        return std::nullopt;
    }
    if (!ledger)
        context.err << "lumbra-nss-cli: warning: the extract's state cannot be kept (" << FileSystemText(failure)
                    << "); --resume will not know these files\n";
    else if (resume && !ledger->continued())
        context.err << "lumbra-nss-cli: no earlier extract into " << FileSystemText(out)
                    << " left its state; every file is copied as in a new run\n";
    return ledger;
}

// --out -: the bytes of the one file --path names, on standard output and nothing else there.
int ExtractToOutput(CliContext& context, const RecoverySource& source, const SaveSelection& selection) {
    if (selection.everything || !selection.folderIndexes.empty() || selection.fileIndexes.size() != 1)
        return context.fail(kExitBadInput, "--out - writes one file: name it with --path '\\FOLDER\\FILE'");
    const ItemRecord& file = source.loaded.records.files()[selection.fileIndexes.front()];
    SavingFlags flags;
    const WorkerStop ctrlC(flags.stopSaving);
    OutputStreamFiles files(context.out);
    const std::vector<std::string> noFilters;
    CopyContext copy{*source.reader, source.loaded.state.pool, files, flags, noFilters};
    std::string name = file.name;
    const CopyResult result = CopyRecoveredFile(copy, "", name, file.firstBlock, file.size, CopyMode::Open);
    if (result.outcome == CopyOutcome::CutShort)
        return context.fail(kExitEnvironment, "the file was cut short after " + std::to_string(result.bytesWritten) +
                                                  " of " + std::to_string(file.size) + " bytes");
    if (!result.copied() && result.outcome != CopyOutcome::EmptyFile)
        return context.fail(kExitEnvironment, "the file could not be written to standard output");
    const FileCondition condition = ConditionOfFile(*source.reader, source.loaded.state.pool, file);
    if (condition.kind == ConditionKind::Damaged)
        context.err << "lumbra-nss-cli: warning: " << condition.unreadableBytes
                    << " byte(s) of the file could not be read and were written as zeros\n";
    return kExitOk;
}

int runExtract(CliContext& context, const ParsedArguments& arguments) {
    if (!arguments.positional.empty())
        return context.fail(kExitBadInput, "extract takes no arguments: " + arguments.positional.front());
    ExtractOptions options;
    if (auto error = ReadOptions(arguments, options)) return context.fail(kExitBadInput, *error);
    std::optional<FileListRead> fileList;
    if (auto listPath = arguments.value("--from-list")) {
        if (options.volumePath) return context.fail(kExitBadInput, "--from-list and --path exclude each other");
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
    SaveSelection selection{.everything = !options.volumePath && !fileList};
    std::vector<std::string> notFound;
    if (fileList) {
        FileListMatch match = MatchFileList(tree, fileList->paths);
        selection.fileIndexes = std::move(match.fileIndexes);
        notFound = std::move(match.notFound);
    }
    if (options.volumePath) {
        const PathRecords named = RecordsAtPath(tree, *options.volumePath);
        if (named.empty())
            return context.fail(kExitBadInput, "no folder or file " + arguments.value("--path").value_or("") + " (see list)");
        selection.folderIndexes = named.folderIndexes;
        selection.fileIndexes = named.fileIndexes;
    }
    if (options.out == "-") {
        if (arguments.has("--json")) return context.fail(kExitBadInput, "--out - and --json both write standard output");
        return ExtractToOutput(context, *source, selection);
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
        return context.fail(kExitEnvironment, "cannot create the folder " + FileSystemText(options.out) + ": " +
                                                  (error ? error.message() : std::string("something else has this name")));
    const bool resume = arguments.has("--resume");
    int ledgerCode = kExitOk;
    std::optional<RunLedger> ledger = OpenLedger(context, files, options.out, resume, ledgerCode);
    if (ledgerCode != kExitOk) return ledgerCode;

    SavingFlags flags;
    ExtractProgress progress(SelectedFiles(tree, selection).size());
    CopyContext copy{*source->reader, source->loaded.state.pool, files, flags, options.filters};
    copy.duplicateAction = options.duplicateAction;
    copy.ledger = ledger ? &*ledger : nullptr;
    copy.observer = &progress;
    FileErrorLines errorLines(context.err);
    copy.reportError = [&errorLines, &progress](const CopyError& failure) {
        progress.finish();
        errorLines.Report(failure);
    };
    // Ctrl-C stops the saving as "Stop Saving" would.
    const WorkerStop ctrlC(flags.stopSaving);
    const SnapshotState& state = source->loaded.state;
    RecoveryRunOptions runOptions{.writeReport = !arguments.has("--no-report"),
                                  .reportPath = arguments.value("--report"),
                                  .keepTimes = arguments.has("--keep-times"),
                                  .sourceName = context.disk.driveTable().rows[state.selectedDrive].path,
                                  .poolName = state.pool.name,
                                  .volumeName = state.selectedVolume < state.volumes.count()
                                                    ? state.volumes[state.selectedVolume].name
                                                    : std::string(),
                                  .commandLine = context.commandLine};
    const RecoveryRunResult run = RunRecovery(copy, tree, selection, options.out, runOptions);
    progress.finish();
    errorLines.Finish();
    if (ledger && ledger->failed())
        context.err << "lumbra-nss-cli: warning: the extract's state could not all be written to "
                    << FileSystemText(ledger->path()) << "; --resume may not know every file\n";
    if (run.reportError) context.err << "lumbra-nss-cli: the report could not be written: " << *run.reportError << "\n";
    PrintSummary(context, run, arguments.has("--json"), resume, UnreadableMetadataSectors(*source->reader));
    if (Interrupted()) ListCutShort(context, run.summary);
    const SaveSummary& summary = run.summary;
    if (summary.refused) return context.fail(kExitBadInput, ReplacesInputText(summary.refused->path, summary.refused->input));
    ListNotFound(context, notFound);
    return summary.failed == 0 && !run.reportError && notFound.empty() ? kExitOk : kExitEnvironment;
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
                        "Copies the files of the volume (default), of one folder and the folders below it, or one\n"
                        "file, into DIR, re-creating their folders; a file whose folder was not found goes into\n"
                        "DIR itself.\n"
                        "Names become safe file names (UTF-8, no separators); the source is only read.\n"
                        "With --out - the one file --path names is written to standard output, and nothing\n"
                        "else is (no report, no summary); a warning on standard error counts its unreadable\n"
                        "bytes, written as zeros.\n"
                        "  --filter PATTERN   save only files matching one of the patterns (see match); of any\n"
                        "                     length, at most 99 of them\n"
                        "  --duplicates       for a file that exists: rename the new one \"Copy (1 ) of NAME\"\n"
                        "                     (default), overwrite it, or skip the new one\n"
                        "  --path PATH        a folder, or one file, by its path as find and list show it\n"
                        "                     ('\\DOCS\\2004', '\\DOCS\\2004\\Report.doc'); / separates names as\n"
                        "                     well as \\; \\ alone is the whole volume\n"
                        "  --from-list FILE   only the files FILE names: one volume path a line (\\ or /, such\n"
                        "                     as \\DOCS\\a.txt), or the JSON of list, find or the desktop's\n"
                        "                     exported file list; paths no file has are listed and the\n"
                        "                     exit code is then 1\n"
                        "  --json             print {\"saved\",\"skipped\",\"failed\",\"shortFiles\",\"bytes\",\"stopped\",\"damaged\",\"report\",\n"
                        "                     \"unreadableMetadataSectors\"}\n"
                        "  --report PATH      write the recovery report (XML) here, its CSV beside it (neither may\n"
                        "                     exist yet); by default lumbra-report.xml and .csv in DIR, under a\n"
                        "                     name no file there has\n"
                        "  --no-report        write no report\n"
                        "  --keep-times       give each written file its record's date as modification time\n"
                        "  --resume           go on with an interrupted extract into the same DIR: every extract\n"
                        "                     keeps, in DIR/.lumbra-extract-state, which record it wrote under\n"
                        "                     which name; a record whose copy is whole is left as it is\n"
                        "                     (\"already there\" in the report), its cut-short or missing copy is\n"
                        "                     written again in its place, a record not reached meets --duplicates\n"
                        "                     as ever; a copy changed since is never written over\n"
                        "  --only-intact      save only the files whose data is all readable, and\n"
                        "  --only-damaged     only those with unreadable bytes; both need --mapfile, since on a\n"
                        "                     disk without one a file's condition is known only once it is read\n"
                        "A file that cannot be created or written is reported (one line with the reason for\n"
                        "each of the first three of a kind, then a count) and counted as failed, and the\n"
                        "exit code is then 1; so it is when the report cannot be written (the files written\n"
                        "stay). No output is ever written over a file this run reads (a drive, an image, a\n"
                        "rescue map, a loaded snapshot): the run stops there and the exit code is 2. A DIR on\n"
                        "the disk being recovered (the drive, one of its partitions, or a loop device an image\n"
                        "backs) is refused with exit code 2 before anything is written; so is every other output\n"
                        "there (the report, a file in a folder below DIR on which such a file system is mounted,\n"
                        "a loop device over the same image), and standard output opened onto a file the run reads.\n") +
                kRecoverySourceHelp,
            ExtractOptionSpecs(), runExtract};
}

}  // namespace lumbra::cli
