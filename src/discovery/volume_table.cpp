#include "discovery/volume_table.h"

#include <new>

namespace lumbra {

bool VolumeTable::add(VolumeEntry volume) {
    if (full()) return false;
    volumes_.push_back(std::move(volume));
    return true;
}

bool BlockQueue::append(uint64_t sector) {
    const auto [entry, inserted] = queued_.insert(sector);
    if (!inserted) return false;
    try {
        order_.push_back(sector);
    } catch (const std::bad_alloc&) {
        queued_.erase(entry);
        throw;
    }
    return true;
}

void BlockQueue::clear() {
    order_.clear();
    queued_.clear();
}

}  // namespace lumbra
