#include "recovery/folder_path.h"

#include <algorithm>

namespace lumbra {
namespace {

constexpr uint64_t kLowHalf = 0xFFFFFFFFull;

}  // namespace

std::vector<const ItemRecord*> ParentFolderChain(const RecoveredTree& tree, uint64_t parentId) {
    std::vector<const ItemRecord*> chain;
    const ItemRecord* folder = tree.FindFolderByObjectId(parentId & kLowHalf);
    while (folder) {
        // A chain longer than the folder list has met a loop.
        if (chain.size() >= tree.folders().size()) return {};
        chain.push_back(folder);
        if (folder->parentId == 0) {
            std::reverse(chain.begin(), chain.end());
            return chain;
        }
        if (folder->parentId > kLowHalf) return {};
        folder = tree.FindFolderByObjectId(folder->parentId);
    }
    return {};
}

std::string FindFilesPath(const RecoveredTree& tree, uint64_t parentId) {
    std::string path = "\\";
    for (const ItemRecord* folder : ParentFolderChain(tree, parentId)) {
        if (path.back() != '\\') path += '\\';
        path += folder->name;
    }
    return path;
}

std::string FindFilesFilePath(const RecoveredTree& tree, const ItemRecord& file) {
    std::string path = FindFilesPath(tree, file.parentId);
    if (path.back() != '\\') path += '\\';
    return path + file.name;
}

}  // namespace lumbra
