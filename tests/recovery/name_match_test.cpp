#include "recovery/name_match.h"

#include "recovery/file_copy.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

struct MatchCase {
    const char* name;
    const char* pattern;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* out) { *out << c.name << " ~ " << c.pattern; }

class WorkedResults : public testing::TestWithParam<MatchCase> {};

TEST_P(WorkedResults, MatchesAsListed) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(MatchName(c.name, c.pattern), c.matches) << c.name << " against " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(NameMatch, WorkedResults,
                         testing::Values(MatchCase{"REPORT.DOC", "PORT", true},
                                         MatchCase{"REPORT.DOC", "*.DOC", true},
                                         MatchCase{".TXT", "*.TXT", true},
                                         MatchCase{"TXT", "*.TXT", false},
                                         MatchCase{"A", "*A", false},
                                         MatchCase{"BA", "*A", true},
                                         MatchCase{"AB", "*AB", true},
                                         MatchCase{"REPORT.DOC", "R*T", false},
                                         MatchCase{"REPORT.DOC", "RE*", true},
                                         MatchCase{"XREPORT", "RE*", false},
                                         MatchCase{"REPORT", "*.*", false},
                                         MatchCase{"ABCDE", "A?C", true},
                                         MatchCase{"AB", "AB?", false},
                                         MatchCase{"ABCDEF", "AB?", true},
                                         MatchCase{"DATA1.DAT", "DATA?.DAT", true},
                                         MatchCase{"DATA12.DAT", "DATA?.DAT", false},
                                         MatchCase{"FE", "F*E", false},
                                         MatchCase{"FILE", "F*E", true},
                                         MatchCase{"X.DOC", "*.DO?", true},
                                         MatchCase{"LETTER.TXT", "*ETT*", true},
                                         MatchCase{"AB", "???", false},
                                         MatchCase{"ABCD", "???", true}));

TEST(NameMatch, EmptyNameOrPatternNeverMatches) {
    EXPECT_FALSE(MatchName("", "*"));
    EXPECT_FALSE(MatchName("", ""));
    EXPECT_FALSE(MatchName("REPORT.DOC", ""));
}

TEST(NameMatch, StarMatchesEveryNonEmptyName) {
    for (const char* name : {"A", "REPORT.DOC", ".", "NO EXTENSION", "\xC9T\xC9"})
        EXPECT_TRUE(MatchName(name, "*")) << name;
}

TEST(NameMatch, StarDotStarMatchesExactlyNamesWithADot) {
    EXPECT_TRUE(MatchName("A.B", "*.*"));
    EXPECT_TRUE(MatchName(".", "*.*"));
    EXPECT_TRUE(MatchName("ARCHIVE.", "*.*"));
    EXPECT_FALSE(MatchName("README", "*.*"));
    EXPECT_FALSE(MatchName("A", "*.*"));
}

TEST(NameMatch, TrailingStarsCountAsOne) {
    EXPECT_EQ(MatchName("REPORT.DOC", "RE***"), MatchName("REPORT.DOC", "RE*"));
    EXPECT_EQ(MatchName("XREPORT", "RE**"), MatchName("XREPORT", "RE*"));
}

TEST(NameMatch, OneCharacterNameNeverMatchesStarThenOneCharacter) {
    for (const char* name : {"A", "B", "."})
        for (const char* pattern : {"*A", "*B", "*."}) EXPECT_FALSE(MatchName(name, pattern)) << name << pattern;
}

TEST(NameMatch, UpperCasesLatin1Letters) {
    EXPECT_EQ(UpperCase8Bit("report.doc"), "REPORT.DOC");
    EXPECT_EQ(UpperCase8Bit("caf\xE9"), "CAF\xC9");
    EXPECT_EQ(UpperCase8Bit("\xF7\xDF\xFF"), "\xF7\xDF\xFF");  // no capital in Latin-1
}

// The small letters are a..z and 0xE0..0xFE but for the division sign 0xF7; each ends of
// those ranges and the bytes just outside them.
TEST(NameMatch, UpperCasingStopsExactlyAtTheEndsOfTheSmallLetters) {
    const struct {
        unsigned char byte;
        unsigned char upper;
    } cases[] = {
        {'`', '`'},   {'a', 'A'},   {'z', 'Z'},   {'{', '{'},   {0xDF, 0xDF}, {0xE0, 0xC0},
        {0xE1, 0xC1}, {0xF6, 0xD6}, {0xF7, 0xF7}, {0xF8, 0xD8}, {0xFE, 0xDE}, {0xFF, 0xFF},
        {0xC0, 0xC0}, {0xDE, 0xDE},
    };
    for (const auto& c : cases) {
        const std::string small(1, static_cast<char>(c.byte));
        EXPECT_EQ(UpperCase8Bit(small), std::string(1, static_cast<char>(c.upper))) << int{c.byte};
    }
}

TEST(NameMatch, FiltersMatchNamesWhoseLettersLieAtTheEndsOfTheLatin1Range) {
    EXPECT_TRUE(PassesFileFilters("\xE0la.txt", {"\xC0*"}));        // àla.txt against À*
    EXPECT_TRUE(PassesFileFilters("\xC0LA.TXT", {"\xE0*"}));
    EXPECT_TRUE(PassesFileFilters("caf\xFE", {"*\xDE"}));          // þ against Þ
    EXPECT_TRUE(PassesFileFilters("\xF8ksne", {"\xD8*"}));          // ø against Ø
    EXPECT_FALSE(PassesFileFilters("\xF7.txt", {"\xD7*"}));         // ÷ is no letter
    EXPECT_FALSE(PassesFileFilters("\xFF.txt", {"\xDF*"}));         // ÿ has no capital here
}

}  // namespace
}  // namespace lumbra
