#include "app/item_properties.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace lumbra {

namespace {

constexpr uint64_t kLowHalf = 0xFFFFFFFFull;

template <typename Number>
Number ParseNumber(std::string_view text) {
    Number value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct FolderCounts {
    uint64_t files = 0;
    uint64_t folders = 0;
    uint64_t bytes = 0;
};

// Walks the tree item and every item below it. The children of an item are the folders that
// the tree build inserted under it: those whose parent is the item's folder and that have an
// item of their own.
FolderCounts CountBelow(const RecoveredTree& records, uint32_t treeItem) {
    FolderCounts counts;
    std::vector<uint32_t> pending{treeItem};
    std::unordered_set<uint32_t> seen;
    while (!pending.empty()) {
        const uint32_t item = pending.back();
        pending.pop_back();
        if (!seen.insert(item).second) continue;
        ++counts.folders;
        const ItemRecord* folder = records.FindFolderByTreeItem(item);
        const uint64_t key = folder ? (folder->objectId & kLowHalf) : 0;
        for (uint32_t index : records.FileChildren(key)) {
            ++counts.files;
            counts.bytes += static_cast<uint64_t>(records.files()[index].size);
        }
        for (uint32_t child : records.FolderChildren(key)) {
            const uint32_t childItem = records.folders()[child].treeItem;
            if (childItem != 0) pending.push_back(childItem);
        }
    }
    return counts;
}

}  // namespace

bool IsFolderType(std::string_view typeText) { return typeText.ends_with("Folder"); }

std::string ConditionSummary(const FileCondition& condition) {
    if (condition.kind != ConditionKind::Damaged) return ConditionText(condition.kind);
    return "damaged: " + std::to_string(condition.unreadableBytes) + " bytes unreadable";
}

std::string UnreadableRangesText(const std::vector<ByteArea>& ranges) {
    if (ranges.empty()) return {};
    const ByteArea& first = ranges.front();
    std::string text = std::to_string(first.position) + "-" + std::to_string(first.position + first.size - 1);
    if (ranges.size() > 1) text += " and " + std::to_string(ranges.size() - 1) + " more";
    return text;
}

PropertiesValues ItemProperties(const ItemRow& row, const RecoveredTree& records, std::string_view condition,
                                const std::optional<FilePlace>& place) {
    std::string size;
    std::string contains;
    if (IsFolderType(row.type)) {
        const FolderCounts counts = CountBelow(records, ParseNumber<uint32_t>(row.key));
        contains = std::to_string(counts.files) + " File(s) and " + std::to_string(counts.folders - 1) + " Folder(s)";
        const uint64_t megabytes = counts.bytes / 1024 / 1024;
        size = (megabytes == 0 ? std::string(properties_text::kLessThanOne) : std::to_string(megabytes)) + " MB";
    } else {
        size = std::to_string(ParseNumber<uint64_t>(row.size) / 1024 + 1) + " KB";
    }
    PropertiesValues values{{{std::string(properties_text::kName), row.name},
                             {std::string(properties_text::kSize), size},
                             {std::string(properties_text::kContains), contains},
                             {std::string(properties_text::kDate), row.date},
                             {std::string(properties_text::kTime), row.time}}};
    if (place && place->firstSector)
        values.rows.push_back({std::string(properties_text::kFirstSector), std::to_string(*place->firstSector)});
    if (place && !place->unreadable.empty())
        values.rows.push_back({std::string(properties_text::kUnreadable), UnreadableRangesText(place->unreadable)});
    if (!condition.empty()) values.rows.push_back({std::string(properties_text::kCondition), std::string(condition)});
    return values;
}

}  // namespace lumbra
