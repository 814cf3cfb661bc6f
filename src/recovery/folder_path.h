#pragma once
// Where a file sits in the folder tree, as Find Files shows it and as the saving re-creates it.
#include <cstdint>
#include <string>
#include <vector>

#include "recovery/record_lists.h"

namespace lumbra {

// The folders from the topmost one below the root down to the folder a file names as its
// parent: the folder whose objectId low half equals the parentId's low half (high half 0),
// then each folder's own parent up to the root. Empty for files in the root, for orphans, and
// for folders whose chain never reaches the root (a missing parent, a loop, a parent number
// with a high half), none of which has a place in the tree.
std::vector<const ItemRecord*> ParentFolderChain(const RecoveredTree& tree, uint64_t parentId);

// Find Files' "Path": "\" followed by the chain's names joined by "\" (no "\" doubled when a
// name already ends with one); just "\" for an empty chain.
std::string FindFilesPath(const RecoveredTree& tree, uint64_t parentId);

// That path followed by the file's own name.
std::string FindFilesFilePath(const RecoveredTree& tree, const ItemRecord& file);
// The file's path with the names the volume gives, whatever the folders and the file were
// renamed to since.
std::string VolumeFilePath(const RecoveredTree& tree, const ItemRecord& file);

// The same two paths as UTF-8 of the names in full (NameUtf8), for what people read.
std::string FullFolderPath(const RecoveredTree& tree, uint64_t parentId);
std::string FullFilePath(const RecoveredTree& tree, const ItemRecord& file);

}  // namespace lumbra
