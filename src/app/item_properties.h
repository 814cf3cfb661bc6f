#pragma once
// The values of "File/Folder Properties" for one row of the file list.
#include <optional>
#include <string_view>
#include <vector>

#include "app/dialog_values.h"
#include "app/view.h"
#include "recovery/browse_views.h"
#include "recovery/file_condition.h"
#include "recovery/record_lists.h"

namespace lumbra {

namespace properties_text {
constexpr std::string_view kName = "Name :";
constexpr std::string_view kSize = "Size                            :";
constexpr std::string_view kContains = "Contains                     :";
constexpr std::string_view kDate = "Creation Date              :";
constexpr std::string_view kTime = "Creation Time              :";
constexpr std::string_view kLessThanOne = "Less than 1";
constexpr std::string_view kCondition = "Condition                    :";
constexpr std::string_view kFirstSector = "First Sector                :";
constexpr std::string_view kUnreadable = "Unreadable Bytes       :";
}  // namespace properties_text

// True when the row's "Type" text ends with "Folder".
bool IsFolderType(std::string_view typeText);

// A file row: its size in whole kilobytes plus one. A folder row: the files and folders below
// the row's tree item (the row key) in the directory tree, counted from the recovered lists
// whatever the file filters, and their size in megabytes. An unreadable size counts as 0.
// condition: a file's condition as ConditionSummary words it; a row of its own when not empty.
// place: where a file's data lies, when the disk is open; its first disk sector and its
// unreadable byte ranges each get a row before the condition's.
struct FilePlace {
    std::optional<uint64_t> firstSector;  // none for a file without data on the disk
    std::vector<ByteArea> unreadable;     // offsets within the file, in order
};
PropertiesValues ItemProperties(const ItemRow& row, const RecoveredTree& records, std::string_view condition = {},
                                const std::optional<FilePlace>& place = std::nullopt);

// The first unreadable range as "FIRST-LAST" bytes of the file, with how many more follow.
std::string UnreadableRangesText(const std::vector<ByteArea>& ranges);

// "intact", "damaged: 544 bytes unreadable", "cut short", "not read yet".
std::string ConditionSummary(const FileCondition& condition);

}  // namespace lumbra
