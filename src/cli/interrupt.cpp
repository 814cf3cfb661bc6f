#include "cli/interrupt.h"

#include <csignal>
#include <unistd.h>

#include "cli/exit_codes.h"

namespace lumbra::cli {
namespace {

std::atomic<int32_t> interrupted{0};
std::atomic<std::atomic<int32_t>*> runningWorker{nullptr};
static_assert(std::atomic<int32_t>::is_always_lock_free, "the signal handler writes the flag");
static_assert(std::atomic<std::atomic<int32_t>*>::is_always_lock_free, "the signal handler reads the worker");

void OnInterrupt(int) {
    if (interrupted.exchange(1) != 0) _exit(kExitInterrupted);
    if (std::atomic<int32_t>* worker = runningWorker.load()) worker->store(1);
}

}  // namespace

bool Interrupted() { return interrupted.load() != 0; }

void StopOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

WorkerStop::WorkerStop(std::atomic<int32_t>& flag) {
    runningWorker.store(&flag);
    if (Interrupted()) flag.store(1);
}

WorkerStop::~WorkerStop() { runningWorker.store(nullptr); }

}  // namespace lumbra::cli
