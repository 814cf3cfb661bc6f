#include "cli/volume_path.h"

#include "cli/latin1_argument.h"
#include "recovery/folder_path.h"

namespace lumbra::cli {

std::optional<std::string> VolumePathArgument(const std::string& typed) {
    std::string path = Latin1FromArgument(typed);
    for (char& c : path)
        if (c == '/') c = '\\';
    if (path.empty() || path.front() != '\\') return std::nullopt;
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

PathRecords RecordsAtPath(const RecoveredTree& tree, const std::string& path) {
    PathRecords records;
    if (path == "\\") return records;
    for (size_t i = 0; i < tree.folders().size(); ++i) {
        const ItemRecord& folder = tree.folders()[i];
        // A folder's own path is the path of a file inside it; ids with a high half have none.
        if (folder.objectId <= 0xFFFFFFFFull && FindFilesPath(tree, folder.objectId) == path)
            records.folderIndexes.push_back(i);
    }
    for (size_t i = 0; i < tree.files().size(); ++i)
        if (FindFilesFilePath(tree, tree.files()[i]) == path) records.fileIndexes.push_back(i);
    return records;
}

bool ListScope::shows(const RecoveredTree& tree, const ItemRecord& record) const {
    return !folderPath || FindFilesPath(tree, record.parentId) == *folderPath;
}

}  // namespace lumbra::cli
