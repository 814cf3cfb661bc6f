#include "cli/record_json.h"

#include <iomanip>

#include "cli/terminal_text.h"
#include "recovery/folder_path.h"
#include "recovery/format_stamp.h"
#include "recovery/recovery_report.h"
#include "recovery/recovery_run.h"

namespace lumbra::cli {
namespace {

void WriteCommonFields(JsonWriter& json, const ItemRecord& record) {
    json.key("itemNumber").value(record.itemNumber)
        .key("objectId").value(record.objectId)
        .key("parentId").value(record.parentId)
        .key("name").value(NameUtf8(record));
}

void WriteStamp(JsonWriter& json, const ItemRecord& record) {
    const StampTexts stamp = FormatStamp(record.timeStamp);
    json.key("timeStamp").value(record.timeStamp).key("date").value(stamp.date).key("time").value(stamp.time);
    if (const std::string iso = IsoStamp(record.timeStamp); !iso.empty()) json.key("dateTime").value(iso);
}

}  // namespace

void WriteCondition(JsonWriter& json, const FileCondition& condition) {
    json.key("condition").value(ConditionText(condition.kind));
    if (condition.kind != ConditionKind::Damaged && condition.kind != ConditionKind::CutShort) return;
    json.key("unreadableBytes").value(condition.unreadableBytes).key("unreadableRanges").beginArray();
    for (const ByteArea& area : condition.unreadableRanges)
        json.beginObject().key("offset").value(area.position).key("length").value(area.size).endObject();
    json.endArray();
}

std::string FolderPath(const RecoveredTree& tree, const ItemRecord& folder) {
    const std::string parent = FullFolderPath(tree, folder.parentId);
    return parent + (parent.back() == '\\' ? "" : "\\") + NameUtf8(folder);
}

void WriteRecordLists(JsonWriter& json, const RecoveredTree& tree, const SectorReader* reader,
                      const SelectedPool* pool, const ListScope& scope) {
    json.key("folders").beginArray();
    for (const ItemRecord& folder : tree.folders()) {
        if (!scope.shows(tree, folder)) continue;
        json.beginObject();
        WriteCommonFields(json, folder);
        WriteStamp(json, folder);
        json.endObject();
    }
    json.endArray().key("files").beginArray();
    for (const ItemRecord& file : tree.files()) {
        if (!scope.shows(tree, file)) continue;
        json.beginObject();
        WriteCommonFields(json, file);
        json.key("size").value(file.size).key("firstBlock").value(file.firstBlock).key("blockCount").value(file.blockCount);
        WriteStamp(json, file);
        json.key("path").value(FullFolderPath(tree, file.parentId));
        if (reader && pool) WriteCondition(json, ConditionOfFile(*reader, *pool, file));
        json.endObject();
    }
    json.endArray();
}

void PrintRecordLists(std::ostream& out, const RecoveredTree& tree, const ListScope& scope) {
    for (const ItemRecord& folder : tree.folders()) {
        if (!scope.shows(tree, folder)) continue;
        const StampTexts stamp = FormatStamp(folder.timeStamp);
        out << "folder " << std::setw(8) << folder.itemNumber << "  " << std::setw(11) << stamp.date << "  "
            << std::setw(8) << stamp.time << "  " << std::setw(14) << "" << "  "
            << TerminalUtf8(scope.folderPath ? FolderPath(tree, folder) : NameUtf8(folder)) << "\n";
    }
    for (const ItemRecord& file : tree.files()) {
        if (!scope.shows(tree, file)) continue;
        const StampTexts stamp = FormatStamp(file.timeStamp);
        out << "file   " << std::setw(8) << file.itemNumber << "  " << std::setw(11) << stamp.date << "  "
            << std::setw(8) << stamp.time << "  " << std::setw(14) << file.size << "  "
            << TerminalUtf8(FullFilePath(tree, file)) << "\n";
    }
}

}  // namespace lumbra::cli
