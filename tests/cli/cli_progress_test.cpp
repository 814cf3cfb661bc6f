// The progress line on a terminal: it is erased before the summary is printed, so that the
// summary starts a clean line.
#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "cli_recovery_fixture.h"

namespace lumbra::test {
namespace {

// Runs the program with its standard output and error on one terminal; what the terminal got.
std::string RunOnTerminal(const std::vector<std::string>& arguments) {
    const std::string program = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (child < 0) return {};
    std::string screen;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got > 0) screen.append(buffer, static_cast<size_t>(got));
        else if (got < 0 && errno == EINTR) continue;
        else break;  // the program closed the terminal (EIO) or ended
    }
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    return screen;
}

TEST(CliProgress, TheLineIsErasedBeforeTheSummary) {
    VolumePlan volume{.name = "DATA"};
    for (int i = 0; i < 50; ++i) volume.addFile("file " + std::to_string(i), 0, 3000);
    const CliImage disk(NssImageBuilder().pool({.name = "POOL", .volumes = {volume}}).build(), "cli_progress");
    const std::string screen = RunOnTerminal({"--no-drives", "--image", disk.path, "extract", "--drive", "0", "--pool",
                                              "0", "--volume", "0", "--out", disk.scratch("out"), "--no-report"});
    const size_t summary = screen.find("50 file(s) saved");
    ASSERT_NE(summary, std::string::npos) << screen;
    ASSERT_NE(screen.find("%\033[K"), std::string::npos) << "no progress line was drawn: " << screen;
    EXPECT_EQ(screen.substr(summary - 4, 4), "\r\033[K") << screen;
}

}  // namespace
}  // namespace lumbra::test
