#include "recovery/safe_file_name.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

struct NameCase {
    std::string recovered;
    std::string onDisk;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << "\"" << c.recovered << "\""; }

class SafeFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileNames, BecomeOneEntryOfTheirFolder) { EXPECT_EQ(SafeFileName(GetParam().recovered), GetParam().onDisk); }

INSTANTIATE_TEST_SUITE_P(
    Table, SafeFileNames,
    ::testing::Values(NameCase{"REPORT.DOC", "REPORT.DOC"}, NameCase{"Caf\xE9.xls", "Caf\xC3\xA9.xls"},
                      NameCase{"\xFF", "\xC3\xBF"}, NameCase{"a/b", "a_b"}, NameCase{"a\\b", "a_b"},
                      NameCase{"../x", ".._x"}, NameCase{".", "_."}, NameCase{"..", "_.."}, NameCase{"", "_"},
                      NameCase{"...", "..."}, NameCase{".hidden", ".hidden"},
                      NameCase{std::string("a\0b", 3), "a_b"}, NameCase{"tab\there", "tab_here"},
                      NameCase{"bell\x07", "bell_"}, NameCase{"del\x7F", "del_"}, NameCase{"c1\x85", "c1_"},
                      NameCase{"Copy (1 ) of a.txt", "Copy (1 ) of a.txt"}));

TEST(SafeFileName, LongLatin1NamesAreCutAtACharacterBoundaryKeepingTheExtension) {
    const std::string name = std::string(200, '\xE9') + ".txt";  // 404 bytes once in UTF-8
    const std::string safe = SafeFileName(name);
    EXPECT_LE(safe.size(), kMaxDestinationNameBytes);
    EXPECT_EQ(safe.substr(safe.size() - 4), ".txt");
    const std::string stem = safe.substr(0, safe.size() - 4);
    ASSERT_EQ(stem.size() % 2, 0u);
    for (size_t i = 0; i < stem.size(); i += 2) EXPECT_EQ(stem.substr(i, 2), "\xC3\xA9");
}

TEST(SafeFileName, A255ByteAsciiNameIsKept) {
    const std::string name(255, 'n');
    EXPECT_EQ(SafeFileName(name), name);
}

}  // namespace
}  // namespace lumbra
