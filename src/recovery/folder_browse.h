#pragma once
// Building the folder tree and the item list of the browse step from the recovered tree, and
// navigating between folders.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "recovery/browse_views.h"
#include "recovery/record_lists.h"

namespace lumbra {

// Inserts, below parentTreeItem, every folder whose parentId is `key` (high half 0), each
// followed at once by its own subtree, children in admission order; stores each item's id in
// the folder's treeItem. Called once per mount or load as BuildFolderTree(root item, 0).
// Folders whose parent chain does not reach `key` are not inserted, and no folder is inserted
// twice, so links that loop cannot make the build run away. A stop request ends the walk; the
// folders walked so far are inserted. A folder for which holdsDamage answers true carries the
// damage mark in its item.
void BuildFolderTree(RecoveredTree& tree, FolderTreeView& view, uint32_t parentTreeItem, uint32_t key,
                     const std::atomic<int32_t>* stop = nullptr,
                     const std::function<bool(const ItemRecord& folder)>& holdsDamage = {});

// Replaces the rows of the list by the folders, then the files, whose parentId equals
// parentId (both halves), in list order. With filter patterns given, a file row is kept only
// when its upper-cased name matches one of the upper-cased patterns (MatchName); folder rows
// are never filtered.
void FillItemList(const RecoveredTree& tree, ItemListView& list, uint64_t parentId,
                  const std::vector<std::string>& filters);

// Replaces the rows of the list by these files (positions in the file list), in that order.
void FillFileRows(const RecoveredTree& tree, ItemListView& list, const std::vector<size_t>& fileIndexes);

// Shows the folder of tree item t (the root's contents when t is no folder's item), then
// focuses the tree, selects t and expands its ancestors up to the root item.
void ShowFolder(const RecoveredTree& tree, FolderTreeView& view, ItemListView& list, uint32_t t,
                const std::vector<std::string>& filters);

}  // namespace lumbra
