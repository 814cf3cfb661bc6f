// Calls carried from workers to the GUI thread: they run there, in the order made, a worker far
// ahead waits instead of piling calls up, an answer comes back, and a worker waiting on a call
// that can no longer run (its window gone) is let go.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gui/gui_thread.h"

namespace lumbra {
namespace {

TEST(GuiThread, WorkerCallsRunOnTheGuiThreadInOrderAndAnswersComeBack) {
    QObject window;
    OrderedCalls calls(&window);
    QThread* const gui = QThread::currentThread();
    std::vector<int> seen;
    bool allOnGui = true;
    std::atomic<bool> finished{false};
    int answered = 0;
    // More calls than may wait unrun, so that the worker also waits for the GUI thread.
    constexpr int kCalls = OrderedCalls::kMaxPending * 3;
    std::thread worker([&] {
        for (int i = 0; i < kCalls; ++i)
            calls.run([&, i] {
                allOnGui = allOnGui && QThread::currentThread() == gui;
                seen.push_back(i);
            });
        answered = calls.answer([&] { return static_cast<int>(seen.size()); });
        finished = true;
    });
    calls.serveUntil([&] { return finished.load(); });
    worker.join();
    ASSERT_EQ(seen.size(), static_cast<size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], i);
    EXPECT_TRUE(allOnGui);
    EXPECT_EQ(answered, kCalls);
}

TEST(GuiThread, ACallMadeOnTheGuiThreadFirstRunsTheWorkersEarlierOnes) {
    QObject window;
    OrderedCalls calls(&window);
    std::vector<int> seen;
    std::thread worker([&] {
        calls.run([&] { seen.push_back(1); });
        calls.run([&] { seen.push_back(2); });
    });
    worker.join();
    calls.run([&] { seen.push_back(3); });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

// A counter shown while it counts: a million values must not become a million calls, yet
// nothing may overtake a call of another kind made between them.
TEST(GuiThread, LatestValueCallsTravelTogetherAndAreReplacedButNeverOvertaken) {
    QObject window;
    OrderedCalls calls(&window);
    std::vector<std::string> seen;
    std::thread worker([&] {
        for (int i = 1; i <= 1000; ++i) {
            calls.runLatest(1, [&, i] { seen.push_back("count " + std::to_string(i)); });
            calls.runLatest(2, [&, i] { seen.push_back("name " + std::to_string(i)); });
        }
        calls.run([&] { seen.push_back("hide"); });
        calls.runLatest(1, [&] { seen.push_back("count 1001"); });
    });
    worker.join();
    calls.run([&] { seen.push_back("gui"); });
    EXPECT_EQ(seen, (std::vector<std::string>{"count 1000", "name 1000", "hide", "count 1001", "gui"}));
}

// A worker asks before it hands over a counter's value: the screen is not ready while a batch
// waits for the GUI thread, nor right after showing one, and is ready again a little later.
TEST(GuiThread, LatestValuesAreWantedAgainOnlyAfterTheLastBatchWasShownForAWhile) {
    QObject window;
    OrderedCalls calls(&window);
    EXPECT_TRUE(calls.readyForLatest());
    int shown = 0;
    std::thread worker([&] { calls.runLatest(1, [&] { ++shown; }); });
    worker.join();
    EXPECT_FALSE(calls.readyForLatest()) << "the batch still waits for the GUI thread";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(calls.readyForLatest()) << "the batch was only just shown";
    QElapsedTimer clock;
    clock.start();
    while (!calls.readyForLatest() && clock.elapsed() < 10'000) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    EXPECT_TRUE(calls.readyForLatest());
    EXPECT_GE(clock.elapsed(), OrderedCalls::kLatestIntervalMs / 2);
}

TEST(GuiThread, AWorkerWaitingOnACallIsLetGoWhenTheCallIsDroppedUnrun) {
    // The receiver goes (its window closed) with the call still queued: Qt deletes the event.
    auto receiver = std::make_unique<CallReceiver>();
    CallWait wait;
    bool ran = false;
    QCoreApplication::postEvent(receiver.get(), new CallEvent([&] { ran = true; }, &wait));
    std::atomic<bool> released{false};
    std::thread worker([&] {
        wait.wait();
        released = true;
    });
    receiver.reset();
    worker.join();
    EXPECT_TRUE(released);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace lumbra
