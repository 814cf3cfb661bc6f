#include "recovery/recovery_run.h"

#include "recovery/folder_path.h"
#include "recovery/hashing_destination_files.h"

namespace lumbra {
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
    hashed.observer = context.observer;
    hashed.askContinue = context.askContinue;
    hashed.resume = context.resume;
    RecoveryRunResult run;
    run.summary = SaveRecoveredFiles(hashed, tree, selection, destination);

    std::vector<ReportEntry> entries;
    entries.reserve(run.summary.results.size());
    for (const auto& [index, result] : run.summary.results) {
        const ItemRecord& file = tree.files()[index];
        ReportEntry entry;
        entry.originalPath = FindFilesFilePath(tree, file);
        entry.size = file.size;
        entry.timeStamp = file.timeStamp;
        entry.outcome = result.outcome;
        const FileLayout layout = LayFileOut(context.pool, context.reader.sectorCount(), file.firstBlock, file.size);
        entry.runs = layout.runs;
        entry.condition = ConditionOf(layout, context.reader.damageMap(), result.copied(),
                                      result.outcome == CopyOutcome::CutShort);
        if (result.copied()) {
            entry.writtenPath = result.path;
            entry.sha256 = hashing.digestOf(result.path);
            if (entry.condition.kind == ConditionKind::Damaged) ++run.damaged;
            if (entry.condition.kind == ConditionKind::CutShort) ++run.cutShort;
            if (options.keepTimes && file.timeStamp < kTimeStampLimit)
                context.files.setModificationTime(result.path, file.timeStamp);
        }
        if (result.outcome == CopyOutcome::AlreadySaved) entry.writtenPath = result.path;
        entries.push_back(std::move(entry));
    }
    if (!options.writeReport) return run;
    const ReportPaths paths =
        options.reportPath ? ReportPathsFor(*options.reportPath) : ChooseReportPaths(context.files, destination);
    if (WriteRecoveryReport(context.files, paths, entries, options.sourceName)) run.report = paths;
    else run.reportFailed = true;
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
