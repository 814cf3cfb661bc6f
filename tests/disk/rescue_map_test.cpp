#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "disk/device_sector_reader.h"
#include "disk/rescue_map.h"
#include "disk/rescued_device.h"
#include "disk/sector.h"
#include "support/memory_device.h"

namespace lumbra {
namespace {

TEST(RescueMap, CommentsStatusLineAndAreasInHexAndDecimal) {
    const auto parsed = ParseRescueMap(
        "# Mapfile. Created by the copier\n"
        "# current_pos  current_status  current_pass\n"
        "0x00001000     ?               1\n"
        "#      pos        size  status\n"
        "0x00000000  0x00000400  +\n"
        "1024        512         -\n"
        "0x600       0x200       +\n"
        "\n"
        "0x800       0x100       /\r\n"
        "0x900       0x700       *\n"
        "0x1000      0x1000      ?\n"
        "0x2000      0x1000      +\n");
    ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed));
    const RescueMap& map = std::get<RescueMap>(parsed);
    EXPECT_EQ(map.unrescued, (std::vector<ByteArea>{{0x400, 0x200}, {0x800, 0x1800}}));
    EXPECT_EQ(map.coveredEnd, 0x3000u);
    // 0x400..0x600 is sector 2; 0x800..0x2000 sectors 4..15; the image goes on past the map.
    EXPECT_EQ(UnrescuedSectors(map, 0x3400), (std::vector<SectorRange>{{2, 1}, {4, 12}, {24, 2}}));
    // An image shorter than the map: the areas past its end are left out.
    EXPECT_EQ(UnrescuedSectors(map, 0x700), (std::vector<SectorRange>{{2, 1}}));
    // Of those, only "?" and what the map does not cover were never tried.
    EXPECT_EQ(map.untried, (std::vector<ByteArea>{{0x1000, 0x1000}}));
    EXPECT_EQ(UntriedSectors(map, 0x3400), (std::vector<SectorRange>{{8, 8}, {24, 2}}));
}

TEST(RescueMap, AGapBetweenAreasWasNeverTriedAndATriedFailureWas) {
    const auto parsed = ParseRescueMap("0 +\n0x0 0x200 +\n0x400 0x200 -\n0x600 0x100 *\n0x700 0x100 ?\n0x800 0x200 +\n");
    ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed));
    const RescueMap& map = std::get<RescueMap>(parsed);
    EXPECT_EQ(map.untried, (std::vector<ByteArea>{{0x200, 0x200}, {0x700, 0x100}}));
    // Sector 3 holds bytes never tried (0x700) beside tried ones: it was never read whole.
    EXPECT_EQ(UntriedSectors(map, 0xA00), (std::vector<SectorRange>{{1, 1}, {3, 1}}));
    EXPECT_EQ(UnrescuedSectors(map, 0xA00), (std::vector<SectorRange>{{1, 3}}));
}

// As the copier's log tool writes a map with -A: a comment after the fields of every line.
// The same map in octal, decimal with "+", and hexadecimal gives the same areas.
TEST(RescueMap, TrailingCommentsAndOctalNumbersGiveTheAreasOfTheHexTwin) {
    const auto hex = ParseRescueMap(
        "# current_pos  current_status  current_pass\n"
        "0x00001000     ?               1\n"
        "0x00000000  0x00000400  +\n"
        "0x00000400  0x00000200  -\n"
        "0x00000600  0x00000200  +\n"
        "0x00000800  0x00001800  *\n"
        "0x00002000  0x00000040  +\n");
    const auto annotated = ParseRescueMap(
        "# current_pos  current_status  current_pass\n"
        "010000     ?   1   2   # pass 1, a further field of a later copier\n"
        "0          02000  +  #  0 B  1024 B\n"
        "+02000     01000  -\t# 1024 B  512 B\n"
        "+1536      +512   +#the status is the first character; the rest of the line is not read\n");
    ASSERT_TRUE(std::holds_alternative<RescueMap>(annotated)) << std::get<RescueMapError>(annotated).message;
    EXPECT_EQ(std::get<RescueMap>(annotated).coveredEnd, 0x800u);
    const auto octal = ParseRescueMap(
        "010000 ? 1 2 # pass 1, a further field of a later copier\n"
        "0          02000  +  #  0 B  1024 B\n"
        "+02000     01000  -\t# 1024 B  512 B\n"
        "+1536      +512   +    #\n"
        "0x800      014000 *  # 0100 is 64\n"
        "020000     0100   +  # ends at 8256\n");
    ASSERT_TRUE(std::holds_alternative<RescueMap>(hex));
    ASSERT_TRUE(std::holds_alternative<RescueMap>(octal)) << std::get<RescueMapError>(octal).message;
    EXPECT_EQ(std::get<RescueMap>(octal).unrescued, std::get<RescueMap>(hex).unrescued);
    EXPECT_EQ(std::get<RescueMap>(octal).coveredEnd, std::get<RescueMap>(hex).coveredEnd);
    EXPECT_EQ(std::get<RescueMap>(octal).coveredEnd, 0x2040u);
}

TEST(RescueMap, AMapThatEndsBeforeOrAfterTheImageIsToldOnce) {
    const auto parsed = ParseRescueMap("0 +\n0 0x1000 +\n0x1000 0x200 -\n");
    ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed));
    const RescueMap& map = std::get<RescueMap>(parsed);
    EXPECT_EQ(RescueMapSizeWarning(map, 0x1200), std::nullopt);
    EXPECT_EQ(RescueMapSizeWarning(map, 0x1201),
              "the mapfile covers 4608 bytes but the image holds 4609 bytes; sectors it does not cover are "
              "treated as not rescued");
    EXPECT_EQ(RescueMapSizeWarning(map, 0x11FF),
              "the mapfile covers 4608 bytes but the image holds 4607 bytes; areas past the image end are ignored");
}

// Area lines the copier's own tools accept: a status followed by more characters or words, and
// the area of size 0 at position 0 that the map of an empty domain holds.
TEST(RescueMap, AreaLinesTheCopiersToolsAcceptAreRead) {
    const struct {
        std::string areas;
        std::vector<ByteArea> unrescued;
    } cases[] = {
        {"0 0x200 +#x\n0x200 0x200 -#y\n", {{0x200, 0x200}}},
        {"0 0x200 + extra\n0x200 0x200 - two more\n", {{0x200, 0x200}}},
        {"0 0x200 ++\n0x200 0x200 -+\n", {{0x200, 0x200}}},
        {"0 0 ?\n0 0 -\n0 0x200 +\n0x200 0x200 -\n", {{0x200, 0x200}}},
        {"0 0 ?\n", {}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseRescueMap("0x0 + 1\n" + c.areas);
        ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed)) << c.areas << std::get<RescueMapError>(parsed).message;
        EXPECT_EQ(std::get<RescueMap>(parsed).unrescued, c.unrescued) << c.areas;
    }
}

TEST(RescueMap, EachMalformedLineIsRefusedWithItsNumber) {
    const std::string head = "# map\n0 +\n0 0x200 +\n";  // lines 1 to 3
    const struct {
        std::string line;
        std::string words;
    } cases[] = {
        {"0x200 0x2g0 +", "bad size"},
        {"0x200 512 x", "unknown status"},
        {"0x200 512 x+", "unknown status"},
        {"0x100 512 +", "overlaps"},
        {"0x200 0 -", "size 0 past position 0"},
        {"0 0 -", "overlaps"},
        {"-5 512 +", "bad position"},
        {"08 512 +", "bad position"},
        {"0x200 0x +", "bad size"},
        {"0x200 +-5 +", "bad size"},
        {"0x200 512", "position, a size and a status"},
        {"0x200 99999999999999999999 +", "bad size"},
        {"0xFFFFFFFFFFFFFFFF 2 +", "largest position"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseRescueMap(head + c.line + "\n0x99999 1 +\n");
        ASSERT_TRUE(std::holds_alternative<RescueMapError>(parsed)) << c.line;
        EXPECT_EQ(std::get<RescueMapError>(parsed).line, 4u) << c.line;
        EXPECT_NE(std::get<RescueMapError>(parsed).message.find(c.words), std::string::npos)
            << c.line << ": " << std::get<RescueMapError>(parsed).message;
    }
    const auto badStatus = ParseRescueMap("# map\n\n0x0 Q\n");
    ASSERT_TRUE(std::holds_alternative<RescueMapError>(badStatus));
    EXPECT_EQ(std::get<RescueMapError>(badStatus).line, 3u);
    // The status line: a pass counts from 1; fields after the pass are a later copier's.
    const struct {
        std::string line;
        std::string words;  // empty: accepted
    } statusLines[] = {
        {"0x0 + 0", "bad pass number 0"}, {"0x0 + 1", ""},     {"0x0 + +1", ""},     {"0x0 + 07 x y", ""},
        {"0x0 + -1", "bad pass number"},  {"0x0 + +0", "bad pass number"}, {"0x0 +", ""}, {"+0 F 3", ""},
        {"0x0", "a position, a state"},   {"0x0 Q", "unknown copy state"},
        // As the copier's own tools read it: the state is one character, the pass its leading
        // digits, a field that is no number a later copier's.
        {"0x0 +x", ""}, {"0x0 + 1x", ""}, {"0x0 + x", ""}, {"0x0 + 1#c", ""},
    };
    for (const auto& c : statusLines) {
        const auto parsed = ParseRescueMap("# map\n" + c.line + "  # status\n0 0x200 +\n");
        if (c.words.empty()) {
            EXPECT_TRUE(std::holds_alternative<RescueMap>(parsed)) << c.line;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<RescueMapError>(parsed)) << c.line;
        EXPECT_EQ(std::get<RescueMapError>(parsed).line, 2u) << c.line;
        EXPECT_NE(std::get<RescueMapError>(parsed).message.find(c.words), std::string::npos)
            << c.line << ": " << std::get<RescueMapError>(parsed).message;
    }
    // Without a status line: the line after the last one, and why.
    const auto onlyComments = ParseRescueMap("# only comments\n# and more\n");
    ASSERT_TRUE(std::holds_alternative<RescueMapError>(onlyComments));
    EXPECT_EQ(std::get<RescueMapError>(onlyComments).line, 3u);
    EXPECT_EQ(std::get<RescueMapError>(onlyComments).message, "no status line before the end of the file");
    const auto empty = ParseRescueMap("");
    ASSERT_TRUE(std::holds_alternative<RescueMapError>(empty));
    EXPECT_EQ(RescueMapErrorText("m.map", std::get<RescueMapError>(empty)),
              "rescue map m.map line 1: no status line: the file is empty");
}

TEST(RescueMap, UnrescuedSectorsReadAsZerosAndStartInTheDamageMap) {
    std::vector<uint8_t> bytes(32 * kSectorSize, 0xAB);
    auto device = std::make_unique<RescuedDevice>(std::make_unique<test::MemoryDevice>(bytes),
                                                  std::vector<SectorRange>{{5, 2}, {20, 1}});
    DeviceSectorReader reader(std::move(device), 3);
    std::vector<uint8_t> buffer(16 * kSectorSize);
    EXPECT_EQ(reader.ReadSectors(0, 16, buffer.data()), 1);
    for (size_t s = 0; s < 16; ++s) EXPECT_EQ(buffer[s * kSectorSize], (s == 5 || s == 6) ? 0 : 0xAB) << s;
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{5, 2}}));
    EXPECT_EQ(reader.ReadSectors(16, 4, buffer.data()), 1);  // ends just before sector 20
    EXPECT_EQ(reader.damageMap()->ranges().size(), 1u);
}

}  // namespace
}  // namespace lumbra

namespace lumbra {
namespace {

// A domain map read back: its "+" areas are the domain, cut at the disk's end and joined where
// they touch, and every other sector is never tried.
TEST(DomainMap, WrittenAreasReadBackAsTheDomainOverTheWholeDisk) {
    struct Case {
        std::vector<SectorRange> domain;
        uint64_t diskSectors;
        std::vector<SectorRange> rescued;
        size_t areaLines;
    };
    const std::vector<Case> cases = {
        {{}, 10, {}, 1},
        {{{0, 10}}, 10, {{0, 10}}, 1},
        {{{0, 1}}, 10, {{0, 1}}, 2},
        {{{9, 1}}, 10, {{9, 1}}, 2},
        {{{2, 3}, {5, 2}}, 10, {{2, 5}}, 3},             // touching: one line
        {{{2, 3}, {6, 2}}, 10, {{2, 3}, {6, 2}}, 5},     // one sector apart: two
        {{{8, 5}}, 10, {{8, 2}}, 2},                     // cut at the end
        {{{10, 5}}, 10, {}, 1},                          // wholly past it
        {{}, 0, {}, 0},
    };
    for (const Case& test : cases) {
        const std::string text = DomainMapText(test.domain, test.diskSectors);
        const auto parsed = ParseRescueMap(text);
        ASSERT_TRUE(std::holds_alternative<RescueMap>(parsed)) << text;
        const RescueMap& map = std::get<RescueMap>(parsed);
        const uint64_t bytes = test.diskSectors * kSectorSize;
        EXPECT_EQ(map.coveredEnd, bytes) << text;
        // What is not "+" is "?": never tried, and not rescued.
        EXPECT_EQ(UntriedSectors(map, bytes), UnrescuedSectors(map, bytes)) << text;
        std::vector<SectorRange> rescued;
        uint64_t done = 0;
        for (const SectorRange& hole : UnrescuedSectors(map, bytes)) {
            if (hole.first > done) rescued.push_back({done, hole.first - done});
            done = hole.end();
        }
        if (done < test.diskSectors) rescued.push_back({done, test.diskSectors - done});
        EXPECT_EQ(rescued, test.rescued) << text;
        size_t lines = 0;
        for (size_t at = text.find("\n0x"); at != std::string::npos; at = text.find("\n0x", at + 1)) ++lines;
        EXPECT_EQ(lines, test.areaLines + 1) << text;  // and the status line
    }
}

}  // namespace
}  // namespace lumbra
