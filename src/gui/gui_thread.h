#pragma once
// Carrying calls from any thread to a window's GUI thread in the order they were made. A call
// made on the GUI thread first applies every call a worker posted before it. A worker that
// runs far ahead of the screen waits, so that its posted calls never pile up without bound.
//
// A call travels as an event of its own rather than as one of Qt's queued calls: the worker
// finishes writing the event before it publishes it with a release, the GUI thread acquires it
// before running or dropping it, and a worker that waits does so on a standard mutex. Qt's own
// queue and waits are made of code race checkers cannot see; these hand-overs they can.
#include <QEvent>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

namespace lumbra {

// A worker's wait for its call: done once the call has run, or once its event was dropped.
class CallWait {
public:
    void finish();
    void wait();

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
};

// A call posted to the GUI thread; deleting it unrun (a window closed first) ends the wait.
class CallEvent : public QEvent {
public:
    CallEvent(std::function<void()> call, CallWait* wait);
    ~CallEvent() override;
    CallEvent(const CallEvent&) = delete;
    CallEvent& operator=(const CallEvent&) = delete;

    void run();
    static QEvent::Type eventType();

private:
    std::function<void()> call_;
    CallWait* wait_;
    std::atomic<bool> published_{false};
};

// Lives on the GUI thread and runs the calls posted to it.
class CallReceiver : public QObject {
protected:
    void customEvent(QEvent* event) override;
};

class OrderedCalls {
public:
    // Posted calls a worker may have waiting before its next call waits for them.
    static constexpr int kMaxPending = 512;

    // On the GUI thread of `owner`, whose calls these are.
    explicit OrderedCalls(QObject* owner);

    // Runs `call` on the GUI thread; from another thread it is queued and, unless too many
    // calls wait already, not waited for.
    template <typename Call>
    void run(Call call) {
        if (onGuiThread()) {
            call();
            return;
        }
        if (pending_.load() >= kMaxPending) {
            CallWait wait;
            post([&call] { call(); }, &wait);
            wait.wait();
            return;
        }
        post(std::move(call), nullptr);
    }

    // Runs `call` on the GUI thread like run(). From another thread, calls of this kind posted
    // one after another travel together, and a later one under the same key replaces the
    // earlier: calls under distinct keys must change distinct things, so that running them
    // together only skips the screen's states in between (a counter shown while it counts).
    template <typename Call>
    void runLatest(uint32_t key, Call call) {
        if (onGuiThread()) {
            call();
            return;
        }
        postLatest(key, std::move(call));
    }

    // The time the screen keeps the values of a batch of latest-value calls before it is ready
    // for the next batch.
    static constexpr int kLatestIntervalMs = 40;

    // Whether latest-value calls would be shown soon: false from the moment a worker's batch of
    // them is posted until the GUI thread ran it and showed it for kLatestIntervalMs. A worker
    // may keep its values to itself meanwhile; calls made anyway are still carried.
    bool readyForLatest() const { return latestReady_.load(std::memory_order_relaxed); }

    // Runs `call` on the GUI thread and waits for its answer.
    template <typename Call>
    std::invoke_result_t<Call> answer(Call call) {
        if (onGuiThread()) return call();
        std::invoke_result_t<Call> result{};
        CallWait wait;
        post([&] { result = call(); }, &wait);
        wait.wait();
        return result;
    }

    // On the GUI thread: runs the posted calls until `done` holds, so that a worker waiting for
    // one of its calls can go on to its end while the GUI thread waits; then the calls it posted
    // on its way out, so that nothing of it arrives afterwards.
    template <typename Done>
    void serveUntil(Done done) {
        while (!done()) {
            servePosted();
            QThread::msleep(1);
        }
        servePosted();
    }

private:
    // Calls gathered under their keys; the GUI thread takes them all when it runs the batch.
    struct LatestBatch {
        std::map<uint32_t, std::function<void()>> calls;
    };

    void post(std::function<void()> call, CallWait* wait);
    void postEvent(std::function<void()> call, CallWait* wait);
    void postLatest(uint32_t key, std::function<void()> call);
    void servePosted();
    bool onGuiThread();

    std::unique_ptr<CallReceiver> receiver_;
    // Calls posted that have not run yet.
    std::atomic<int> pending_{0};
    std::atomic<bool> latestReady_{true};
    std::mutex batchMutex_;
    // The batch that later runLatest calls still join; any other call closes it.
    std::shared_ptr<LatestBatch> openBatch_;
};

}  // namespace lumbra
