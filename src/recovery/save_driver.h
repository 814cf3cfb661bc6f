#pragma once
// The saving behind "Recover Selected" and "Recover All": re-creates, below the destination,
// the folders of the recovered tree that hold the files saved, and copies each file with one
// CopyRecoveredFile call. Runs on the saving worker; reports through the context's observer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "recovery/file_copy.h"
#include "recovery/record_lists.h"

namespace lumbra {

struct SaveSelection {
    bool everything = false;                // "Recover All": every file of the file list
    std::vector<size_t> folderIndexes;      // selected folder rows: all files below each
    std::vector<size_t> fileIndexes;        // selected file rows
};

struct SaveSummary {
    uint32_t saved = 0;       // files written (shortFiles of them shorter than their size)
    uint32_t shortFiles = 0;  // cut short by Skip, Stop, or the end of the pool or the disk
    uint32_t skipped = 0;     // empty files, files no filter matches, duplicates skipped, and
                              // replacements cut short and dropped (the earlier file kept)
    uint32_t empty = 0;       // of the skipped: files of size 0, which are never created
    uint32_t failed = 0;      // files that could not be created or written
    uint32_t alreadySaved = 0;  // resuming: files found whole from the run before
    uint64_t bytes = 0;       // bytes written into saved files
    bool stopped = false;     // the stop-saving flag ended the run
    uint32_t stopCutShort = 0;  // of the saved: the file the stop ended partway (0 or 1)
    // The run stopped at a target that is one of its inputs: that result (path and input).
    std::optional<CopyResult> refused;
    // Each file handled, in order: its place in the file list and how its copy ended.
    std::vector<std::pair<size_t, CopyResult>> results;
};

// Saves the selected files in file-list order. A file goes into the folder path of its parent
// (ParentFolderChain, made by DestinationFolders, each folder with a path of its own); a file
// whose parent folder is missing or outside the tree goes into the destination itself. A file
// whose folder cannot be made counts as a creation failure and is asked about with the path
// it would have had. Sets the saved-files counter
// to 0 first; ends with the observer's savingDone.
SaveSummary SaveRecoveredFiles(CopyContext& context, const RecoveredTree& tree, const SaveSelection& selection,
                               const std::string& destination);

// The files a selection stands for, as positions in the file list, in list order.
std::vector<size_t> SelectedFiles(const RecoveredTree& tree, const SaveSelection& selection);

}  // namespace lumbra
