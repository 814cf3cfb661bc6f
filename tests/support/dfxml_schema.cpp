#include "support/dfxml_schema.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <system_error>

namespace lumbra::test {
namespace {

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
struct ValidatorDeleter {
    void operator()(xmlSchemaValidCtxt* context) const { xmlSchemaFreeValidCtxt(context); }
};

void Collect(void* context, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    char line[1024];
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    static_cast<std::string*>(context)->append(line);
}

// Parsed once: the schema and the two it imports are read from the copy in the source tree.
xmlSchema* Schema(std::string& problems) {
    static std::once_flag once;
    static xmlSchema* schema = nullptr;
    static std::string loadProblems;
    std::call_once(once, [] {
        xmlSchemaParserCtxt* parser = xmlSchemaNewParserCtxt(LUMBRA_DFXML_SCHEMA);
        xmlSchemaSetParserErrors(parser, Collect, Collect, &loadProblems);
        schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
    });
    if (!schema) problems += "the schema " LUMBRA_DFXML_SCHEMA " does not load: " + loadProblems;
    return schema;
}

std::string Problems(xmlDoc* document) {
    std::string problems;
    xmlSchema* schema = Schema(problems);
    if (!schema) return problems;
    std::unique_ptr<xmlSchemaValidCtxt, ValidatorDeleter> validator(xmlSchemaNewValidCtxt(schema));
    xmlSchemaSetValidErrors(validator.get(), Collect, Collect, &problems);
    if (xmlSchemaValidateDoc(validator.get(), document) != 0 && problems.empty()) problems = "not valid\n";
    return problems;
}

std::unique_ptr<xmlDoc, DocumentDeleter> Parse(const std::string& text) {
    return std::unique_ptr<xmlDoc, DocumentDeleter>(
        xmlReadMemory(text.data(), static_cast<int>(text.size()), "report.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

}  // namespace

std::string DfxmlSchemaProblems(const std::string& text) {
    const auto document = Parse(text);
    if (!document) return "not well-formed\n";
    return Problems(document.get());
}

std::string ReportSchemaProblemsUnder(const std::filesystem::path& folder) {
    std::string problems;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error) || it->path().extension() != ".xml") continue;
        std::ifstream in(it->path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto document = Parse(text);
        const xmlNode* root = document ? xmlDocGetRootElement(document.get()) : nullptr;
        if (!root || xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>("dfxml")) != 0) continue;
        if (const std::string found = Problems(document.get()); !found.empty())
            problems += it->path().string() + ": " + found;
    }
    return problems;
}

}  // namespace lumbra::test
