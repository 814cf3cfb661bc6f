// Ended by SIGTERM or SIGHUP, the desktop program removes its private folder of opened copies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// The program's private folders under `temporary`.
int PrivateFolders(const fs::path& temporary) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(temporary))
        if (entry.path().filename().string().starts_with("lumbra-nss-")) ++count;
    return count;
}

class TerminationSignal : public testing::TestWithParam<int> {};

TEST_P(TerminationSignal, RemovesThePrivateFolder) {
    const lumbra::test::ScratchFolder scratch("termination_signal");
    const fs::path temporary = scratch.path() / "tmp";
    fs::create_directories(temporary);
    const std::string image = scratch.numberedImage("disk.img", 64);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("TMPDIR", temporary.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(LUMBRA_BIN_DIR "/lumbra-nss", "lumbra-nss", "--no-drives", image.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The folder is made at start-up; the signals are caught from before that moment on.
    for (int tries = 0; tries < 1200 && PrivateFolders(temporary) == 0; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(PrivateFolders(temporary), 1);
    kill(child, GetParam());
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
    EXPECT_EQ(PrivateFolders(temporary), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignal, testing::Values(SIGTERM, SIGHUP));

}  // namespace
