// The DFXML side of the recovery report: metadata, creator, source, then one volume holding a
// fileobject per file, then how the run ended. The program's own facts are elements of its own
// namespace, each after the DFXML elements of the same parent, where the schema lets any element
// stand.
#include <libxml/xmlversion.h>
#include <libxml/xmlwriter.h>
#include <openssl/opensslv.h>
#include <sys/utsname.h>

#include <memory>

#include "disk/sector.h"
#include "disk/text_encoding.h"
#include "platform/product_version.h"
#include "recovery/recovery_report.h"
#include "recovery/report_text.h"

namespace lumbra {
namespace {

constexpr const char* kDfxmlNamespace = "http://www.forensicswiki.org/wiki/Category:Digital_Forensics_XML";
constexpr const char* kDublinCoreNamespace = "http://purl.org/dc/elements/1.1/";
constexpr const char* kOwnNamespace = "urn:corvalt:lumbra-nss:recovery-report";

#if defined(__clang__)
constexpr const char* kCompiler = "clang " __clang_version__;
#elif defined(__GNUC__)
constexpr const char* kCompiler = "GCC " __VERSION__;
#else
constexpr const char* kCompiler = "unknown";
#endif

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

void Library(xmlTextWriter* w, const char* name, const char* version) {
    xmlTextWriterStartElement(w, X("library"));
    xmlTextWriterWriteAttribute(w, X("name"), X(name));
    xmlTextWriterWriteAttribute(w, X("version"), X(version));
    xmlTextWriterEndElement(w);
}

void WriteCreator(xmlTextWriter* w, const ReportRun& run) {
    xmlTextWriterStartElement(w, X("creator"));
    xmlTextWriterWriteAttribute(w, X("version"), X("1.0"));
    Element(w, "program", std::string(kProductName));
    Element(w, "version", std::string(kProductVersion));
    xmlTextWriterStartElement(w, X("build_environment"));
    Element(w, "compiler", kCompiler);
    Library(w, "libxml2", LIBXML_DOTTED_VERSION);
    Library(w, "OpenSSL", OPENSSL_FULL_VERSION_STR);
    xmlTextWriterEndElement(w);
    xmlTextWriterStartElement(w, X("execution_environment"));
    struct utsname system {};
    if (uname(&system) == 0) {
        Element(w, "os_sysname", FileSystemText(system.sysname));
        Element(w, "os_release", FileSystemText(system.release));
        Element(w, "arch", FileSystemText(system.machine));
    }
    Element(w, "command_line", FileSystemText(CommandLineText(run.commandLine)));
    if (const std::string start = IsoTime(run.startTime); !start.empty()) Element(w, "start_time", start);
    xmlTextWriterEndElement(w);
    xmlTextWriterEndElement(w);
}

// The creator's children are fixed by the schema, so how the run ended closes the document.
void WriteRunEnd(xmlTextWriter* w, const ReportRun& run) {
    xmlTextWriterStartElementNS(w, X("lumbra"), X("run"), nullptr);
    OwnElement(w, "stopped", run.stopped ? "1" : "0");
    OwnElement(w, "files_not_reached", std::to_string(run.filesNotReached));
    xmlTextWriterEndElement(w);
}

void WriteFileObject(xmlTextWriter* w, const ReportEntry& entry) {
    xmlTextWriterStartElement(w, X("fileobject"));
    Element(w, "filename", DiskNameXmlText(entry.originalPath));
    Element(w, "name_type", "r");
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
    OwnElement(w, "written_path", FileSystemText(entry.writtenPath));
    OwnElement(w, "outcome", OutcomeText(entry));
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

void WriteVolume(xmlTextWriter* w, const ReportRun& run) {
    xmlTextWriterStartElement(w, X("volume"));
    Element(w, "sector_size", std::to_string(kSectorSize));
    Element(w, "block_size", std::to_string(kBlockSize));
    Element(w, "ftype_str", "NSS");
    for (const ReportEntry& entry : run.entries) WriteFileObject(w, entry);
    OwnElement(w, "pool_name", DiskNameXmlText(Latin1ToUtf8(run.poolName)));
    OwnElement(w, "volume_name", DiskNameXmlText(Latin1ToUtf8(run.volumeName)));
    xmlTextWriterEndElement(w);
}

}  // namespace

std::string ReportXml(const ReportRun& run) {
    std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
    if (!buffer) return {};
    std::unique_ptr<xmlTextWriter, WriterDeleter> writer(xmlNewTextWriterMemory(buffer.get(), 0));
    if (!writer) return {};
    xmlTextWriter* w = writer.get();
    xmlTextWriterSetIndent(w, 1);
    xmlTextWriterStartDocument(w, nullptr, "UTF-8", nullptr);
    xmlTextWriterStartElement(w, X("dfxml"));
    xmlTextWriterWriteAttribute(w, X("xmlns"), X(kDfxmlNamespace));
    xmlTextWriterWriteAttribute(w, X("xmlns:dc"), X(kDublinCoreNamespace));
    xmlTextWriterWriteAttribute(w, X("xmlns:lumbra"), X(kOwnNamespace));
    xmlTextWriterWriteAttribute(w, X("version"), X("1.0"));
    xmlTextWriterStartElement(w, X("metadata"));
    xmlTextWriterWriteElementNS(w, X("dc"), X("type"), nullptr, X("Recovery Report"));
    xmlTextWriterEndElement(w);
    WriteCreator(w, run);
    xmlTextWriterStartElement(w, X("source"));
    Element(w, "image_filename", FileSystemText(run.sourcePath));
    xmlTextWriterEndElement(w);
    WriteVolume(w, run);
    WriteRunEnd(w, run);
    xmlTextWriterEndDocument(w);
    writer.reset();
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<size_t>(xmlBufferLength(buffer.get())));
}

}  // namespace lumbra
