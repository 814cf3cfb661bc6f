#pragma once
// The name patterns that limit which files the list shows and the saving writes. Newest
// first; emptied by every Next of the wizard.
#include <cstddef>
#include <string>
#include <vector>

namespace lumbra {

class FileFilterList {
public:
    static constexpr size_t kCapacity = 99;
    static constexpr size_t kMaxPatternLength = 19;

    size_t count() const { return patterns_.size(); }
    const std::vector<std::string>& patterns() const { return patterns_; }
    void clear() { patterns_.clear(); }
    // Takes the rows of the File Filters dialog, top to bottom, up to the capacity.
    void assign(const std::vector<std::string>& rows);

private:
    std::vector<std::string> patterns_;
};

}  // namespace lumbra
