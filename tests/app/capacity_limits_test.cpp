// The fixed capacities of the session's records and the ranges of the settings, each on both
// sides: filled exactly to its limit it keeps everything, one more is not kept.
#include <gtest/gtest.h>

#include <functional>

#include "app/file_filter_list.h"
#include "app/recovery_settings.h"
#include "discovery/pool_table.h"
#include "discovery/volume_table.h"
#include "disk/drive_table.h"
#include "recovery/record_lists.h"
#include "support/numbered_name.h"

namespace lumbra {
namespace {

struct Capacity {
    const char* what;
    size_t limit;
    // How much of `offered` items (or characters) the record keeps.
    std::function<size_t(size_t offered)> kept;
};

// Rows kept of a table offered `offered` empty rows.
template <typename Table, typename Row>
size_t Filled(size_t offered) {
    Table table;
    for (size_t i = 0; i < offered; ++i) table.add(Row{});
    return table.count();
}

void PrintTo(const Capacity& capacity, std::ostream* out) { *out << capacity.what; }

class Capacities : public ::testing::TestWithParam<Capacity> {};

TEST_P(Capacities, TheLimitIsKeptWholeAndOneMoreIsNot) {
    const Capacity& capacity = GetParam();
    EXPECT_EQ(capacity.kept(capacity.limit), capacity.limit);
    EXPECT_EQ(capacity.kept(capacity.limit + 1), capacity.limit);
}

INSTANTIATE_TEST_SUITE_P(
    Records, Capacities,
    ::testing::Values(
        Capacity{"drives", 32, Filled<DriveTable, DriveEntry>},
        Capacity{"pools", 50, Filled<PoolTable, PoolEntry>},
        Capacity{"volumes", 49, Filled<VolumeTable, VolumeEntry>},
        Capacity{"filters", 99,
                 [](size_t offered) {
                     FileFilterList filters;
                     std::vector<std::string> rows;
                     for (size_t i = 0; i < offered; ++i) rows.push_back(test::NumberedName("F", i));
                     filters.assign(rows);
                     return filters.count();
                 }},
        Capacity{"item name characters", 255,
                 [](size_t offered) {
                     RecoveredTree tree;
                     tree.AddFileRecord(std::string(offered, 'N'), 1, 0, 0, 0, 0, 1, 0);
                     tree.AddFolderRecord(std::string(offered, 'N'), 2, 0, 0, 0);
                     EXPECT_EQ(tree.folders()[0].name.size(), tree.files()[0].name.size());
                     return tree.files()[0].name.size();
                 }}));

TEST(FilterPatternLength, NineteenCharactersAreKeptAndTwentyPassedOver) {
    FileFilterList filters;
    filters.assign({std::string(19, 'a'), std::string(20, 'b'), "c"});
    EXPECT_EQ(filters.patterns(), (std::vector<std::string>{std::string(19, 'a'), "c"}));
}

struct SettingsRange {
    int sectorsIndex;
    int retriesIndex;
    uint32_t sectorsPerRead;  // what the settings hold after Ok, from 60 sectors and 3 retries
    uint16_t retries;
};

// The dialog's lists hold 1..100 sectors and 1..10 retries: indexes 0..99 and 0..9.
TEST(SettingsRanges, EachListAcceptsItsEndsAndNothingPastThem) {
    const SettingsRange cases[] = {
        {0, 0, 1, 1}, {99, 9, 100, 10}, {-1, -1, 60, 3}, {100, 10, 60, 3},
    };
    for (const SettingsRange& range : cases) {
        RecoverySettings settings;
        settings.SetDefaults(AccessMode::N);
        ApplySettingsDialog({.sectorsIndex = range.sectorsIndex, .retriesIndex = range.retriesIndex}, settings);
        EXPECT_EQ(settings.sectorsPerRead, range.sectorsPerRead) << range.sectorsIndex;
        EXPECT_EQ(settings.badSectorRetries, range.retries) << range.retriesIndex;
    }
}

}  // namespace
}  // namespace lumbra
