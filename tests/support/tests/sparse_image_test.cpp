// The image as a sparse file and as a device, and the deterministic file content.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/file_content.h"
#include "support/nss_image_builder.h"

namespace lumbra::test {
namespace {

TEST(FileContent, DependsOnSeedIdAndOffsetOnly) {
    const auto whole = fileContent(7, 1234, 10000);
    std::vector<uint8_t> middle(333);
    fillFileContent(7, 1234, 4321, middle);
    EXPECT_TRUE(std::equal(middle.begin(), middle.end(), whole.begin() + 4321));
    EXPECT_EQ(fileContent(7, 1234, 10000), whole);
    EXPECT_NE(fileContent(8, 1234, 64), fileContent(7, 1234, 64));
    EXPECT_NE(fileContent(7, 1235, 64), fileContent(7, 1234, 64));
}

NssImage imageWithFiles() {
    VolumePlan v{.name = "V"};
    v.files.push_back({.id = 77, .name = "plain.bin", .size = 10000});
    v.files.push_back({.id = 78, .name = "pieces.bin", .size = 5 * 4096 + 1, .fragments = 3});
    v.files.push_back({.id = 79, .name = "own-seed.bin", .size = 100, .seed = 99});
    return NssImageBuilder().contentSeed(5).pool({.name = "P", .volumes = {v}}).build();
}

TEST(FileData, LiesInTheFilesRunsWithZerosAfterTheEnd) {
    auto image = imageWithFiles();
    const BuiltPool& pool = image.pool("P");
    const BuiltFile& plain = pool.volume("V").files[0];
    EXPECT_EQ(plain.seed, 5u);
    const auto block0 = image.readPoolBlock(pool, plain.firstBlock);
    const auto block2 = image.readPoolBlock(pool, plain.firstBlock + 2);
    const auto expected = fileContent(5, 77, 10000);
    EXPECT_TRUE(std::equal(block0.begin(), block0.end(), expected.begin()));
    EXPECT_TRUE(std::equal(block2.begin(), block2.begin() + 10000 - 8192, expected.begin() + 8192));
    EXPECT_EQ(block2[10000 - 8192], 0);
    EXPECT_EQ(NssImage::expectedContent(pool.volume("V").files[2]), fileContent(99, 79, 100));
}

TEST(FileData, FragmentedFileHasGapsBetweenRuns) {
    auto image = imageWithFiles();
    const BuiltPool& pool = image.pool("P");
    const BuiltFile& pieces = pool.volume("V").files[1];
    ASSERT_EQ(pieces.runs.size(), 3u);
    EXPECT_EQ(pieces.blockCount, 6u);
    EXPECT_EQ(pieces.runs[1].start, pieces.runs[0].start + pieces.runs[0].count + 1);
    const auto expected = NssImage::expectedContent(pieces);
    const auto second = image.readPoolBlock(pool, pieces.runs[1].start);
    EXPECT_TRUE(std::equal(second.begin(), second.end(), expected.begin() + pieces.runs[0].count * 4096));
    EXPECT_NE(image.consecutiveContent(pool, pieces), expected);
}

TEST(SparseFile, RoundTripsAndStaysSparse) {
    VolumePlan v{.name = "V"};
    v.files.push_back({.name = "big.bin", .size = 3u << 20});
    auto image = NssImageBuilder().diskSectors(2u << 21).pool({.name = "P", .volumes = {v}}).build();  // 2 GiB
    EXPECT_EQ(image.sizeBytes(), 1ull << 31);
    const std::string path = ::testing::TempDir() + "sparse_image_test.img";
    image.writeTo(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(static_cast<uint64_t>(st.st_size), image.sizeBytes());
    EXPECT_LT(static_cast<uint64_t>(st.st_blocks) * 512, 64u << 20);

    std::ifstream in(path, std::ios::binary);
    for (const NssImage::Extent& e : image.dataExtents()) {
        std::vector<uint8_t> fromFile(std::min<uint64_t>(e.length, 1 << 20)), fromImage(fromFile.size());
        in.seekg(static_cast<std::streamoff>(e.offset));
        in.read(reinterpret_cast<char*>(fromFile.data()), static_cast<std::streamsize>(fromFile.size()));
        image.read(e.offset, fromImage);
        EXPECT_EQ(fromFile, fromImage) << e.offset;
    }
    std::remove(path.c_str());
}

TEST(SparseFile, SmallImageBytesMatchDeviceAndFile) {
    auto image = imageWithFiles();
    const auto all = image.bytes();
    ASSERT_EQ(all.size(), image.sizeBytes());
    auto device = image.device();
    EXPECT_EQ(device->sizeBytes(), image.sizeBytes());
    std::vector<uint8_t> viaDevice(all.size());
    ASSERT_TRUE(device->readAt(0, viaDevice.data(), viaDevice.size()));
    EXPECT_EQ(viaDevice, all);
    EXPECT_FALSE(device->readAt(all.size() - 100, viaDevice.data(), 512));

    const std::string path = ::testing::TempDir() + "small_image_test.img";
    image.writeTo(path);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> fromFile{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(fromFile, all);
    std::remove(path.c_str());
}

TEST(SparseFile, PatchesAreWrittenLast) {
    auto image = NssImageBuilder().pool("P", {.headerSector = 2048}).patch(2048 * 512, {0x07}).build();
    EXPECT_EQ(image.readSectors(2048, 1)[0], 0x07);
    EXPECT_EQ(image.readSectors(2048, 1)[1], 'N');
}

TEST(Builder, RefusesWhatCannotBeLaidOut) {
    VolumePlan v{.name = "V"};
    v.files.push_back({.name = "a", .size = 8192, .runs = {{.start = 40, .count = 2}}});
    v.files.push_back({.name = "b", .size = 8192, .runs = {{.start = 41, .count = 2}}});
    EXPECT_THROW(NssImageBuilder().pool({.name = "P", .volumes = {v}}).build(), std::invalid_argument);
    VolumePlan big{.name = "B"};
    big.files.push_back({.name = "huge", .size = 1u << 20});
    EXPECT_THROW(NssImageBuilder().pool({.name = "P", .segments = {{.extent = 64}}, .volumes = {big}}).build(),
                 std::invalid_argument);
}

}  // namespace
}  // namespace lumbra::test
