#pragma once
// Carrying calls from any thread to a window's GUI thread in the order they were made. A call
// made on the GUI thread first applies every call a worker posted before it. A worker that
// runs far ahead of the screen waits, so that its posted calls never pile up without bound.
// A worker that waits for a call takes its end from an atomic the GUI thread sets: Qt's own
// wait is made of code race checkers cannot see, and the atomic shows them the hand-back.
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <type_traits>

namespace lumbra {

class OrderedCalls {
public:
    // Posted calls a worker may have waiting before its next call waits for them.
    static constexpr int kMaxPending = 512;

    explicit OrderedCalls(QObject* receiver) : receiver_(receiver) {}

    // Runs `call` on the receiver's thread; from another thread it is queued and, unless too
    // many calls wait already, not waited for.
    template <typename Call>
    void run(Call call) {
        if (onGuiThread()) {
            call();
            return;
        }
        if (pending_.load() >= kMaxPending) {
            std::atomic<bool> ran{false};
            ++pending_;
            QMetaObject::invokeMethod(
                receiver_,
                [this, &call, &ran] {
                    --pending_;
                    call();
                    ran.store(true, std::memory_order_release);
                },
                Qt::BlockingQueuedConnection);
            ran.load(std::memory_order_acquire);
            return;
        }
        ++pending_;
        QMetaObject::invokeMethod(
            receiver_,
            [this, call = std::move(call)]() mutable {
                --pending_;
                call();
            },
            Qt::QueuedConnection);
    }

    // Runs `call` on the receiver's thread and waits for its answer.
    template <typename Call>
    std::invoke_result_t<Call> answer(Call call) {
        if (onGuiThread()) return call();
        std::invoke_result_t<Call> result{};
        std::atomic<bool> ran{false};
        ++pending_;
        QMetaObject::invokeMethod(
            receiver_,
            [&] {
                --pending_;
                result = call();
                ran.store(true, std::memory_order_release);
            },
            Qt::BlockingQueuedConnection);
        ran.load(std::memory_order_acquire);
        return result;
    }

    // On the GUI thread: runs the calls posted to the receiver until `done` holds, so that a
    // worker waiting for one of its calls can go on to its end while the GUI thread waits;
    // then the calls it posted on its way out, so that nothing of it arrives afterwards.
    template <typename Done>
    void serveUntil(Done done) {
        while (!done()) {
            QCoreApplication::sendPostedEvents(receiver_, QEvent::MetaCall);
            QThread::msleep(1);
        }
        QCoreApplication::sendPostedEvents(receiver_, QEvent::MetaCall);
    }

private:
    bool onGuiThread() const {
        if (QThread::currentThread() != receiver_->thread()) return false;
        // Only calls a worker posted and the GUI thread has not run yet can be ahead of this one.
        if (pending_.load() > 0) QCoreApplication::sendPostedEvents(receiver_, QEvent::MetaCall);
        return true;
    }

    QObject* receiver_;
    // Calls posted to the receiver that have not run yet.
    std::atomic<int> pending_{0};
};

}  // namespace lumbra
