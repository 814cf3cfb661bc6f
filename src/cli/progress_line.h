#pragma once
// The progress line of long work on stderr: percent, then the rate and the time left from
// recent progress (or where a slow area is being read), redrawn in place on a terminal, and
// nothing at all when stderr is not a terminal.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "disk/progress_estimator.h"

namespace lumbra::cli {

class ProgressLine {
public:
    // unitName: what is counted, e.g. "sectors" or "bytes".
    ProgressLine(std::string unitName, FILE* stream = stderr);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Redraws at most ten times a second. position: the sector being read, when there is one.
    void update(uint64_t done, uint64_t total, uint64_t position = 0);
    // Ends the line (only if one was drawn).
    void finish();

    static std::string Format(uint64_t done, uint64_t total, const ProgressEstimate& estimate,
                              const std::string& unitName);

private:
    std::string unitName_;
    FILE* stream_;
    bool enabled_;
    bool drawn_ = false;
    ProgressEstimator estimator_;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace lumbra::cli
