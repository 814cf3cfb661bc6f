#pragma once
// Checks recovery reports against the DFXML schema kept beside the tests (tests/support/dfxml).
#include <filesystem>
#include <string>

namespace lumbra::test {

// What the schema finds wrong with this document, one problem a line; empty when it is valid.
std::string DfxmlSchemaProblems(const std::string& document);

// The same for every report (an .xml file whose root is dfxml) under the folder, each problem
// prefixed with the file's path.
std::string ReportSchemaProblemsUnder(const std::filesystem::path& folder);

}  // namespace lumbra::test
