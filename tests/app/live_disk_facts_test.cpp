// The worker's offers to the disk map: made only when asked, once per asking, of what is new.
#include "app/live_disk_facts.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

PoolEntry Pool(const std::string& name, uint32_t start) {
    return {.name = name, .poolSize = 1000, .segmentCount = 1, .segmentStart = {start}, .segmentExtent = {1000}};
}

std::vector<std::string> Names(const LiveDiskFacts& live) {
    std::vector<std::string> names;
    for (const SelectedPool& pool : live.learned().pools) names.push_back(pool.name);
    return names;
}

TEST(LiveDiskFacts, BlocksAreOfferedOnlyWhenAskedAndEachOfferAddsWhatIsNew) {
    LiveDiskFacts live;
    BlockQueue queue;
    queue.append(100);
    const uint64_t start = live.version();
    live.offerBlocks(queue);
    EXPECT_TRUE(live.learned().volumeTreeBlocks.empty());
    EXPECT_EQ(live.version(), start);

    live.ask();
    live.offerBlocks(queue);
    EXPECT_EQ(live.learned().volumeTreeBlocks, std::vector<uint64_t>{100});
    EXPECT_EQ(live.version(), start + 1);
    queue.append(200);
    live.offerBlocks(queue);  // the asking was served
    EXPECT_EQ(live.learned().volumeTreeBlocks, std::vector<uint64_t>{100});

    live.ask();
    live.offerBlocks(queue);
    live.offerBlocks(queue);
    EXPECT_EQ(live.learned().volumeTreeBlocks, (std::vector<uint64_t>{100, 200}));
    EXPECT_EQ(live.version(), start + 2);
    live.ask();
    live.offerBlocks(queue);  // nothing new: the version stays
    EXPECT_EQ(live.version(), start + 2);

    // A queue begun again (a mount started over) replaces what was learned.
    queue.clear();
    queue.append(300);
    live.ask();
    live.offerBlocks(queue);
    EXPECT_EQ(live.learned().volumeTreeBlocks, std::vector<uint64_t>{300});
    EXPECT_EQ(live.version(), start + 3);

    live.ask();
    live.clear();
    EXPECT_TRUE(live.learned().volumeTreeBlocks.empty());
    EXPECT_EQ(live.version(), start + 4);
    queue.append(400);
    live.offerBlocks(queue);  // clearing forgot the asking too
    EXPECT_TRUE(live.learned().volumeTreeBlocks.empty());
}

TEST(LiveDiskFacts, PoolsAreOfferedByRowAndAShorterTableStartsThemAgain) {
    LiveDiskFacts live;
    PoolTable pools;
    ASSERT_TRUE(pools.add(Pool("FIRST", 2048)));
    live.ask();
    live.offerPools(pools);
    ASSERT_TRUE(pools.add(Pool("SECOND", 6000)));
    EXPECT_EQ(Names(live), std::vector<std::string>{"FIRST"});
    live.ask();
    live.offerPools(pools);
    EXPECT_EQ(Names(live), (std::vector<std::string>{"FIRST", "SECOND"}));
    ASSERT_EQ(live.learned().pools.size(), 2u);
    EXPECT_EQ(live.learned().pools[1].segmentStart, std::vector<uint32_t>{6000});

    pools.clear();
    ASSERT_TRUE(pools.add(Pool("OTHER", 9000)));
    live.ask();
    live.offerPools(pools);
    EXPECT_EQ(Names(live), std::vector<std::string>{"OTHER"});
}

}  // namespace
}  // namespace lumbra
