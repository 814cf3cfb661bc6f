#include "cli/record_json.h"

#include <iomanip>

#include "cli/terminal_text.h"
#include "recovery/folder_path.h"
#include "recovery/format_stamp.h"

namespace lumbra::cli {
namespace {

void WriteCommonFields(JsonWriter& json, const ItemRecord& record) {
    json.key("itemNumber").value(record.itemNumber)
        .key("objectId").value(record.objectId)
        .key("parentId").value(record.parentId)
        .key("name").latin1Value(record.name);
}

void WriteStamp(JsonWriter& json, const ItemRecord& record) {
    const StampTexts stamp = FormatStamp(record.timeStamp);
    json.key("timeStamp").value(record.timeStamp).key("date").value(stamp.date).key("time").value(stamp.time);
}

// The path of a file as Find Files shows it, followed by its name.
std::string FilePath(const RecoveredTree& tree, const ItemRecord& file) {
    std::string path = FindFilesPath(tree, file.parentId);
    if (path.back() != '\\') path += '\\';
    return path + file.name;
}

}  // namespace

void WriteRecordLists(JsonWriter& json, const RecoveredTree& tree) {
    json.key("folders").beginArray();
    for (const ItemRecord& folder : tree.folders()) {
        json.beginObject();
        WriteCommonFields(json, folder);
        WriteStamp(json, folder);
        json.endObject();
    }
    json.endArray().key("files").beginArray();
    for (const ItemRecord& file : tree.files()) {
        json.beginObject();
        WriteCommonFields(json, file);
        json.key("size").value(file.size).key("firstBlock").value(file.firstBlock).key("blockCount").value(file.blockCount);
        WriteStamp(json, file);
        json.key("path").latin1Value(FindFilesPath(tree, file.parentId));
        json.endObject();
    }
    json.endArray();
}

void PrintRecordLists(std::ostream& out, const RecoveredTree& tree) {
    for (const ItemRecord& folder : tree.folders()) {
        const StampTexts stamp = FormatStamp(folder.timeStamp);
        out << "folder " << std::setw(8) << folder.itemNumber << "  " << std::setw(11) << stamp.date << "  "
            << std::setw(8) << stamp.time << "  " << std::setw(14) << "" << "  " << TerminalText(folder.name) << "\n";
    }
    for (const ItemRecord& file : tree.files()) {
        const StampTexts stamp = FormatStamp(file.timeStamp);
        out << "file   " << std::setw(8) << file.itemNumber << "  " << std::setw(11) << stamp.date << "  "
            << std::setw(8) << stamp.time << "  " << std::setw(14) << file.size << "  "
            << TerminalText(FilePath(tree, file)) << "\n";
    }
}

}  // namespace lumbra::cli
