#include <csignal>
#include <cstdio>
#include <iostream>

#include "cli/interrupt.h"
#include "cli/main_program.h"

int main(int argc, char** argv) {
    lumbra::cli::StopOnInterrupt();
    // A reader that has gone (`| head`) ends the program quietly, whatever the caller left the
    // signal set to.
    std::signal(SIGPIPE, SIG_DFL);
    const int code = lumbra::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    // What was flushed can still fail when the file is closed (a full disk, a quota, a lost
    // network share); RunProgram has already reported a flush that failed.
    if (std::cout.good() && std::fclose(stdout) != 0) return lumbra::cli::OutputFailed(code, std::cerr);
    return code;
}
