#pragma once
// The file list written out for other tools and for later: each file's volume path, size,
// date, condition and unreadable bytes, as CSV or as JSON. The JSON is one that
// extract --from-list reads back.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "recovery/file_condition.h"
#include "recovery/record_lists.h"

namespace lumbra {

enum class FileListFormat : uint8_t { Csv, Json };

// The first line of the CSV form; Select From List knows the form by its start.
constexpr std::string_view kFileListCsvHeader = "path,size,date,condition,unreadable_bytes,renamed_to";

struct FileListEntry {
    std::string path;  // 8-bit volume path as Find Files shows it, with the names the volume gives
    std::string renamedTo;  // the file's name since a rename; empty when it keeps the volume's
    int64_t size = 0;
    uint32_t timeStamp = 0;
    FileCondition condition;
};

// The entries of these files (positions in the file list), each with its condition as known.
std::vector<FileListEntry> FileListEntries(const RecoveredTree& tree, const std::vector<size_t>& files,
                                           const std::function<FileCondition(const ItemRecord&)>& conditionOf);

// "path,size,date,condition,unreadable_bytes,renamed_to" and a line per file (CRLF); paths in
// UTF-8, dates as IsoStamp.
std::string FileListCsv(const std::vector<FileListEntry>& entries);
// {"format":1,"files":[{"path","size","date","condition","unreadableBytes"[,"renamedTo"]}]}
std::string FileListJson(const std::vector<FileListEntry>& entries);

}  // namespace lumbra
