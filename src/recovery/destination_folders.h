#pragma once
// The folders a saving run re-creates below the destination. Each recovered folder gets a
// path of its own: when its safe name equals that of another entry the run wrote into the same
// folder (another folder, or a file) it takes the next free duplicate name, so no file is lost
// to the collision. A folder that exists from an earlier run is used again; a name held by
// anything else from before the run is a folder that cannot be made.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "recovery/destination_files.h"
#include "recovery/record_lists.h"

namespace lumbra {

class DestinationFolders {
public:
    DestinationFolders(DestinationFiles& files, std::string destination)
        : files_(files), destination_(std::move(destination)) {}

    struct Place {
        std::string path;   // the folder the file goes into
        bool made = false;  // false: a folder on the way could not be made; path is then the
                            // folder the file would have gone into
    };

    // The folder of a file whose parent is parentId: the destination itself for files in the
    // root and for files whose parent chain does not reach the root.
    Place FolderFor(const RecoveredTree& tree, uint64_t parentId);

    // A file the run wrote: no folder takes its path.
    void NoteFile(const std::string& path) { filePaths_.insert(path); }

    // Every folder path given out in this run.
    const std::unordered_set<std::string>& paths() const { return folderPaths_; }

private:
    // Gives the folder `record` a path inside `parent` and makes it; nullopt when it cannot be.
    std::optional<std::string> Claim(const ItemRecord& record, const std::string& parent);

    DestinationFiles& files_;
    std::string destination_;
    std::unordered_map<const ItemRecord*, std::string> given_;
    std::unordered_set<std::string> folderPaths_;
    std::unordered_set<std::string> filePaths_;
};

}  // namespace lumbra
