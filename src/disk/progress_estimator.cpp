#include "disk/progress_estimator.h"

#include <algorithm>
#include <cstdio>

#include "disk/sector.h"

namespace lumbra {

ProgressEstimator::ProgressEstimator(SecondsClock clock, ProgressEstimatorLimits limits)
    : clock_(std::move(clock)), limits_(limits) {}

bool ProgressEstimator::slowNow() const {
    if (sliceRates_.size() < limits_.slicesBeforeSlow + 1) return false;
    std::vector<double> earlier(sliceRates_.begin(), sliceRates_.end() - 1);
    std::nth_element(earlier.begin(), earlier.begin() + static_cast<std::ptrdiff_t>(earlier.size() / 2), earlier.end());
    const double median = earlier[earlier.size() / 2];
    return sliceRates_.back() < median / limits_.slowFactor;
}

ProgressEstimate ProgressEstimator::update(uint64_t done, uint64_t total, uint64_t position) {
    const double now = clock_();
    if (!window_.empty() && done < window_.back().done) {  // the work began again
        window_.clear();
        sliceStart_.reset();
        sliceRates_.clear();
    }
    window_.push_back({now, done});
    while (window_.size() > 2 && now - window_.front().time > limits_.windowSeconds) window_.pop_front();
    if (!sliceStart_) sliceStart_ = Sample{now, done};
    if (now - sliceStart_->time >= limits_.sliceSeconds) {
        sliceRates_.push_back(static_cast<double>(done - sliceStart_->done) / (now - sliceStart_->time));
        if (sliceRates_.size() > limits_.slices) sliceRates_.pop_front();
        sliceStart_ = Sample{now, done};
    }

    ProgressEstimate estimate;
    const double span = window_.back().time - window_.front().time;
    if (span > 0) estimate.rate = static_cast<double>(window_.back().done - window_.front().done) / span;
    if (slowNow()) {
        estimate.slowAt = position;
        return estimate;
    }
    if (estimate.rate > 0 && total >= done) estimate.secondsLeft = static_cast<double>(total - done) / estimate.rate;
    return estimate;
}

std::string ProgressEstimateText(const ProgressEstimate& estimate, std::string_view unitName) {
    if (estimate.slowAt) return "slow area: reading sector " + std::to_string(*estimate.slowAt);
    if (!estimate.secondsLeft) return {};
    const auto left = static_cast<unsigned long long>(std::min(*estimate.secondsLeft, 359999.0 * 100));
    char text[160];
    std::snprintf(text, sizeof text, "%.*f %.*s/s, %llu:%02llu:%02llu left", estimate.rate < 10 ? 1 : 0, estimate.rate,
                  static_cast<int>(std::min<size_t>(unitName.size(), 40)), unitName.data(), left / 3600, left / 60 % 60,
                  left % 60);
    return text;
}

ProgressEstimate SectorsAsMegabytes(ProgressEstimate estimate) {
    estimate.rate = estimate.rate * kSectorSize / 1e6;
    return estimate;
}

}  // namespace lumbra
