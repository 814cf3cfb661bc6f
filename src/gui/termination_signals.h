#pragma once
// SIGTERM and SIGHUP (a logout, a shutdown, `kill`) end the program through its own event loop,
// so that what it leaves behind on an ordinary end (the private folder of opened copies) is
// removed on these ends too.
#include <functional>

namespace lumbra {

// Installs the handlers; `endProgram` runs on the GUI thread with the signal's number. Call once,
// after the QApplication exists.
void EndOnTerminationSignals(std::function<void(int)> endProgram);

}  // namespace lumbra
