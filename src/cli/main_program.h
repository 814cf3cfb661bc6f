#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace lumbra::cli {

// The whole program on its arguments (without the program name); answers the exit code.
// Standard output is flushed at the end; output that could not be written is reported as
// OutputFailed does.
int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// Says on err that the output could not be written; answers the exit code: 1, or the run's own
// code when it had failed already.
int OutputFailed(int code, std::ostream& err);

}  // namespace lumbra::cli
