#include "recovery/recovery_report.h"

#include <cerrno>
#include <cstring>

#include "recovery/file_copy.h"
#include "recovery/item_record.h"
#include "recovery/report_text.h"

namespace lumbra {
namespace {

const char* CopyOutcomeText(CopyOutcome outcome) {
    switch (outcome) {
        case CopyOutcome::Copied: return "saved";
        case CopyOutcome::CutShort: return "saved, cut short";
        case CopyOutcome::EmptyFile: return "skipped, empty";
        case CopyOutcome::Stopped: return "not saved, stopped";
        case CopyOutcome::FilteredOut: return "skipped, no filter matched";
        case CopyOutcome::DuplicateSkipped: return "skipped, duplicate";
        case CopyOutcome::CreationFailed: return "failed, not created";
        case CopyOutcome::WriteFailed: return "failed, not written";
        case CopyOutcome::ReplacesInput: return "refused, an input of this run";
        case CopyOutcome::AlreadySaved: return "already there";
        case CopyOutcome::EarlierKept: return "not saved, cut short; the earlier file there kept";
    }
    return "";
}

}  // namespace

// One CSV field: quoted when it holds a separator, a quote or a line break; quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

namespace {

template <typename Item, typename Format>
std::string Joined(const std::vector<Item>& items, Format format) {
    std::string text;
    for (const Item& item : items) {
        if (!text.empty()) text += ';';
        text += format(item);
    }
    return text;
}

// The reason of the last failed call, or `fallback` when the system gave none.
std::string Reason(const char* fallback) { return errno != 0 ? std::strerror(errno) : fallback; }

}  // namespace

std::optional<std::string> WriteText(DestinationFiles& files, const std::string& path, const std::string& text,
                                     bool onlyNew) {
    errno = 0;
    auto file = onlyNew ? files.createNew(path) : files.create(path);
    if (!file) return path + ": " + Reason("it cannot be created");
    errno = 0;
    if (!file->write(reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
        const std::string reason = Reason("it could not be written");
        file->abandon();
        return path + ": " + reason;
    }
    errno = 0;
    if (!file->close()) return path + ": " + Reason("it could not be written");
    return std::nullopt;
}

std::string OutcomeText(const ReportEntry& entry) {
    std::string text = CopyOutcomeText(entry.outcome);
    if (entry.replaced) text += ", then replaced by a later file";
    return text;
}

std::string IsoStamp(uint32_t timeStamp) {
    if (timeStamp >= kTimeStampLimit) return {};
    // The civil date of a day count from 1970, in integers (a list of a million records gives
    // every one its stamp, and the C library's calendar calls cost more than the rest of it).
    const uint32_t days = timeStamp / 86400;
    const uint32_t secondOfDay = timeStamp % 86400;
    const uint32_t shifted = days + 719468;  // days since 0000-03-01
    const uint32_t era = shifted / 146097;
    const uint32_t dayOfEra = shifted - era * 146097;
    const uint32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const uint32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const uint32_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const uint32_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    const uint32_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const uint32_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[] = "0000-00-00T00:00:00Z";
    auto put = [&text](size_t at, uint32_t value, size_t digits) {
        for (size_t i = digits; i-- > 0; value /= 10) text[at + i] = static_cast<char>('0' + value % 10);
    };
    put(0, year, 4);
    put(5, month, 2);
    put(8, day, 2);
    put(11, secondOfDay / 3600, 2);
    put(14, secondOfDay / 60 % 60, 2);
    put(17, secondOfDay % 60, 2);
    return text;
}

ReportPaths ReportPathsFor(const std::string& xmlPath) {
    const bool xmlSuffix = xmlPath.size() > 4 && xmlPath.compare(xmlPath.size() - 4, 4, ".xml") == 0;
    return {xmlPath, (xmlSuffix ? xmlPath.substr(0, xmlPath.size() - 4) : xmlPath) + ".csv"};
}

ReportPaths ChooseReportPaths(const DestinationFiles& files, const std::string& folder) {
    for (uint32_t n = 1;; ++n) {
        const std::string stem = JoinPath(folder, n == 1 ? "lumbra-report" : "lumbra-report-" + std::to_string(n));
        ReportPaths paths{stem + ".xml", stem + ".csv"};
        if (!files.exists(paths.xml) && !files.exists(paths.csv)) return paths;
    }
}

std::string ReportCsv(const ReportRun& run) {
    std::string csv =
        "original_path,written_path,size,byte_runs,sha256,condition,unreadable_bytes,unreadable_ranges,mtime,outcome\r\n";
    for (const ReportEntry& entry : run.entries) {
        const std::string runs = Joined(entry.runs, [](const DiskRun& diskRun) {
            return std::to_string(diskRun.fileOffset) + ":" + std::to_string(diskRun.diskOffset) + ":" +
                   std::to_string(diskRun.length);
        });
        const std::string ranges = Joined(entry.condition.unreadableRanges, [](const ByteArea& area) {
            return std::to_string(area.position) + ":" + std::to_string(area.size);
        });
        csv += CsvField(entry.originalPath) + "," + CsvField(FileSystemText(entry.writtenPath)) + "," +
               std::to_string(entry.size) + "," + runs + "," + entry.sha256 + "," +
               CsvField(ConditionText(entry.condition.kind)) + "," + std::to_string(entry.condition.unreadableBytes) +
               "," + ranges + "," + IsoStamp(entry.timeStamp) + "," + CsvField(OutcomeText(entry)) + "\r\n";
    }
    // A stopped run ends with a row of its own: every column empty but the outcome.
    if (run.stopped)
        csv += ",,,,,,,,," + CsvField("run stopped, " + std::to_string(run.filesNotReached) + " file(s) not reached") +
               "\r\n";
    return csv;
}

std::optional<std::string> WriteRecoveryReport(DestinationFiles& files, const ReportPaths& paths, const ReportRun& run) {
    const auto xml = WriteText(files, paths.xml, ReportXml(run), true);
    const auto csv = WriteText(files, paths.csv, ReportCsv(run), true);
    return xml ? xml : csv;
}

}  // namespace lumbra
