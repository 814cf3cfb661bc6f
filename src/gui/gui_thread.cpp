#include "gui/gui_thread.h"

#include <QCoreApplication>
#include <QTimer>

namespace lumbra {

void CallWait::finish() {
    // Notified under the lock: the waiting worker cannot return, and end the wait's life,
    // before this thread is done with it.
    std::lock_guard lock(mutex_);
    done_ = true;
    finished_.notify_one();
}

void CallWait::wait() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return done_; });
}

CallEvent::CallEvent(std::function<void()> call, CallWait* wait)
    : QEvent(eventType()), call_(std::move(call)), wait_(wait) {
    published_.store(true, std::memory_order_release);
}

CallEvent::~CallEvent() {
    published_.load(std::memory_order_acquire);
    // The call may hold references into the waiting worker's frame: gone before it goes on.
    call_ = nullptr;
    if (wait_) wait_->finish();
}

void CallEvent::run() {
    published_.load(std::memory_order_acquire);
    call_();
}

QEvent::Type CallEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void CallReceiver::customEvent(QEvent* event) {
    if (event->type() == CallEvent::eventType()) static_cast<CallEvent*>(event)->run();
}

OrderedCalls::OrderedCalls(QObject* owner) : receiver_(std::make_unique<CallReceiver>()) {
    receiver_->moveToThread(owner->thread());
}

void OrderedCalls::post(std::function<void()> call, CallWait* wait) {
    {
        std::lock_guard lock(batchMutex_);
        openBatch_.reset();
    }
    postEvent(std::move(call), wait);
}

void OrderedCalls::postLatest(uint32_t key, std::function<void()> call) {
    std::shared_ptr<LatestBatch> batch;
    {
        std::lock_guard lock(batchMutex_);
        if (openBatch_) {
            openBatch_->calls[key] = std::move(call);
            return;
        }
        batch = openBatch_ = std::make_shared<LatestBatch>();
        batch->calls[key] = std::move(call);
    }
    latestReady_.store(false, std::memory_order_relaxed);
    postEvent(
        [this, batch] {
            std::map<uint32_t, std::function<void()>> calls;
            {
                std::lock_guard lock(batchMutex_);
                if (openBatch_ == batch) openBatch_.reset();
                calls.swap(batch->calls);
            }
            for (auto& entry : calls) entry.second();
            QTimer::singleShot(kLatestIntervalMs, receiver_.get(),
                               [this] { latestReady_.store(true, std::memory_order_relaxed); });
        },
        nullptr);
}

void OrderedCalls::postEvent(std::function<void()> call, CallWait* wait) {
    ++pending_;
    QCoreApplication::postEvent(receiver_.get(), new CallEvent(
                                                     [this, call = std::move(call)] {
                                                         --pending_;
                                                         call();
                                                     },
                                                     wait));
}

void OrderedCalls::servePosted() {
    QCoreApplication::sendPostedEvents(receiver_.get(), CallEvent::eventType());
}

bool OrderedCalls::onGuiThread() {
    if (QThread::currentThread() != receiver_->thread()) return false;
    // Only calls a worker posted and the GUI thread has not run yet can be ahead of this one.
    if (pending_.load() > 0) servePosted();
    return true;
}

}  // namespace lumbra
