#include "recovery/recovery_report.h"

#include <libxml/xmlwriter.h>

#include <ctime>
#include <memory>

#include "disk/text_encoding.h"
#include "recovery/file_copy.h"
#include "recovery/item_record.h"

namespace lumbra {
namespace {

constexpr const char* kDfxmlNamespace = "http://www.forensicswiki.org/wiki/Category:Digital_Forensics_XML";
constexpr const char* kOwnNamespace = "urn:corvalt:lumbra-nss:recovery-report";

// 8-bit disk text as UTF-8 that XML 1.0 can carry: control characters, which no XML document
// may hold, become "?".
std::string XmlSafeText(const std::string& latin1) {
    std::string text = latin1;
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') c = '?';
    return Latin1ToUtf8(text);
}

std::string OutcomeText(CopyOutcome outcome) {
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
    }
    return "";
}

struct WriterDeleter {
    void operator()(xmlTextWriter* writer) const { xmlFreeTextWriter(writer); }
};
struct BufferDeleter {
    void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
const xmlChar* X(const std::string& text) { return X(text.c_str()); }

void Element(xmlTextWriter* w, const char* name, const std::string& text) {
    xmlTextWriterWriteElement(w, X(name), X(text));
}

void OwnElement(xmlTextWriter* w, const char* name, const std::string& text) {
    xmlTextWriterWriteElementNS(w, X("lumbra"), X(name), nullptr, X(text));
}

void WriteFileObject(xmlTextWriter* w, const ReportEntry& entry) {
    xmlTextWriterStartElement(w, X("fileobject"));
    Element(w, "filename", XmlSafeText(entry.originalPath));
    Element(w, "filesize", std::to_string(entry.size));
    if (const std::string mtime = IsoStamp(entry.timeStamp); !mtime.empty()) Element(w, "mtime", mtime);
    xmlTextWriterStartElement(w, X("byte_runs"));
    for (const DiskRun& run : entry.runs) {
        xmlTextWriterStartElement(w, X("byte_run"));
        xmlTextWriterWriteAttribute(w, X("file_offset"), X(std::to_string(run.fileOffset)));
        xmlTextWriterWriteAttribute(w, X("img_offset"), X(std::to_string(run.diskOffset)));
        xmlTextWriterWriteAttribute(w, X("len"), X(std::to_string(run.length)));
        xmlTextWriterEndElement(w);
    }
    xmlTextWriterEndElement(w);
    if (!entry.sha256.empty()) {
        xmlTextWriterStartElement(w, X("hashdigest"));
        xmlTextWriterWriteAttribute(w, X("type"), X("sha256"));
        xmlTextWriterWriteString(w, X(entry.sha256));
        xmlTextWriterEndElement(w);
    }
    // The written path is already UTF-8 (a safe file name below the destination).
    OwnElement(w, "written_path", entry.writtenPath);
    OwnElement(w, "outcome", OutcomeText(entry.outcome));
    OwnElement(w, "condition", ConditionText(entry.condition.kind));
    OwnElement(w, "unreadable_bytes", std::to_string(entry.condition.unreadableBytes));
    xmlTextWriterStartElementNS(w, X("lumbra"), X("unreadable_ranges"), nullptr);
    for (const ByteArea& area : entry.condition.unreadableRanges) {
        xmlTextWriterStartElementNS(w, X("lumbra"), X("range"), nullptr);
        xmlTextWriterWriteAttribute(w, X("file_offset"), X(std::to_string(area.position)));
        xmlTextWriterWriteAttribute(w, X("len"), X(std::to_string(area.size)));
        xmlTextWriterEndElement(w);
    }
    xmlTextWriterEndElement(w);
    xmlTextWriterEndElement(w);
}

}  // namespace

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

}  // namespace

bool WriteText(DestinationFiles& files, const std::string& path, const std::string& text) {
    auto file = files.create(path);
    if (!file) return false;
    if (file->write(reinterpret_cast<const uint8_t*>(text.data()), text.size())) return file->close();
    file->abandon();
    return false;
}

std::string IsoStamp(uint32_t timeStamp) {
    if (timeStamp >= kTimeStampLimit) return {};
    const std::time_t seconds = static_cast<std::time_t>(timeStamp);
    std::tm utc{};
    if (!gmtime_r(&seconds, &utc)) return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
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

std::string ReportXml(const std::vector<ReportEntry>& entries, const std::string& sourceName) {
    std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
    if (!buffer) return {};
    std::unique_ptr<xmlTextWriter, WriterDeleter> writer(xmlNewTextWriterMemory(buffer.get(), 0));
    if (!writer) return {};
    xmlTextWriter* w = writer.get();
    xmlTextWriterSetIndent(w, 1);
    xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
    xmlTextWriterStartElement(w, X("dfxml"));
    xmlTextWriterWriteAttribute(w, X("xmlns"), X(kDfxmlNamespace));
    xmlTextWriterWriteAttribute(w, X("xmlns:lumbra"), X(kOwnNamespace));
    xmlTextWriterWriteAttribute(w, X("version"), X("1.0"));
    xmlTextWriterStartElement(w, X("creator"));
    Element(w, "program", "Corvalt Lumbra Novell NSS");
    xmlTextWriterEndElement(w);
    xmlTextWriterStartElement(w, X("source"));
    Element(w, "image_filename", XmlSafeText(sourceName));
    xmlTextWriterEndElement(w);
    for (const ReportEntry& entry : entries) WriteFileObject(w, entry);
    xmlTextWriterEndDocument(w);
    writer.reset();
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<size_t>(xmlBufferLength(buffer.get())));
}

std::string ReportCsv(const std::vector<ReportEntry>& entries) {
    std::string csv =
        "original_path,written_path,size,byte_runs,sha256,condition,unreadable_bytes,unreadable_ranges,mtime,outcome\r\n";
    for (const ReportEntry& entry : entries) {
        const std::string runs = Joined(entry.runs, [](const DiskRun& run) {
            return std::to_string(run.fileOffset) + ":" + std::to_string(run.diskOffset) + ":" + std::to_string(run.length);
        });
        const std::string ranges = Joined(entry.condition.unreadableRanges, [](const ByteArea& area) {
            return std::to_string(area.position) + ":" + std::to_string(area.size);
        });
        csv += CsvField(Latin1ToUtf8(entry.originalPath)) + "," + CsvField(entry.writtenPath) + "," +
               std::to_string(entry.size) + "," + runs + "," + entry.sha256 + "," +
               CsvField(ConditionText(entry.condition.kind)) + "," + std::to_string(entry.condition.unreadableBytes) +
               "," + ranges + "," + IsoStamp(entry.timeStamp) + "," + CsvField(OutcomeText(entry.outcome)) + "\r\n";
    }
    return csv;
}

bool WriteRecoveryReport(DestinationFiles& files, const ReportPaths& paths, const std::vector<ReportEntry>& entries,
                         const std::string& sourceName) {
    const bool xml = WriteText(files, paths.xml, ReportXml(entries, sourceName));
    const bool csv = WriteText(files, paths.csv, ReportCsv(entries));
    return xml && csv;
}

}  // namespace lumbra
