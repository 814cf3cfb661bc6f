#pragma once
// The report every recovery run leaves beside the files it wrote: one entry per file chosen,
// as digital-forensics XML (a fileobject per file) and as CSV with the same columns. Both are
// written through the destination-file interface, so they obey the copy's safety rules.
#include <cstdint>
#include <string>
#include <vector>

#include "recovery/destination_files.h"
#include "recovery/file_condition.h"
#include "recovery/saving_observer.h"

namespace lumbra {

struct ReportEntry {
    std::string originalPath;  // 8-bit, as Find Files shows it, with the name
    std::string writtenPath;   // the destination path; empty when nothing was written
    int64_t size = 0;
    uint32_t timeStamp = 0;
    std::vector<DiskRun> runs;
    std::string sha256;  // of what was written; empty when nothing was
    FileCondition condition;
    CopyOutcome outcome = CopyOutcome::EmptyFile;
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
std::string ReportXml(const std::vector<ReportEntry>& entries, const std::string& sourceName);
std::string ReportCsv(const std::vector<ReportEntry>& entries);

// Writes both files; false when either could not be written (a half-written one is removed).
bool WriteRecoveryReport(DestinationFiles& files, const ReportPaths& paths, const std::vector<ReportEntry>& entries,
                         const std::string& sourceName);

// "2004-06-01T12:30:00Z"; empty for a stamp that is no real date.
std::string IsoStamp(uint32_t timeStamp);

// One CSV field: quoted when it holds a separator, a quote or a line break; quotes doubled.
std::string CsvField(const std::string& text);

// Writes a whole text file through the destination files; false when nothing was written.
bool WriteText(DestinationFiles& files, const std::string& path, const std::string& text);

}  // namespace lumbra
