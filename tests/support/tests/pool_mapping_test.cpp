// Pool sectors to disk sectors across segments, in segment-number order.
#include <gtest/gtest.h>

#include "support/nss_image_builder.h"
#include "support/pool_mapping.h"

namespace lumbra::test {
namespace {

TEST(PoolMapping, OneSegmentAddsTheDataStart) {
    const SegmentPlace one[] = {{.dataStart = 100, .extent = 16}};
    EXPECT_EQ(poolSectorToDisk(one, 8), 108u);
    EXPECT_EQ(poolSectorToDisk(one, 1000), 1100u);  // a one-segment pool maps without bound
    EXPECT_EQ(poolSectorToDisk({}, 0), std::nullopt);
}

TEST(PoolMapping, SegmentsInNumberOrderAndNothingPastTheLast) {
    const SegmentPlace places[] = {{.dataStart = 1000, .extent = 80}, {.dataStart = 5000, .extent = 16}, {.dataStart = 300, .extent = 40}};
    struct Case {
        uint64_t poolSector;
        std::optional<uint64_t> disk;
    };
    const Case cases[] = {{0, 1000}, {79, 1079}, {80, 5000}, {95, 5015}, {96, 300}, {135, 339}, {136, std::nullopt}, {1u << 20, std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(poolSectorToDisk(places, c.poolSector), c.disk) << c.poolSector;
}

TEST(PoolMapping, BuiltPoolMapsThroughItsSegmentsByNumber) {
    // Segment numbers differ from the order of declaration.
    auto image = NssImageBuilder()
                     .pool({.name = "P",
                            .segments = {{.headerSector = 40000, .extent = 3000, .number = 2},
                                         {.headerSector = 2048, .extent = 2000, .number = 0},
                                         {.headerSector = 20000, .extent = 1000, .number = 1}}})
                     .build();
    const BuiltPool& pool = image.pool("P");
    ASSERT_EQ(pool.segments.size(), 3u);
    EXPECT_EQ(pool.segments[0].headerSector, 2048u);
    EXPECT_EQ(pool.toDiskSector(0), 2080u);
    EXPECT_EQ(pool.toDiskSector(1999), 2080u + 1999);
    EXPECT_EQ(pool.toDiskSector(2000), 20032u);
    EXPECT_EQ(pool.toDiskSector(2999), 20032u + 999);
    EXPECT_EQ(pool.toDiskSector(3000), 40032u);
    EXPECT_EQ(pool.toDiskSector(5999), 40032u + 2999);
    EXPECT_EQ(pool.toDiskSector(6000), std::nullopt);
}

TEST(PoolMapping, FileAcrossASegmentBoundaryLandsInBothSegments) {
    VolumePlan volume{.name = "V"};
    volume.files.push_back({.name = "across", .size = 4 * 4096, .runs = {{.start = 48, .count = 4}}});
    auto image = NssImageBuilder()
                     .pool({.name = "P",
                            .segments = {{.headerSector = 2048, .extent = 400}, {.headerSector = 9000, .extent = 400}},
                            .volumes = {volume}})
                     .build();
    const BuiltPool& pool = image.pool("P");
    const BuiltFile& file = pool.volume("V").files[0];
    const auto expected = NssImage::expectedContent(file);
    // Block 49 is the last of segment 0 (sectors 392..399), block 50 the first of segment 1.
    std::vector<uint8_t> tail(4096), head(4096);
    image.read((2080 + 392) * 512ull, tail);
    image.read(9032 * 512ull, head);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), expected.begin() + 4096));
    EXPECT_TRUE(std::equal(head.begin(), head.end(), expected.begin() + 8192));
    EXPECT_EQ(image.consecutiveContent(pool, file), expected);
}

}  // namespace
}  // namespace lumbra::test
