#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlstring.h>

#include <ctime>
#include <memory>

#include "recovery/copy_fixture.h"
#include "recovery/csv_rows.h"
#include "recovery/recovery_run.h"
#include "recovery/report_text.h"
#include "support/dfxml_schema.h"
#include "support/sha256.h"

namespace lumbra {
namespace {

using test::ParseCsv;
using test::ReadWholeFile;

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

Document ParseXml(const std::string& text) {
    return Document(xmlReadMemory(text.data(), static_cast<int>(text.size()), "report.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

std::vector<xmlNode*> Children(xmlNode* parent) {
    std::vector<xmlNode*> children;
    for (xmlNode* node = parent ? parent->children : nullptr; node; node = node->next)
        if (node->type == XML_ELEMENT_NODE) children.push_back(node);
    return children;
}

std::string Name(xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string Namespace(xmlNode* node) {
    return node->ns ? reinterpret_cast<const char*>(node->ns->href) : std::string();
}

// The first child element of this name, or null.
xmlNode* Child(xmlNode* parent, const std::string& name) {
    for (xmlNode* node : Children(parent))
        if (Name(node) == name) return node;
    return nullptr;
}

std::string Content(xmlNode* node) {
    if (!node) return "(missing)";
    xmlChar* text = xmlNodeGetContent(node);
    std::string content = reinterpret_cast<const char*>(text);
    xmlFree(text);
    return content;
}

std::vector<std::string> Names(xmlNode* parent) {
    std::vector<std::string> names;
    for (xmlNode* node : Children(parent)) names.push_back(Name(node));
    return names;
}

test::NssImage ThreeFiles() {
    test::VolumePlan volume{.name = "DATA"};
    const uint64_t docs = volume.addFolder("Docs");
    volume.addFile("One.txt", docs, 5000);
    volume.addFile("Two.txt", docs, 7000);
    volume.addFile("Three.txt", 0, 300);
    return test::BuildVolume(volume);
}

// A stop within a file: that file is cut short and marked as the stop's, the others not reached.
TEST(RecoveryReportCsv, AStopWithinAFileMarksThatFileAndCountsTheOthersNotReached) {
    test::VolumePlan volume{.name = "DATA"};
    volume.addFile("Big.bin", 0, 4 * 1024 * 1024);
    volume.addFile("One.txt", 0, 5000);
    volume.addFile("Two.txt", 0, 7000);
    test::CopyFixture fixture(test::BuildVolume(volume));
    fixture.observer.onProgress = [&fixture](uint32_t) {
        if (fixture.observer.started.back().name == "Big.bin") fixture.flags.stopSaving = 1;
    };
    CopyContext context = fixture.context();
    const RecoveryRunResult run =
        RunRecovery(context, fixture.mounted.tree, {.everything = true}, fixture.destination.path().string(), {});
    const size_t handled = run.summary.results.size();
    ASSERT_GE(handled, 1u);
    EXPECT_EQ(run.summary.results.back().second.outcome, CopyOutcome::CutShort);
    EXPECT_EQ(run.summary.saved, handled);
    EXPECT_EQ(run.summary.stopCutShort, 1u);
    EXPECT_EQ(run.notReached, 3u - handled);
}

constexpr const char* kDfxml = "http://www.forensicswiki.org/wiki/Category:Digital_Forensics_XML";
constexpr const char* kOwn = "urn:corvalt:lumbra-nss:recovery-report";

// The order the DFXML schema asks for: metadata first, then creator, source and the volume
// that holds the fileobjects.
TEST(RecoveryReportXml, MetadataCreatorSourceAndVolumeComeInTheOrderTheSchemaAsks) {
    test::CopyFixture fixture(ThreeFiles());
    CopyContext context = fixture.context();
    const std::time_t before = std::time(nullptr);
    const RecoveryRunResult run = RunRecovery(context, fixture.mounted.tree, {.everything = true},
                                              fixture.destination.path().string(),
                                              {.sourceName = "/dev/sdz",
                                               .poolName = "POOL",
                                               .volumeName = "DATA",
                                               .commandLine = {"lumbra-nss-cli", "extract", "--out", "my dir"}});
    const std::time_t after = std::time(nullptr);
    ASSERT_TRUE(run.report);
    const auto bytes = ReadWholeFile(run.report->xml);
    const Document document = ParseXml(std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(document);
    xmlNode* root = xmlDocGetRootElement(document.get());
    EXPECT_EQ(Name(root), "dfxml");
    EXPECT_EQ(Namespace(root), kDfxml);
    EXPECT_EQ(Names(root), (std::vector<std::string>{"metadata", "creator", "source", "volume", "run"}));

    xmlNode* type = Child(Child(root, "metadata"), "type");
    ASSERT_TRUE(type);
    EXPECT_EQ(Namespace(type), "http://purl.org/dc/elements/1.1/");
    EXPECT_EQ(Content(type), "Recovery Report");

    xmlNode* creator = Child(root, "creator");
    EXPECT_EQ(Names(creator),
              (std::vector<std::string>{"program", "version", "build_environment", "execution_environment"}));
    EXPECT_EQ(Content(Child(creator, "program")), "Corvalt Lumbra Novell NSS");
    EXPECT_EQ(Content(Child(creator, "version")), "4.03");
    EXPECT_FALSE(Content(Child(Child(creator, "build_environment"), "compiler")).empty());
    EXPECT_EQ(Children(Child(creator, "build_environment")).size(), 3u);  // compiler and two libraries
    xmlNode* execution = Child(creator, "execution_environment");
    EXPECT_EQ(Content(Child(execution, "command_line")), "lumbra-nss-cli extract --out 'my dir'");
    const std::string start = Content(Child(execution, "start_time"));
    std::tm parsed{};
    ASSERT_NE(strptime(start.c_str(), "%Y-%m-%dT%H:%M:%SZ", &parsed), nullptr) << start;
    const std::time_t started = timegm(&parsed);
    EXPECT_GE(started, before);
    EXPECT_LE(started, after);
    EXPECT_EQ(Namespace(Child(root, "run")), kOwn);
    EXPECT_EQ(Content(Child(Child(root, "run"), "stopped")), "0");

    EXPECT_EQ(Names(Child(root, "source")), std::vector<std::string>{"image_filename"});
    EXPECT_EQ(Content(Child(Child(root, "source"), "image_filename")), "/dev/sdz");

    xmlNode* volume = Child(root, "volume");
    EXPECT_EQ(Content(Child(volume, "block_size")), "4096");
    EXPECT_EQ(Namespace(Child(volume, "block_size")), kDfxml);
    EXPECT_EQ(Content(Child(volume, "pool_name")), "POOL");
    EXPECT_EQ(Namespace(Child(volume, "pool_name")), kOwn);
    EXPECT_EQ(Content(Child(volume, "volume_name")), "DATA");
    size_t fileObjects = 0;
    for (xmlNode* node : Children(volume)) {
        if (Name(node) != "fileobject") continue;
        ++fileObjects;
        const std::vector<std::string> names = Names(node);
        ASSERT_GE(names.size(), 3u);
        EXPECT_EQ(names[0], "filename");
        EXPECT_EQ(names[1], "name_type");
        EXPECT_EQ(Namespace(Child(node, "hashdigest")), kDfxml);
        EXPECT_EQ(Namespace(Child(node, "written_path")), kOwn);
    }
    EXPECT_EQ(fileObjects, 3u);
    const std::vector<std::string> volumeNames = Names(volume);
    EXPECT_EQ(std::vector<std::string>(volumeNames.end() - 2, volumeNames.end()),
              (std::vector<std::string>{"pool_name", "volume_name"}));
}

TEST(ReportText, FileSystemBytesBecomeUtf8WithEveryOtherByteEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"d\xC3\xA9mo.img", "d\xC3\xA9mo.img"},                  // UTF-8 stays
        {"d\xE9mo.img", "d\\xE9mo.img"},                          // Latin-1 byte: not UTF-8
        {"a\x01" "b\x7F" "c\n", "a\\x01b\\x7Fc\\x0A"},            // control characters
        {"back\\slash", "back\\\\slash"},                         // the escape character itself
        {"\xC0\x80", "\\xC0\\x80"},                               // overlong form of NUL
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                      // a surrogate
        {"\xE2\x82", "\\xE2\\x82"},                               // cut short
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},                         // the euro sign
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                 // four bytes
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},             // past U+10FFFF
        {std::string("nul\0x", 5), "nul\\x00x"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(FileSystemText(bytes), text) << text;
    EXPECT_EQ(DiskNameXmlText("\\A\x01" "B\xC3\xA9\x7F"), "\\A\xE2\x90\x81" "B\xC3\xA9\xE2\x90\xA1");
    EXPECT_EQ(CommandLineText({"prog", "", "it's", "a/b=c,d", "x y"}), "prog '' 'it'\\''s' a/b=c,d 'x y'");
}

// An image named in UTF-8, a destination with a control byte and bytes that are no UTF-8, and
// a disk name with control characters: the XML is well formed and says each exactly; the CSV
// is valid UTF-8.
TEST(RecoveryReportXml, PathsThatAreNotPlainAsciiKeepTheReportWellFormed) {
    ReportRun run{.commandLine = {"lumbra-nss-cli", "--out", "/out/\x01\xFF"},
                  .sourcePath = "d\xC3\xA9mo.img",
                  .poolName = "P\xE9",
                  .volumeName = "V\x02"};
    run.entries.push_back({.originalPath = "\\DIR\\A\x01" "B\xC3\xA9.TXT",
                           .writtenPath = "/out/\x01\xFF/A_B\xC3\xA9.TXT",
                           .size = 3,
                           .sha256 = "ab",
                           .outcome = CopyOutcome::Copied});
    run.entries.push_back({.originalPath = "\\DIR\\CUT.TXT",
                           .size = 9000,
                           .condition = {.kind = ConditionKind::CutShort,
                                         .unreadableBytes = 512,
                                         .unreadableRanges = {{4096, 512}}},
                           .outcome = CopyOutcome::CutShort});
    run.stopped = true;
    run.filesNotReached = 2;
    const std::string xml = ReportXml(run);
    EXPECT_EQ(test::DfxmlSchemaProblems(xml), "") << xml;
    const Document document = ParseXml(xml);
    ASSERT_TRUE(document) << xml;
    xmlNode* root = xmlDocGetRootElement(document.get());
    EXPECT_EQ(Content(Child(Child(root, "source"), "image_filename")), "d\xC3\xA9mo.img");
    xmlNode* volume = Child(root, "volume");
    EXPECT_EQ(Content(Child(volume, "pool_name")), "P\xC3\xA9");
    EXPECT_EQ(Content(Child(volume, "volume_name")), "V\xE2\x90\x82");
    xmlNode* file = Child(volume, "fileobject");
    EXPECT_EQ(Content(Child(file, "filename")), "\\DIR\\A\xE2\x90\x81" "B\xC3\xA9.TXT");
    EXPECT_EQ(Content(Child(file, "written_path")), "/out/\\x01\\xFF/A_B\xC3\xA9.TXT");
    EXPECT_EQ(Content(Child(Child(Child(root, "creator"), "execution_environment"), "command_line")),
              "lumbra-nss-cli --out '/out/\\x01\\xFF'");

    const std::string csv = ReportCsv(run);
    EXPECT_NE(xmlCheckUTF8(reinterpret_cast<const xmlChar*>(csv.c_str())), 0) << csv;
    const auto rows = ParseCsv(csv);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][1], "/out/\\x01\\xFF/A_B\xC3\xA9.TXT");
    EXPECT_EQ(rows[1][0], "\\DIR\\A\x01" "B\xC3\xA9.TXT");
}

// Two files of one name in one folder, duplicates overwritten: the first entry keeps the digest
// of what it wrote and says that the second replaced it.
TEST(RecoveryReportCsv, AFileReplacedByALaterOneKeepsItsOwnDigestAndSaysSo) {
    test::VolumePlan plan{.name = "DATA"};
    plan.addFile("Same.txt", 0, 3000);
    plan.addFile("Same.txt", 0, 5000);
    test::CopyFixture fixture(test::BuildVolume(plan));
    ASSERT_EQ(fixture.mounted.tree.files().size(), 2u);
    fixture.duplicateAction = kOverwriteDuplicates;
    std::vector<std::vector<uint8_t>> written;
    const std::string target = (fixture.destination.path() / "Same.txt").string();
    fixture.observer.onFinished = [&](const CopyResult&) { written.push_back(ReadWholeFile(target)); };
    CopyContext context = fixture.context();
    const RecoveryRunResult run =
        RunRecovery(context, fixture.mounted.tree, {.everything = true}, fixture.destination.path().string(), {});
    ASSERT_TRUE(run.report);
    ASSERT_EQ(written.size(), 2u);
    ASSERT_NE(written[0], written[1]);
    const auto bytes = ReadWholeFile(run.report->csv);
    const auto rows = ParseCsv(std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][1], target);
    EXPECT_EQ(rows[2][1], target);
    EXPECT_EQ(rows[1][4], test::Sha256::hex(written[0]));
    EXPECT_EQ(rows[2][4], test::Sha256::hex(written[1]));
    EXPECT_EQ(rows[1][9], "saved, then replaced by a later file");
    EXPECT_EQ(rows[2][9], "saved");
}

// Stop after the first of three files: the report says the run stopped and that two files were
// never reached, in the XML and in a last CSV row.
TEST(RecoveryReportCsv, AStoppedRunCountsTheFilesItNeverReached) {
    test::CopyFixture fixture(ThreeFiles());
    fixture.observer.onFinished = [&fixture](const CopyResult&) { fixture.flags.stopSaving = 1; };
    CopyContext context = fixture.context();
    const RecoveryRunResult run =
        RunRecovery(context, fixture.mounted.tree, {.everything = true}, fixture.destination.path().string(), {});
    ASSERT_TRUE(run.report);
    EXPECT_TRUE(run.summary.stopped);
    ASSERT_EQ(run.summary.results.size(), 1u);
    const auto csvBytes = ReadWholeFile(run.report->csv);
    const auto rows = ParseCsv(std::string(csvBytes.begin(), csvBytes.end()));
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_EQ(rows[2].size(), rows[0].size());
    EXPECT_EQ(rows[2][0], "");
    EXPECT_EQ(rows[2][9], "run stopped, 2 file(s) not reached");

    const auto xmlBytes = ReadWholeFile(run.report->xml);
    const Document document = ParseXml(std::string(xmlBytes.begin(), xmlBytes.end()));
    ASSERT_TRUE(document);
    xmlNode* record = Child(xmlDocGetRootElement(document.get()), "run");
    EXPECT_EQ(Content(Child(record, "stopped")), "1");
    EXPECT_EQ(Content(Child(record, "files_not_reached")), "2");

    EXPECT_EQ(run.notReached, 2u);
    EXPECT_EQ(run.summary.stopCutShort, 0u) << "the stop came between two files";

    // A run that ends by itself has no such row.
    test::CopyFixture whole(ThreeFiles());
    CopyContext again = whole.context();
    const RecoveryRunResult finished =
        RunRecovery(again, whole.mounted.tree, {.everything = true}, whole.destination.path().string(), {});
    const auto finishedBytes = ReadWholeFile(finished.report->csv);
    EXPECT_EQ(ParseCsv(std::string(finishedBytes.begin(), finishedBytes.end())).size(), 4u);
}

}  // namespace
}  // namespace lumbra
