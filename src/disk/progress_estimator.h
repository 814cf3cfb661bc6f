#pragma once
// The rate and the time left of long work on a disk, from a moving window of recent progress
// rather than from the start, so that a fast or slow beginning does not mislead for hours.
// While the rate of the last second or so falls far below its recent median (a damaged area
// the reader retries its way through), there is no estimate: the front end says where the disk
// is being read instead.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/seconds_clock.h"

namespace lumbra {

struct ProgressEstimate {
    double rate = 0;                    // units per second over the window; 0 while unknown
    std::optional<double> secondsLeft;  // unset while unknown or in a slow area
    std::optional<uint64_t> slowAt;     // in a slow area: the position being read
};

struct ProgressEstimatorLimits {
    double windowSeconds = 20;  // the progress the rate is taken from
    double sliceSeconds = 1;    // the rates the median is taken of, one per slice
    size_t slices = 60;         // slices kept for the median
    size_t slicesBeforeSlow = 5;  // slices needed before a slow area can be told
    double slowFactor = 8;        // "far below": the median divided by this
};

class ProgressEstimator {
public:
    explicit ProgressEstimator(SecondsClock clock = SteadySeconds(), ProgressEstimatorLimits limits = {});

    // done of total units at this moment; position: where the disk is being read.
    ProgressEstimate update(uint64_t done, uint64_t total, uint64_t position);

private:
    struct Sample {
        double time;
        uint64_t done;
    };
    bool slowNow() const;

    SecondsClock clock_;
    ProgressEstimatorLimits limits_;
    std::deque<Sample> window_;
    std::optional<Sample> sliceStart_;
    std::deque<double> sliceRates_;
};

// "12345 sectors/s, 1:02:03 left", "slow area: reading sector S", or empty while nothing is known.
// A rate under 10 keeps one decimal ("2.5 MB/s").
std::string ProgressEstimateText(const ProgressEstimate& estimate, std::string_view unitName);

// The estimate of a count of sectors with its rate in megabytes (10^6 bytes) a second.
ProgressEstimate SectorsAsMegabytes(ProgressEstimate estimate);

}  // namespace lumbra
