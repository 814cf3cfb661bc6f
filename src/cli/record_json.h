#pragma once
// The folder and file records as the list and snapshot-show commands print them.
#include "cli/json_writer.h"
#include "cli/volume_path.h"
#include "disk/sector_reader.h"
#include "recovery/file_condition.h"
#include "recovery/record_lists.h"

namespace lumbra::cli {

// "folders":[{"itemNumber","objectId","parentId","name","timeStamp","date","time"}] and
// "files":[{...,"size","firstBlock","blockCount",...,"path"}] in list order, "path" as Find
// Files shows it. Names are converted from Latin-1 to UTF-8.
// reader and pool (both or neither): give each file its condition.
// scope: the records listed (all by default).
void WriteRecordLists(JsonWriter& json, const RecoveredTree& tree, const SectorReader* reader = nullptr,
                      const SelectedPool* pool = nullptr, const ListScope& scope = {});

// "condition" and, for a damaged file, "unreadableBytes" and "unreadableRanges".
void WriteCondition(JsonWriter& json, const FileCondition& condition);

// One line per record for people: kind, item number, date, time, size and path (TerminalUtf8 of
// the names in full):
// a file's whole path, a folder's name, or within a scope of one folder its whole path.
void PrintRecordLists(std::ostream& out, const RecoveredTree& tree, const ListScope& scope = {});

// The path of a folder as list shows it (UTF-8, the names in full), its own name last.
std::string FolderPath(const RecoveredTree& tree, const ItemRecord& folder);

}  // namespace lumbra::cli
