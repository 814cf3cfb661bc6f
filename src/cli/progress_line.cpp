#include "cli/progress_line.h"

#include <unistd.h>

namespace lumbra::cli {

ProgressLine::ProgressLine(std::string unitName, FILE* stream)
    : unitName_(std::move(unitName)), stream_(stream), enabled_(isatty(fileno(stream)) == 1),
      lastDraw_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() { finish(); }

std::string ProgressLine::Format(uint64_t done, uint64_t total, const ProgressEstimate& estimate,
                                 const std::string& unitName) {
    const unsigned percent = total == 0 ? 100 : static_cast<unsigned>(done * 100.0 / static_cast<double>(total));
    char line[32];
    std::snprintf(line, sizeof line, "%3u%%", percent);
    const std::string rest = ProgressEstimateText(estimate, unitName);
    return rest.empty() ? std::string(line) : std::string(line) + "  " + rest;
}

void ProgressLine::update(uint64_t done, uint64_t total, uint64_t position) {
    if (!enabled_) return;
    const ProgressEstimate estimate = estimator_.update(done, total, position);
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    std::fprintf(stream_, "\r%s\033[K", Format(done, total, estimate, unitName_).c_str());
    std::fflush(stream_);
    drawn_ = true;
}

void ProgressLine::finish() {
    if (!drawn_) return;
    std::fprintf(stream_, "\r\033[K");
    std::fflush(stream_);
    drawn_ = false;
}

}  // namespace lumbra::cli
