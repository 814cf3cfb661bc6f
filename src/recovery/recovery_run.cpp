#include "recovery/recovery_run.h"

#include <algorithm>
#include <ctime>
#include <unordered_map>

#include "recovery/folder_path.h"
#include "recovery/hashing_destination_files.h"

namespace lumbra {
namespace {

// Takes the digest of each file as it is finished, before a later file of the same path (with
// duplicates overwritten) can replace it; passes every call on.
class DigestRecorder : public SavingObserver {
public:
    DigestRecorder(const HashingDestinationFiles& hashing, SavingObserver* inner) : hashing_(hashing), inner_(inner) {}
    void fileStarted(const std::string& path, const std::string& name, uint32_t totalFiles) override {
        if (inner_) inner_->fileStarted(path, name, totalFiles);
    }
    void fileProgress(uint32_t percent) override {
        if (inner_) inner_->fileProgress(percent);
    }
    void fileFinished(const CopyResult& result) override {
        digests.push_back(result.copied() ? hashing_.digestOf(result.path) : std::string());
        if (inner_) inner_->fileFinished(result);
    }
    void savingDone() override {
        if (inner_) inner_->savingDone();
    }

    std::vector<std::string> digests;  // one per file finished, in order

private:
    const HashingDestinationFiles& hashing_;
    SavingObserver* inner_;
};

// Marks each written entry whose path a later entry of the run wrote again.
void MarkReplaced(std::vector<ReportEntry>& entries) {
    std::unordered_map<std::string, size_t> lastWriter;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].outcome != CopyOutcome::Copied && entries[i].outcome != CopyOutcome::CutShort) continue;
        auto [it, fresh] = lastWriter.try_emplace(entries[i].writtenPath, i);
        if (!fresh) {
            entries[it->second].replaced = true;
            it->second = i;
        }
    }
}

}  // namespace

FileCondition ConditionOfFile(const SectorReader& reader, const SelectedPool& pool, const ItemRecord& file,
                              bool dataRead) {
    const FileLayout layout = LayFileOut(pool, reader.sectorCount(), file.firstBlock, file.size);
    return ConditionOf(layout, reader.damageMap(), dataRead);
}

RecoveryRunResult RunRecovery(CopyContext& context, const RecoveredTree& tree, const SaveSelection& selection,
                              const std::string& destination, const RecoveryRunOptions& options) {
    HashingDestinationFiles hashing(context.files);
    CopyContext hashed{context.reader, context.pool, hashing, context.flags, context.filters};
    hashed.duplicateAction = context.duplicateAction;
    DigestRecorder digests(hashing, context.observer);
    hashed.observer = &digests;
    hashed.askContinue = context.askContinue;
    hashed.ledger = context.ledger;
    hashed.reportError = context.reportError;
    ReportRun report{.commandLine = options.commandLine,
                     .startTime = std::time(nullptr),
                     .sourcePath = options.sourceName,
                     .poolName = options.poolName,
                     .volumeName = options.volumeName};
    RecoveryRunResult run;
    run.summary = SaveRecoveredFiles(hashed, tree, selection, destination);

    std::vector<ReportEntry>& entries = report.entries;
    entries.reserve(run.summary.results.size());
    for (size_t i = 0; i < run.summary.results.size(); ++i) {
        const auto& [index, result] = run.summary.results[i];
        const ItemRecord& file = tree.files()[index];
        ReportEntry entry;
        entry.originalPath = FullFilePath(tree, file);
        entry.size = file.size;
        entry.timeStamp = file.timeStamp;
        entry.outcome = result.outcome;
        const FileLayout layout = LayFileOut(context.pool, context.reader.sectorCount(), file.firstBlock, file.size);
        entry.runs = layout.runs;
        entry.condition = ConditionOf(layout, context.reader.damageMap(), result.copied(),
                                      result.outcome == CopyOutcome::CutShort);
        if (result.copied()) {
            entry.writtenPath = result.path;
            entry.sha256 = i < digests.digests.size() ? digests.digests[i] : std::string();
            if (entry.condition.kind == ConditionKind::Damaged) ++run.damaged;
            if (entry.condition.kind == ConditionKind::CutShort) ++run.cutShort;
            if (options.keepTimes && file.timeStamp < kTimeStampLimit)
                context.files.setModificationTime(result.path, file.timeStamp);
        }
        if (result.outcome == CopyOutcome::AlreadySaved) entry.writtenPath = result.path;
        entries.push_back(std::move(entry));
    }
    MarkReplaced(entries);
    report.stopped = run.summary.stopped;
    const size_t chosen = SelectedFiles(tree, selection).size();
    report.filesNotReached = static_cast<uint32_t>(chosen - std::min(chosen, run.summary.results.size()));
    run.notReached = report.filesNotReached;
    if (!options.writeReport) return run;
    const ReportPaths paths =
        options.reportPath ? ReportPathsFor(*options.reportPath) : ChooseReportPaths(context.files, destination);
    run.reportError = WriteRecoveryReport(context.files, paths, report);
    if (!run.reportError) run.report = paths;
    return run;
}

SaveSelection SelectByCondition(const SectorReader& reader, const SelectedPool& pool, const RecoveredTree& tree,
                                const SaveSelection& selection, ConditionKind kind) {
    SaveSelection kept;
    for (size_t index : SelectedFiles(tree, selection))
        if (ConditionOfFile(reader, pool, tree.files()[index]).kind == kind) kept.fileIndexes.push_back(index);
    return kept;
}

}  // namespace lumbra
