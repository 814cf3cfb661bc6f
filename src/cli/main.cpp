#include <iostream>

#include "cli/interrupt.h"
#include "cli/main_program.h"

int main(int argc, char** argv) {
    lumbra::cli::StopOnInterrupt();
    return lumbra::cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
