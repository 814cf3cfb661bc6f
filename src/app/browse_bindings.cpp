#include "app/browse_bindings.h"

namespace lumbra {

std::vector<ListColumn> BrowseColumns() {
    return {{"Name", 150, false}, {"Type", 100, false}, {"Size", 70, true},
            {"Date", 100, false}, {"Time", 70, false}, {"Sector", 70, false}};
}

uint32_t DirectoryTreeBinding::insertFolderItem(uint32_t parentItem, std::string_view text) {
    return view_.AddTreeItem(TreeKind::Directory, parentItem, text);
}

std::vector<uint32_t> DirectoryTreeBinding::insertFolderItems(uint32_t parentItem,
                                                              const std::vector<TreeItemEntry>& entries) {
    return view_.AddTreeItems(TreeKind::Directory, parentItem, entries);
}

void DirectoryTreeBinding::expandItem(uint32_t item) { view_.ExpandTreeItem(TreeKind::Directory, item); }

void DirectoryTreeBinding::selectItem(uint32_t item) { view_.SelectTreeItem(TreeKind::Directory, item); }

void DirectoryTreeBinding::focusTree() { view_.Focus(Element::DirectoryTree); }

uint32_t DirectoryTreeBinding::parentItem(uint32_t item) const {
    return view_.TreeItemParent(TreeKind::Directory, item);
}

void DirectoryTreeBinding::progress(uint32_t percent) { view_.SetProgress(percent); }

void FileListBinding::deleteAllRows() {
    rows_.clear();
    view_.DeleteAllListRows();
}

void FileListBinding::appendRow(const ItemRow& row) {
    rows_.push_back(row);
    ItemRow& kept = rows_.back();
    kept.damaged = damageTest_ && damageTest_(kept);
    view_.AppendListRow(kept);
}

std::string FileListBinding::fileTypeName(std::string_view fileName) const {
    const size_t dot = fileName.rfind('.');
    std::string extension(dot == std::string_view::npos ? std::string_view() : fileName.substr(dot));
    if (const auto known = typeNames_.find(extension); known != typeNames_.end()) return known->second;
    std::string type = desktop_.FileTypeName(fileName);
    if (typeNames_.size() < kMaxRememberedTypes) typeNames_.emplace(std::move(extension), type);
    return type;
}

const ItemRow* FileListBinding::row(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return nullptr;
    return &rows_[static_cast<size_t>(index)];
}

void FileListBinding::setRowName(int index, std::string_view name) {
    if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return;
    rows_[static_cast<size_t>(index)].name = std::string(name);
    view_.SetListRowName(index, name);
}

}  // namespace lumbra
