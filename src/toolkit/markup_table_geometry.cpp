#include "toolkit/markup_table_geometry.h"

#include <numeric>

namespace lumbra::table_geometry {

void SettleSpans(std::vector<int>& sizes, const std::vector<SpanRequest>& requests) {
    int longest = 0;
    for (const auto& r : requests) longest = std::max(longest, r.span);
    for (int span = 1; span <= longest; ++span) {
        for (const auto& r : requests) {
            if (r.span != span) continue;
            const int first = std::max(r.first, 0);
            const int last = std::min(first + span, static_cast<int>(sizes.size()));
            if (last <= first) continue;
            const int sum = std::accumulate(sizes.begin() + first, sizes.begin() + last, 0, AddExtent);
            if (sum >= r.size) continue;
            const int difference = r.size - sum;
            const int count = last - first;
            for (int k = first; k < last; ++k) {
                sizes[static_cast<size_t>(k)] = AddExtent(sizes[static_cast<size_t>(k)], difference / count);
            }
            sizes[static_cast<size_t>(first)] = AddExtent(sizes[static_cast<size_t>(first)], difference % count);
        }
    }
}

bool ShareExtra(std::vector<int>& sizes, const std::vector<bool>& chosen, int extra) {
    std::vector<size_t> targets;
    for (size_t i = 0; i < sizes.size() && i < chosen.size(); ++i) {
        if (chosen[i]) targets.push_back(i);
    }
    if (targets.empty()) return false;
    if (extra <= 0) return true;
    const int share = extra / static_cast<int>(targets.size());
    for (size_t t : targets) sizes[t] = AddExtent(sizes[t], share);
    sizes[targets.back()] = AddExtent(sizes[targets.back()], extra - share * static_cast<int>(targets.size()));
    return true;
}

int GridExtent(const std::vector<int>& sizes, int spacing, int border) {
    const int n = static_cast<int>(sizes.size());
    const int gaps = AddExtent(ScaleExtent(spacing, n + 1, 1), std::max(n - 1, 0));
    return AddExtent(AddExtent(std::accumulate(sizes.begin(), sizes.end(), 0, AddExtent), gaps), 2 * border);
}

}  // namespace lumbra::table_geometry
