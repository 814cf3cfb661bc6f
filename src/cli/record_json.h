#pragma once
// The folder and file records as the list and snapshot-show commands print them.
#include "cli/json_writer.h"
#include "disk/sector_reader.h"
#include "recovery/file_condition.h"
#include "recovery/record_lists.h"

namespace lumbra::cli {

// "folders":[{"itemNumber","objectId","parentId","name","timeStamp","date","time"}] and
// "files":[{...,"size","firstBlock","blockCount",...,"path"}] in list order, "path" as Find
// Files shows it. Names are converted from Latin-1 to UTF-8.
// reader and pool (both or neither): give each file its condition.
void WriteRecordLists(JsonWriter& json, const RecoveredTree& tree, const SectorReader* reader = nullptr,
                      const SelectedPool* pool = nullptr);

// "condition" and, for a damaged file, "unreadableBytes" and "unreadableRanges".
void WriteCondition(JsonWriter& json, const FileCondition& condition);

// One line per record for people: kind, item number, date, time, size and path (TerminalText).
void PrintRecordLists(std::ostream& out, const RecoveredTree& tree);

}  // namespace lumbra::cli
