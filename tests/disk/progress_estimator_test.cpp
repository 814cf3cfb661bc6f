// The rate and time left come from recent progress, and a slow area is told as such instead of
// as a wild estimate, on a simulated clock and a simulated disk.
#include <gtest/gtest.h>

#include "disk/progress_estimator.h"

namespace lumbra::test {
namespace {

constexpr uint64_t kTotal = 10'000'000;

// A disk read in steps of a quarter second (exact in binary) at a rate the test sets as it goes.
struct SimulatedDisk {
    double now = 0;
    double done = 0;
    ProgressEstimator estimator{[this] { return now; }};
    ProgressEstimate last = estimator.update(0, kTotal, 0);  // the start, at time 0

    // Reads for `seconds` at `rate` sectors per second.
    void read(double seconds, double rate) {
        for (int step = 0; step < static_cast<int>(seconds * 4 + 0.5); ++step) {
            now += 0.25;
            done += rate / 4;
            last = estimator.update(static_cast<uint64_t>(done), kTotal, static_cast<uint64_t>(done));
        }
    }
    double trueSecondsLeft(double rate) const { return (static_cast<double>(kTotal) - done) / rate; }
};

TEST(ProgressEstimator, SteadyRateGivesTheTimeLeft) {
    SimulatedDisk disk;
    disk.read(30, 20000);
    ASSERT_TRUE(disk.last.secondsLeft);
    EXPECT_NEAR(disk.last.rate, 20000, 200);
    EXPECT_NEAR(*disk.last.secondsLeft, disk.trueSecondsLeft(20000), disk.trueSecondsLeft(20000) * 0.01);
    EXPECT_FALSE(disk.last.slowAt);
    EXPECT_EQ(ProgressEstimateText(disk.last, "sectors").substr(0, 15), "20000 sectors/s");
}

TEST(ProgressEstimator, TheRateIsTakenFromTheRecentWindowNotFromTheStart) {
    SimulatedDisk disk;
    disk.read(120, 2000);  // a slow start of two minutes
    disk.read(40, 20000);  // longer than the window since
    ASSERT_TRUE(disk.last.secondsLeft);
    EXPECT_NEAR(disk.last.rate, 20000, 200);  // from the start it would be about 6500
}

TEST(ProgressEstimator, ASlowAreaIsToldByItsSectorAndTheEstimateComesBackAfterIt) {
    SimulatedDisk disk;
    disk.read(30, 20000);
    disk.read(3, 100);  // retries through a damaged area
    EXPECT_FALSE(disk.last.secondsLeft);
    ASSERT_TRUE(disk.last.slowAt);
    EXPECT_EQ(*disk.last.slowAt, static_cast<uint64_t>(disk.done));
    EXPECT_EQ(ProgressEstimateText(disk.last, "sectors"),
              "slow area: reading sector " + std::to_string(static_cast<uint64_t>(disk.done)));

    disk.read(2, 20000);  // out of it
    EXPECT_FALSE(disk.last.slowAt);
    ASSERT_TRUE(disk.last.secondsLeft);
    disk.read(25, 20000);  // the slow seconds have left the window
    EXPECT_NEAR(*disk.last.secondsLeft, disk.trueSecondsLeft(20000), disk.trueSecondsLeft(20000) * 0.01);
}

TEST(ProgressEstimator, SlowMeansFarBelowTheMedianNotJustBelowIt) {
    SimulatedDisk disk;
    disk.read(30, 20000);
    disk.read(3, 20000 / 7.0);  // a seventh of the median: slower, not a damaged area
    EXPECT_FALSE(disk.last.slowAt);
    EXPECT_TRUE(disk.last.secondsLeft);
    disk.read(3, 20000 / 9.0);  // a ninth: below an eighth of the median
    EXPECT_TRUE(disk.last.slowAt);
}

TEST(ProgressEstimator, NoSlowAreaBeforeEnoughIsKnown) {
    SimulatedDisk disk;
    disk.read(4, 20000);  // four slices of a second: the median needs five before the last
    disk.read(1, 100);
    EXPECT_FALSE(disk.last.slowAt);
    SimulatedDisk longer;
    longer.read(5, 20000);
    longer.read(1, 100);
    EXPECT_TRUE(longer.last.slowAt);
}

TEST(ProgressEstimator, NothingIsEstimatedWithoutProgress) {
    SimulatedDisk disk;
    EXPECT_EQ(ProgressEstimateText(disk.last, "sectors"), "");  // one reading: no rate yet
    disk.read(0.25, 0);
    EXPECT_EQ(ProgressEstimateText(disk.last, "sectors"), "");  // no progress: no rate
}

TEST(ProgressEstimator, TimeLeftIsWrittenInHoursMinutesAndSeconds) {
    ProgressEstimate estimate;
    estimate.rate = 1234.4;
    estimate.secondsLeft = 3 * 3600 + 4 * 60 + 5.7;
    EXPECT_EQ(ProgressEstimateText(estimate, "bytes"), "1234 bytes/s, 3:04:05 left");
}

// The copy's rate in megabytes a second, with a decimal below ten.
TEST(ProgressEstimator, SectorsAreShownAsMegabytes) {
    struct Case {
        double sectorsPerSecond;
        std::string text;
    };
    for (const Case& c : {Case{195313, "100 MB/s, 0:00:10 left"}, Case{19532, "10 MB/s, 0:00:10 left"},
                          Case{19300, "9.9 MB/s, 0:00:10 left"}, Case{977, "0.5 MB/s, 0:00:10 left"}}) {
        ProgressEstimate estimate;
        estimate.rate = c.sectorsPerSecond;
        estimate.secondsLeft = 10;
        EXPECT_EQ(ProgressEstimateText(SectorsAsMegabytes(estimate), "MB"), c.text) << c.sectorsPerSecond;
    }
}

}  // namespace
}  // namespace lumbra::test
