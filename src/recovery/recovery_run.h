#pragma once
// One recovery run as both front ends start it: the saving of the chosen files, then each
// file's condition, its time stamp when asked, and the report beside the files.
#include <optional>
#include <string>
#include <vector>

#include "disk/sector_reader.h"
#include "recovery/file_condition.h"
#include "recovery/recovery_report.h"
#include "recovery/save_driver.h"

namespace lumbra {

struct RecoveryRunOptions {
    bool writeReport = true;
    std::optional<std::string> reportPath;  // the XML's path; unset: chosen in the destination
    bool keepTimes = false;                 // written files take their record's time stamp
    // For the report: the drive or image, the pool and volume (8-bit disk text) the files come
    // from, and the program's command line.
    std::string sourceName;
    std::string poolName;
    std::string volumeName;
    std::vector<std::string> commandLine;
};

struct RecoveryRunResult {
    SaveSummary summary;
    uint32_t damaged = 0;   // files written with unreadable bytes
    uint32_t cutShort = 0;  // files written shorter than their size
    uint32_t notReached = 0;  // files chosen that a stopped run never came to
    std::optional<ReportPaths> report;  // where the report went; unset when none was written
    // "PATH: <reason>" when the report could not be written (the files written stay).
    std::optional<std::string> reportError;
};

// The condition of a file as known now (before any copy: from the damage
// map alone).
FileCondition ConditionOfFile(const SectorReader& reader, const SelectedPool& pool, const ItemRecord& file,
                              bool dataRead = false);

// Saves the selection through context (whose files are wrapped to take each file's digest).
RecoveryRunResult RunRecovery(CopyContext& context, const RecoveredTree& tree, const SaveSelection& selection,
                              const std::string& destination, const RecoveryRunOptions& options);

// Keeps the files of a selection whose condition, known before any copy, is `kind`.
SaveSelection SelectByCondition(const SectorReader& reader, const SelectedPool& pool, const RecoveredTree& tree,
                                const SaveSelection& selection, ConditionKind kind);

}  // namespace lumbra
