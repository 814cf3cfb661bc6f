// Damaged leaves, excluded and lost folders, duplicates: the bytes written and the reference
// mount result the builder reports for them.
#include <gtest/gtest.h>

#include "support/nss_image_builder.h"
#include "support/numbered_name.h"
#include "support/tests/tree_walk.h"

namespace lumbra::test {
namespace {

VolumePlan fourFiles() {
    VolumePlan v{.name = "V"};
    for (int i = 0; i < 4; ++i) v.addFile(NumberedName("f", i), 0, 10);
    return v;
}

std::vector<std::string> names(const std::vector<ExpectedItem>& items) {
    std::vector<std::string> out;
    for (const ExpectedItem& i : items) out.push_back(i.name);
    return out;
}

struct DamageCase {
    LeafDamageKind kind;
    std::vector<std::string> found;
};

TEST(LeafDamage, WhatTheWalkStillReads) {
    const DamageCase cases[] = {
        {LeafDamageKind::BadMagic, {"f2", "f3"}},
        {LeafDamageKind::ZeroLength, {"f0", "f2", "f3"}},
        {LeafDamageKind::NegativeLength, {"f0", "f2", "f3"}},
        {LeafDamageKind::PastBlockEnd, {"f0", "f2", "f3"}},
        {LeafDamageKind::FieldsPastBlock, {"f0", "f1", "f2", "f3"}},
    };
    for (const DamageCase& c : cases) {
        VolumePlan v = fourFiles();
        v.tree.recordsPerLeaf = 2;
        v.damage = {{.leaf = 0, .kind = c.kind, .atRecord = 1}};
        auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
        const BuiltPool& pool = image.pool("P");
        const BuiltVolume& built = pool.volume("V");
        std::vector<std::string> walked;
        for (const WalkedRecord& r : walkTree(image, pool, built.rootBlock))
            if (r.type == 3) walked.push_back(r.name);
        EXPECT_EQ(walked, c.found) << static_cast<int>(c.kind);
        EXPECT_EQ(names(NssImage::expectedMount(built).files), c.found) << static_cast<int>(c.kind);
    }
}

TEST(LeafDamage, FieldsPastBlockRecordStartsAt4080) {
    VolumePlan v = fourFiles();
    v.damage = {{.kind = LeafDamageKind::FieldsPastBlock}};
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltPool& pool = image.pool("P");
    const auto leaf = image.readPoolBlock(pool, pool.volume("V").rootBlock);
    EXPECT_EQ(le16(leaf, 4080), 15u);
    EXPECT_EQ(le32(leaf, 4084), 3u);
}

TEST(LeafDamage, BrokenLinkChainLosesTheLeavesBehindIt) {
    VolumePlan v = fourFiles();
    v.tree = {.recordsPerLeaf = 1, .links = TreeLinks::LinkRecords};
    v.damage = {{.leaf = 1, .kind = LeafDamageKind::BadMagic}};
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltVolume& built = image.pool("P").volume("V");
    EXPECT_FALSE(built.leaves[2].reachable);
    EXPECT_TRUE(built.files[3].lostByDamage);
    EXPECT_EQ(names(NssImage::expectedMount(built).files), std::vector<std::string>{"f0"});
    // Reading every block of the pool still finds the leaves behind the broken link.
    EXPECT_EQ(names(NssImage::expectedPoolMount(image.pool("P")).files), (std::vector<std::string>{"f0", "f2", "f3"}));
}

TEST(ExpectedPoolMount, RecordsOfEveryVolumeInBlockOrder) {
    VolumePlan first{.name = "A"}, second{.name = "B"};
    first.addFile("a.txt", 0, 1);
    second.files.push_back({.id = 5000, .name = "b.txt", .size = 1});
    second.folders.push_back({.id = 5001, .parent = 4000, .name = "orphan"});
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {first, second}}).build();
    const ExpectedMount m = NssImage::expectedPoolMount(image.pool("P"));
    EXPECT_EQ(names(m.files), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(m.files[1].volume, 1);
    EXPECT_EQ(names(m.folders), (std::vector<std::string>{"orphan", "Dir0"}));
}

TEST(ExcludedFolder, ChainAt108EndsOnFFFF) {
    VolumePlan v{.name = "V"};
    v.folders.push_back({.id = 10, .name = "Hidden", .excluded = true});
    v.folders.push_back({.id = 11, .name = "Shown"});
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const BuiltPool& pool = image.pool("P");
    const auto leaf = image.readPoolBlock(pool, pool.volume("V").rootBlock);
    // Walk the chain by hand: p = 108, then p += 2n + 2 until the byte there is 2.
    size_t p = 40 + 108;
    p += 2 * leaf[p] + 2;
    ASSERT_EQ(leaf[p], 2);
    EXPECT_EQ(le16(leaf, p + 20), 0xFFFFu);
    EXPECT_EQ(lowBytesOfUtf16(leaf, 40 + 126, 6), "Hidden");  // the name stays whole
    EXPECT_EQ(names(NssImage::expectedMount(pool.volume("V")).folders), std::vector<std::string>{"Shown"});
}

TEST(ExpectedMount, LostFoldersDuplicatesAndPaths) {
    VolumePlan v{.name = "V"};
    v.folders.push_back({.id = 20, .name = "Top"});
    v.folders.push_back({.id = 21, .parent = 20, .name = "Sub", .duplicate = true});
    v.folders.push_back({.id = 30, .parent = 999, .name = "OrphanA"});
    v.folders.push_back({.id = 31, .parent = 999, .name = "OrphanB"});
    v.folders.push_back({.id = 32, .parent = 888, .name = "OrphanC"});
    v.files.push_back({.id = 40, .parent = 21, .name = "deep.doc", .size = 1, .duplicate = true});
    v.files.push_back({.id = 41, .parent = 30, .name = "lost.txt", .size = 1});
    v.files.push_back({.id = 42, .parent = 777, .name = "nowhere.txt", .size = 1});
    v.files.push_back({.id = 43, .name = "late.txt", .size = 1, .time = 2100000000});
    v.files.push_back({.id = 44, .name = "badcount", .size = 5000, .tweaks = {.blockCountField = 1}});
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const ExpectedMount m = NssImage::expectedMount(image.pool("P").volume("V"));
    EXPECT_EQ(names(m.folders), (std::vector<std::string>{"Top", "Sub", "OrphanA", "OrphanB", "OrphanC", "Dir0", "Dir1"}));
    EXPECT_EQ(m.folders[5].objectId, 999u);
    EXPECT_EQ(m.folders[6].objectId, 888u);
    EXPECT_EQ(m.folders[3].path, "/Dir0/OrphanB");
    EXPECT_EQ(m.folders[1].path, "/Top/Sub");
    ASSERT_EQ(m.files.size(), 4u);  // the duplicated file twice, no late or miscounted file
    EXPECT_EQ(m.files[0].path, "/Top/Sub/deep.doc");
    EXPECT_EQ(m.files[1].path, "/Dir0/OrphanA/lost.txt");
    EXPECT_EQ(m.files[2].path, "");
    EXPECT_EQ(m.files[3].name, "deep.doc");
    EXPECT_EQ(NssImage::declaredPath(image.pool("P").volume("V"), image.pool("P").volume("V").files[1]), "?/OrphanA/lost.txt");
}

TEST(ExpectedMount, LatinNamesKeepTheirLowBytes) {
    VolumePlan v{.name = "V"};
    v.files.push_back({.name = "R\u00e9sum\u00e9.doc", .size = 3});
    v.files.push_back({.name = "\u0100bc", .size = 3});  // low byte 0: the name is empty
    auto image = NssImageBuilder().pool({.name = "P", .volumes = {v}}).build();
    const ExpectedMount m = NssImage::expectedMount(image.pool("P").volume("V"));
    EXPECT_EQ(names(m.files), std::vector<std::string>{"R\xE9sum\xE9.doc"});
}

}  // namespace
}  // namespace lumbra::test
