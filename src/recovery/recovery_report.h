#pragma once
// The report every recovery run leaves beside the files it wrote: one entry per file chosen,
// as digital-forensics XML (DFXML: a fileobject per file inside the volume it came from) and
// as CSV with the same columns. Both are written through the destination-file interface, so
// they obey the copy's safety rules. docs/format/recovery_report.md describes both.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "recovery/destination_files.h"
#include "recovery/file_condition.h"
#include "recovery/saving_observer.h"

namespace lumbra {

struct ReportEntry {
    std::string originalPath;  // UTF-8, the names in full (FullFilePath)
    std::string writtenPath;   // the destination path (file-system bytes); empty when nothing was written
    int64_t size = 0;
    uint32_t timeStamp = 0;
    std::vector<DiskRun> runs;
    std::string sha256;  // of what this file wrote; empty when nothing was
    FileCondition condition;
    CopyOutcome outcome = CopyOutcome::EmptyFile;
    bool replaced = false;  // a later file of the run took its place (duplicates overwritten)
};

// One run: who wrote the report, from what, and each file chosen.
struct ReportRun {
    std::vector<std::string> commandLine;  // the program and its arguments, file-system bytes
    std::time_t startTime = 0;
    std::string sourcePath;  // the drive's device or the image file, file-system bytes
    std::string poolName;    // 8-bit disk text
    std::string volumeName;  // 8-bit disk text
    std::vector<ReportEntry> entries;
    bool stopped = false;          // Stop (or Ctrl-C) ended the run
    uint32_t filesNotReached = 0;  // files chosen that the stopped run never came to
};

struct ReportPaths {
    std::string xml;
    std::string csv;
};

// "lumbra-report.xml" and ".csv" in the folder, or "lumbra-report-N" with the first N from 2
// for which neither name is taken; an explicit path gives the XML its name and the CSV the
// same name ending in ".csv".
ReportPaths ChooseReportPaths(const DestinationFiles& files, const std::string& folder);
ReportPaths ReportPathsFor(const std::string& xmlPath);

// The two texts.
std::string ReportXml(const ReportRun& run);
std::string ReportCsv(const ReportRun& run);

// Writes both files (a half-written one is removed), each only where nothing has its name yet,
// so that a report never replaces a file (one this run recovered included); nullopt when both
// were written, else "PATH: <reason>" of the first that could not be.
std::optional<std::string> WriteRecoveryReport(DestinationFiles& files, const ReportPaths& paths, const ReportRun& run);

// "saved", "skipped, empty", ..., with ", then replaced by a later file" for an entry replaced.
std::string OutcomeText(const ReportEntry& entry);

// "2004-06-01T12:30:00Z"; empty for a stamp that is no real date.
std::string IsoStamp(uint32_t timeStamp);

// One CSV field: quoted when it holds a separator, a quote or a line break; quotes doubled.
std::string CsvField(const std::string& text);

// Writes a whole text file through the destination files (onlyNew: where nothing has the name
// yet); the path and the reason when it could not be written whole, nullopt when it was.
std::optional<std::string> WriteText(DestinationFiles& files, const std::string& path, const std::string& text,
                                     bool onlyNew = false);

}  // namespace lumbra
