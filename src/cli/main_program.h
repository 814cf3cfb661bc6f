#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace lumbra::cli {

// The whole program on its arguments (without the program name); answers the exit code.
int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace lumbra::cli
