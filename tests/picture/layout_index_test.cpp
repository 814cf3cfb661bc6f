// The interval index answers exactly what a walk over every file and metadata block answers.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "picture/disk_layout_index.h"
#include "picture_fixture.h"

namespace lumbra::test {
namespace {

VolumePlan ThreeThousandFiles() {
    VolumePlan volume{.name = "MANY"};
    std::vector<uint64_t> folders;
    for (int i = 0; i < 30; ++i) folders.push_back(volume.addFolder("D" + std::to_string(i)));
    for (int i = 0; i < 3000; ++i)
        volume.addFile("F" + std::to_string(i), folders[i % 30], 1 + (uint64_t(i) * 7919) % 40000);
    return volume;
}

// Every file and metadata block with sectors in [first, first + count), by a walk over all.
std::vector<LayoutHit> BruteForce(const DiskPicture& picture, const PictureFixture& fixture, uint64_t first, uint64_t count) {
    std::map<std::pair<uint64_t, uint64_t>, LayoutHit> found;  // (kind, owner)
    const auto take = [&](PictureKind kind, uint32_t owner, const SectorRange& run) {
        const uint64_t from = std::max(run.first, first), to = std::min(run.end(), first + count);
        if (from >= to) return;
        auto [place, added] = found.try_emplace({uint64_t(kind), owner}, LayoutHit{kind, owner, from, 0});
        place->second.firstSector = std::min(place->second.firstSector, from);
        place->second.sectors += to - from;
    };
    const auto& files = fixture.mounted.tree.files();
    for (uint32_t i = 0; i < files.size(); ++i)
        for (const SectorRange& run : FileSectorRuns(fixture.mounted.pool, fixture.facts.diskSectors, files[i]))
            take(PictureKind::FileData, i, run);
    for (uint32_t i = 0; i < picture.metadata().size(); ++i)
        take(PictureKind::Metadata, i, {picture.metadata()[i].sector, 8});
    std::vector<LayoutHit> hits;
    for (const auto& [key, hit] : found) hits.push_back(hit);
    std::sort(hits.begin(), hits.end(), [](const LayoutHit& a, const LayoutHit& b) {
        return std::tie(a.firstSector, b.kind, a.owner) < std::tie(b.firstSector, a.kind, b.owner);
    });
    return hits;
}

class LayoutIndex : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fixture_ = new PictureFixture(BuildVolume(ThreeThousandFiles())); }
    static void TearDownTestSuite() { delete fixture_; }
    static PictureFixture* fixture_;
};
PictureFixture* LayoutIndex::fixture_ = nullptr;

TEST_F(LayoutIndex, EveryRangeListsExactlyTheItemsABruteForceWalkFinds) {
    ASSERT_EQ(fixture_->mounted.tree.files().size(), 3000u);
    const DiskPicture picture = LayDiskOut(fixture_->facts);
    const DiskLayoutIndex index(picture);
    const auto [poolFirst, poolEnd] = picture.selectedPoolArea();
    std::mt19937_64 random(30);
    size_t nonEmpty = 0;
    for (int question = 0; question < 400; ++question) {
        const uint64_t count = 1 + random() % (question % 2 ? 8 : 4000);
        const uint64_t first = poolFirst + random() % (poolEnd - poolFirst);
        const auto expected = BruteForce(picture, *fixture_, first, count);
        nonEmpty += !expected.empty();
        ASSERT_EQ(index.at(first, count), expected) << "sectors " << first << " +" << count;
    }
    EXPECT_GT(nonEmpty, 300u);
}

TEST_F(LayoutIndex, ARangeHoldsAFileFromItsFirstSectorToItsLastAndNotOneBeyond) {
    const DiskPicture picture = LayDiskOut(fixture_->facts);
    const DiskLayoutIndex index(picture);
    const ItemRecord& file = fixture_->mounted.tree.files()[1234];
    const auto runs = FileSectorRuns(fixture_->mounted.pool, fixture_->facts.diskSectors, file);
    ASSERT_EQ(runs.size(), 1u);
    const auto holdsFile = [&](uint64_t first, uint64_t count) {
        for (const LayoutHit& hit : index.at(first, count))
            if (hit.kind == PictureKind::FileData && hit.owner == 1234) return true;
        return false;
    };
    EXPECT_FALSE(holdsFile(runs[0].first - 10, 10));
    EXPECT_TRUE(holdsFile(runs[0].first - 10, 11));
    EXPECT_TRUE(holdsFile(runs[0].end() - 1, 10));
    EXPECT_FALSE(holdsFile(runs[0].end(), 10));
    EXPECT_TRUE(index.at(runs[0].first, 0).empty());
}

}  // namespace
}  // namespace lumbra::test
