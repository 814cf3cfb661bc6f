// The partition table and the NetWare partition sectors, read back at hand-computed offsets.
#include <gtest/gtest.h>

#include "disk/byte_order.h"
#include "support/nss_image_builder.h"

namespace lumbra::test {
namespace {

std::string text(const std::vector<uint8_t>& s, size_t at, size_t n) { return std::string(s.begin() + at, s.begin() + at + n); }

NssImage twoPoolDisk() {
    return NssImageBuilder()
        .pool({.name = "FIRST", .segments = {{.headerSector = 2048, .extent = 4096}}})
        .pool({.name = "SECOND", .segments = {{.headerSector = 10240, .extent = 4096}}})
        .build();
}

TEST(PartitionTable, AutomaticEntriesDescribeEachPartition) {
    const auto mbr = twoPoolDisk().readSectors(0, 1);
    EXPECT_EQ(mbr[446 + 4], 0x65);
    EXPECT_EQ(le32(mbr, 446 + 8), 2048u);
    EXPECT_EQ(le32(mbr, 446 + 12), 32u + 4096u);
    EXPECT_EQ(le32(mbr, 462 + 8), 10240u);
    EXPECT_EQ(mbr[478 + 4], 0);  // third entry unused
    EXPECT_EQ(mbr[510], 0x55);
    EXPECT_EQ(mbr[511], 0xAA);
}

TEST(PartitionTable, HandEntriesSignaturesAndAbsence) {
    auto image = NssImageBuilder()
                     .pool("DATA", {.headerSector = 2048, .extent = 1024})
                     .partitionTableEntry(2048)
                     .partitionTableEntry(4000, 7, 0x07)
                     .mbrSignature(MbrSignature::Damaged)
                     .build();
    const auto mbr = image.readSectors(0, 1);
    EXPECT_EQ(le32(mbr, 446 + 12), 32u + 1024u);  // count taken from the partition at 2048
    EXPECT_EQ(mbr[462 + 4], 0x07);
    EXPECT_EQ(le32(mbr, 462 + 8), 4000u);
    EXPECT_EQ(le32(mbr, 462 + 12), 7u);
    EXPECT_EQ(mbr[511], 0xAB);

    const auto missing = NssImageBuilder().pool("DATA", {}).mbrSignature(MbrSignature::Missing).build().readSectors(0, 1);
    EXPECT_EQ(missing[510], 0);
    EXPECT_EQ(missing[511], 0);
    EXPECT_EQ(le32(missing, 446 + 8), 2048u);
    const auto none = NssImageBuilder().pool("DATA", {}).noMbr().build().readSectors(0, 1);
    EXPECT_EQ(none, std::vector<uint8_t>(512, 0));
}

TEST(PartitionHeader, SignatureAndChainLinks) {
    auto image = twoPoolDisk();
    const auto first = image.readSectors(2048, 1);
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(text(first, 1, 12), "Nw_PaRtItIoN");
    EXPECT_EQ(first[16], 0x69);
    EXPECT_EQ(first[17], 0x01);
    EXPECT_EQ(le32(first, 188), 10240u);
    EXPECT_EQ(le32(image.readSectors(10240, 1), 188), 0u);
    EXPECT_EQ(image.pool("FIRST").segments[0].linkField, 10240u);
}

TEST(PartitionHeader, PoolInformationCarriesUtf16Name) {
    auto image = NssImageBuilder().pool({.name = "Caf\u00e9\u0141 POOL", .segments = {{.headerSector = 4096}}}).build();
    const auto info = image.readSectors(4096 + 29, 1);
    EXPECT_EQ(le16(info, 40), u'C');
    EXPECT_EQ(le16(info, 46), 0x00E9);
    EXPECT_EQ(le16(info, 48), 0x0141);
    EXPECT_EQ(le16(info, 60), 0);  // after ten units
    EXPECT_EQ(le32(info, 32), image.pool("Caf\u00e9\u0141 POOL").poolSize);
    EXPECT_EQ(image.pools()[0].expectedName, "Caf\xE9" "A POOL");  // 0x0141 keeps its low byte 'A'
}

TEST(PartitionHeader, LongPoolNameIsWrittenWholeAndReadAsFifteen) {
    auto image = NssImageBuilder().pool("ABCDEFGHIJKLMNOPQRST", {}).build();
    const auto info = image.readSectors(image.pools()[0].segments[0].headerSector + 29, 1);
    EXPECT_EQ(le16(info, 40 + 2 * 19), u'T');
    EXPECT_EQ(image.pools()[0].expectedName, "ABCDEFGHIJKLMNO");
}

TEST(PartitionHeader, SegmentZeroLastInChainWithDescriptors) {
    auto image = NssImageBuilder()
                     .pool({.name = "SEG",
                            .segments = {{.headerSector = 2048, .extent = 800, .chainOrder = 3},
                                         {.headerSector = 8192, .extent = 1600, .chainOrder = 1},
                                         {.headerSector = 16384, .extent = 2400, .chainOrder = 2}}})
                     .build();
    EXPECT_EQ(le32(image.readSectors(8192, 1), 188), 16384u);
    EXPECT_EQ(le32(image.readSectors(16384, 1), 188), 2048u);
    EXPECT_EQ(le32(image.readSectors(2048, 1), 188), 0u);
    const auto mbr = image.readSectors(0, 1);
    EXPECT_EQ(le32(mbr, 446 + 8), 8192u);  // entries follow the chain
    const auto d = image.readSectors(16384 + 5, 1);
    EXPECT_EQ(d[1], 'G');
    EXPECT_EQ(d[5], 'P');
    EXPECT_EQ(d[14], 'N');
    EXPECT_EQ(le32(d, 20), 3u);
    EXPECT_EQ(le32(d, 32), 2u);
    EXPECT_EQ(le32(d, 36), 2400u);
    EXPECT_EQ(image.pool("SEG").poolSize, 4800u);
    EXPECT_EQ(le32(image.readSectors(2048 + 29, 1), 32), 4800u);
}

TEST(PartitionHeader, OneSegmentPoolHasNoDescriptor) {
    auto image = NssImageBuilder().pool("ONE", {.headerSector = 2048}).build();
    const auto d = image.readSectors(2048 + 5, 1);
    EXPECT_NE(d[1], 'G');
}

TEST(PartitionHeader, DamageOptionsAndLoops) {
    auto image = NssImageBuilder()
                     .pool({.name = "A", .segments = {{.headerSector = 2048, .header = {.kind = 2, .signature = "nw_partition"}}}})
                     .pool({.name = "B", .segments = {{.headerSector = 20480, .header = {.signatureValue = 0x0168, .link = 2048}}}})
                     .build();
    const auto a = image.readSectors(2048, 1);
    EXPECT_EQ(a[0], 2);
    EXPECT_EQ(text(a, 1, 12), "nw_partition");
    EXPECT_EQ(le32(a, 188), 20480u);
    const auto b = image.readSectors(20480, 1);
    EXPECT_EQ(le16(b, 16), 0x0168);
    EXPECT_EQ(le32(b, 188), 2048u);  // B -> A: a loop
}

TEST(PartitionHeader, DataStartMarker) {
    auto image = NssImageBuilder()
                     .pool({.name = "FAR", .segments = {{.headerSector = 2048, .header = {.dataOffset = 160}}}})
                     .pool({.name = "AT64",
                            .segments = {{.headerSector = 65536, .header = {.markerAt = 64, .markerValue = 0}}},
                            .volumes = {{.name = "V", .files = {{.name = "f", .size = 5 * 4096}}}}})
                     .build();
    const auto far = image.readSectors(2048 + 32, 1);
    EXPECT_EQ(far[0], 'H');
    EXPECT_EQ(far[1], 'O');
    EXPECT_EQ(le16(far, 24), 160u);
    EXPECT_EQ(image.pool("FAR").segments[0].dataStart, 2048u + 160u);
    EXPECT_EQ(image.pool("FAR").superblockSector, 2048u + 168u);
    const auto at64 = image.readSectors(65536 + 64, 1);
    EXPECT_EQ(text(at64, 0, 2), "HO");
    EXPECT_EQ(le16(at64, 24), 0u);
    // The marker lies in pool block 4 of AT64 (blocks 2 and 3 hold the two trees); the file
    // data passes over it.
    const BuiltFile& file = image.pool("AT64").volume("V").files[0];
    EXPECT_EQ(image.pool("AT64").treeRootBlock, 2u);
    EXPECT_EQ(image.pool("AT64").volume("V").rootBlock, 3u);
    ASSERT_EQ(file.runs.size(), 1u);
    EXPECT_EQ(file.runs[0].start, 5u);
}

}  // namespace
}  // namespace lumbra::test
