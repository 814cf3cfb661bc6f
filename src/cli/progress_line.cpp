#include "cli/progress_line.h"

#include <unistd.h>

namespace lumbra::cli {

ProgressLine::ProgressLine(std::string unitName, FILE* stream)
    : unitName_(std::move(unitName)), stream_(stream), enabled_(isatty(fileno(stream)) == 1),
      start_(std::chrono::steady_clock::now()), lastDraw_(start_) {}

ProgressLine::~ProgressLine() { finish(); }

std::string ProgressLine::Format(uint64_t done, uint64_t total, double seconds, const std::string& unitName) {
    const unsigned percent = total == 0 ? 100 : static_cast<unsigned>(done * 100.0 / static_cast<double>(total));
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    char line[160];
    if (rate > 0 && total >= done) {
        const auto left = static_cast<unsigned long long>(static_cast<double>(total - done) / rate);
        std::snprintf(line, sizeof line, "%3u%%  %.0f %s/s  %llu:%02llu:%02llu left", percent, rate, unitName.c_str(),
                      left / 3600, left / 60 % 60, left % 60);
    } else {
        std::snprintf(line, sizeof line, "%3u%%", percent);
    }
    return line;
}

void ProgressLine::update(uint64_t done, uint64_t total) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    std::fprintf(stream_, "\r%s\033[K", Format(done, total, seconds, unitName_).c_str());
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
