#include "app/file_filter_list.h"

namespace lumbra {

void FileFilterList::assign(const std::vector<std::string>& rows) {
    patterns_.clear();
    for (const std::string& row : rows) {
        if (patterns_.size() >= kCapacity) break;
        if (row.empty() || row.size() > kMaxPatternLength) continue;
        patterns_.push_back(row);
    }
}

}  // namespace lumbra
