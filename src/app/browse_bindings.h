#pragma once
// The directory tree and the file list of the browse step, as the recovered tree's building
// and filling code sees them, on top of the wizard's View. The list binding hands each row to
// the view, which keeps it (commands read a row's cells back from there), and asks the desktop
// for a type name once per name extension.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/view.h"
#include "platform/desktop.h"
#include "recovery/browse_views.h"

namespace lumbra {

// The six columns of the file list in the browse step.
std::vector<ListColumn> BrowseColumns();

class DirectoryTreeBinding : public FolderTreeView {
public:
    explicit DirectoryTreeBinding(View& view) : view_(view) {}
    uint32_t insertFolderItem(uint32_t parentItem, std::string_view text) override;
    std::vector<uint32_t> insertFolderItems(uint32_t parentItem, const std::vector<TreeItemEntry>& entries) override;
    void expandItem(uint32_t item) override;
    void selectItem(uint32_t item) override;
    void focusTree() override;
    uint32_t parentItem(uint32_t item) const override;
    void progress(uint32_t percent) override;

private:
    View& view_;
};

class FileListBinding : public ItemListView {
public:
    FileListBinding(View& view, const Desktop& desktop) : view_(view), desktop_(desktop) {}
    void deleteAllRows() override;
    void appendRow(const ItemRow& row) override;
    std::string fileTypeName(std::string_view fileName) const override;

    // The row's cells; none for a row the list does not hold.
    std::optional<ItemRow> row(int index) const;
    // Writes a new name into a row's "Name" cell.
    void setRowName(int index, std::string_view name);
    // Tells whether a file row's data, or for a folder row the data of a file below it, is known
    // to be unreadable in part; asked for each row appended.
    void setDamageTest(std::function<bool(const ItemRow&)> test) { damageTest_ = std::move(test); }

private:
    // Distinct extensions remembered at most; a volume holding more asks the desktop for the
    // rest each time.
    static constexpr size_t kMaxRememberedTypes = 4096;

    View& view_;
    const Desktop& desktop_;
    mutable std::unordered_map<std::string, std::string> typeNames_;
    std::function<bool(const ItemRow&)> damageTest_;
};

}  // namespace lumbra
