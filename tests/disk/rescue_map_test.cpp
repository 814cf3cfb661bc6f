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
    size_t ignored = 0;
    // 0x400..0x600 is sector 2; 0x800..0x2000 sectors 4..15; the image goes on past the map.
    EXPECT_EQ(UnrescuedSectors(map, 0x3400, ignored), (std::vector<SectorRange>{{2, 1}, {4, 12}, {24, 2}}));
    EXPECT_EQ(ignored, 0u);
    // An image shorter than the map: the areas past its end are left out and counted.
    EXPECT_EQ(UnrescuedSectors(map, 0x700, ignored), (std::vector<SectorRange>{{2, 1}}));
    EXPECT_EQ(ignored, 1u);
}

TEST(RescueMap, EachMalformedLineIsRefusedWithItsNumber) {
    const std::string head = "# map\n0 +\n0 0x200 +\n";  // lines 1 to 3
    const struct {
        std::string line;
        std::string words;
    } cases[] = {
        {"0x200 0x2g0 +", "bad size"},
        {"0x200 512 x", "unknown status"},
        {"0x200 512 ++", "unknown status"},
        {"0x100 512 +", "overlaps"},
        {"0x200 0 -", "size 0"},
        {"-5 512 +", "bad position"},
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
    EXPECT_TRUE(std::holds_alternative<RescueMapError>(ParseRescueMap("# only comments\n")));
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
