#include "cli/interrupt.h"

#include <csignal>
#include <unistd.h>

#include "cli/exit_codes.h"

namespace lumbra::cli {
namespace {

std::atomic<int32_t> interrupted{0};
static_assert(std::atomic<int32_t>::is_always_lock_free, "the signal handler writes the flag");

void OnInterrupt(int) {
    if (interrupted.exchange(1) != 0) _exit(kExitInterrupted);
}

}  // namespace

std::atomic<int32_t>& InterruptFlag() { return interrupted; }

void StopOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace lumbra::cli
