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

void FileListBinding::deleteAllRows() { view_.DeleteAllListRows(); }

void FileListBinding::appendRow(const ItemRow& row) {
    // The row goes to the view as it is unless its mark must change: a list of 100,000 rows is
    // copied only once, into the view.
    const bool damaged = damageTest_ && damageTest_(row);
    if (damaged == row.damaged) {
        view_.AppendListRow(row);
        return;
    }
    ItemRow marked = row;
    marked.damaged = damaged;
    view_.AppendListRow(marked);
}

std::string FileListBinding::fileTypeName(std::string_view fileName) const {
    const size_t dot = fileName.rfind('.');
    std::string extension(dot == std::string_view::npos ? std::string_view() : fileName.substr(dot));
    if (const auto known = typeNames_.find(extension); known != typeNames_.end()) return known->second;
    std::string type = desktop_.FileTypeName(fileName);
    if (typeNames_.size() < kMaxRememberedTypes) typeNames_.emplace(std::move(extension), type);
    return type;
}

std::optional<ItemRow> FileListBinding::row(int index) const { return view_.ListRow(index); }

void FileListBinding::setRowName(int index, std::string_view name) { view_.SetListRowName(index, name); }

}  // namespace lumbra
