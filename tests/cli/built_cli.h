#pragma once
// The built command-line program run as a separate process, for tests that need one of its own
// (another user, rights asked through the helper).
#include <cstdio>
#include <string>

namespace lumbra::test {

// Runs the built command line with these arguments; what it printed on both streams, then
// "exit N".
inline std::string RunCommandLine(const std::string& arguments) {
    const std::string command = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli " + arguments + " 2>&1; echo exit $?";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[512];
        while (fgets(chunk, sizeof chunk, pipe)) output += chunk;
        pclose(pipe);
    }
    return output;
}

}  // namespace lumbra::test
