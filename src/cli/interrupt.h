#pragma once
// Ctrl-C in a long command. The first press asks the running scan, mount or copy to stop where
// it is, so that what was found (or saved) until then is still printed; a second press ends the
// program at once.
#include <atomic>
#include <cstdint>

namespace lumbra::cli {

// 1 once Ctrl-C was pressed; the stop flag handed to scans and mounts.
std::atomic<int32_t>& InterruptFlag();

// Installs the SIGINT handler. Only the program's main calls it.
void StopOnInterrupt();

}  // namespace lumbra::cli
