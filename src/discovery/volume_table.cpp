#include "discovery/volume_table.h"

namespace lumbra {

bool VolumeTable::add(VolumeEntry volume) {
    if (full()) return false;
    volumes_.push_back(std::move(volume));
    return true;
}

bool BlockQueue::append(uint64_t sector) {
    if (!queued_.insert(sector).second) return false;
    order_.push_back(sector);
    return true;
}

void BlockQueue::clear() {
    order_.clear();
    queued_.clear();
}

}  // namespace lumbra
