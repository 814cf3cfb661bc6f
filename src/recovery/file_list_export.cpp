#include "recovery/file_list_export.h"

#include <nlohmann/json.hpp>

#include "disk/text_encoding.h"
#include "recovery/folder_path.h"
#include "recovery/recovery_report.h"

namespace lumbra {

std::vector<FileListEntry> FileListEntries(const RecoveredTree& tree, const std::vector<size_t>& files,
                                           const std::function<FileCondition(const ItemRecord&)>& conditionOf) {
    std::vector<FileListEntry> entries;
    for (size_t index : files) {
        if (index >= tree.files().size()) continue;
        const ItemRecord& file = tree.files()[index];
        const std::string& volumeName = tree.VolumeName(file);
        entries.push_back({VolumeFilePath(tree, file), volumeName == file.name ? std::string() : file.name, file.size,
                           file.timeStamp, conditionOf(file)});
    }
    return entries;
}

std::string FileListCsv(const std::vector<FileListEntry>& entries) {
    std::string csv = std::string(kFileListCsvHeader) + "\r\n";
    for (const FileListEntry& entry : entries)
        csv += CsvField(Latin1ToUtf8(entry.path)) + "," + std::to_string(entry.size) + "," + IsoStamp(entry.timeStamp) +
               "," + ConditionText(entry.condition.kind) + "," + std::to_string(entry.condition.unreadableBytes) + "," +
               CsvField(Latin1ToUtf8(entry.renamedTo)) + "\r\n";
    return csv;
}

std::string FileListJson(const std::vector<FileListEntry>& entries) {
    nlohmann::ordered_json document;
    document["format"] = 1;
    document["files"] = nlohmann::ordered_json::array();
    for (const FileListEntry& entry : entries) {
        nlohmann::ordered_json file;
        file["path"] = Latin1ToUtf8(entry.path);
        file["size"] = entry.size;
        file["date"] = IsoStamp(entry.timeStamp);
        file["condition"] = ConditionText(entry.condition.kind);
        file["unreadableBytes"] = entry.condition.unreadableBytes;
        if (!entry.renamedTo.empty()) file["renamedTo"] = Latin1ToUtf8(entry.renamedTo);
        document["files"].push_back(std::move(file));
    }
    return document.dump(1) + "\n";
}

}  // namespace lumbra
