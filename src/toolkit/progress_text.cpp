#include "toolkit/progress_text.h"

#include <algorithm>
#include <cstdint>

namespace lumbra {

int ProgressFilledLength(int position, int lower, int upper, int length) {
    if (upper <= lower || length <= 0) return 0;
    const int64_t done = std::clamp(position, lower, upper) - static_cast<int64_t>(lower);
    return static_cast<int>(done * length / (static_cast<int64_t>(upper) - lower));
}

int ProgressPercent(int position, int lower, int upper) {
    return ProgressFilledLength(position, lower, upper, 100);
}

std::string ProgressText(int position, int lower, int upper, const std::string& caption) {
    if (!caption.empty()) return caption;
    return std::to_string(ProgressPercent(position, lower, upper)) + "%";
}

}  // namespace lumbra
