#include "recovery/id_map.h"

#include <gtest/gtest.h>

namespace lumbra {
namespace {

TEST(IdMap, KeepsTheFirstValueOfAKey) {
    IdMap<uint32_t> map;
    EXPECT_TRUE(map.tryEmplace(0, 7).second);  // 0 is a key like any other
    auto [value, inserted] = map.tryEmplace(0, 9);
    EXPECT_FALSE(inserted);
    EXPECT_EQ(*value, 7u);
    EXPECT_EQ(map.size(), 1u);
}

TEST(IdMap, FindsEveryKeyAcrossGrowth) {
    IdMap<uint32_t> map;
    constexpr uint32_t kCount = 100'000;
    for (uint32_t i = 0; i < kCount; ++i) map.tryEmplace(uint64_t{i} * 4096 + (uint64_t{i} << 40), i);
    ASSERT_EQ(map.size(), kCount);
    for (uint32_t i = 0; i < kCount; ++i) {
        const uint32_t* value = map.find(uint64_t{i} * 4096 + (uint64_t{i} << 40));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(*value, i);
    }
    EXPECT_FALSE(map.contains(1));
    EXPECT_EQ(map.find(~uint64_t{0}), nullptr);
}

TEST(IdMap, ClearForgetsEverything) {
    IdMap<uint32_t> map;
    map.tryEmplace(5, 1);
    map.clear();
    EXPECT_EQ(map.size(), 0u);
    EXPECT_FALSE(map.contains(5));
    map.reserve(1000);
    EXPECT_TRUE(map.tryEmplace(5, 2).second);
    EXPECT_EQ(*map.find(5), 2u);
}

}  // namespace
}  // namespace lumbra
