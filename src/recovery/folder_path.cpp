#include "recovery/folder_path.h"

#include <algorithm>

namespace lumbra {
namespace {

constexpr uint64_t kLowHalf = 0xFFFFFFFFull;

// "\" followed by the chain's names joined by "\", no "\" doubled.
template <typename NameOf>
std::string JoinedPath(const std::vector<const ItemRecord*>& chain, NameOf nameOf) {
    std::string path = "\\";
    for (const ItemRecord* folder : chain) {
        if (path.back() != '\\') path += '\\';
        path += nameOf(*folder);
    }
    return path;
}

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

std::string VolumeFilePath(const RecoveredTree& tree, const ItemRecord& file) {
    std::string path = JoinedPath(ParentFolderChain(tree, file.parentId),
                                  [&tree](const ItemRecord& folder) -> const std::string& { return tree.VolumeName(folder); });
    if (path.back() != '\\') path += '\\';
    return path + tree.VolumeName(file);
}

namespace {

std::string EightBitName(const ItemRecord& record) { return record.name; }

std::string WithName(std::string path, const std::string& name) {
    if (path.back() != '\\') path += '\\';
    return path + name;
}

}  // namespace

std::string FindFilesPath(const RecoveredTree& tree, uint64_t parentId) {
    return JoinedPath(ParentFolderChain(tree, parentId), EightBitName);
}

std::string FindFilesFilePath(const RecoveredTree& tree, const ItemRecord& file) {
    return WithName(FindFilesPath(tree, file.parentId), file.name);
}

std::string FullFolderPath(const RecoveredTree& tree, uint64_t parentId) {
    return JoinedPath(ParentFolderChain(tree, parentId), NameUtf8);
}

std::string FullFilePath(const RecoveredTree& tree, const ItemRecord& file) {
    return WithName(FullFolderPath(tree, file.parentId), NameUtf8(file));
}

}  // namespace lumbra
