// Pools found through the partition table: which entries are walked, how the chain is
// followed, and what a pool row holds.
#include <gtest/gtest.h>

#include "discovery/pool_listing.h"
#include "discovery_test_helpers.h"
#include "support/numbered_name.h"

namespace lumbra::test {
namespace {

PoolTable ListPools(const NssImage& image) {
    PoolTable pools;
    auto reader = ReaderOf(image);
    EXPECT_TRUE(ListPoolsFromPartitionTable(*reader, pools));
    return pools;
}

SegmentPlan At(uint32_t headerSector, int chain = 0) {
    SegmentPlan segment{.headerSector = headerSector};
    segment.header.chain = chain;
    return segment;
}

struct EntryCase {
    uint8_t type;
    uint32_t count;
    bool walked;
};

class PartitionTableEntries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(PartitionTableEntries, EntryIsWalkedOnlyWithTypeAndCount) {
    const EntryCase entry = GetParam();
    const NssImage image = NssImageBuilder()
                               .pool("DATA", At(2048))
                               .mbr({.autoEntries = false,
                                     .entries = {{.type = entry.type, .start = 2048, .count = entry.count}}})
                               .build();
    const PoolTable pools = ListPools(image);
    EXPECT_EQ(pools.count(), entry.walked ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rules, PartitionTableEntries,
                         ::testing::Values(EntryCase{0x00, 1000, false}, EntryCase{0x65, 0, false},
                                           EntryCase{0x65, 1000, true}, EntryCase{0x07, 1000, true},
                                           EntryCase{0xFF, 1, true}));

TEST(PartitionTable, SectorZeroWithoutMarkIsNotLookedInto) {
    for (MbrSignature signature : {MbrSignature::Damaged, MbrSignature::Missing}) {
        const NssImage image = NssImageBuilder().pool("DATA", At(2048)).mbrSignature(signature).build();
        RecordingReader reader(ReaderOf(image));
        PoolTable pools;
        pools.add(PoolEntry{.name = "OLD"});
        EXPECT_FALSE(ListPoolsFromPartitionTable(reader, pools));
        EXPECT_TRUE(pools.empty());
        EXPECT_EQ(reader.reads.size(), 1u);
    }
}

TEST(PartitionTable, EmptyTableFindsNothing) {
    const NssImage image = NssImageBuilder().noMbr().build();
    PoolTable pools;
    EXPECT_FALSE(ListPoolsFromPartitionTable(*ReaderOf(image), pools));
    EXPECT_TRUE(pools.empty());
}

TEST(PartitionChain, LonePoolRowHoldsItsRecord) {
    const NssImage image = NssImageBuilder().pool("DATA", At(2048)).build();
    const PoolTable pools = ListPools(image);
    const BuiltPool& built = image.pool("DATA");
    ASSERT_EQ(pools.count(), 1u);
    EXPECT_EQ(pools[0].name, "DATA");
    EXPECT_EQ(pools[0].poolSize, built.poolSize);
    EXPECT_EQ(pools[0].segmentCount, 1u);
    EXPECT_EQ(pools[0].segmentStart, DataStarts(built));
    EXPECT_EQ(pools[0].segmentExtent, std::vector<uint32_t>{built.poolSize + 2048});
}

TEST(PartitionChain, PoolMetTwiceIsListedOnce) {
    const NssImage image = NssImageBuilder()
                               .pool("DATA", At(2048))
                               .partitionTableEntry(2048)
                               .partitionTableEntry(2048)
                               .build();
    EXPECT_EQ(PoolNames(ListPools(image)), std::vector<std::string>{"DATA"});
}

TEST(PartitionChain, EntriesIntoOneChainListEachPoolOnce) {
    // Both headers are linked A -> B and each has its own entry: B is met from A and again.
    const NssImage image = NssImageBuilder().pool("ALPHA", At(2048)).pool("BETA", At(300000)).build();
    EXPECT_EQ(PoolNames(ListPools(image)), (std::vector<std::string>{"ALPHA", "BETA"}));
}

TEST(PartitionChain, LoopingChainEnds) {
    SegmentPlan back = At(300000);
    back.header.link = 2048;  // A -> B -> A
    const NssImage image = NssImageBuilder().pool("ALPHA", At(2048)).pool("BETA", back).build();
    EXPECT_EQ(PoolNames(ListPools(image)), (std::vector<std::string>{"ALPHA", "BETA"}));
}

TEST(PartitionChain, HeaderWithoutSignatureValueIsPassedOverAndItsLinkFollowed) {
    SegmentPlan skipped = At(300000);
    skipped.header.signatureValue = 0x0168;
    const NssImage image = NssImageBuilder()
                               .pool("ALPHA", At(2048))
                               .pool("BETA", skipped)
                               .pool("GAMMA", At(600000))
                               .partitionTableEntry(2048)
                               .build();
    EXPECT_EQ(PoolNames(ListPools(image)), (std::vector<std::string>{"ALPHA", "GAMMA"}));
}

TEST(PartitionChain, SectorThatIsNoHeaderEndsTheChain) {
    SegmentPlan broken = At(300000);
    broken.header.kind = 0x02;
    const NssImage image = NssImageBuilder()
                               .pool("ALPHA", At(2048))
                               .pool("BETA", broken)
                               .pool("GAMMA", At(600000))
                               .partitionTableEntry(2048)
                               .build();
    EXPECT_EQ(PoolNames(ListPools(image)), std::vector<std::string>{"ALPHA"});
}

TEST(PartitionChain, TableHoldsAtMostFiftyPools) {
    NssImageBuilder builder;
    for (uint32_t i = 0; i < 52; ++i)
        builder.pool(NumberedName("P", i), At(2048 + i * 4096));
    const NssImage image = builder.partitionTableEntry(2048).build();
    const PoolTable pools = ListPools(image);
    ASSERT_EQ(pools.count(), kMaxPools);
    EXPECT_EQ(pools[49].name, "P49");
}

struct MarkerCase {
    uint32_t markerAt;                 // 0: no marker
    std::optional<uint16_t> markerValue;
    uint32_t dataOffset;               // where the builder puts the data
    uint32_t expectedOffset;           // where discovery must find it
};

class DataStartMarker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(DataStartMarker, SegmentStartFollowsTheFirstMarker) {
    const MarkerCase marker = GetParam();
    SegmentPlan segment = At(2048);
    segment.header.dataOffset = marker.dataOffset;
    segment.header.markerAt = marker.markerAt;
    segment.header.markerValue = marker.markerValue;
    const PoolTable pools = ListPools(NssImageBuilder().pool("DATA", segment).build());
    ASSERT_EQ(pools.count(), 1u);
    EXPECT_EQ(pools[0].segmentStart[0], 2048 + marker.expectedOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DataStartMarker,
    ::testing::Values(MarkerCase{0, std::nullopt, 32, 32},   // no "HO" anywhere
                      MarkerCase{32, 0, 32, 32},             // 0 means 32
                      MarkerCase{32, 3, 32, 3},              // the marker is believed
                      MarkerCase{64, std::nullopt, 160, 160},
                      MarkerCase{96, std::nullopt, 160, 160},
                      MarkerCase{128, std::nullopt, 200, 200}));

TEST(PoolName, KeepsFifteenLowBytes) {
    const NssImage image = NssImageBuilder()
                               .pool("ABCDEFGHIJKLMNOPQRST", At(2048))
                               .pool("\u0141OD\u017A", At(300000))
                               .build();
    EXPECT_EQ(PoolNames(ListPools(image)), (std::vector<std::string>{"ABCDEFGHIJKLMNO", "AODz"}));
    EXPECT_EQ(image.pool("\u0141OD\u017A").expectedName, "AODz");
}

TEST(PoolName, EndsAtAUnitWhoseLowByteIsZero) {
    const NssImage image = NssImageBuilder().pool("AB\u0100CD", At(2048)).build();
    EXPECT_EQ(PoolNames(ListPools(image)), std::vector<std::string>{"AB"});
}

}  // namespace
}  // namespace lumbra::test
