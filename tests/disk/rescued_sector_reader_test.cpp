// A rescue map under a reader that keeps no damage record of its own (the BIOS libraries):
// only rescued sectors are asked of the back-end, the others read as zeros and are known as
// damaged before any read.
#include "disk/rescued_sector_reader.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "disk/sector.h"

namespace lumbra {
namespace {

// Sector s holds the byte s + 1; remembers every run it was asked for.
class NumberedReader : public SectorReader {
public:
    explicit NumberedReader(std::vector<std::pair<uint64_t, uint32_t>>& reads) : reads_(reads) {}
    int ReadSectors(uint64_t sector, uint32_t count, uint8_t* buffer) override {
        reads_.emplace_back(sector, count);
        for (uint32_t i = 0; i < count; ++i)
            std::fill_n(buffer + size_t{i} * kSectorSize, kSectorSize, static_cast<uint8_t>(sector + i + 1));
        return 1;
    }

private:
    std::vector<std::pair<uint64_t, uint32_t>>& reads_;
};

TEST(RescuedSectorReader, SectorsNeverRescuedAreZerosAndKnownDamagedWithoutAsking) {
    std::vector<std::pair<uint64_t, uint32_t>> reads;
    RescuedSectorReader reader(std::make_unique<NumberedReader>(reads), {{12, 2}, {15, 1}});
    ASSERT_NE(reader.damageMap(), nullptr);
    EXPECT_TRUE(reader.damageMap()->knownInAdvance());
    EXPECT_EQ(reader.damageMap()->ranges(), (std::vector<SectorRange>{{12, 2}, {15, 1}}));

    std::vector<uint8_t> buffer(12 * kSectorSize, 0xEE);
    EXPECT_EQ(reader.ReadSectors(10, 8, buffer.data()), 0);
    EXPECT_EQ(reads, (std::vector<std::pair<uint64_t, uint32_t>>{{10, 2}, {14, 1}, {16, 2}}));
    const std::vector<uint8_t> expected = {11, 12, 0, 0, 15, 0, 17, 18};
    for (size_t s = 0; s < expected.size(); ++s) {
        EXPECT_EQ(buffer[s * kSectorSize], expected[s]) << s;
        EXPECT_EQ(buffer[s * kSectorSize + kSectorSize - 1], expected[s]) << s;
    }

    // Runs beside the holes, on both sides, pass through whole.
    reads.clear();
    EXPECT_EQ(reader.ReadSectors(0, 12, buffer.data()), 1);
    EXPECT_EQ(reader.ReadSectors(16, 4, buffer.data()), 1);
    EXPECT_EQ(reads, (std::vector<std::pair<uint64_t, uint32_t>>{{0, 12}, {16, 4}}));
    EXPECT_EQ(reader.ReadSectors(13, 1, buffer.data()), 0);
    EXPECT_EQ(reads.size(), 2u);
}

}  // namespace
}  // namespace lumbra
