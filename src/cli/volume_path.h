#pragma once
// --path: a folder or a file of the recovered tree named by its path from the volume's root,
// as find and list show paths ("\DOCS\2004\Report.doc"; "/" separates as well as "\").
#include <optional>
#include <string>
#include <vector>

#include "recovery/record_lists.h"

namespace lumbra::cli {

// The path in the tree's 8-bit text, with "\" between names and no trailing "\" ("\" alone is
// the root); nullopt when it does not start at the root.
std::optional<std::string> VolumePathArgument(const std::string& typed);

// The records a path names: folders whose path it is, and files whose path and name it is.
struct PathRecords {
    std::vector<size_t> folderIndexes;
    std::vector<size_t> fileIndexes;
    bool empty() const { return folderIndexes.empty() && fileIndexes.empty(); }
};
PathRecords RecordsAtPath(const RecoveredTree& tree, const std::string& path);

// What a listing shows: the whole tree, or the folders and files lying directly in the
// folder(s) of one path (list --path), each then shown with its whole path.
struct ListScope {
    std::optional<std::string> folderPath;
    bool shows(const RecoveredTree& tree, const ItemRecord& record) const;
};

}  // namespace lumbra::cli
