#pragma once
// Timing of benchmark rounds: wall time and the CPU time of this process (user and system: the
// copies out of the page cache are system time). The machine is shared, so the CPU time is the
// steadier measure; each benchmark keeps the best of its rounds.
#include <time.h>

#include <algorithm>
#include <chrono>

namespace lumbra::bench {

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

inline double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class Stopwatch {
public:
    Timing elapsed() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count(), CpuSeconds() - cpu_};
    }

private:
    std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
    double cpu_ = CpuSeconds();
};

inline void KeepBest(Timing& best, const Timing& run) {
    best.wall = std::min(best.wall, run.wall);
    best.cpu = std::min(best.cpu, run.cpu);
}

}  // namespace lumbra::bench
