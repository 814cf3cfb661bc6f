#include "recovery/save_driver.h"

#include <unordered_set>

#include "recovery/destination_folders.h"
#include "recovery/run_ledger.h"

namespace lumbra {
namespace {

// Marks the files of a folder and of every folder below it; each folder once, so looping
// parent links end.
void MarkSubtree(const RecoveredTree& tree, size_t folderIndex, std::vector<bool>& chosen,
                 std::unordered_set<size_t>& visited) {
    std::vector<size_t> pending{folderIndex};
    while (!pending.empty()) {
        const size_t index = pending.back();
        pending.pop_back();
        if (!visited.insert(index).second) continue;
        const uint64_t objectId = tree.folders()[index].objectId;
        for (uint32_t file : tree.FileChildren(objectId)) chosen[file] = true;
        for (uint32_t child : tree.FolderChildren(objectId)) pending.push_back(child);
    }
}

void Tally(SaveSummary& summary, const CopyResult& result) {
    switch (result.outcome) {
        case CopyOutcome::Copied:
        case CopyOutcome::CutShort:
            ++summary.saved;
            summary.bytes += result.bytesWritten;
            if (result.outcome == CopyOutcome::CutShort) ++summary.shortFiles;
            break;
        case CopyOutcome::EmptyFile:
            ++summary.empty;
            ++summary.skipped;
            break;
        case CopyOutcome::FilteredOut:
        case CopyOutcome::DuplicateSkipped:
        case CopyOutcome::EarlierKept:
            ++summary.skipped;
            break;
        case CopyOutcome::CreationFailed:
        case CopyOutcome::WriteFailed:
            ++summary.failed;
            break;
        case CopyOutcome::Stopped:
            summary.stopped = true;
            break;
        case CopyOutcome::AlreadySaved:
            ++summary.alreadySaved;
            break;
        case CopyOutcome::ReplacesInput:
            summary.refused = result;
            summary.stopped = true;
            break;
    }
}

CopyResult SaveOne(CopyContext& context, const RecoveredTree& tree, const ItemRecord& file,
                   const std::string& destination, DestinationFolders& folders) {
    std::string name = file.name;
    // Folders are made only for files that will be written, so filters leave no empty ones.
    if (file.size <= 0 || !PassesFileFilters(name, context.filters))
        return CopyRecoveredFile(context, destination, name, file.firstBlock, file.size, CopyMode::Recover);
    const ResumePlan plan = context.ledger ? context.ledger->Begin(file, context.files) : ResumePlan{};
    if (plan.kind == ResumePlan::Kind::AlreadyThere) return {CopyOutcome::AlreadySaved, 0, plan.path};
    const DestinationFolders::Place place = folders.FolderFor(tree, file.parentId);
    if (plan.kind == ResumePlan::Kind::Fresh)
        return CopyRecoveredFile(context, place.path, name, file.firstBlock, file.size, CopyMode::Recover, place.made,
                                 file.fullName);
    CopyContext one = context;
    if (plan.kind == ResumePlan::Kind::RewriteAt) one.rewriteAt = &plan.path;
    // A copy changed since the earlier run is no one's to replace: the file takes a new name.
    if (plan.kind == ResumePlan::Kind::FreshKeep && one.duplicateAction == kOverwriteDuplicates)
        one.duplicateAction = kRenameDuplicates;
    return CopyRecoveredFile(one, place.path, name, file.firstBlock, file.size, CopyMode::Recover, place.made,
                             file.fullName);
}

}  // namespace

std::vector<size_t> SelectedFiles(const RecoveredTree& tree, const SaveSelection& selection) {
    const size_t fileCount = tree.files().size();
    std::vector<bool> chosen(fileCount, selection.everything);
    std::unordered_set<size_t> visited;
    for (size_t folder : selection.folderIndexes)
        if (folder < tree.folders().size()) MarkSubtree(tree, folder, chosen, visited);
    for (size_t file : selection.fileIndexes)
        if (file < fileCount) chosen[file] = true;
    std::vector<size_t> files;
    for (size_t i = 0; i < fileCount; ++i)
        if (chosen[i]) files.push_back(i);
    return files;
}

SaveSummary SaveRecoveredFiles(CopyContext& context, const RecoveredTree& tree, const SaveSelection& selection,
                               const std::string& destination) {
    context.flags.savedFiles.store(0);
    SaveSummary summary;
    DestinationFolders folders(context.files, destination);
    context.folderPaths = &folders.paths();
    if (context.ledger) folders.NoteFile(context.ledger->path());
    for (size_t index : SelectedFiles(tree, selection)) {
        if (context.flags.stopSaving.load() != 0) {
            summary.stopped = true;
            break;
        }
        const ItemRecord& file = tree.files()[index];
        const CopyResult result = SaveOne(context, tree, file, destination, folders);
        Tally(summary, result);
        if (result.outcome == CopyOutcome::CutShort && context.flags.stopSaving.load() != 0) summary.stopCutShort = 1;
        summary.results.emplace_back(index, result);
        if (result.copied() || result.outcome == CopyOutcome::AlreadySaved) folders.NoteFile(result.path);
        if (context.observer) context.observer->fileFinished(result);
    }
    if (context.flags.stopSaving.load() != 0) summary.stopped = true;
    context.folderPaths = nullptr;
    if (context.observer) context.observer->savingDone();
    return summary;
}

}  // namespace lumbra
