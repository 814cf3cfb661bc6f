#include "recovery/search_control.h"

namespace lumbra {

void SearchControl::pause() {
    std::lock_guard lock(mutex_);
    paused_.store(true);
}

void SearchControl::resume() {
    {
        std::lock_guard lock(mutex_);
        paused_.store(false);
    }
    wake_.notify_all();
}

void SearchControl::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_.store(true);
    }
    wake_.notify_all();
}

void SearchControl::reset() {
    std::lock_guard lock(mutex_);
    paused_.store(false);
    cancelled_.store(false);
}

bool SearchControl::checkpoint() {
    if (!paused_.load(std::memory_order_acquire)) return !cancelled_.load(std::memory_order_acquire);
    std::unique_lock lock(mutex_);
    holding_.store(true);
    wake_.wait(lock, [this] { return !paused_.load() || cancelled_.load(); });
    holding_.store(false);
    return !cancelled_.load();
}

}  // namespace lumbra
