#pragma once
// Runs lumbra-nss-cli in-process and keeps what it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/main_program.h"

namespace lumbra::test {

struct CliRun {
    int exitCode;
    std::string out;
    std::string err;
};

inline CliRun RunCli(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int code = cli::RunProgram(arguments, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace lumbra::test
