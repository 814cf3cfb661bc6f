// The demo disk's description, the manifest and its SHA-256.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "disk/byte_order.h"
#include "support/demo_image.h"
#include "support/image_manifest.h"
#include "support/nss_image_builder.h"
#include "support/sha256.h"

namespace lumbra::test {
namespace {

std::vector<uint8_t> bytesOf(std::string_view s) { return {s.begin(), s.end()}; }

TEST(Sha256, KnownDigests) {
    EXPECT_EQ(Sha256::hex({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256::hex(bytesOf("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256::hex(bytesOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256::hex(std::vector<uint8_t>(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(DemoImage, SamePlanEveryTime) {
    const DiskPlan a = demoImagePlan(), b = demoImagePlan();
    ASSERT_EQ(a.pools.size(), b.pools.size());
    for (size_t p = 0; p < a.pools.size(); ++p)
        for (size_t v = 0; v < a.pools[p].volumes.size(); ++v) {
            const auto& fa = a.pools[p].volumes[v].files;
            const auto& fb = b.pools[p].volumes[v].files;
            ASSERT_EQ(fa.size(), fb.size());
            for (size_t i = 0; i < fa.size(); ++i) {
                EXPECT_EQ(fa[i].name, fb[i].name);
                EXPECT_EQ(fa[i].size, fb[i].size);
                EXPECT_EQ(fa[i].time, fb[i].time);
            }
        }
}

TEST(DemoImage, PoolsSegmentsVolumesAndDamage) {
    const NssImage image = buildImage(demoImagePlan());
    ASSERT_EQ(image.pools().size(), 2u);
    const BuiltPool& office = image.pool("OFFICE");
    const BuiltPool& archive = image.pool("ARCHIVE");
    EXPECT_EQ(office.volumes.size(), 2u);
    ASSERT_EQ(archive.segments.size(), 3u);
    EXPECT_EQ(archive.segments[0].chainPosition, 3u);  // segment 0's header comes last
    EXPECT_EQ(archive.segments[0].linkField, 0u);
    const auto mbr = image.readSectors(0, 1);
    EXPECT_EQ(le32(mbr, 494 + 8), archive.segments[0].headerSector);

    size_t folders = 0, files = 0, latin = 0;
    uint64_t dataBytes = 0;
    for (const BuiltPool& pool : image.pools())
        for (const BuiltVolume& v : pool.volumes) {
            folders += v.folders.size();
            files += v.files.size();
            for (const BuiltFile& f : v.files) {
                dataBytes += uint64_t{f.blockCount} * 4096;
                const std::string name = f.expectedName();
                latin += std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; });
            }
        }
    EXPECT_GT(folders, 200u);
    EXPECT_GT(files, 2000u);
    EXPECT_GT(latin, 50u);
    EXPECT_LT(dataBytes, 300u << 20);

    const ExpectedMount shared = NssImage::expectedMount(office.volume("SHARED"));
    const auto dir = std::find_if(shared.folders.begin(), shared.folders.end(), [](const ExpectedItem& f) { return f.name == "Dir1"; });
    ASSERT_NE(dir, shared.folders.end());
    EXPECT_EQ(dir->objectId, 500002u);
    EXPECT_EQ(shared.files.size() + 8, office.volume("SHARED").files.size());  // lost with the damaged leaf
    // Some file of the three-segment pool crosses from one segment into the next.
    const uint64_t ends[] = {archive.segments[0].extent / 8, (archive.segments[0].extent + archive.segments[1].extent) / 8};
    EXPECT_TRUE(std::any_of(archive.volumes[0].files.begin(), archive.volumes[0].files.end(), [&](const BuiltFile& f) {
        return std::any_of(std::begin(ends), std::end(ends), [&](uint64_t end) { return f.firstBlock < end && f.firstBlock + f.blockCount > end; });
    }));
}

TEST(Manifest, ListsFoundFilesWithDigestsAndTheOthers) {
    VolumePlan v{.name = "V\u00e9"};
    const uint64_t folder = v.addFolder("Fa\u00e7ade");
    v.addFile("a \"quoted\".txt", folder, 5000);
    v.files.push_back({.name = "refused", .size = 10, .time = 2100000001});
    const NssImage image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    std::ostringstream out;
    writeManifest(image, out);
    const std::string json = out.str();
    const BuiltFile& file = image.pool("P").volumes[0].files[0];
    EXPECT_NE(json.find("\"name\": \"V\u00e9\""), std::string::npos);
    EXPECT_NE(json.find("\"path\": \"/Fa\u00e7ade/a \\\"quoted\\\".txt\", \"size\": 5000"), std::string::npos);
    EXPECT_NE(json.find(Sha256::hex(NssImage::expectedContent(file))), std::string::npos);
    EXPECT_NE(json.find("\"notFound\": [\n        \"refused\""), std::string::npos);
}

}  // namespace
}  // namespace lumbra::test
