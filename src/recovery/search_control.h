#pragma once
// Cooperative pause, resume and cancel of a worker: the front end asks, the worker looks at its
// checkpoints. A paused worker waits on a condition variable; no thread is ever killed.
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace lumbra {

class SearchControl {
public:
    // The worker stops at its next checkpoint until resume() or cancel(). Does not wait for
    // it, so that a worker reporting to the caller's thread cannot deadlock against it.
    void pause();
    void resume();
    // The worker ends at its next checkpoint, also when paused.
    void cancel();
    // Back to running, not cancelled: for the next search.
    void reset();

    // The worker's checkpoint: waits while paused; false once cancelled.
    bool checkpoint();

    bool paused() const { return paused_.load(); }
    // The worker is waiting in a checkpoint at this moment.
    bool holding() const { return holding_.load(); }
    bool cancelled() const { return cancelled_.load(); }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> paused_{false};
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> holding_{false};
};

}  // namespace lumbra
