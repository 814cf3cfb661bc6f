#include "recovery/destination_folders.h"

#include "recovery/file_copy.h"
#include "recovery/folder_path.h"
#include "recovery/safe_file_name.h"

namespace lumbra {

DestinationFolders::Place DestinationFolders::FolderFor(const RecoveredTree& tree, uint64_t parentId) {
    std::string folder = destination_;
    bool made = true;
    for (const ItemRecord* record : ParentFolderChain(tree, parentId)) {
        if (!made) {
            folder = JoinPath(folder, SafeFullFileName(NameUtf8(*record)));
            continue;
        }
        if (auto given = given_.find(record); given != given_.end()) {
            folder = given->second;
            continue;
        }
        auto claimed = Claim(*record, folder);
        made = claimed.has_value();
        folder = made ? *claimed : JoinPath(folder, SafeFullFileName(NameUtf8(*record)));
    }
    return {folder, made};
}

std::optional<std::string> DestinationFolders::Claim(const ItemRecord& record, const std::string& parent) {
    for (uint32_t n = 0;; ++n) {
        const std::string name = n == 0 ? NameUtf8(record) : DuplicateCandidate(n, NameUtf8(record));
        const std::string path = JoinPath(parent, SafeFullFileName(name));
        if (folderPaths_.count(path) || filePaths_.count(path)) continue;
        if (!files_.ensureFolder(path)) return std::nullopt;
        folderPaths_.insert(path);
        given_.emplace(&record, path);
        return path;
    }
}

}  // namespace lumbra
