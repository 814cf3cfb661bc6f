#pragma once
// Views of the browse step that remember what they were asked to show.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "recovery/browse_views.h"

namespace lumbra::test {

class RecordingTreeView : public FolderTreeView {
public:
    static constexpr uint32_t kRoot = 1;

    struct Item {
        uint32_t parent = 0;
        std::string text;
        bool expanded = false;
        bool damaged = false;
    };

    uint32_t insertFolderItem(uint32_t parent, std::string_view text) override {
        uint32_t id = nextId_++;
        items[id] = {parent, std::string(text), false};
        children[parent].push_back(id);
        return id;
    }
    std::vector<uint32_t> insertFolderItems(uint32_t parent, const std::vector<TreeItemEntry>& entries) override {
        ++batches;
        std::vector<uint32_t> ids = FolderTreeView::insertFolderItems(parent, entries);
        for (size_t entry = 0; entry < ids.size(); ++entry) items[ids[entry]].damaged = entries[entry].damaged;
        return ids;
    }
    void expandItem(uint32_t item) override {
        if (item == kRoot) rootExpanded = true;
        else items[item].expanded = true;
    }
    void selectItem(uint32_t item) override { selected = item; }
    void focusTree() override { focused = true; }
    uint32_t parentItem(uint32_t item) const override {
        auto found = items.find(item);
        return found == items.end() ? 0 : found->second.parent;
    }
    void progress(uint32_t percent) override {
        progressSeen.push_back(percent);
        if (onProgress) onProgress(percent);
    }

    // Texts of the children of an item, in tree order.
    std::vector<std::string> childTexts(uint32_t parent) const {
        std::vector<std::string> texts;
        auto found = children.find(parent);
        if (found == children.end()) return texts;
        for (uint32_t id : found->second) texts.push_back(items.at(id).text);
        return texts;
    }

    std::map<uint32_t, Item> items;
    std::map<uint32_t, std::vector<uint32_t>> children;
    std::vector<uint32_t> progressSeen;
    std::function<void(uint32_t)> onProgress;
    int batches = 0;
    bool rootExpanded = false;
    bool focused = false;
    uint32_t selected = 0;

private:
    uint32_t nextId_ = kRoot + 1;
};

class RecordingListView : public ItemListView {
public:
    void deleteAllRows() override {
        rows.clear();
        ++clears;
    }
    void appendRow(const ItemRow& row) override { rows.push_back(row); }
    std::string fileTypeName(std::string_view fileName) const override {
        auto dot = fileName.rfind('.');
        return dot == std::string_view::npos ? "" : std::string(fileName.substr(dot + 1)) + " File";
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& row : rows) result.push_back(row.name);
        return result;
    }

    std::vector<ItemRow> rows;
    int clears = 0;
};

}  // namespace lumbra::test
