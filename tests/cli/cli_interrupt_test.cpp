// Ctrl-C in a long scan: the program stops the scan, prints the pools found before it and
// ends with 130.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/nss_image_builder.h"
#include "support/scratch_folder.h"

namespace lumbra::test {
namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the program with stdout and stderr going to files; its process id.
pid_t Start(const std::vector<std::string>& arguments, const std::string& out, const std::string& err) {
    const std::string program = std::string(LUMBRA_BIN_DIR) + "/lumbra-nss-cli";
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (!freopen(out.c_str(), "w", stdout) || !freopen(err.c_str(), "w", stderr)) _exit(127);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

// Waits up to `limit` for the process; its exit status, or -1 when it still runs.
int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        std::this_thread::sleep_for(20ms);
    }
    return -1;
}

TEST(CliInterrupt, CtrlCStopsAScanAndPrintsThePoolsFoundBeforeIt) {
    ScratchFolder folder("cli_interrupt");
    const std::string disk = folder.file("disk.img");
    PoolPlan data{.name = "DATA", .segments = {{.headerSector = 2048}}};
    data.volumes = {VolumePlan{.name = "SYS"}};
    NssImageBuilder().pool(data).partitionTableEntry(2048).build().writeTo(disk);
    // 64 GiB of unwritten sectors behind the pool: a scan of one sector per read takes minutes.
    std::filesystem::resize_file(disk, 64ull << 30);

    const pid_t pid = Start({"--no-drives", "--sectors-per-read", "1", "pools", "--drive", disk, "--scan", "0",
                             "4294967295", "--json"},
                            folder.file("out.txt"), folder.file("err.txt"));
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(WaitFor(pid, 1ms), -1) << "the scan ended before Ctrl-C: " << ReadFile(folder.file("err.txt"));
    kill(pid, SIGINT);
    const int status = WaitFor(pid, 20s);
    if (status == -1) kill(pid, SIGKILL);
    ASSERT_EQ(status, 130) << ReadFile(folder.file("err.txt"));
    EXPECT_NE(ReadFile(folder.file("out.txt")).find("{\"row\":0,\"name\":\"DATA\""), std::string::npos)
        << ReadFile(folder.file("out.txt"));
    EXPECT_NE(ReadFile(folder.file("err.txt")).find("stopped by Ctrl-C"), std::string::npos);
}

}  // namespace
}  // namespace lumbra::test
