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

class SafeFullFileNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFullFileNames, KeepEveryCharacterButSeparatorsAndControls) {
    EXPECT_EQ(SafeFullFileName(GetParam().recovered), GetParam().onDisk);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SafeFullFileNames,
    ::testing::Values(NameCase{"\u65E5\u672C\u8A9E.txt", "\u65E5\u672C\u8A9E.txt"},
                      NameCase{"emoji \U0001F600.txt", "emoji \U0001F600.txt"},
                      NameCase{"\u0416/\\x", "\u0416__x"}, NameCase{"c1\u0085\u009F", "c1__"},
                      NameCase{"nbsp\u00A0", "nbsp\u00A0"}, NameCase{"bad\xC3(\xF0\x9F", "bad_(__"},
                      NameCase{"..", "_.."}, NameCase{"", "_"}));

TEST(SafeFileName, LongFullNamesAreCutAtACharacterBoundaryKeepingTheExtension) {
    std::string name;
    for (int i = 0; i < 100; ++i) name += "\u8A9E";  // 300 bytes
    const std::string safe = SafeFullFileName(name + ".txt");
    EXPECT_EQ(safe.size(), 83u * 3u + 4u);  // 251 bytes for the stem hold 83 whole characters
    EXPECT_EQ(safe.substr(safe.size() - 4), ".txt");
    EXPECT_EQ(safe.substr(0, 3), "\u8A9E");
}

TEST(SafeFileName, A255ByteAsciiNameIsKept) {
    const std::string name(255, 'n');
    EXPECT_EQ(SafeFileName(name), name);
}

}  // namespace
}  // namespace lumbra
