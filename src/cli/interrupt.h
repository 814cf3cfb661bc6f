#pragma once
// Ctrl-C in a long command. The first press asks the running scan, mount or copy to stop where
// it is, so that what was found (or saved) until then is still printed; a second press ends the
// program at once.
//
// Each scan, mount or copy polls a stop flag of its own, which the worker may also set or clear
// itself (the scan sets its flag at the pool limit, the mount clears its flag before the
// lost-data search). Ctrl-C sets the flag of the worker that runs, and the program's interrupt
// flag, which no worker touches.
#include <atomic>
#include <cstdint>

namespace lumbra::cli {

// True once Ctrl-C was pressed.
bool Interrupted();

// Installs the SIGINT handler. Only the program's main calls it.
void StopOnInterrupt();

// Hands Ctrl-C to the stop flag of one worker (a scan's or mount's own flag, the saving's
// stop flag) while it exists; a flag handed over after Ctrl-C is set at once. One exists at
// a time.
class WorkerStop {
public:
    explicit WorkerStop(std::atomic<int32_t>& flag);
    ~WorkerStop();
    WorkerStop(const WorkerStop&) = delete;
    WorkerStop& operator=(const WorkerStop&) = delete;
};

}  // namespace lumbra::cli
